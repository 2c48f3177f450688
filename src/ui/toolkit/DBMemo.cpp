#include "toolkit/DBMemo.h"

#include "store/ADOTable.h"
#include "store/DataSource.h"
#include "toolkit/BandedScrollBars.h"
#include "toolkit/PopupShortcuts.h"
#include "toolkit/ShortParagraphs.h"

#include <QContextMenuEvent>
#include <QMenu>

DBMemo::DBMemo(const QString& name, RideField field, QWidget* parent)
    : QPlainTextEdit(parent), m_field(field)
{
    setObjectName(name);
    m_popup = new ControlPopup(this);
    setReadOnly(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    BandedScrollBars::useFor(this);
    setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
}

void DBMemo::setDataSource(DataSource* source)
{
    if (m_source && m_source->table())
        disconnect(m_source->table(), nullptr, this, nullptr);
    m_source = source;
    if (m_source && m_source->table()) {
        connect(m_source->table(), &ADOTable::currentChanged, this, &DBMemo::showCurrent);
        connect(m_source->table(), &ADOTable::setChanged, this, &DBMemo::showCurrent);
        connect(m_source->table(), &ADOTable::rowChanged, this, &DBMemo::showCurrent);
    }
    showCurrent();
}

void DBMemo::showCurrent()
{
    ADOTable* table = m_source ? m_source->table() : nullptr;
    if (!table || !table->isOpen() || table->currentIndex() < 0) {
        showText(QString());
        return;
    }
    const RideRow& row = table->rowAt(table->currentIndex());
    showText(row[fieldIndex(m_field)].toString());
}

void DBMemo::showText(const QString& text)
{
    if (text == m_shown)
        return;
    m_shown = text;
    setPlainText(shortParagraphs(text));
}

