#include "app/TfrmBase.h"

#include "app/StoreOpening.h"
#include "app/TfrmInfo.h"
#include "base/AppIdentity.h"
#include "base/Clock.h"
#include "base/MessageCatalogue.h"
#include "base/RydexError.h"
#include "prefs/CyclistPreferences.h"
#include "prefs/PreferenceStore.h"
#include "stats/Figures.h"
#include "stats/MonthChartData.h"
#include "stats/MonthChartView.h"
#include "stats/TableFigures.h"
#include "stats/TfrmSeason.h"
#include "store/ADOConnection.h"
#include "store/ADOTable.h"
#include "store/ControlsDetached.h"
#include "store/DataSource.h"
#include "store/RideFilter.h"
#include "store/TData.h"
#include "toolkit/CaptionText.h"
#include "toolkit/DBGrid.h"
#include "toolkit/DBMemo.h"
#include "toolkit/DialogPresenter.h"
#include "toolkit/HeldErrors.h"
#include "toolkit/ImageList.h"
#include "toolkit/MenuItem.h"
#include "toolkit/MessageDialog.h"
#include "toolkit/RunReported.h"
#include "toolkit/ScreenPlacement.h"
#include "toolkit/SidePanel.h"
#include "toolkit/TabControl.h"

#include "polyglot/PendingTranslation.h"
#include "polyglot/TbsCorePolyglot.h"
#include "polyglot/TbsPolyglotManager.h"
#include "polyglot/TbsPolyglotTranslator.h"
#include "polyglot/TfrmLanguage.h"
#include "stats/TfrmReport.h"
#include "theme/TsuiFileTheme.h"
#include "theme/TsuiThemeManager.h"
#include "toolkit/Controls.h"
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

TfrmBase::TfrmBase(Environment environment, QWidget* parent)
    : QMainWindow(parent), m_env(std::move(environment))
{
    // An error box now would run events into a window without its controls.
    const HeldErrors heldUntilWhole;
    setObjectName(QStringLiteral("frmBase"));
    // The title carries the signed-in cyclist's name: a language file that
    // set it would drop the name.
    setProperty("translatable", false);
    setWindowTitle(QString::fromLatin1(AppIdentity::title));
    // A zero timer, not a queued call: the event loop delivers the queue,
    // and with it the painting of the new year, before it runs timers.
    m_yearStore = new QTimer(this);
    m_yearStore->setSingleShot(true);
    m_yearStore->setInterval(0);
    connect(m_yearStore, &QTimer::timeout, this, &TfrmBase::storeYear);
    m_opening = std::make_unique<StoreOpening>(this);
    m_changedElsewhere = new QTimer(this);
    m_changedElsewhere->setSingleShot(true);
    connect(m_changedElsewhere, &QTimer::timeout, this, &TfrmBase::showChangesFromElsewhere);
    buildLanguageManager();
    // The theme beside the program is in force from the start.
    suiFileTheme = new TsuiFileTheme(m_env.applicationDir, this);
    runReported([this] {
        const QString beside = QDir(m_env.applicationDir).filePath(QStringLiteral("RX05TdF.sui"));
        try {
            suiFileTheme->setThemeFile(beside);
        } catch (const RydexError&) {
            m_refusedStartTheme = beside;
            throw;
        }
    });

    buildMenus();
    Pages = new QStackedWidget(this);
    Pages->setObjectName(QStringLiteral("Pages"));
    buildWelcomePage();
    buildWorkingPage();
    // The pages keep the size their layout needs; a window smaller than that
    // (a small screen, a large scale) scrolls them instead of squeezing the
    // figures out of sight.
    auto* scroller = new QScrollArea(this);
    scroller->setObjectName(QStringLiteral("PagesScroller"));
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidgetResizable(true);
    scroller->setWidget(Pages);
    setCentralWidget(scroller);
    StatusBar = new ::StatusBar(QStringLiteral("StatusBar"), this);
    StatusBar->setFixedHeight(19);
    StatusBar->setSizeGripEnabled(true);
    setStatusBar(StatusBar);
    buildMessageDialogs();

    Pages->setCurrentWidget(WelcomePage);

    // 994 by 689 of client area under the menu, at least 270 by 50.
    const int menuHeight = MainMenu->sizeHint().height();
    setMinimumSize(270, 50 + menuHeight);
    resize(994, 689 + menuHeight);
    fitOnScreen(this);
    centreOnScreen(this);
    suiThemeManager = new TsuiThemeManager(this, {QStringLiteral("frmBaseSui"),
                                                  QStringLiteral("Mesice"),
                                                  QStringLiteral("DBGrid"),
                                                  QStringLiteral("StatisticsPerMonth"),
                                                  QStringLiteral("StatisticsPerYear"),
                                                  QStringLiteral("Grafy"),
                                                  QStringLiteral("SideNote"),
                                                  QStringLiteral("Note"),
                                                  QStringLiteral("suiScrollBar"),
                                                  QStringLiteral("ToolBarLeft"),
                                                  QStringLiteral("ToolBarRight"),
                                                  QStringLiteral("StatusBar"),
                                                  QStringLiteral("GridMenu"),
                                                  QStringLiteral("MainMenu"),
                                                  QStringLiteral("NoteMenu"),
                                                  QStringLiteral("msgDlgDeleteRecord"),
                                                  QStringLiteral("msgDlgNotDelete"),
                                                  QStringLiteral("mdgDlgNoRecord"),
                                                  QStringLiteral("msgDlgMSJet"),
                                                  QStringLiteral("msgDlgNotDatabeseOpen"),
                                                  QStringLiteral("msgDlgNotPrint")});
    runReported([this] { TbsPolyglotTranslator::attach(this); });
    // The welcome page's word on how to begin names the menu as it reads in
    // the language shown.
    if (auto* translator = findChild<TbsPolyglotTranslator*>(TbsPolyglotTranslator::componentName(),
                                                             Qt::FindDirectChildrenOnly))
        translator->AfterTranslate = [this](QObject*) { showFirstSteps(); };
    FormCreate();
}

void TfrmBase::buildLanguageManager()
{
    LanguageManager = new TbsPolyglotManager(QStringLiteral("LanguageManager"), this);
    // The manager's designed values. The designer's language directory
    // belonged to his machine and is not applied: until the language dialog
    // points the engine at "lng" beside the program, the engine's own start
    // directory stays, where no language is found either.
    if (GetCorePolyglot()) {
        runReported([this] {
            LanguageManager->setCurrentLang(QStringLiteral("czech"));
            LanguageManager->setTranslateResourceStrings(true);
        });
    }
}

TfrmBase::~TfrmBase()
{
    qApp->removeEventFilter(this);
    // The backup taken at closing finishes before the program ends, while
    // the store's connection is still open.
    waitForAutomaticBackup();
}

void TfrmBase::setDataModule(TData* data)
{
    m_data = data;
    Grid->setDataSource(data ? data->source() : nullptr);
    Note->setDataSource(data ? data->source() : nullptr);
    if (!data)
        return;
    m_opening->askBeforeCreating(*data->connection());
    connect(data->connection(), &ADOConnection::ridesChangedElsewhere, this,
            &TfrmBase::ridesChangedElsewhere);
}

bool TfrmBase::signedIn() const
{
    return Pages->currentWidget() == WorkPage;
}

int TfrmBase::monthShown() const
{
    return Mesice->tabIndex() + 1;
}

void TfrmBase::guarded(const std::function<void()>& command)
{
    runReported(command);
}

void TfrmBase::FormCreate()
{
    m_enginePresent =
        m_env.engineCheck ? m_env.engineCheck() : ADOConnection::engineAvailable(m_env.store);
    if (m_env.preferences) {
        if (std::optional<QString> problem = m_env.preferences->check()) {
            DialogPresenter::current().showError(*problem);
            m_preferencesReported = true;
        }
        guarded([this] {
            m_programKey = openPreferenceKey(PreferenceStore::programKeyPath());
            m_cyclistsKey = openPreferenceKey(PreferenceStore::cyclistsKeyPath());
        });
    }
    // The sponsors fold away to their caption bar; the button opens them.
    if (m_enginePresent) {
        if (auto* group = SponsorPanel->findChild<QWidget*>(QStringLiteral("SponsorGroup")))
            group->setVisible(false);
    }
}

PreferenceKey TfrmBase::openPreferenceKey(const QString& path)
{
    try {
        return m_env.preferences->openKey(path);
    } catch (const RydexError&) {
        // The file's problem was shown at start-up: the same failure in
        // other words would tell the user nothing new. Reads from the key
        // give their defaults; a command that writes says so.
        if (!m_preferencesReported)
            throw;
        return m_env.preferences->openKey(path, false);
    }
}

void TfrmBase::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_shownOnce) {
        m_shownOnce = true;
        FormShow();
    }
}

void TfrmBase::FormShow()
{
    guarded([this] {
        m_skin = m_programKey.readText(
            QStringLiteral("skin"),
            QDir(m_env.applicationDir).filePath(QStringLiteral("RX05TdF.sui")));
        m_language = m_programKey.readText(QStringLiteral("lng"), QStringLiteral("english"));
    });
    if (m_skin != m_refusedStartTheme)
        guarded([this] { suiFileTheme->setThemeFile(m_skin); });
    suiThemeManager->apply();
    if (TbsCorePolyglot* engine = GetCorePolyglot()) {
        guarded([this] { LanguageManager->setCurrentLang(m_language); });
        // Message texts come from the current language from now on.
        engine->endMessageLanguage();
    }
    if (m_languageDialog)
        guarded([this] { m_languageDialog->fillLanguageList(); });
    if (m_enginePresent) {
        Reklama();
        qApp->installEventFilter(this);
        guarded([this] { AktualizaceMenu(); });
        return;
    }
    // The driver missing is the server's: the package that brings it is named.
    if (m_env.store.isServer())
        msgDlgMSJet->setText(Msg::text(Msg::ServerDriverMissing));
    msgDlgMSJet->execute();
    m_terminated = true;
    close();
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

void TfrmBase::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    Reklama();
}

void TfrmBase::Reklama()
{
    if (!YearStrip)
        return; // not built yet
    const int w = YearStrip->width();
    lblYear->setGeometry(0, 0, w, YearStrip->height());
    btnDown->move(w / 2 - 46, 8);
    btnUp->move(w / 2 + 23, 8);
}

bool TfrmBase::eventFilter(QObject* watched, QEvent* event)
{
    // The application's hint handler: whatever control or menu item the
    // pointer rests on, its hint goes to the status bars.
    if (event->type() == QEvent::StatusTip) {
        ShowHint(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    if (watched == YearStrip && event->type() == QEvent::Resize)
        Reklama();
    return QMainWindow::eventFilter(watched, event);
}

void TfrmBase::setWindowMaker(std::function<void()> maker)
{
    m_windowMaker = std::move(maker);
    if (m_windowMaker && GetCorePolyglot() && !m_windowsPlace)
        m_windowsPlace = std::make_unique<PendingTranslation>(LanguageManager);
}

void TfrmBase::ensureWindows() const
{
    if (!m_windowMaker)
        return;
    const std::function<void()> maker = std::move(m_windowMaker);
    m_windowMaker = nullptr;
    // Shown once every window is made: none is half-made then, and none of
    // the commands that need them finds one missing.
    const HeldErrors heldUntilWhole;
    const std::unique_ptr<PendingTranslation> place = std::move(m_windowsPlace);
    if (!place) {
        maker();
        return;
    }
    const PendingTranslation::Arrivals arrivals(*place);
    maker();
}

bool TfrmBase::event(QEvent* event)
{
    if (event->type() == QEvent::LayoutRequest || event->type() == QEvent::Show)
        Reklama();
    // Once the first picture of the window is on the screen.
    if (event->type() == QEvent::Paint && m_windowMaker && !m_windowsScheduled && m_enginePresent) {
        m_windowsScheduled = true;
        QTimer::singleShot(0, this, &TfrmBase::ensureWindows);
    }
    return QMainWindow::event(event);
}

void TfrmBase::ShowHint(const QString& hint)
{
    m_hint = hint;
    if (hint.isEmpty())
        StatusBar->clearMessage();
    else
        StatusBar->showMessage(hint);
    emit hintChanged(hint);
}

void TfrmBase::closeEvent(QCloseEvent* event)
{
    // Closing by the frame button ends the program like "Konec": the table is
    // closed, nothing is signed off and no other preference is written.
    leaveMonthView(Leaving::ProgramEnd);
    startAutomaticBackup();
    qApp->removeEventFilter(this);
    event->accept();
}

void TfrmBase::mnuQuitClick()
{
    // Ends as closing the window does, which leaves the month view.
    close();
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

void TfrmBase::setReportForm(TfrmReport* report)
{
    m_report = report;
    if (!report)
        return;
    report->Graf->copyStateFrom(*Graf);
    connect(Graf, &MonthChartView::stateChanged, report,
            [this, report] { report->Graf->copyStateFrom(*Graf); });
}

bool TfrmBase::prepareReport()
{
    ensureWindows();
    if (!m_report || !m_data || !m_data->table()->isOpen())
        return false;
    ADOTable* table = m_data->table();
    table->first();
    if (table->recordCount() == 0 && msgDlgNotPrint->execute() != MessageDialog::Button1)
        return false;
    TfrmReport::Figures figures;
    figures.cyclist = m_cyclistName;
    figures.month = Mesice->tabCaption(Mesice->tabIndex());
    figures.year = QString::number(m_year);
    figures.hours = lblHodiny->text();
    figures.km = lblKilometry->text();
    figures.pulse = lblTep->text();
    figures.alt = lblPrevyseni->text();
    m_report->setFigures(figures);
    m_report->setValueLists(m_data->source()->valueLists());
    m_report->Graf->copyStateFrom(*Graf);
    return true;
}

void TfrmBase::Print()
{
    if (!prepareReport())
        return;
    const QVector<RideRow> rides = m_data->table()->rows();
    QPrinter printer(QPrinter::HighResolution);
    TfrmReport::preparePrinter(printer);
    QPrintPreviewDialog preview(&printer, this);
    // The report form's caption, which the language translates.
    preview.setWindowTitle(m_report->windowTitle());
    connect(&preview, &QPrintPreviewDialog::paintRequested, m_report,
            [this, &rides](QPrinter* target) { m_report->paint(target, rides); });
    DialogPresenter::current().execModal(preview);
}

void TfrmBase::mnuSkinClick()
{
    // None of the program's windows stays in view while a theme is chosen.
    // Each comes back as it was (a maximised window maximised).
    QList<std::pair<QPointer<QWidget>, Qt::WindowStates>> minimised;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && !w->isMinimized()) {
            minimised.append({w, w->windowState()});
            w->showMinimized();
        }
    }
    QFileDialog OpenSkinDialog(nullptr);
    OpenSkinDialog.setObjectName(QStringLiteral("OpenSkinDialog"));
    // Qt's own dialog, the same on every desktop: resizable, no read-only
    // box, and it leaves the working directory alone.
    OpenSkinDialog.setOption(QFileDialog::DontUseNativeDialog);
    OpenSkinDialog.setNameFilter(QStringLiteral("Rydex Skin (*.sui)"));
    OpenSkinDialog.setDefaultSuffix(QStringLiteral("sui"));
    OpenSkinDialog.setFileMode(QFileDialog::ExistingFile);
    OpenSkinDialog.setAcceptMode(QFileDialog::AcceptOpen);
    // The folder of the theme in force: the designer's "%programfiles%"
    // means nothing here.
    OpenSkinDialog.setDirectory(suiFileTheme->themeFile().isEmpty()
                                    ? QDir(m_env.applicationDir).absolutePath()
                                    : QFileInfo(suiFileTheme->themeFile()).absolutePath());
    OpenSkinDialog.setSizeGripEnabled(true);
    if (DialogPresenter::current().execModal(OpenSkinDialog) == QDialog::Accepted &&
        !OpenSkinDialog.selectedFiles().isEmpty()) {
        const QString chosen = OpenSkinDialog.selectedFiles().first();
        guarded([this, &chosen] { suiFileTheme->setThemeFile(chosen); });
    }
    guarded([this] {
        m_programKey.writeText(QStringLiteral("skin"), suiFileTheme->themeFile());
        m_skin = suiFileTheme->themeFile();
    });
    suiThemeManager->apply();
    for (const auto& [w, state] : std::as_const(minimised)) {
        if (w) {
            w->setWindowState(state);
            w->show();
        }
    }
}

void TfrmBase::mnuLanguageClick()
{
    if (m_languageDialog)
        DialogPresenter::current().execModal(*m_languageDialog);
}

void TfrmBase::mnuAboutClick()
{
    TfrmInfo about(this);
    DialogPresenter::current().execModal(about);
}

void TfrmBase::setCyclistCommandsEnabled(bool enabled)
{
    for (MenuItem* m : {mnuRecords, mnuLogoff, mnuOptions, mnuPrint, mnuSeason})
        m->setOwnEnabled(enabled);
    // The season window shows the signed-in cyclist; signing off (or in
    // again) ends it.
    if (!enabled && m_season)
        m_season->close();
}

void TfrmBase::showWorkingPage(bool working)
{
    Pages->setCurrentWidget(working ? WorkPage : WelcomePage);
    if (working)
        Reklama();
}

void TfrmBase::AktualizaceMenu()
{
    if (m_env.preferences)
        m_programKey = openPreferenceKey(PreferenceStore::programKeyPath());
    if (m_data)
        m_data->close(true);
    m_cyclists = m_cyclistsKey.subkeys();
    mnuLogin->removeItems();
    for (int i = 0; i < m_cyclists.size(); ++i) {
        auto* item = new MenuItem(QStringLiteral("menu%1").arg(i), m_cyclists.at(i), this);
        item->setProperty("translatable", false); // a cyclist's name
        item->setTag(i);
        item->setImageIndex(ImageList::CyclistImage);
        connect(item, &QAction::triggered, this,
                [this, item] { guarded([this, item] { ClickOnCyclist(item); }); });
        mnuLogin->addItem(item);
    }
    mnuNewCyclist->setVisible(m_cyclists.isEmpty());
    setCyclistCommandsEnabled(false);
    showFirstSteps();
}

void TfrmBase::showFirstSteps()
{
    const QString path = captionAsRead(mnuRydex->caption()) + QStringLiteral(" › ") +
                         captionAsRead(mnuNewCyclist->caption());
    lblFirstCyclist->setText(Msg::format(Msg::FirstCyclistHint, {path}));
    lblFirstCyclist->setVisible(m_enginePresent && m_cyclists.isEmpty() && m_shownOnce);
}

void TfrmBase::ClickOnCyclist(MenuItem* item)
{
    const int index = item->tag();
    if (index < 0 || index >= m_cyclists.size())
        return;
    leaveMonthView(Leaving::AnotherCyclist);
    m_cyclistName = m_cyclists.at(index);
    {
        // One filling of the grid for the sign-in and the cyclist's chart.
        const ControlsDetached detached(m_data ? m_data->table() : nullptr);
        prihlaseni();
        DefaultGraf();
    }
    // Rides with a value the program cannot hold are shown, marked, so that
    // the user can correct or delete them: said once, precisely, over the
    // filled month.
    if (m_data && m_data->table()->isOpen()) {
        const QString damage = m_data->table()->damageReport();
        if (!damage.isEmpty())
            DialogPresenter::current().showError(damage);
    }
}

void TfrmBase::applyColumnChoice()
{
    const CyclistPreferences prefs = cyclistPreferences();
    for (int p = 0; p < CyclistPreferences::columnCount; ++p)
        showColumn(p, prefs.columnShown(p));
}

void TfrmBase::setYearText()
{
    lblYear->setText(QString::number(m_year));
}

void TfrmBase::setMonthFilter()
{
    m_data->table()->setFilter(RideFilter::month(m_cyclistName, m_year, monthShown()));
}

void TfrmBase::prihlaseni()
{
    // The welcome page is the state until the month view is filled; the
    // page is switched only where the window can be seen (an error, or the
    // end), so signing in from one month view to another does not rebuild
    // the whole page twice.
    const auto showWelcome = [this] { showWorkingPage(false); };
    setCyclistCommandsEnabled(false);
    try {
        m_cyclistKey = m_cyclistsKey.subkey(m_cyclistName, true);
        applyColumnChoice();
        m_workingDate = Clock::today();
        CyclistPreferences prefs = cyclistPreferences();
        m_year = prefs.currentYear(m_workingDate.year());
        if (m_year == m_workingDate.year())
            prefs.setCurrentYear(m_year);
    } catch (...) {
        showWelcome();
        throw;
    }

    try {
        if (!m_data)
            throw RydexError(Msg::text(Msg::StoreClosed), RydexError::Kind::Store);
        // The grid and the note follow the table once, when the month view
        // is filled, not after each figure's walk over it.
        const ControlsDetached detached(m_data->table());
        openStore();
        m_data->connection()->requireSoundPages();
        setYearText();
        setMonthFilter();
        m_data->table()->setFiltered(true);
        const int month = m_workingDate.month() - 1;
        if (Mesice->tabIndex() != month) {
            {
                const QSignalBlocker block(Mesice);
                Mesice->setTabIndex(month);
            }
            MesiceChange();
        }
        YearHours();
        YearKM();
        MonthKM();
        RefreshChart();
        showWorkingPage(true);
        reportStoreNotices();
    } catch (const RydexError& e) {
        showWelcome();
        // What is wrong, precisely: restarting would not mend a refused or
        // damaged store.
        DialogPresenter::current().showError(e.text());
    }
    setWindowTitle(QString::fromLatin1(AppIdentity::title) + QStringLiteral(" - ") + m_cyclistName);
    setCyclistCommandsEnabled(true);
    emit monthViewChanged();
}

void TfrmBase::reportStoreNotices()
{
    if (!m_data)
        return;
    for (const QString& notice : m_data->connection()->takeNotices())
        DialogPresenter::current().showError(notice);
}

void TfrmBase::mnuLogoffClick()
{
    leaveMonthView(Leaving::SignOut);
}

void TfrmBase::leaveMonthView(Leaving way)
{
    storeYear();
    switch (way) {
    case Leaving::AnotherCyclist:
    case Leaving::CyclistDialog:
        return;
    case Leaving::ProgramEnd:
        if (m_data)
            m_data->table()->close();
        return;
    case Leaving::SignOut:
        startAutomaticBackup();
        if (m_data)
            m_data->close(true);
        break;
    case Leaving::Restore:
    case Leaving::StoreChange:
        // The restore needs the store to itself: the program's connection
        // closed and no backup of its own reading it.
        if (m_data)
            m_data->close(true);
        waitForAutomaticBackup();
        break;
    }
    setWindowTitle(QString::fromLatin1(AppIdentity::title));
    showWorkingPage(false);
    setCyclistCommandsEnabled(false);
}

void TfrmBase::MesiceChange()
{
    if (!m_data || !m_data->table()->isOpen())
        return;
    setMonthFilter();
    MonthKM();
    emit monthViewChanged();
}

void TfrmBase::btnDownClick()
{
    guarded([this] { changeYear(-1); });
}

void TfrmBase::btnUpClick()
{
    guarded([this] { changeYear(+1); });
}

void TfrmBase::changeYear(int step)
{
    const int year = m_year + step;
    CyclistPreferences::checkYear(year);
    const MonthChartView::Batch batch(Graf);
    m_year = year;
    setYearText();
    setMonthFilter();
    RefreshChart();
    YearHours();
    YearKM();
    MonthKM();
    emit monthViewChanged();
    // Stored durably, which waits for the disc, once the year is painted;
    // quick clicks store the last one.
    m_yearToStore = {cyclistPreferences(), m_year};
    m_yearStore->start();
}

void TfrmBase::storeYear()
{
    m_yearStore->stop();
    if (!m_yearToStore)
        return;
    std::pair<CyclistPreferences, int> pending = *std::exchange(m_yearToStore, std::nullopt);
    runReported([&pending] { pending.first.setCurrentYear(pending.second); });
}

void TfrmBase::MonthKM()
{
    const MonthChartView::Batch batch(Graf);
    Graf->clearTitle();
    ADOTable* table = m_data->table();
    {
        ControlsDetached detached(table);
        if (!table->isOpen())
            m_data->open();
        const MonthFigures figures = readMonthFigures(*table);
        lblTep->setText(figures.pulse);
        lblKilometry->setText(QString::number(figures.km));
        lblPrevyseni->setText(QString::number(figures.alt));
        lblHodiny->setText(figures.hours);
        Graf->setTitleText(chartTitle(Mesice->tabCaption(Mesice->tabIndex()), figures.km));
        Graf->setDayAxisMaximum(dayAxisMaximum(m_year, monthShown()));
        RefreshChart();
    }
    table->first();
}

void TfrmBase::YearHours()
{
    ADOTable* table = m_data->table();
    ControlsDetached detached(table);
    lblHodCelkem->setText(readYearHours(*table, m_cyclistName, m_year));
}

void TfrmBase::YearKM()
{
    ADOTable* table = m_data->table();
    ControlsDetached detached(table);
    lblKMCelkem->setText(yearKmText(readYearOdometer(*table, m_cyclistName, m_year), QLocale()));
}

void TfrmBase::RefreshChart()
{
    QVector<ChartRide> rides;
    if (m_data && m_data->table()->isOpen()) {
        ControlsDetached detached(m_data->table());
        rides = readChartRides(*m_data->table());
    }
    Graf->setSeriesData(buildChartSeries(rides, QLocale()));
}

void TfrmBase::GrafyChange()
{
    const MonthChartView::Batch batch(Graf);
    Graf->deactivateAll();
    Graf->setActiveSeries(Grafy->tabIndex());
}

void TfrmBase::DefaultGraf()
{
    const MonthChartView::Batch batch(Graf);
    showChart(cyclistPreferences().chart());
    RefreshChart();
}

void TfrmBase::showChart(int index)
{
    Graf->deactivateAll();
    // Runs GrafyChange when the tab changes.
    Grafy->setTabIndex(index);
    Graf->setActiveSeries(index);
}

void TfrmBase::showSignedOut()
{
    showWorkingPage(false);
    setCyclistCommandsEnabled(false);
}

void TfrmBase::showStoreNotOpen()
{
    msgDlgNotDatabeseOpen->execute();
}

QMetaObject::Connection TfrmBase::connectHint(QObject* context,
                                              std::function<void(const QString&)> show)
{
    return connect(this, &TfrmBase::hintChanged, context, std::move(show));
}

void TfrmBase::showColumn(int position, bool shown)
{
    if (GridColumn* column = Grid->gridColumn(position))
        column->setVisible(shown);
}
