#include "records/TfrmEditODO.h"
#include "toolkit/Controls.h"
#include "toolkit/NumberValidator.h"
#include "toolkit/ThemedFrame.h"

#include "base/MessageCatalogue.h"
#include "store/ADOConnection.h"
#include "store/ADOTable.h"
#include "base/RydexError.h"
#include "toolkit/DialogPresenter.h"
#include "toolkit/RunReported.h"
#include "toolkit/ScreenPlacement.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

TfrmEditODO::TfrmEditODO(ADOTable* table, std::function<void()> recompute, QWidget* parent)
    : ThemedDialog(parent, QStringLiteral("frmEditODO"), QStringLiteral("Úprava ODO")),
      m_table(table), m_recompute(std::move(recompute))
{
    setFixedSize(285, 106);
    auto* frame = new ThemedFrame(QStringLiteral("frmEditODOSui"), this, 30);

    auto* label =
        new Label(QStringLiteral("lblFirstODO"), QStringLiteral("ODO prvního záznamu:"), frame);
    label->move(24, 49);
    label->setAutoSize(true);
    lblFirstODO = label;
    edtFirstODO = new Edit(QStringLiteral("edtFirstODO"), frame);
    edtFirstODO->setGeometry(24, 64, 153, 21);
    edtFirstODO->setMaxLength(typingLimit);
    edtFirstODO->setValidator(new NumberValidator(NumberValidator::Kind::Decimal,
                                                  NumberValidator::Sign::NotNegative, edtFirstODO));
    edtFirstODO->setEnabled(false);
    connect(edtFirstODO, &QLineEdit::textEdited, this, &TfrmEditODO::edtFirstODOEdited);
    btnSave = new Button(QStringLiteral("btnSave"), QStringLiteral("Save"), frame);
    btnSave->setGeometry(192, 62, 75, 25);
    connect(btnSave, &QPushButton::clicked, this, &TfrmEditODO::btnSaveClick);
    applyThemeAndLanguage({QStringLiteral("frmEditODOsui"), QStringLiteral("edtFirstODO"),
                           QStringLiteral("btnSave")});

    centreOnScreen(this);

    // The edit follows the reading of the table's current record, and the
    // pending value while the record is being edited.
    connect(m_table, &ADOTable::stateChanged, this, &TfrmEditODO::showField);
    connect(m_table, &ADOTable::currentChanged, this, &TfrmEditODO::showField);
    connect(m_table, &ADOTable::setChanged, this, &TfrmEditODO::showField);
    showField();
}

void TfrmEditODO::showField()
{
    m_shownText = m_table->isOpen() ? m_table->editText(RideField::odo, QLocale()) : QString();
    // The limit is for typing: a stored reading is shown whole, however long.
    edtFirstODO->setMaxLength(std::max(typingLimit, int(m_shownText.size())));
    edtFirstODO->setText(m_shownText);
}

void TfrmEditODO::edtFirstODOEdited(const QString& text)
{
    // Once the user has brought a longer stored reading within the limit,
    // the limit holds for him as for any other text.
    if (text.size() <= typingLimit)
        edtFirstODO->setMaxLength(typingLimit);
}

void TfrmEditODO::FormShow()
{
    showField();
    edtFirstODO->setFocus();
    edtFirstODO->selectAll();
}

void TfrmEditODO::store()
{
    // The number is taken before anything is written: a text that is no
    // number leaves the record pending and the store untouched. A text the
    // user left as shown is not taken at all: the box shows the reading in
    // its edit form, with at most two decimals, and writing that back would
    // change a reading nobody touched.
    if (edtFirstODO->text() != m_shownText) {
        m_table->setEditText(RideField::odo, edtFirstODO->text(), QLocale());
        // Every reading of the year follows from this one: a negative one
        // would make them all wrong.
        if (m_table->asFixed(RideField::odo) < Fixed4())
            throw RydexError(Msg::format(Msg::OdometerNegative, {edtFirstODO->text()}),
                             RydexError::Kind::Conversion);
    }
    ADOConnection* connection = m_table->connection();
    connection->begin();
    try {
        m_table->post();
        if (m_recompute)
            m_recompute();
        connection->commit();
    } catch (...) {
        connection->rollback();
        throw;
    }
}

void TfrmEditODO::btnSaveClick()
{
    const QString typed = edtFirstODO->text();
    try {
        store();
    } catch (const std::exception& e) {
        const auto* rydex = dynamic_cast<const RydexError*>(&e);
        const QString message = errorText(e);
        // Another copy of the program changed the ride meanwhile: the box
        // shows the reading as now stored, for the user to decide again.
        const bool lost = rydex && rydex->kind() == RydexError::Kind::Conflict;
        // A failure after the record was posted has rolled the whole save
        // back; the memory is brought in line with the store and the record is
        // put back into edit with what the user typed, as if Save had not
        // been pressed.
        if (m_table->state() != ADOTable::State::Edit &&
            m_table->state() != ADOTable::State::Insert) {
            try {
                m_table->refresh();
                m_table->first();
                m_table->edit();
            } catch (const RydexError&) {
                // The first failure is the one to report.
            }
            if (!lost)
                edtFirstODO->setText(typed);
        }
        DialogPresenter::current().showError(message);
        return;
    }
    m_saved = true;
    edtFirstODO->setEnabled(false);
    try {
        m_table->refresh();
    } catch (const RydexError& e) {
        DialogPresenter::current().showError(e.text());
    }
    accept();
}

void TfrmEditODO::FormClose()
{
    if (m_closed)
        return;
    m_closed = true;
    m_table->cancel();
    edtFirstODO->setEnabled(false);
    try {
        if (m_table->isOpen())
            m_table->refresh();
    } catch (const RydexError& e) {
        DialogPresenter::current().showError(e.text());
    }
}

void TfrmEditODO::done(int result)
{
    FormClose();
    QDialog::done(result);
}
