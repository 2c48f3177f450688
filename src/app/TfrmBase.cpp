#include "app/TfrmBase.h"

#include "app/TfrmInfo.h"
#include "polyglot/MessageCatalogue.h"
#include "stats/DurationTotal.h"
#include "stats/Figures.h"
#include "stats/MonthChartData.h"
#include "stats/MonthChartView.h"
#include "store/ADOConnection.h"
#include "store/ADOTable.h"
#include "store/AppIdentity.h"
#include "store/Clock.h"
#include "store/ControlsDetached.h"
#include "store/PreferenceStore.h"
#include "store/RideFilter.h"
#include "store/RydexError.h"
#include "store/TData.h"
#include "toolkit/DBGrid.h"
#include "toolkit/DBMemo.h"
#include "toolkit/DialogPresenter.h"
#include "toolkit/MenuItem.h"
#include "toolkit/MessageDialog.h"
#include "toolkit/ScreenPlacement.h"
#include "toolkit/SidePanel.h"
#include "toolkit/TabControl.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

RideFigures figuresOf(const RideRow& row)
{
    RideFigures f;
    const QVariant time = row[fieldIndex(RideField::time)];
    if (!time.isNull()) {
        const QTime t = time.toTime();
        f.hours = t.hour();
        f.minutes = t.minute();
        f.seconds = t.second();
    }
    const QVariant dst = row[fieldIndex(RideField::dst)];
    if (!dst.isNull())
        f.dst = dst.value<Fixed4>();
    f.alt = row[fieldIndex(RideField::alt)].toInt();
    f.pulse = row[fieldIndex(RideField::pulse)].toInt();
    return f;
}

constexpr int columnCount = 15;
} // namespace

TfrmBase::TfrmBase(Environment environment, QWidget* parent)
    : QMainWindow(parent), m_env(std::move(environment))
{
    setObjectName(QStringLiteral("frmBase"));
    setWindowTitle(QString::fromLatin1(AppIdentity::title));
    QFont f = font();
    f.setPointSize(8);
    setFont(f);

    buildMenus();
    Pages = new QStackedWidget(this);
    Pages->setObjectName(QStringLiteral("Pages"));
    buildWelcomePage();
    buildWorkingPage();
    setCentralWidget(Pages);
    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setFixedHeight(19);
    StatusBar->setSizeGripEnabled(true);
    setStatusBar(StatusBar);
    buildMessageDialogs();

    Pages->setCurrentWidget(WelcomePage);

    // 994 by 689 of client area under the menu, at least 270 by 50.
    const int menuHeight = MainMenu->sizeHint().height();
    setMinimumSize(270, 50 + menuHeight);
    resize(994, 689 + menuHeight);
    centreOnScreen(this);
    FormCreate();
}

TfrmBase::~TfrmBase()
{
    qApp->removeEventFilter(this);
}

void TfrmBase::setDataModule(TData* data)
{
    m_data = data;
    Grid->setDataSource(data ? data->source() : nullptr);
    Note->setDataSource(data ? data->source() : nullptr);
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
    try {
        command();
    } catch (const RydexError& e) {
        DialogPresenter::current().showError(e.text());
    } catch (const std::exception& e) {
        DialogPresenter::current().showError(QString::fromLocal8Bit(e.what()));
    }
}

void TfrmBase::FormCreate()
{
    m_enginePresent = m_env.engineCheck ? m_env.engineCheck() : ADOConnection::engineAvailable();
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
    if (m_enginePresent) {
        Reklama();
        qApp->installEventFilter(this);
        guarded([this] { AktualizaceMenu(); });
        return;
    }
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

bool TfrmBase::event(QEvent* event)
{
    if (event->type() == QEvent::LayoutRequest || event->type() == QEvent::Show)
        Reklama();
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
    // closed, nothing is signed off and no preference is written.
    if (m_data)
        m_data->table()->close();
    qApp->removeEventFilter(this);
    event->accept();
}

void TfrmBase::mnuQuitClick()
{
    if (m_data)
        m_data->table()->close();
    close();
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

void TfrmBase::mnuAboutClick()
{
    TfrmInfo about(this);
    DialogPresenter::current().execModal(about);
}

void TfrmBase::setCyclistCommandsEnabled(bool enabled)
{
    for (MenuItem* m : {mnuRecords, mnuPrint, mnuLogoff, mnuOptions})
        m->setOwnEnabled(enabled);
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
        item->setTag(i);
        item->setImageIndex(12);
        connect(item, &QAction::triggered, this,
                [this, item] { guarded([this, item] { ClickOnCyclist(item); }); });
        mnuLogin->addItem(item);
    }
    mnuNewCyclist->setVisible(m_cyclists.isEmpty());
    setCyclistCommandsEnabled(false);
}

void TfrmBase::ClickOnCyclist(MenuItem* item)
{
    const int index = item->tag();
    if (index < 0 || index >= m_cyclists.size())
        return;
    m_cyclistName = m_cyclists.at(index);
    prihlaseni();
    DefaultGraf();
}

void TfrmBase::applyColumnChoice()
{
    for (int p = 0; p < columnCount; ++p) {
        const int shown = m_cyclistKey.readInteger(QString::number(p), 1);
        if (GridColumn* column = Grid->gridColumn(p))
            column->setVisible(shown != 0);
    }
}

void TfrmBase::setYearText()
{
    lblYear->setText(QString::number(m_year));
}

void TfrmBase::setMonthFilter()
{
    m_data->table()->setFilter(RideFilter::monthText(m_cyclistName, m_year, monthShown()));
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
        const int stored =
            m_cyclistKey.readInteger(QStringLiteral("CurrentYear"), m_workingDate.year());
        if (stored < 0 || stored > 65535)
            throw RydexError(Msg::text(Msg::RangeError), RydexError::Kind::Range);
        m_year = stored;
        if (m_year == m_workingDate.year())
            m_cyclistKey.writeInteger(QStringLiteral("CurrentYear"), m_year);
    } catch (...) {
        showWelcome();
        throw;
    }

    try {
        if (!m_data)
            throw RydexError(Msg::text(Msg::StoreClosed), RydexError::Kind::Store);
        m_data->open();
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
    } catch (const RydexError&) {
        showWelcome();
        msgDlgNotDatabeseOpen->execute();
    }
    setWindowTitle(QString::fromLatin1(AppIdentity::title) + QStringLiteral(" - ") + m_cyclistName);
    setCyclistCommandsEnabled(true);
    emit monthViewChanged();
}

void TfrmBase::mnuLogoffClick()
{
    if (m_data)
        m_data->close(true);
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
    if (year < 0 || year > 65535)
        throw RydexError(Msg::text(Msg::RangeError), RydexError::Kind::Range);
    m_year = year;
    setYearText();
    m_cyclistKey.writeInteger(QStringLiteral("CurrentYear"), m_year);
    setMonthFilter();
    RefreshChart();
    YearHours();
    YearKM();
    MonthKM();
    emit monthViewChanged();
}

void TfrmBase::MonthKM()
{
    Graf->clearTitle();
    ADOTable* table = m_data->table();
    {
        ControlsDetached detached(table);
        if (!table->isOpen())
            m_data->open();
        QVector<RideFigures> rides;
        if (table->findFirst()) {
            const int count = table->recordCount();
            rides.reserve(count);
            for (int i = 0; i < count; ++i) {
                if (i > 0)
                    table->next();
                rides.append(figuresOf(table->rowAt(table->currentIndex())));
            }
        }
        const MonthFigures figures = computeMonthFigures(rides);
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
    const QString saved = table->filter();
    ControlsDetached detached(table);
    table->setFilter(RideFilter::yearText(m_cyclistName, m_year));
    DurationTotal total;
    if (table->findFirst()) {
        const int count = table->recordCount();
        for (int i = 0; i < count; ++i) {
            if (i > 0)
                table->next();
            const QVariant t = table->value(RideField::time);
            if (!t.isNull())
                total.add(t.toTime());
        }
    }
    lblHodCelkem->setText(total.text());
    table->setFilter(saved);
}

void TfrmBase::YearKM()
{
    ADOTable* table = m_data->table();
    ControlsDetached detached(table);
    const QString saved = table->filter();
    table->setFilter(RideFilter::yearText(m_cyclistName, m_year));
    table->last();
    const Fixed4 odo = table->asFixed(RideField::odo);
    table->setFilter(saved);
    lblKMCelkem->setText(yearKmText(odo, QLocale()));
}

void TfrmBase::RefreshChart()
{
    QVector<ChartRide> rides;
    if (m_data && m_data->table()->isOpen()) {
        ADOTable* table = m_data->table();
        ControlsDetached detached(table);
        rides.reserve(table->recordCount());
        for (const RideRow& row : table->rows()) {
            ChartRide r;
            r.day = row[fieldIndex(RideField::day)].toInt();
            const QVariant t = row[fieldIndex(RideField::time)];
            r.time = t.isNull() ? QTime(0, 0) : t.toTime();
            const QVariant dst = row[fieldIndex(RideField::dst)];
            r.dst = dst.isNull() ? Fixed4() : dst.value<Fixed4>();
            r.pulse = row[fieldIndex(RideField::pulse)].toInt();
            r.alt = row[fieldIndex(RideField::alt)].toInt();
            rides.append(r);
        }
    }
    Graf->setSeriesData(buildChartSeries(rides, QLocale()));
}

void TfrmBase::GrafyChange()
{
    Graf->deactivateAll();
    Graf->setActiveSeries(Grafy->tabIndex());
}

void TfrmBase::DefaultGraf()
{
    int index = m_cyclistKey.readInteger(QStringLiteral("DefaultGraf"), 1);
    // Only a hand-edited preference can hold another number; it shows the
    // chart a cyclist gets by default.
    if (index < 0 || index > 3)
        index = 1;
    Graf->deactivateAll();
    Grafy->setTabIndex(index);
    Graf->setActiveSeries(index);
    RefreshChart();
}
