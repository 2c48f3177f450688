// Measures the month view on a large store: rydex-bench [--keep DIR] [--runs N]
// Makes 200,000 rides (20 cyclists, 25 years, 400 rides a year) with the
// sample generator, drives the real routines offscreen and prints medians
// beside their goals.
#include "SampleData.h"

#include "app/Startup.h"
#include "app/TfrmBase.h"
#include "polyglot/TbsCorePolyglot.h"
#include "records/TfrmNewRecord.h"
#include "stats/TfrmReport.h"
#include "store/ADOConnection.h"
#include "store/ADOTable.h"
#include "store/Clock.h"
#include "store/RideFilter.h"
#include "store/RideStorage.h"
#include "store/TData.h"
#include "theme/TsuiFileTheme.h"
#include "theme/TsuiThemeManager.h"
#include "toolkit/DBTimeEdit.h"
#include "toolkit/MenuItem.h"
#include "toolkit/ScriptedPresenter.h"
#include "toolkit/TabControl.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QPdfWriter>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>
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
} // namespace

// What the user waits for ends when the windows are painted: every visible
// window is repainted inside the timed step.
void paintNow()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible())
            w->repaint();
    }
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

int main(int argc, char** argv)
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Startup::prepareApplication();
    QStringList args = app.arguments();
    int runs = 15;
    QString keep;
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QStringLiteral("--runs") && i + 1 < args.size())
            runs = std::max(1, args[++i].toInt());
        else if (args[i] == QStringLiteral("--keep") && i + 1 < args.size())
            keep = args[++i];
    }
    QTemporaryDir temp;
    const QString dir = keep.isEmpty() ? temp.path() : keep;
    QDir().mkpath(dir);
    Clock::setFixedToday(QDate(2024, 6, 15));

    Startup::Options options;
    options.storePath = QDir(dir).filePath(QStringLiteral("Rydex.dat"));
    options.preferencePath = QDir(dir).filePath(QStringLiteral("Rydex 2005.conf"));
    options.applicationDir = QCoreApplication::applicationDirPath();
    if (!QFile::exists(options.storePath)) {
        out() << "Making 200,000 rides (20 cyclists, 25 years, 400 rides a year)..." << Qt::endl;
        SampleOptions sample;
        sample.storePath = options.storePath;
        sample.preferencePath = options.preferencePath;
        sample.cyclists = 20;
        sample.years = 25;
        sample.ridesPerYear = 400;
        sample.firstYear = 2000;
        QElapsedTimer t;
        t.start();
        try {
            generateSample(sample);
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
        const QString copy = scratch.filePath(QFileInfo(*path).fileName());
        if (!QFile::copy(*path, copy)) {
            out() << "cannot copy " << *path << " to " << copy << Qt::endl;
            return 1;
        }
        *path = copy;
    }

    ScopedPresenter dialogs;
    Startup startup(options);
    startup.show();
    TfrmBase* w = startup.mainWindow();
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

    out() << Qt::endl
          << "scenario (median of " << runs << " runs)"
          << QString().leftJustified(62 - 28 - QString::number(runs).size())
          << "      median      goal" << Qt::endl;

    // Sign-in: prihlaseni, DefaultGraf, both figures boxes and the chart.
    int next = 0;
    const auto signIn = measure(runs, nullptr, [&] {
        cyclists.at((next++) % cyclists.size())->trigger();
        paintNow();
    });
    const double signInMs = median(signIn);
    row(QStringLiteral("sign-in of a cyclist, painted"), QString::number(signInMs, 'f', 2) + " ms",
        QStringLiteral("16 ms"), signInMs <= 16);

    cyclists.first()->trigger();
    int month = 0;
    const auto monthChange = measure(runs, nullptr, [&] {
        month = (month + 1) % 12;
        w->Mesice->setTabIndex(month);
        paintNow();
    });
    const double monthMs = median(monthChange);
    row(QStringLiteral("change of month (MesiceChange), painted"),
        QString::number(monthMs, 'f', 2) + " ms", QStringLiteral("8 ms"), monthMs <= 8);

    int direction = -1;
    const auto yearChange = measure(runs, nullptr, [&] {
        direction = -direction;
        if (direction > 0)
            w->btnDownClick();
        else
            w->btnUpClick();
        paintNow();
    });
    const double yearMs = median(yearChange);
    row(QStringLiteral("change of year, painted"), QString::number(yearMs, 'f', 2) + " ms",
        QStringLiteral("10 ms"), yearMs <= 10);

    // The month report of 60 rides, laid out and painted to PDF.
    {
        while (w->year() > 2020)
            w->btnDownClick();
        w->Mesice->setTabIndex(4);
        const auto report = measure(std::max(3, runs / 3), nullptr, [&] {
            QPdfWriter pdf(QDir(dir).filePath(QStringLiteral("report.pdf")));
            QVector<RideRow> rides = startup.data()->table()->rows();
            while (!rides.isEmpty() && rides.size() < 60)
                rides += rides.mid(0, 60 - rides.size());
            w->prepareReport();
            w->reportForm()->paint(&pdf, rides);
        });
        const double reportMs = median(report);
        row(QStringLiteral("60-ride report laid out and painted to PDF"),
            QString::number(reportMs, 'f', 2) + " ms", QStringLiteral("300 ms"), reportMs <= 300);
    }

    // Languages: a file of 10,000 entries, and the shipped English file.
    {
        TbsCorePolyglot* engine = GetCorePolyglot();
        const QString big = bigLanguageFile(dir, 10000);
        const QString dirWas = engine->langsDir();
        engine->setLangsDir(QFileInfo(big).path());
        const auto open = measure(
            std::max(3, runs / 3), [&] { engine->setCurrentLang(QString()); },
            [&] {
                engine->setCurrentLang(QStringLiteral("big"));
                paintNow();
            });
        const double openMs = median(open);
        row(QStringLiteral("language file of 10,000 entries, every window translated"),
            QString::number(openMs, 'f', 2) + " ms", QStringLiteral("50 ms"), openMs <= 50);
        engine->setLangsDir(dirWas);
        bool english = false;
        const auto toEnglish = measure(runs, nullptr, [&] {
            english = !english;
            engine->setCurrentLang(english ? QStringLiteral("english") : QStringLiteral("czech"));
            paintNow();
        });
        const double englishMs = median(toEnglish);
        row(QStringLiteral("switch of language with the shipped files"),
            QString::number(englishMs, 'f', 2) + " ms", QStringLiteral("30 ms"), englishMs <= 30);
    }

    // Themes: the style sheet applied to every window.
    {
        const QString app = QCoreApplication::applicationDirPath();
        bool night = false;
        const auto theme = measure(std::max(3, runs / 3), nullptr, [&] {
            night = !night;
            w->suiFileTheme->setThemeFile(
                app + (night ? QStringLiteral("/RX05Night.sui") : QStringLiteral("/RX05TdF.sui")));
            w->suiThemeManager->apply();
            paintNow();
        });
        const double themeMs = median(theme);
        row(QStringLiteral("theme applied to every window"),
            QString::number(themeMs, 'f', 2) + " ms", QStringLiteral("50 ms"), themeMs <= 50);
    }

    // Save of a ride into a year of 400 rides: Save in the record dialog with
    // the odometer recomputation and the refresh sequence, durable on disk.
    cyclists.at(1)->trigger();
    while (w->year() > 2020)
        w->btnDownClick();
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
    const double saveMs = median(saves);
    row(QStringLiteral("Save of a ride in a year of 400 rides (with UpdateTotal), painted"),
        QString::number(saveMs, 'f', 2) + " ms", QStringLiteral("16 ms"), saveMs <= 16);

    // The recomputation against its floor: the same UPDATE statements issued
    // straight through Qt SQL in one transaction, in the same run.
    ADOTable* table = startup.data()->table();
    const auto recomputation = measure(runs, nullptr, [&] { w->UpdateTotal(); });
    const auto floor = measure(runs, nullptr, [&] {
        const QString saved = table->filter();
        table->setFilter(RideFilter::yearText(w->cyclistName(), w->year()));
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
    });
    const double recomputationMs = median(recomputation);
    const double floorMs = median(floor);
    row(QStringLiteral("  recomputation of the year alone"),
        QString::number(recomputationMs, 'f', 2) + " ms", QStringLiteral("5 ms"),
        recomputationMs <= 5);
    row(QStringLiteral("  its floor: the same UPDATEs through Qt SQL, one transaction"),
        QString::number(floorMs, 'f', 2) + " ms", QString(), true);

    const long peak = peakMemoryKb();
    row(QStringLiteral("peak memory of the program signed in on that store"),
        QString::number(peak / 1024.0, 'f', 1) + " MB", QStringLiteral("150 MB"),
        peak >= 0 && peak <= 150 * 1024);
    for (const auto& raised : dialogs->raised())
        if (raised.kind != QStringLiteral("modal"))
            out() << "raised " << raised.kind << " " << raised.name << ": " << raised.text
                  << Qt::endl;
    return 0;
}
