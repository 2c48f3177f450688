// Measures the month view on a large store, the import of ride files and the
// season window:
// rydex-bench [--keep DIR] [--runs N] [--only SCENARIO] [--server TEXT [--club]]
// Makes 200,000 rides (20 cyclists, 25 years, 400 rides a year) with the
// sample generator, drives the real routines offscreen and prints medians
// beside their goals. The import's rows ("fit", "preview") and the season's
// bests ("bests") need no store. --server puts the rides into the empty
// PostgreSQL database the connection text names (a kept one is used again)
// and runs the sign-in, month, year and Save rows on it; --club makes a
// club's 1,000,000 rides of 100 cyclists there instead.
#include "ImportBench.h"
#include "SampleData.h"

#include "app/Startup.h"
#include "app/TfrmBase.h"
#include "backup/BackupFile.h"
#include "backup/BackupRestore.h"
#include "base/Clock.h"
#include "import/FitDecoder.h"
#include "import/ImportPlan.h"
#include "import/ImportStore.h"
#include "polyglot/TbsCorePolyglot.h"
#include "records/TfrmExport.h"
#include "records/TfrmNewRecord.h"
#include "records/YearOdometer.h"
#include "stats/PersonalBests.h"
#include "stats/TfrmReport.h"
#include "stats/TfrmSeason.h"
#include "store/ADOConnection.h"
#include "store/ADOTable.h"
#include "store/RideFilter.h"
#include "store/RideStorage.h"
#include "store/StoreLocation.h"
#include "store/TData.h"
#include "theme/TsuiFileTheme.h"
#include "theme/TsuiThemeManager.h"
#include "toolkit/DBTimeEdit.h"
#include "toolkit/MenuItem.h"
#include "toolkit/ScriptedPresenter.h"
#include "toolkit/TabControl.h"

#include <QApplication>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMainWindow>
#include <QMap>
#include <QPdfWriter>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>
#include <vector>

namespace {
QTextStream& out()
{
    static QTextStream stream(stdout);
    return stream;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    if (v.empty())
        return 0;
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Milliseconds of each run of a step; the setup before each run is not timed.
std::vector<double> measure(int runs, const std::function<void()>& setup,
                            const std::function<void()>& step)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        if (setup)
            setup();
        QElapsedTimer t;
        t.start();
        step();
        times.push_back(double(t.nsecsElapsed()) / 1e6);
        QCoreApplication::processEvents();
    }
    return times;
}

long peakMemoryKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

void row(const QString& scenario, const QString& value, const QString& goal, bool met)
{
    out() << scenario.leftJustified(62) << value.rightJustified(12) << goal.rightJustified(10)
          << (met ? "   ok" : "   MISSED") << Qt::endl;
}
void row(const QString& scenario, double ms, double goalMs)
{
    row(scenario, QString::number(ms, 'f', 2) + QStringLiteral(" ms"),
        QString::number(goalMs) + QStringLiteral(" ms"), ms <= goalMs);
}
} // namespace

// The offscreen platform says so at every modal window; the table stays
// readable without it.
QtMessageHandler standardMessages = nullptr;

void quietMessages(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (!text.contains(QLatin1String("does not support raise()")) && standardMessages)
        standardMessages(type, context, text);
}

// What the user waits for ends when the windows are painted: every visible
// window is repainted, whole, inside the timed step. The chart hands its
// changes to its view through the event queue, so the windows are painted
// by delivering the queue, as the event loop would, rather than at once: at
// once, the chart would be painted after the clock stops.
void paintNow()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible())
            w->update();
    }
    // Twice: what the first delivery posts (the chart's view asks to be
    // painted once its scene has told it what changed).
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents();
}

// A language file of that many entries over the windows' real keys.
QString bigLanguageFile(const QString& dir, int entries)
{
    const QString path = QDir(dir).filePath(QStringLiteral("lng/big.lng"));
    QDir().mkpath(QFileInfo(path).path());
    QFile english(QCoreApplication::applicationDirPath() + QStringLiteral("/lng/english.lng"));
    QStringList keys;
    QString section;
    if (english.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : english.readAll().split('\n')) {
            const QString text = QString::fromUtf8(line).trimmed();
            if (text.startsWith(u'[') && text != QStringLiteral("[ResourceStrings]"))
                section = text;
            else if (!section.isEmpty() && text.contains(u'=') && !text.startsWith(u';'))
                keys << section + u'\n' + text;
        }
    }
    QByteArray out;
    // Sections must not repeat (the last would win): group by window.
    QMap<QString, QByteArray> bySection;
    for (int i = 0; i < entries && !keys.isEmpty(); ++i) {
        const QString& entry = keys.at(i % keys.size());
        bySection[entry.section(u'\n', 0, 0)] += entry.section(u'\n', 1).toUtf8() + "\r\n";
    }
    for (auto it = bySection.cbegin(); it != bySection.cend(); ++it)
        out += it.key().toUtf8() + "\r\n" + it.value();
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(out);
    return path;
}

// The two children of the start-up row: each shows its window, paints it,
// says so on its output (where the parent stops the clock: closing down is
// not part of the start-up) and ends.
void sayShown()
{
    out() << "shown" << Qt::endl;
}

int startProgram(const QString& store, const QString& preferences)
{
    Startup::prepareApplication();
    Clock::setFixedToday(QDate(2024, 6, 15));
    Startup::Options options;
    options.storePath = store;
    options.preferencePath = preferences;
    options.applicationDir = QCoreApplication::applicationDirPath();
    Startup startup(options);
    startup.show();
    paintNow();
    sayShown();
    return startup.terminated() ? 1 : 0;
}

int startBare()
{
    QMainWindow window;
    auto* central = new QWidget(&window);
    auto* layout = new QVBoxLayout(central);
    auto* model = new QStandardItemModel(31, 12, &window);
    for (int r = 0; r < model->rowCount(); ++r)
        for (int c = 0; c < model->columnCount(); ++c)
            model->setItem(r, c, new QStandardItem(QString::number(r * c)));
    auto* table = new QTableView(central);
    table->setModel(model);
    layout->addWidget(table);
    auto* series = new QBarSeries;
    auto* set = new QBarSet(QStringLiteral("km"));
    for (int d = 1; d <= 31; ++d)
        *set << d;
    series->append(set);
    auto* chart = new QChart;
    chart->addSeries(series);
    chart->createDefaultAxes();
    layout->addWidget(new QChartView(chart, central));
    window.setCentralWidget(central);
    window.resize(800, 600);
    window.show();
    paintNow();
    sayShown();
    return 0;
}

// The child of the preview's memory row: the season read in a process of
// its own, so that the peak is the preview's and not the store's.
int previewAlone(const QString& season)
{
    const ImportBench::Preview preview = ImportBench::previewSeason(season);
    out() << "peak " << peakMemoryKb() << " files " << preview.files << Qt::endl;
    return 0;
}

void header(int runs)
{
    out() << Qt::endl
          << "scenario (median of " << runs << " runs)"
          << QString().leftJustified(62 - 28 - QString::number(runs).size())
          << "      median      goal" << Qt::endl;
}

// The program's paths in a folder ...
Startup::Options storeIn(const QString& dir)
{
    Startup::Options options;
    options.storePath = QDir(dir).filePath(QStringLiteral("Rydex.dat"));
    options.preferencePath = QDir(dir).filePath(QStringLiteral("Rydex 2005.conf"));
    options.applicationDir = QCoreApplication::applicationDirPath();
    return options;
}

// ... and sample rides there: `cyclists` cyclists, 400 rides a year for
// `years` years from `firstYear`.
void makeSample(const Startup::Options& options, int cyclists, int years, int firstYear,
                const QString& server = {})
{
    SampleOptions sample;
    sample.storePath = options.storePath;
    sample.server = server;
    sample.preferencePath = options.preferencePath;
    sample.cyclists = cyclists;
    sample.years = years;
    sample.ridesPerYear = 400;
    sample.firstYear = firstYear;
    generateSample(sample);
}

// The program shown and idle, as when the cyclist starts working: the
// windows it makes after the first painting are there.
TfrmBase* showIdle(Startup& startup)
{
    startup.show();
    TfrmBase* w = startup.mainWindow();
    paintNow();
    QCoreApplication::processEvents();
    w->ensureWindows();
    return w;
}

// The season window: one cyclist of 8,000 rides over 20 years (400 a year,
// 2005 to 2024) in a store of his own, signed in on the year of today; the
// window opened from its command, then moved between years.
int seasonRows(int runs)
{
    QTemporaryDir temp;
    Startup::Options options = storeIn(temp.path());
    try {
        makeSample(options, 1, 20, 2005);
    } catch (const RydexError& e) {
        out() << e.text() << Qt::endl;
        return 1;
    }
    Clock::setFixedToday(QDate(2024, 6, 15));
    ScopedPresenter dialogs;
    Startup startup(options);
    TfrmBase* w = showIdle(startup);
    auto* cyclist = w->findChild<MenuItem*>(QStringLiteral("menu0"));
    if (!cyclist) {
        out() << "the season's store holds no cyclist" << Qt::endl;
        return 1;
    }
    cyclist->trigger();
    paintNow();
    const auto closeSeason = [w] {
        if (TfrmSeason* season = w->seasonWindow())
            season->close();
        // The closed window is deleted later; not part of the next opening.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    };
    const double open = median(measure(runs, closeSeason, [w] {
        w->mnuSeason->trigger();
        paintNow();
    }));
    row(QStringLiteral("Season: window opened and painted (8,000 rides)"), open, 50);
    TfrmSeason* season = w->seasonWindow();
    if (!season) {
        out() << "the season window did not open" << Qt::endl;
        return 1;
    }
    if (season->rides().size() != 8000) {
        out() << "the season window read " << season->rides().size() << " rides" << Qt::endl;
        return 1;
    }
    int direction = -1;
    const double year = median(measure(runs, nullptr, [season, &direction] {
        direction = -direction;
        season->setYear(season->year() - direction);
        paintNow();
    }));
    row(QStringLiteral("Season: year changed and painted"), year, 16);
    closeSeason();
    return 0;
}

// Reading ride files for the import: the decoder alone, then a season's
// folder as the preview reads it, in time and in memory.
void importRows(int runs, const std::function<bool(const char*)>& wanted)
{
    if (wanted("fit")) {
        const QByteArray fit = ImportBench::fitActivity(10000, 0);
        int rides = 0;
        const double ms =
            median(measure(runs, nullptr, [&] { rides = int(decodeFit(fit).rides.size()); }));
        row(QStringLiteral("FIT file of 10,000 records decoded"), ms, 10);
        if (rides != 1)
            out() << "    (the file gave " << rides << " rides, not one)" << Qt::endl;
    }
    if (!wanted("preview"))
        return;
    QTemporaryDir season;
    out() << "Writing a season of 300 ride files..." << Qt::endl;
    const ImportBench::Season written =
        ImportBench::writeSeason(season.path(), 300, 100LL * 1000 * 1000);
    if (written.files != 300) {
        out() << "cannot write the season into " << season.path() << Qt::endl;
        return;
    }
    std::vector<double> times;
    ImportBench::Preview last;
    for (int i = 0; i < std::max(3, runs / 5); ++i) {
        last = ImportBench::previewSeason(season.path());
        times.push_back(last.ms);
    }
    // Progress that moves: a step at least every fifth of the time.
    const bool moving = last.progressSteps >= 5;
    row(QStringLiteral("preview of a season of 300 ride files (about 100 MB) read"),
        QString::number(median(times), 'f', 0) + QStringLiteral(" ms"), QStringLiteral("3000 ms"),
        median(times) <= 3000 && last.files == 300 && moving);
    out() << QStringLiteral(
                 "    (%1 files, %2 MB on disk, %3 rides, %4 progress steps, %5 ms of CPU "
                 "on %6 threads)")
                 .arg(last.files)
                 .arg(written.bytes / 1e6, 0, 'f', 1)
                 .arg(last.rides)
                 .arg(last.progressSteps)
                 .arg(last.cpuMs, 0, 'f', 0)
                 .arg(QThread::idealThreadCount())
          << Qt::endl;

    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--preview-alone"), season.path()});
    const bool ran = child.waitForFinished(120000) && child.exitCode() == 0;
    const QList<QByteArray> said = child.readAllStandardOutput().simplified().split(' ');
    const long peak = ran && said.size() == 4 && said[3] == "300" ? said[1].toLong() : -1;
    row(QStringLiteral("peak memory while previewing 300 files"),
        QString::number(peak / 1024.0, 'f', 1) + " MB", QStringLiteral("150 MB"),
        peak >= 0 && peak <= 150 * 1024);
}

// The personal bests of a cyclist with 8,000 rides: 400 a year over 20
// years, made in memory, the same on every run.
void seasonBestsRow(int runs)
{
    QVector<SeasonRide> rides;
    rides.reserve(8000);
    for (int year = 2005; year < 2025; ++year) {
        const QDate first(year, 1, 1);
        for (int i = 0; i < 400; ++i) {
            SeasonRide ride;
            ride.id = int(rides.size()) + 1;
            ride.day = first.addDays(i * first.daysInYear() / 400);
            ride.dst = Fixed4::fromUnits(100'000 + qint64(i * 7919 % 1'500) * 1'000);
            ride.seconds = int(ride.dst.units() * 36 / 2'500 / 100) + i % 600;
            ride.alt = i * 53 % 1'800;
            ride.pulse = 120 + i % 40;
            rides.append(ride);
        }
    }
    std::array<PersonalBest, bestKindCount> bests;
    const double ms = median(measure(runs, nullptr, [&] { bests = personalBests(rides); }));
    row(QStringLiteral("Season: personal bests over 8,000 rides"), ms, 5);
    if (!bests[std::size_t(BestKind::MostRidesInYear)].found)
        out() << "    (no record found)" << Qt::endl;
}

int main(int argc, char** argv)
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    standardMessages = qInstallMessageHandler(quietMessages);
    // As the program does: the rows' dates are worked out many times faster.
    Clock::settleTimeZone();
    QApplication app(argc, argv);
    QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == QStringLiteral("--start-program"))
        return startProgram(args[2], args[3]);
    if (args.size() == 2 && args[1] == QStringLiteral("--start-bare"))
        return startBare();
    if (args.size() == 3 && args[1] == QStringLiteral("--preview-alone"))
        return previewAlone(args[2]);
    Startup::prepareApplication();
    int runs = 15;
    QString keep;
    QString only;
    QString server;
    bool club = false;
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QStringLiteral("--runs") && i + 1 < args.size())
            runs = std::max(1, args[++i].toInt());
        else if (args[i] == QStringLiteral("--keep") && i + 1 < args.size())
            keep = args[++i];
        else if (args[i] == QStringLiteral("--only") && i + 1 < args.size())
            only = args[++i];
        else if (args[i] == QStringLiteral("--server") && i + 1 < args.size())
            server = args[++i];
        else if (args[i] == QStringLiteral("--club"))
            club = true;
    }
    // One scenario alone, for a profiler: its name's first word. On a server
    // the rows of the month view and the Save.
    const auto wanted = [&](const char* name) {
        if (!server.isEmpty() &&
            !QStringList({"signin", "month", "year", "save"}).contains(QLatin1String(name)))
            return false;
        return only.isEmpty() || only == QLatin1String(name);
    };
    if (only == QLatin1String("season")) {
        header(runs);
        return seasonRows(runs);
    }
    if (only == QLatin1String("bests")) {
        header(runs);
        seasonBestsRow(runs);
        return 0;
    }
    if (only == QLatin1String("fit") || only == QLatin1String("preview")) {
        header(runs);
        importRows(runs, wanted);
        return 0;
    }
    QTemporaryDir temp;
    const QString dir = keep.isEmpty() ? temp.path() : keep;
    QDir().mkpath(dir);
    Clock::setFixedToday(QDate(2024, 6, 15));

    Startup::Options options = storeIn(dir);
    const int sampleCyclists = club ? 100 : 20;
    if (!QFile::exists(server.isEmpty() ? options.storePath : options.preferencePath)) {
        out() << "Making " << sampleCyclists * 10000 << " rides (" << sampleCyclists
              << " cyclists, 25 years, 400 rides a year)"
              << (server.isEmpty() ? "" : " on the server") << "..." << Qt::endl;
        QElapsedTimer t;
        t.start();
        try {
            makeSample(options, sampleCyclists, 25, 2000, server);
        } catch (const RydexError& e) {
            out() << e.text() << Qt::endl;
            return 1;
        }
        out() << "  written in " << t.elapsed() / 1000.0 << " s" << Qt::endl;
    }

    // The runs add rides; they work on a copy, so that a kept store stays
    // at 400 rides a year from one run to the next.
    QTemporaryDir scratch;
    for (QString* path : {&options.storePath, &options.preferencePath}) {
        // The server's database is the one the runs add to.
        if (!server.isEmpty() && path == &options.storePath)
            continue;
        const QString copy = scratch.filePath(QFileInfo(*path).fileName());
        if (!QFile::copy(*path, copy)) {
            out() << "cannot copy " << *path << " to " << copy << Qt::endl;
            return 1;
        }
        *path = copy;
    }

    ScopedPresenter dialogs;
    Startup startup(options);
    if (!server.isEmpty()) {
        try {
            startup.data()->setLocation(StoreLocation::server(server));
            startup.data()->open();
        } catch (const RydexError& e) {
            out() << e.text() << Qt::endl;
            return 1;
        }
    }
    TfrmBase* w = showIdle(startup);
    const QList<MenuItem*> cyclists = [&] {
        QList<MenuItem*> items;
        for (int i = 0;; ++i) {
            auto* item = w->findChild<MenuItem*>(QStringLiteral("menu%1").arg(i));
            if (!item)
                break;
            items << item;
        }
        return items;
    }();
    if (cyclists.size() < 2) {
        out() << "the store holds no sample cyclists" << Qt::endl;
        return 1;
    }

    header(runs);

    // Sign-in: prihlaseni, DefaultGraf, both figures boxes and the chart.
    if (wanted("signin")) {
        int next = 0;
        const double ms = median(measure(runs, nullptr, [&] {
            cyclists.at((next++) % cyclists.size())->trigger();
            paintNow();
        }));
        row(QStringLiteral("sign-in of a cyclist, painted"), ms, 16);
    }

    cyclists.first()->trigger();
    if (wanted("month")) {
        int month = 0;
        const double ms = median(measure(runs, nullptr, [&] {
            month = (month + 1) % 12;
            w->Mesice->setTabIndex(month);
            paintNow();
        }));
        row(QStringLiteral("change of month (MesiceChange), painted"), ms, 8);
    }

    if (wanted("year")) {
        int direction = -1;
        const double ms = median(measure(runs, nullptr, [&] {
            direction = -direction;
            if (direction > 0)
                w->btnDownClick();
            else
                w->btnUpClick();
            paintNow();
        }));
        row(QStringLiteral("change of year, painted"), ms, 10);
    }

    // The settings dialog lists the seasons of the first cyclist, who has
    // 10,000 rides; the clock stops when the dialog is painted.
    if (wanted("settings")) {
        std::vector<double> shown;
        for (int i = 0; i < runs; ++i) {
            QElapsedTimer t;
            dialogs->handleNextModal([&](QDialog&) {
                paintNow();
                shown.push_back(double(t.nsecsElapsed()) / 1e6);
                return int(QDialog::Rejected);
            });
            t.start();
            w->mnuOptionsClick();
            QCoreApplication::processEvents();
        }
        row(QStringLiteral("settings dialog shown for 10,000 rides (VypisSezon)"), median(shown),
            10);
    }

    // The month report of 60 rides, laid out and painted to PDF.
    if (wanted("report")) {
        while (w->year() > 2020)
            w->btnDownClick();
        w->Mesice->setTabIndex(4);
        const double ms = median(measure(std::max(3, runs / 3), nullptr, [&] {
            QPdfWriter pdf(QDir(dir).filePath(QStringLiteral("report.pdf")));
            QVector<RideRow> rides = startup.data()->table()->rows();
            while (!rides.isEmpty() && rides.size() < 60)
                rides += rides.mid(0, 60 - rides.size());
            w->prepareReport();
            w->reportForm()->paint(&pdf, rides);
        }));
        row(QStringLiteral("60-ride report laid out and painted to PDF"), ms, 300);
    }

    // Languages: a file of 10,000 entries, and the shipped English file.
    if (wanted("language")) {
        TbsCorePolyglot* engine = GetCorePolyglot();
        const QString big = bigLanguageFile(dir, 10000);
        const QString dirWas = engine->langsDir();
        engine->setLangsDir(QFileInfo(big).path());
        const double openMs = median(measure(
            std::max(3, runs / 3), [&] { engine->setCurrentLang(QString()); },
            [&] {
                engine->setCurrentLang(QStringLiteral("big"));
                paintNow();
            }));
        row(QStringLiteral("language file of 10,000 entries, every window translated"), openMs, 50);
        engine->setLangsDir(dirWas);
        bool english = false;
        const double englishMs = median(measure(runs, nullptr, [&] {
            english = !english;
            engine->setCurrentLang(english ? QStringLiteral("english") : QStringLiteral("czech"));
            paintNow();
        }));
        row(QStringLiteral("switch of language with the shipped files"), englishMs, 30);
    }

    // Themes: the style sheet applied to every window.
    if (wanted("theme")) {
        const QString app = QCoreApplication::applicationDirPath();
        bool night = false;
        const double ms = median(measure(std::max(3, runs / 3), nullptr, [&] {
            night = !night;
            w->suiFileTheme->setThemeFile(
                app + (night ? QStringLiteral("/RX05Night.sui") : QStringLiteral("/RX05TdF.sui")));
            w->suiThemeManager->apply();
            paintNow();
        }));
        row(QStringLiteral("theme applied to every window"), ms, 50);
    }

    // All 10,000 rides of a cyclist exported for a spreadsheet: counted for
    // the window, read from the store (nothing kept from a run before),
    // written and put in place.
    if (wanted("export")) {
        ADOTable* table = startup.data()->table();
        const QString file = QDir(dir).filePath(QStringLiteral("rides.csv"));
        int written = 0;
        const double ms = median(measure(
            runs, [&] { table->forgetCachedSets(); },
            [&] {
                TfrmExport window(table, w->cyclistName(), w->year(), w->monthShown(),
                                  QStringLiteral("Leden"), w);
                window.countRides();
                window.setScope(TfrmExport::All);
                window.chooseFile = [&](const QString&) { return file; };
                window.btnExportClick();
                written = window.writtenRides();
            }));
        row(QStringLiteral("CSV export of a cyclist's %1 rides")
                .arg(QLocale(QLocale::English).toString(written)),
            ms, 200);
    }

    // Save of a ride into a year of 400 rides: Save in the record dialog with
    // the odometer recomputation and the refresh sequence, durable on disk.
    cyclists.at(1)->trigger();
    while (w->year() > 2020)
        w->btnDownClick();
    if (wanted("save")) {
        TfrmNewRecord* dialog = w->recordDialog();
        std::vector<double> saves;
        for (int i = 0; i < runs; ++i) {
            dialogs->handleNextModal([&](QDialog&) {
                dialog->DBtime->setText(QStringLiteral("1:30:00"));
                dialog->DBdst->setText(QStringLiteral("42"));
                QElapsedTimer t;
                t.start();
                dialog->btnOkClick();
                paintNow();
                saves.push_back(double(t.nsecsElapsed()) / 1e6);
                return int(QDialog::Accepted);
            });
            w->NewRecord();
            dialog->FormClose();
            QCoreApplication::processEvents();
        }
        row(QStringLiteral("Save of a ride in a year of 400 rides (with UpdateTotal), painted"),
            median(saves), server.isEmpty() ? 16 : 20);
    }

    // The recomputation against its floor: the same UPDATE statements issued
    // straight through Qt SQL in one transaction, in the same run.
    if (wanted("recomputation")) {
        ADOTable* table = startup.data()->table();
        const double ms = median(measure(runs, nullptr, [&] { w->UpdateTotal(); }));
        const double floorMs = median(measure(runs, nullptr, [&] {
            const RideFilter saved = table->rideFilter();
            table->setFilter(RideFilter::year(w->cyclistName(), w->year()));
            QVector<std::pair<qlonglong, Fixed4>> readings;
            for (const RideRow& row : table->rows())
                readings.append({row[fieldIndex(RideField::id)].toLongLong(),
                                 row[fieldIndex(RideField::odo)].value<Fixed4>()});
            table->setFilter(saved);
            QSqlDatabase db = startup.data()->connection()->database();
            db.transaction();
            QSqlQuery update(db);
            update.prepare(QStringLiteral("UPDATE rydex SET odo = ? WHERE id = ?"));
            for (const auto& [id, odo] : readings) {
                update.addBindValue(toStore(RideField::odo, QVariant::fromValue(odo)));
                update.addBindValue(id);
                update.exec();
            }
            db.commit();
        }));
        row(QStringLiteral("  recomputation of the year alone"), ms, 5);
        row(QStringLiteral("  its floor: the same UPDATEs through Qt SQL, one transaction"),
            QString::number(floorMs, 'f', 2) + " ms", QString(), true);
    }

    // A season imported from ride files: the rides and their entries stored
    // in one transaction, the year's odometer chain recomputed once, the set
    // shown read again. Between runs the rides are taken out again, untimed.
    if (wanted("import")) {
        ADOTable* table = startup.data()->table();
        ADOConnection* connection = startup.data()->connection();
        const QString cyclist = w->cyclistName();
        const int year = w->year();
        QVector<RideToImport> rides;
        for (int i = 0; i < 300; ++i) {
            ImportedRide ride;
            ride.start = QDateTime(QDate(year, 1, 1).addDays(i), QTime(7, 0), Qt::UTC);
            ride.localOffsetSeconds = 3600;
            ride.timerSeconds = 3600 + i;
            ride.distanceMetres = 30000 + 10 * i;
            ride.avgHeartRate = 140;
            ride.maxHeartRate = 175;
            ride.elevationGain = 400;
            ride.sport = RideSport::Cycling;
            const QString name = QStringLiteral("ride-%1.fit").arg(i);
            rides.append({rideRowFor(ride, cyclist, name),
                          QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Sha256),
                          QStringLiteral("/media/device/Garmin/Activities/") + name});
        }
        QVector<RideRow> stored;
        const auto takeOut = [&] {
            if (stored.isEmpty())
                return;
            connection->begin();
            QSqlQuery q(connection->database());
            q.prepare(QStringLiteral("DELETE FROM rydex WHERE id = ?"));
            for (const RideRow& ride : std::as_const(stored)) {
                q.addBindValue(ride[fieldIndex(RideField::id)]);
                q.exec();
            }
            connection->commit();
            table->forgetCachedSets();
            recomputeYearOdometer(*table, cyclist, year);
            table->refresh();
            stored.clear();
        };
        // As the import window's Import does it: stored, then the month of
        // the latest ride shown and painted.
        const double ms = median(measure(runs, takeOut, [&] {
            stored = storeImportedRides(*table, rides, QDateTime::currentDateTimeUtc());
            w->showImportedRides(stored);
            paintNow();
        }));
        takeOut();
        row(QStringLiteral("300 imported rides stored, with the recomputation and the window "
                           "refreshed"),
            ms, 150);
    }

    // "Back up...": the whole store and the preferences into one file, as
    // the command writes it; each run replaces the file of the one before.
    if (wanted("backup")) {
        const QString target = scratch.filePath(BackupFile::defaultName(Clock::today()));
        const double ms = median(measure(std::max(3, runs / 3), nullptr, [&] {
            BackupFile::Extras extras;
            extras.preferences = QByteArray("Rydex 2005 preferences 1\r\n");
            extras.taken = QDateTime::currentDateTimeUtc();
            BackupFile::write(startup.data()->connection()->database(), target, extras);
        }));
        row(QStringLiteral("Backup of 200,000 rides"), ms, 1000);
    }

    // "Restore..." of that backup over a store as large, its checks and the
    // backup of the state before included (the first run makes the store).
    if (wanted("restore")) {
        const QString backup = scratch.filePath(QStringLiteral("restore.rydexbackup"));
        BackupFile::Extras extras;
        extras.taken = QDateTime::currentDateTimeUtc();
        BackupFile::write(startup.data()->connection()->database(), backup, extras);
        QDir().mkpath(scratch.filePath(QStringLiteral("restored")));
        const QString store = scratch.filePath(QStringLiteral("restored/Rydex.dat"));
        const QString preferences = scratch.filePath(QStringLiteral("restored/Rydex 2005.conf"));
        restoreBackup(backup, store, preferences, QDateTime::currentDateTimeUtc());
        const double ms = median(measure(std::max(3, runs / 3), nullptr, [&] {
            restoreBackup(backup, store, preferences, QDateTime::currentDateTimeUtc());
        }));
        row(QStringLiteral("Restore of 200,000 rides, checks included"), ms, 2000);
    }

    // Start-up in a process of its own against a bare window with a table
    // and a chart, both started by this program in the same way.
    if (wanted("startup")) {
        const auto startMs = [&](const QStringList& arguments) {
            std::vector<double> times;
            for (int i = 0; i < std::max(3, runs / 3); ++i) {
                QProcess child;
                child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
                QElapsedTimer t;
                t.start();
                child.start(QCoreApplication::applicationFilePath(), arguments);
                while (!child.canReadLine() && child.waitForReadyRead(60000)) {
                }
                const double ms = double(t.nsecsElapsed()) / 1e6;
                if (!child.readLine().startsWith("shown") || !child.waitForFinished(60000) ||
                    child.exitCode() != 0)
                    return -1.0;
                times.push_back(ms);
            }
            return median(times);
        };
        const double program =
            startMs({QStringLiteral("--start-program"), options.storePath, options.preferencePath});
        const double bare = startMs({QStringLiteral("--start-bare")});
        const double ratio = bare > 0 && program > 0 ? program / bare : -1;
        row(QStringLiteral("start-up to the main window shown, against a bare window"),
            QString::number(ratio, 'f', 2) + QStringLiteral(" x"), QStringLiteral("1.5 x"),
            ratio > 0 && ratio <= 1.5);
        out() << QStringLiteral("    (%1 ms against %2 ms)")
                     .arg(program, 0, 'f', 1)
                     .arg(bare, 0, 'f', 1)
              << Qt::endl;
    }

    const long peak = peakMemoryKb();
    row(QStringLiteral("peak memory of the program signed in on that store"),
        QString::number(peak / 1024.0, 'f', 1) + " MB", QStringLiteral("100 MB"),
        peak >= 0 && peak <= 100 * 1024);
    // After the peak above, which is the month view's alone.
    importRows(runs, wanted);
    if (wanted("season")) {
        // The season's cyclist has a store of his own, in a process of its own.
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--runs"), QString::number(runs), QStringLiteral("--only"),
                     QStringLiteral("season")});
        child.waitForFinished(600000);
        for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
            if (line.startsWith("Season:"))
                out() << QString::fromUtf8(line) << Qt::endl;
        }
    }
    if (wanted("bests"))
        seasonBestsRow(runs);
    for (const auto& raised : dialogs->raised())
        if (raised.kind != QStringLiteral("modal"))
            out() << "raised " << raised.kind << " " << raised.name << ": " << raised.text
                  << Qt::endl;
    return 0;
}
