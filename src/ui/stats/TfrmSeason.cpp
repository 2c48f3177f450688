#include "stats/TfrmSeason.h"

#include "stats/PersonalBests.h"
#include "stats/SeasonCurves.h"
#include "stats/SeasonMonths.h"
#include "stats/SeasonMonthsModel.h"
#include "stats/SeasonWeeks.h"
#include "stats/SeasonWeeksChart.h"
#include "stats/SeasonYearsChart.h"

#include "base/Clock.h"
#include "base/MessageCatalogue.h"
#include "polyglot/TbsPolyglotTranslator.h"
#include "store/ADOTable.h"
#include "theme/TsuiThemeManager.h"
#include "toolkit/Controls.h"
#include "toolkit/DialogPresenter.h"
#include "toolkit/RunReported.h"
#include "toolkit/ScreenPlacement.h"
#include "toolkit/ThemedFrame.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QShortcut>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
constexpr int bandHeight = 30;
// The years the strip moves between; a QDate holds them all.
constexpr int firstYear = 1;
constexpr int lastYear = 9999;
constexpr int rideRole = Qt::UserRole;
constexpr int dayRole = Qt::UserRole + 1;
} // namespace

TfrmSeason::TfrmSeason(ADOTable* table, const QString& cyclist, int year, QWidget* parent)
    : QWidget(parent, Qt::Window), m_table(table), m_cyclist(cyclist),
      m_year(std::clamp(year, firstYear, lastYear))
{
    setObjectName(QStringLiteral("frmSeason"));
    // The caption carries the year: composed from the message texts.
    setProperty("translatable", false);
    if (parent)
        setFont(parent->font());
    m_months = new SeasonMonthsModel(this);
    buildControls();
    wireKeys();
    loadRides();

    TsuiThemeManager::attach(this, {QStringLiteral("frmSeasonSui"), QStringLiteral("btnDown"),
                                    QStringLiteral("btnUp"), QStringLiteral("Pages"),
                                    QStringLiteral("MonthsTable"), QStringLiteral("BestsList")});
    runReported([this] {
        if (TbsPolyglotTranslator* translator = TbsPolyglotTranslator::attach(this)) {
            translator->AfterTranslate = [this](QObject*) { retranslate(); };
        }
    });
    // The texts and figures, shown once.
    retranslate();
    resize(980, 640);
    fitOnScreen(this);
    centreOnScreen(this);
}

TfrmSeason::~TfrmSeason() = default;

void TfrmSeason::buildControls()
{
    frmSeasonSui = new ThemedFrame(QStringLiteral("frmSeasonSui"), this, bandHeight);
    frmSeasonSui->setProperty("translatable", false);
    auto* layout = new QVBoxLayout(frmSeasonSui);
    layout->setContentsMargins(8, bandHeight + 4, 8, 8);
    layout->setSpacing(4);
    buildYearStrip();
    auto* strip = new QHBoxLayout;
    strip->addStretch(1);
    strip->addWidget(btnDown);
    strip->addWidget(lblYear);
    strip->addWidget(btnUp);
    strip->addStretch(1);
    layout->addLayout(strip);

    Pages = new PageControl(QStringLiteral("Pages"), frmSeasonSui);
    tabWeeks = new TabSheet(QStringLiteral("tabWeeks"), Pages);
    Pages->addSheet(tabWeeks, QStringLiteral("Týdny"));
    tabYears = new TabSheet(QStringLiteral("tabYears"), Pages);
    Pages->addSheet(tabYears, QStringLiteral("Roky"));
    tabMonths = new TabSheet(QStringLiteral("tabMonths"), Pages);
    Pages->addSheet(tabMonths, QStringLiteral("Měsíce"));
    tabBests = new TabSheet(QStringLiteral("tabBests"), Pages);
    Pages->addSheet(tabBests, QStringLiteral("Osobní rekordy"));
    layout->addWidget(Pages, 1);
    connect(Pages, &QTabWidget::currentChanged, this, &TfrmSeason::showChart);

    auto* weeks = new QVBoxLayout(tabWeeks);
    weeks->setContentsMargins(2, 2, 2, 2);
    WeeksChart = new SeasonWeeksChart(tabWeeks);
    WeeksChart->setObjectName(QStringLiteral("WeeksChart"));
    weeks->addWidget(WeeksChart);
    connect(WeeksChart, &SeasonWeeksChart::weekClicked, this, &TfrmSeason::weekClicked);

    auto* years = new QVBoxLayout(tabYears);
    years->setContentsMargins(2, 2, 2, 2);
    auto* lead = new Label(QStringLiteral("lblLead"), QString(), tabYears);
    // Composed from the rides and the message texts.
    lead->setProperty("translatable", false);
    lead->setAlignment(Qt::AlignCenter);
    lead->setWordWrap(true);
    QFont lf = lead->font();
    lf.setBold(true);
    lf.setPointSizeF(lf.pointSizeF() * 1.3);
    lead->setFont(lf);
    lblLead = lead;
    years->addWidget(lblLead);
    YearsChart = new SeasonYearsChart(tabYears);
    YearsChart->setObjectName(QStringLiteral("YearsChart"));
    years->addWidget(YearsChart, 1);

    auto* months = new QVBoxLayout(tabMonths);
    months->setContentsMargins(2, 2, 2, 2);
    MonthsTable = new QTableView(tabMonths);
    MonthsTable->setObjectName(QStringLiteral("MonthsTable"));
    MonthsTable->setModel(m_months);
    m_months->setBaseFont(MonthsTable->font());
    MonthsTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    MonthsTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    MonthsTable->setAlternatingRowColors(true);
    MonthsTable->setWordWrap(false);
    MonthsTable->verticalHeader()->hide();
    MonthsTable->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    MonthsTable->horizontalHeader()->setMinimumSectionSize(60);
    months->addWidget(MonthsTable);

    auto* bests = new QVBoxLayout(tabBests);
    bests->setContentsMargins(2, 2, 2, 2);
    BestsList = new QTableWidget(bestKindCount, 3, tabBests);
    BestsList->setObjectName(QStringLiteral("BestsList"));
    BestsList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    BestsList->setSelectionBehavior(QAbstractItemView::SelectRows);
    BestsList->setSelectionMode(QAbstractItemView::SingleSelection);
    BestsList->setAlternatingRowColors(true);
    BestsList->setWordWrap(false);
    BestsList->verticalHeader()->hide();
    BestsList->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    BestsList->installEventFilter(this);
    bests->addWidget(BestsList);
    connect(BestsList, &QTableWidget::cellClicked, this, [this](int row, int) { bestChosen(row); });
}

void TfrmSeason::buildYearStrip()
{
    btnDown = new ToolButton(QStringLiteral("btnDown"), frmSeasonSui);
    btnDown->setText(QStringLiteral("<"));
    btnDown->setAutoRaise(true);
    btnDown->setFixedSize(26, 26);
    btnUp = new ToolButton(QStringLiteral("btnUp"), frmSeasonSui);
    btnUp->setText(QStringLiteral(">"));
    btnUp->setAutoRaise(true);
    btnUp->setFixedSize(26, 26);
    auto* year = new Label(QStringLiteral("lblYear"), QString(), frmSeasonSui);
    year->setProperty("translatable", false);
    year->setAlignment(Qt::AlignCenter);
    QFont yf = year->font();
    yf.setBold(true);
    yf.setPointSizeF(yf.pointSizeF() * 1.5);
    year->setFont(yf);
    year->setMinimumWidth(QFontMetrics(yf).horizontalAdvance(QStringLiteral("00000")));
    lblYear = year;
    connect(btnDown, &QToolButton::clicked, this, &TfrmSeason::btnDownClick);
    connect(btnUp, &QToolButton::clicked, this, &TfrmSeason::btnUpClick);
}

void TfrmSeason::wireKeys()
{
    // The month view's keys for the year, and a browser's for back and forth.
    const auto key = [this](QKeyCombination keys, void (TfrmSeason::*step)()) {
        auto* shortcut = new QShortcut(QKeySequence(keys), this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, step);
    };
    key(Qt::CTRL | Qt::SHIFT | Qt::Key_PageUp, &TfrmSeason::btnDownClick);
    key(Qt::CTRL | Qt::SHIFT | Qt::Key_PageDown, &TfrmSeason::btnUpClick);
    key(Qt::ALT | Qt::Key_Left, &TfrmSeason::btnDownClick);
    key(Qt::ALT | Qt::Key_Right, &TfrmSeason::btnUpClick);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}

void TfrmSeason::retranslate()
{
    m_months->retranslate();
    BestsList->setHorizontalHeaderLabels({Msg::text(Msg::SeasonColumnBest),
                                          Msg::text(Msg::SeasonColumnValue),
                                          Msg::text(Msg::SeasonColumnWhen)});
    WeeksChart->setTexts(Msg::text(Msg::SeasonWeekKm), Msg::text(Msg::SeasonWeekHours));
    YearsChart->setKmTitle(Msg::text(Msg::SeasonYearKm));
    showYear();
    showBests();
}

void TfrmSeason::readRides()
{
    loadRides();
    showYear();
    showBests();
}

void TfrmSeason::loadRides()
{
    try {
        // A closed table has no cyclist's rides to show.
        m_rides = m_table && m_table->isOpen() ? readSeasonRides(*m_table, m_cyclist)
                                               : QVector<SeasonRide>();
    } catch (const std::exception& e) {
        DialogPresenter::current().showError(errorText(e));
    }
}

void TfrmSeason::setYear(int year)
{
    year = std::clamp(year, firstYear, lastYear);
    if (year == m_year)
        return;
    m_year = year;
    showYear();
}

void TfrmSeason::btnDownClick()
{
    setYear(m_year - 1);
}

void TfrmSeason::btnUpClick()
{
    setYear(m_year + 1);
}

void TfrmSeason::showYear()
{
    const QLocale locale;
    const QDate today = Clock::today();
    // The frame's band follows the title.
    setWindowTitle(Msg::format(Msg::SeasonCaption, {QString::number(m_year)}));
    lblYear->setText(QString::number(m_year));
    btnDown->setEnabled(m_year > firstYear);
    btnUp->setEnabled(m_year < lastYear);

    // A chart out of sight is drawn when its page is shown: moving between
    // years costs the page in view alone.
    m_weeksStale = m_yearsStale = true;
    showChart(Pages->currentIndex());
    // Sums beyond what the figures hold (a store another tool wrote) are
    // reported, and the window stays.
    runReported([this, &locale, &today] {
        const std::optional<SeasonLead> lead = seasonLead(m_rides, m_year, today);
        lblLead->setText(lead ? seasonLeadText(*lead, locale)
                              : Msg::format(Msg::SeasonNotBegun, {QString::number(m_year)}));
        m_months->setRows(seasonMonths(m_rides, m_year));
    });
}

void TfrmSeason::showChart(int page)
{
    const QLocale locale;
    const QDate today = Clock::today();
    runReported([this, page, &locale, &today] {
        if (page == Pages->indexOf(tabWeeks) && m_weeksStale) {
            m_weeksStale = false;
            WeeksChart->setWeeks(seasonWeeks(m_rides, m_year), locale);
        } else if (page == Pages->indexOf(tabYears) && m_yearsStale) {
            m_yearsStale = false;
            // Years before the first ride would lie flat along the axis.
            QVector<SeasonCurve> curves = seasonCurves(m_rides, m_year, today);
            const int first = m_rides.isEmpty() ? m_year : m_rides.first().day.year();
            while (curves.size() > 1 && curves.last().year < first)
                curves.removeLast();
            YearsChart->setCurves(curves, today, locale);
        }
    });
}

void TfrmSeason::showBests()
{
    const QLocale locale;
    std::array<PersonalBest, bestKindCount> bests{};
    runReported([this, &bests] { bests = personalBests(m_rides); });
    for (int row = 0; row < bestKindCount; ++row) {
        const PersonalBest& best = bests.at(std::size_t(row));
        const QStringList texts = {bestTitle(BestKind(row)), bestValueText(best, locale),
                                   bestWhenText(best, locale)};
        for (int column = 0; column < 3; ++column) {
            QTableWidgetItem* item = BestsList->item(row, column);
            if (!item) {
                item = new QTableWidgetItem;
                BestsList->setItem(row, column, item);
            }
            item->setText(texts.at(column));
            item->setTextAlignment(column == 1 ? Qt::AlignRight | Qt::AlignVCenter
                                               : Qt::AlignLeft | Qt::AlignVCenter);
            item->setData(rideRole, best.found ? best.rideId : 0);
            item->setData(dayRole, best.day);
        }
    }
}

void TfrmSeason::weekClicked(int index)
{
    const QVector<SeasonWeek>& weeks = WeeksChart->weeks();
    if (index < 0 || index >= weeks.size())
        return;
    const SeasonWeek& week = weeks.at(index);
    if (week.firstRideId != 0)
        emit rideChosen(week.firstRideDay, week.firstRideId);
    else
        emit rideChosen(week.monday, 0);
}

void TfrmSeason::bestChosen(int row)
{
    const QTableWidgetItem* item = BestsList->item(row, 0);
    if (!item || item->data(rideRole).toInt() == 0)
        return;
    emit rideChosen(item->data(dayRole).toDate(), item->data(rideRole).toInt());
}

bool TfrmSeason::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == BestsList && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            BestsList->currentRow() >= 0) {
            bestChosen(BestsList->currentRow());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
