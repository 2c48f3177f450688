#pragma once

#include "toolkit/ControlProperties.h"

#include "stats/SeasonRide.h"

#include <QDate>
#include <QVector>
#include <QWidget>

class ADOTable;
class PageControl;
class QLabel;
class QTableView;
class QTableWidget;
class QToolButton;
class SeasonMonthsModel;
class SeasonWeeksChart;
class SeasonYearsChart;
class TabSheet;
class ThemedFrame;

// The season at a glance for one cyclist: the weeks of a year, the year
// against the ones before it, its months, and his personal bests over all
// his rides. It stays open beside the main window; the rides are read once
// and again only when the table was written, so moving between years costs
// no reading.
class TfrmSeason : public QWidget
{
    Q_OBJECT
    RYDEX_CONTROL_PROPERTIES
    Q_PROPERTY(QString Caption READ windowTitle WRITE setWindowTitle)

public:
    TfrmSeason(ADOTable* table, const QString& cyclist, int year, QWidget* parent = nullptr);
    ~TfrmSeason() override;

    QString cyclist() const { return m_cyclist; }
    int year() const { return m_year; }
    // Shows another year of the rides in memory.
    void setYear(int year);
    const QVector<SeasonRide>& rides() const { return m_rides; }
    SeasonMonthsModel* monthsModel() const { return m_months; }

    void btnDownClick();
    void btnUpClick();
    // The ride table was written: the rides are read again and shown.
    void readRides();

    ThemedFrame* frmSeasonSui = nullptr;
    QToolButton* btnDown = nullptr;
    QLabel* lblYear = nullptr;
    QToolButton* btnUp = nullptr;
    PageControl* Pages = nullptr;
    TabSheet* tabWeeks = nullptr;
    TabSheet* tabYears = nullptr;
    TabSheet* tabMonths = nullptr;
    TabSheet* tabBests = nullptr;
    SeasonWeeksChart* WeeksChart = nullptr;
    SeasonYearsChart* YearsChart = nullptr;
    QLabel* lblLead = nullptr;
    QTableView* MonthsTable = nullptr;
    QTableWidget* BestsList = nullptr;

signals:
    // The user asked to see this ride (0: none, the month of the day) in the
    // month view.
    void rideChosen(const QDate& day, int rideId);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildYearStrip();
    void wireKeys();
    void retranslate();
    void loadRides();
    void showYear();
    void showChart(int page);
    void showBests();
    void weekClicked(int index);
    void bestChosen(int row);

    ADOTable* m_table;
    QString m_cyclist;
    int m_year;
    QVector<SeasonRide> m_rides;
    SeasonMonthsModel* m_months = nullptr;
    bool m_weeksStale = true;
    bool m_yearsStale = true;
};
