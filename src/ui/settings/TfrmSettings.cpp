#include "settings/TfrmSettings.h"

#include "settings/JerseyPictures.h"
#include "settings/SeasonList.h"
#include "store/ADOTable.h"
#include "store/ControlsDetached.h"
#include "store/RideFilter.h"
#include "base/RydexError.h"
#include "store/TData.h"
#include "toolkit/Controls.h"
#include "toolkit/DialogPresenter.h"
#include "toolkit/ImageList.h"
#include "toolkit/MainWindowOperations.h"
#include "toolkit/MessageDialog.h"
#include "toolkit/RunReported.h"
#include "toolkit/ThemedFrame.h"

#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTreeWidget>
#include <memory>

#include <algorithm>

namespace {
// Which jersey a node wears when it is not selected.
constexpr int jerseyRole = Qt::UserRole;

} // namespace

TfrmSettings* createSettingsDialog(MainWindowOperations* main)
{
    return new TfrmSettings(main);
}

TfrmSettings::TfrmSettings(MainWindowOperations* main)
    : ThemedDialog(main->ownerWindow(), QStringLiteral("frmSettings"), QStringLiteral("Nastavení"),
                   titleAndClose, Placement::CentredAtEachShowing),
      m_main(main)
{
    takeOwnerFont();
    setFixedSize(389, 245);
    auto* frame = new ThemedFrame(QStringLiteral("frmSettingsSui"), this, 32);

    Pages = new PageControl(QStringLiteral("Pages"), frame);
    Pages->setGeometry(0, 32, 389, 245 - 32);
    buildTablePage();
    buildChartPage();
    buildUsersPage();
    buildMessageDialogs();
    // Later showings open the page that was open at the last closing.
    Pages->setCurrentIndex(UsersPage);
    connectHandlers();
    applyThemeAndLanguage({QStringLiteral("frmSettingsSui"),
                                    QStringLiteral("Pages"),
                                    QStringLiteral("btnDelete"),
                                    QStringLiteral("btnCreate"),
                                    QStringLiteral("grpGraf"),
                                    QStringLiteral("rdbTime"),
                                    QStringLiteral("rdbDst"),
                                    QStringLiteral("rdbPulse"),
                                    QStringLiteral("rdbAlt"),
                                    QStringLiteral("grbTabulka"),
                                    QStringLiteral("chboxDen"),
                                    QStringLiteral("chboxDruh"),
                                    QStringLiteral("chboxTyp"),
                                    QStringLiteral("chboxObtiznost"),
                                    QStringLiteral("chboxVlivy"),
                                    QStringLiteral("chboxPocit"),
                                    QStringLiteral("chboxCas"),
                                    QStringLiteral("chboxVzdalenost"),
                                    QStringLiteral("chboxCelkem"),
                                    QStringLiteral("chboxPrumer"),
                                    QStringLiteral("chboxTeplota"),
                                    QStringLiteral("chboxTep"),
                                    QStringLiteral("chboxMaxTep"),
                                    QStringLiteral("chboxPrevyseni"),
                                    QStringLiteral("chboxMaxVyska"),
                                    QStringLiteral("msgDlgListEmpty"),
                                    QStringLiteral("msgDlgCyclistDelete")});
}

void TfrmSettings::connectHandlers()
{
    using Handler = void (TfrmSettings::*)();
    static constexpr Handler boxHandlers[columnCount] = {
        &TfrmSettings::suitempchboxDenClick,      &TfrmSettings::suitempchboxDruhClick,
        &TfrmSettings::suitempchboxTypClick,      &TfrmSettings::suitempchboxObtiznostClick,
        &TfrmSettings::suitempchboxVlivyClick,    &TfrmSettings::suitempchboxPocitClick,
        &TfrmSettings::suitempchboxCasClick,      &TfrmSettings::suitempchboxVzdalenostClick,
        &TfrmSettings::suitempchboxCelkemClick,   &TfrmSettings::suitempchboxPrumerClick,
        &TfrmSettings::suitempchboxTeplotaClick,  &TfrmSettings::suitempchboxTepClick,
        &TfrmSettings::suitempchboxMaxTepClick,   &TfrmSettings::suitempchboxPrevyseniClick,
        &TfrmSettings::suitempchboxMaxVyskaClick,
    };
    static constexpr Handler chartHandlers[chartCount] = {
        &TfrmSettings::suitemprdbTimeClick,
        &TfrmSettings::suitemprdbDstClick,
        &TfrmSettings::suitemprdbPulseClick,
        &TfrmSettings::suitemprdbAltClick,
    };
    // A click action runs whenever the state changes, by the user or in code.
    for (int i = 0; i < columnCount; ++i) {
        const Handler h = boxHandlers[i];
        connect(columnBoxes[i], &QCheckBox::toggled, this,
                [this, h] { runReported([this, h] { (this->*h)(); }); });
    }
    for (int k = 0; k < chartCount; ++k) {
        const Handler h = chartHandlers[k];
        connect(chartButtons[k], &QRadioButton::toggled, this, [this, h](bool chosen) {
            if (chosen)
                runReported([this, h] { (this->*h)(); });
        });
    }
    connect(listCycling, &QTreeWidget::itemSelectionChanged, this,
            &TfrmSettings::dressCyclistNodes);
    listCycling->installEventFilter(this);
    listCycling->viewport()->installEventFilter(this);
    connect(btnDelete, &QPushButton::clicked, this,
            [this] { runReported([this] { btnDeleteClick(); }); });
    connect(btnCreate, &QPushButton::clicked, this,
            [this] { runReported([this] { btnCreateClick(); }); });
}

void TfrmSettings::done(int result)
{
    FormClose();
    QDialog::done(result);
}

bool TfrmSettings::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == listCycling->viewport() && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        runReported([this] { listCyclingClick(); });
    else if (watched == listCycling && event->type() == QEvent::KeyPress)
        runReported([this] { listCyclingKeyDown(); });
    else if (watched == listCycling && event->type() == QEvent::KeyRelease)
        runReported([this] { listCyclingKeyUp(); });
    return QDialog::eventFilter(watched, event);
}

void TfrmSettings::FormShow()
{
    // Whoever opens the dialog is signed in; his choices are live again.
    m_choicesActive = true;
    grbTabulka->setEnabled(true);
    grpGraf->setEnabled(true);

    placeCount();

    const CyclistPreferences prefs = m_main->cyclistPreferences();
    for (int i = 0; i < columnCount; ++i)
        columnBoxes[i]->setChecked(prefs.columnShown(i));
    chartButtons[prefs.chart()]->setChecked(true);
    SeznamCyklistu();
}

void TfrmSettings::placeCount()
{
    // The count ends at x = 264 where the caption before it leaves room for
    // five digits; a wider face or a longer translation moves it to the right
    // instead of over the caption.
    lblPocet->adjustSize();
    const int left = lblPocet->geometry().right() + 6;
    const int room = lblUserInfo->fontMetrics().horizontalAdvance(QStringLiteral("00000"));
    lblUserInfo->setGeometry(left, lblPocet->y(), std::max(264 - left, room), lblPocet->height());
}

void TfrmSettings::FormClose()
{
    listCycling->clear();
}

void TfrmSettings::columnBoxClick(int column)
{
    if (!m_choicesActive)
        return;
    const bool shown = columnBoxes[column]->isChecked();
    m_main->showColumn(column, shown);
    m_main->cyclistPreferences().setColumnShown(column, shown);
}

void TfrmSettings::chartButtonClick(int chart)
{
    if (!m_choicesActive)
        return;
    m_main->cyclistPreferences().setChart(chart);
    m_main->showChart(chart);
}

void TfrmSettings::SeznamCyklistu()
{
    listCycling->clear();
    listSezon->clear();
    const QStringList names = m_main->cyclistsKey().subkeys();
    for (int p = 0; p < names.size(); ++p) {
        auto* node = new QTreeWidgetItem(listCycling, QStringList{names.at(p)});
        node->setData(0, jerseyRole, p);
    }
    dressCyclistNodes();
    VypisSezon();
}

QTreeWidgetItem* TfrmSettings::selectedCyclist() const
{
    const QList<QTreeWidgetItem*> selected = listCycling->selectedItems();
    return selected.isEmpty() ? nullptr : selected.constFirst();
}

void TfrmSettings::dressCyclistNodes()
{
    for (int i = 0; i < listCycling->topLevelItemCount(); ++i) {
        QTreeWidgetItem* node = listCycling->topLevelItem(i);
        const int jersey =
            node->isSelected() ? int(JerseyPictures::Yellow) : node->data(0, jerseyRole).toInt();
        node->setIcon(0, JerseyPictures::jerseyIcon(jersey));
    }
}

void TfrmSettings::appendCyclistNode(const QString& name)
{
    auto* node = new QTreeWidgetItem(listCycling, QStringList{name});
    node->setData(0, jerseyRole, int(JerseyPictures::Yellow));
    dressCyclistNodes();
}

QStringList TfrmSettings::listedCyclists() const
{
    QStringList names;
    for (int i = 0; i < listCycling->topLevelItemCount(); ++i)
        names << listCycling->topLevelItem(i)->text(0);
    return names;
}

void TfrmSettings::listCyclingClick()
{
    VypisSezon();
}

void TfrmSettings::listCyclingKeyDown()
{
    VypisSezon();
}

void TfrmSettings::listCyclingKeyUp()
{
    VypisSezon();
}

void TfrmSettings::VypisSezon()
{
    if (Pages->currentIndex() == UsersPage)
        listCycling->setFocus();
    if (listCycling->topLevelItemCount() > 0 && !selectedCyclist())
        listCycling->setCurrentItem(listCycling->topLevelItem(0));
    // The caption before the count, in the current language, until the count
    // is known.
    lblUserInfo->setText(lblPocet->text());
    listSezon->clear();
    const QTreeWidgetItem* node = selectedCyclist();
    const QString name = node ? node->text(0) : QString();

    TData* data = m_main->dataModule();
    if (!data) {
        m_main->showStoreNotOpen();
        return;
    }
    ADOTable* table = data->table();
    const RideFilter saved = table->rideFilter();
    ControlsDetached detached(table);
    try {
        table->setFilter(RideFilter::cyclist(name));
        if (!table->isOpen())
            data->open();
        table->first();
        const int count = table->recordCount();
        QList<int> years;
        years.reserve(count);
        for (int i = 0; i < count; ++i) {
            if (i > 0)
                table->next();
            const QVariant year = table->value(RideField::year);
            if (!year.isNull())
                years << year.toInt();
        }
        const QIcon seasonIcon = ImageList::menuImage(0);
        for (int season : seasonList(years)) {
            auto* s = new QTreeWidgetItem(listSezon, QStringList{QString::number(season)});
            s->setIcon(0, seasonIcon);
        }
        lblUserInfo->setText(QString::number(count));
    } catch (const RydexError&) {
        m_main->showStoreNotOpen();
    }
    // The month view's own rows again, its first ride current.
    table->setFilter(saved);
}

void TfrmSettings::btnDeleteClick()
{
    const int count = listCycling->topLevelItemCount();
    if (count == 0) {
        msgDlgListEmpty->execute();
        return;
    }
    if (count == 1) {
        msgDlgNoDelete->execute();
        return;
    }
    if (!msgDlgCyclistDelete->execute())
        return;
    QTreeWidgetItem* node = selectedCyclist();
    if (!node)
        return;
    // His rides stay in the ride store, bound to his name.
    PreferenceKey cyclists = m_main->cyclistsKey();
    cyclists.deleteSubkey(node->text(0));
    // Taken out of the tree, which hands it over to us.
    std::unique_ptr<QTreeWidgetItem> removed(
        listCycling->takeTopLevelItem(listCycling->indexOfTopLevelItem(node)));
    SeznamCyklistu();
    m_main->AktualizaceMenu();
    // Nobody is signed in until a cyclist is chosen from the menu again.
    m_main->showSignedOut();
    cyclistSignedOut();
}

void TfrmSettings::btnCreateClick()
{
    m_main->openNewCyclistDialog();
}

void TfrmSettings::cyclistSignedOut()
{
    m_choicesActive = false;
    grbTabulka->setEnabled(false);
    grpGraf->setEnabled(false);
}
