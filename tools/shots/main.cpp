// Renders every window of the program to PNG files, offscreen, on sample
// data made for the purpose in a temporary folder: rydex-shots OUTPUT_DIR
#include "OffscreenTool.h"
#include "SampleData.h"
#include "SampleMonth.h"

#include "app/Startup.h"
#include "app/TfrmBase.h"
#include "app/TfrmDatabase.h"
#include "app/TfrmInfo.h"
#include "app/TfrmPassword.h"
#include "base/Clock.h"
#include "base/MessageCatalogue.h"
#include "base/RydexError.h"
#include "records/ImportRidesModel.h"
#include "records/TfrmImport.h"
#include "records/TfrmWork.h"
#include "settings/TfrmSettings.h"
#include "stats/MonthChartData.h"
#include "stats/MonthChartView.h"
#include "stats/ReportLayout.h"
#include "stats/TfrmReport.h"
#include "stats/TfrmSeason.h"
#include "store/ADOTable.h"
#include "store/TData.h"
#include "toolkit/Controls.h"
#include "toolkit/DialogPresenter.h"
#include "toolkit/MenuItem.h"
#include "toolkit/MessageBoxWindow.h"
#include "toolkit/ScriptedPresenter.h"
#include "toolkit/TabControl.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <cmath>

namespace {
bool save(QWidget* w, const QString& dir, const QString& name)
{
    w->repaint();
    QApplication::processEvents();
    const QString file = QDir(dir).filePath(name + QStringLiteral(".png"));
    const bool ok = w->grab().save(file);
    QTextStream(stdout) << (ok ? "wrote " : "FAILED ") << file << Qt::endl;
    return ok;
}

// The report's first page as a picture, A4 at 100 dots to the inch, as the
// print preview shows it.
bool saveReportPage(const TfrmReport& report, const QVector<RideRow>& rides, const QString& dir)
{
    const double dotsPerInch = 100;
    const QVector<ReportLayout::PageBands> pages = ReportLayout::layout(int(rides.size()));
    if (pages.isEmpty())
        return false;
    QImage page(qRound(210 / 25.4 * dotsPerInch), qRound(297 / 25.4 * dotsPerInch),
                QImage::Format_RGB32);
    page.setDotsPerMeterX(qRound(dotsPerInch / 0.0254));
    page.setDotsPerMeterY(qRound(dotsPerInch / 0.0254));
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
        report.paintPage(painter, dotsPerInch / 25.4, rides, pages.first(), 0, int(pages.size()));
    }
    const QString file = QDir(dir).filePath(QStringLiteral("TfrmReport-page1.png"));
    const bool ok = page.save(file);
    QTextStream(stdout) << (ok ? "wrote " : "FAILED ") << file << Qt::endl;
    return ok;
}

// A few ride files of a spring, as a bike computer and a phone leave them:
// new rides, one of them twice, a run, a planned route and a damaged file.
QString writeRideFiles(const QString& folder)
{
    QDir().mkpath(folder);
    const auto write = [&folder](const QString& name, const QByteArray& bytes) {
        QFile f(QDir(folder).filePath(name));
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
    };
    const auto track = [](const QDate& day, int points, const char* type) {
        const QDateTime start(day, QTime(15, 30), Qt::UTC);
        return gpxTrack(type, points, [&start](int i) {
            return GpxPoint{QString::number(50.0 + 0.00005 * i, 'f', 5), QStringLiteral("14.4"),
                            QString::number(250 + 40 * std::sin(i / 300.0), 'f', 1),
                            start.addSecs(i)};
        });
    };
    write(QStringLiteral("2005-06-02-morning.gpx"), track(QDate(2005, 6, 2), 3600, "cycling"));
    // The same ride once more, as a phone's app exports it.
    write(QStringLiteral("2005-06-02-phone-export.gpx"), track(QDate(2005, 6, 2), 3600, "cycling"));
    write(QStringLiteral("2005-06-04-hills.gpx"), track(QDate(2005, 6, 4), 7200, "cycling"));
    write(QStringLiteral("2005-06-05-run.gpx"), track(QDate(2005, 6, 5), 2400, "running"));
    write(QStringLiteral("2005-06-07-commute.gpx"), track(QDate(2005, 6, 7), 1500, "cycling"));
    write(QStringLiteral("planned-route.gpx"),
          "<?xml version=\"1.0\"?><gpx version=\"1.1\" xmlns=\"http://www.topografix.com/GPX/1/1\">"
          "<rte><rtept lat=\"50\" lon=\"14\"/><rtept lat=\"50.1\" lon=\"14\"/></rte></gpx>");
    write(QStringLiteral("broken.fit"), QByteArray("\x0e\x10\x00\x00not a fit file at all", 30));
    return folder;
}

// The month chart alone, each series and an empty month, at the main
// window's size and at a wider and a narrower one, with Czech numbers.
int saveCharts(const QString& dir)
{
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    int failures = 0;
    for (const QSize size : {QSize(753, 200), QSize(900, 300), QSize(400, 160)}) {
        MonthChartView view;
        view.resize(size);
        view.show();
        view.setSeriesData(buildChartSeries(sampleChartMonth(), QLocale()));
        view.setTitleText(QStringLiteral("Březen 845km"));
        const QString suffix = QStringLiteral("-%1x%2").arg(size.width()).arg(size.height());
        for (int i = 0; i < ChartSeriesCount; ++i) {
            view.setActiveSeries(i);
            failures +=
                save(&view, dir, QStringLiteral("chart-") + MonthChartView::seriesTitle(i) + suffix)
                    ? 0
                    : 1;
        }
        view.setSeriesData({});
        view.setDayAxisMaximum(30);
        view.setTitleText(QStringLiteral("Únor 0km"));
        failures += save(&view, dir, QStringLiteral("chart-empty") + suffix) ? 0 : 1;
    }
    QLocale::setDefault(previous);
    return failures;
}
} // namespace

int main(int argc, char** argv)
{
    const OffscreenTool tool(argc, argv, "rydex-shots OUTPUT_DIR");
    const QString out = tool.output();
    if (out.isEmpty())
        return 2;
    QDir().mkpath(out);
    QTemporaryDir work;
    // A fixed day, so the pictures show the same month every time.
    Clock::setFixedToday(QDate(2005, 5, 20));

    Startup::Options options;
    options.storePath = work.filePath(QStringLiteral("Rydex.dat"));
    options.preferencePath = work.filePath(QStringLiteral("Rydex 2005.conf"));
    options.applicationDir = QCoreApplication::applicationDirPath();
    try {
        SampleOptions sample;
        sample.storePath = options.storePath;
        sample.preferencePath = options.preferencePath;
        sample.cyclists = 3;
        sample.years = 2;
        sample.ridesPerYear = 150;
        sample.firstYear = 2004;
        generateSample(sample);
    } catch (const RydexError& e) {
        QTextStream(stderr) << e.text() << Qt::endl;
        return 1;
    }

    // Modal windows are shown and rendered by the presenter, then closed,
    // instead of being run.
    auto presenter = std::make_unique<ScriptedPresenter>();
    ScriptedPresenter* script = presenter.get();
    DialogPresenter::install(std::move(presenter));
    int failures = 0;
    script->setModalHandler([&](QDialog& dialog) {
        const QString name = QString::fromLatin1(dialog.metaObject()->className());
        if (auto* settings = qobject_cast<TfrmSettings*>(&dialog)) {
            // Every page of the settings.
            for (int page = 0; page < settings->Pages->count(); ++page) {
                settings->Pages->setCurrentIndex(page);
                failures += save(&dialog, out, name + QStringLiteral("-page%1").arg(page)) ? 0 : 1;
            }
        } else if (auto* importing = qobject_cast<TfrmImport*>(&dialog)) {
            // The rides listed once every file is read.
            while (importing->isReading())
                QApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
            failures +=
                save(&dialog, out,
                     name + (importing->model()->rowCount() ? QString() : QStringLiteral("-empty")))
                    ? 0
                    : 1;
        } else if (auto* database = qobject_cast<TfrmDatabase*>(&dialog)) {
            // The file chosen, then a server with what a test found there.
            failures += save(&dialog, out, name) ? 0 : 1;
            database->rbServer->setChecked(true);
            database->edtServer->setText(QStringLiteral(
                "host=db.club.org port=5432 dbname=club user=jan sslmode=verify-full"));
            database->lblResult->setText(Msg::format(
                Msg::ServerReady, {database->edtServer->text(), QLocale().toString(1234)}));
            failures += save(&dialog, out, name + QStringLiteral("-server")) ? 0 : 1;
        } else {
            failures += save(&dialog, out, name) ? 0 : 1;
        }
        return int(QDialog::Rejected);
    });

    Startup startup(options);
    startup.show();
    TfrmBase* w = startup.mainWindow();
    failures += save(w, out, QStringLiteral("TfrmBase-welcome")) ? 0 : 1;
    if (auto* first = w->findChild<MenuItem*>(QStringLiteral("menu0"))) {
        first->trigger();
        failures += save(w, out, QStringLiteral("TfrmBase-month")) ? 0 : 1;
        for (int chart = 0; chart < 4; ++chart) {
            w->Grafy->setTabIndex(chart);
            failures += save(w, out, QStringLiteral("TfrmBase-chart%1").arg(chart)) ? 0 : 1;
        }
        // The month report, as a PDF of its pages.
        if (w->prepareReport()) {
            QPdfWriter pdf(QDir(out).filePath(QStringLiteral("TfrmReport.pdf")));
            const int pages = w->reportForm()->paint(&pdf, w->dataModule()->table()->rows());
            QTextStream(stdout) << "wrote report of " << pages << " pages" << Qt::endl;
            failures +=
                saveReportPage(*w->reportForm(), w->dataModule()->table()->rows(), out) ? 0 : 1;
        }
        w->resize(270, 300);
        failures += save(w, out, QStringLiteral("TfrmBase-narrow")) ? 0 : 1;
        w->resize(994, 720);
        // The dialogs of a signed-in cyclist.
        w->EditRecord();
        w->EditODO();
        w->mnuOptionsClick();
        w->importFiles({});
        w->importFiles({writeRideFiles(work.filePath(QStringLiteral("rides")))});
        if (TfrmWork* work = w->progressWindow()) {
            work->showWorking();
            work->Progress->setMaximum(400);
            work->Progress->setPosition(170);
            failures += save(work, out, QStringLiteral("TfrmWork")) ? 0 : 1;
            work->hideWorking();
        }
        // The season window, each of its pages.
        w->mnuSeason->trigger();
        if (TfrmSeason* season = w->seasonWindow()) {
            for (int page = 0; page < season->Pages->count(); ++page) {
                season->Pages->setCurrentIndex(page);
                failures +=
                    save(season, out, QStringLiteral("TfrmSeason-page%1").arg(page)) ? 0 : 1;
            }
            season->close();
        }
    }
    w->openNewCyclistDialog();
    w->mnuLanguageClick();
    w->mnuAboutClick();
    w->mnuDatabaseClick();
    askServerPassword(w, Msg::format(Msg::ServerPasswordNeeded,
                                     {QStringLiteral("host=db.club.org dbname=club user=jan"),
                                      QStringLiteral("jan")}));
    // The message box with each icon and with one and two buttons.
    for (int icon = MessageDialog::Information; icon <= MessageDialog::Question; ++icon) {
        for (int buttons = 1; buttons <= 2; ++buttons) {
            QStringList captions{QStringLiteral("OK")};
            if (buttons == 2)
                captions << QStringLiteral("Cancel");
            MessageBoxWindow box(QStringLiteral("Potvrzení"),
                                 QStringLiteral("Opravdu chcete záznam smazat?"),
                                 MessageDialog::IconType(icon), captions);
            box.show();
            failures +=
                save(&box, out, QStringLiteral("MessageDialog-%1-%2").arg(icon).arg(buttons)) ? 0
                                                                                              : 1;
            box.hide();
        }
    }
    failures += saveCharts(out);
    for (const auto& raised : script->raised()) {
        if (raised.kind != QStringLiteral("modal"))
            QTextStream(stderr) << "raised " << raised.kind << ": " << raised.text << Qt::endl;
    }
    return failures == 0 ? 0 : 1;
}
