// rydex-sample: fills a ride store and a preference file with plausible
// cyclists and rides, for trying the program out and for screenshots.

#include "SampleData.h"

#include "base/AppIdentity.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>
#include <unistd.h>

namespace {
void printLine(FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fputc('\n', stream);
}

int fail(const QString& text)
{
    printLine(stderr, QStringLiteral("rydex-sample: ") + text);
    return 1;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // The program's own names, so that the default paths are the program's.
    AppIdentity::apply();

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes sample cyclists and rides for Rydex 2005. Without --append it "
                       "refuses a store that already exists, so a real log is never touched."));
    parser.addHelpOption();
    const QCommandLineOption storeOption(QStringLiteral("store"),
                                         QStringLiteral("Ride store to create (default: the "
                                                        "program's own)."),
                                         QStringLiteral("PATH"));
    const QCommandLineOption prefsOption(QStringLiteral("prefs"),
                                         QStringLiteral("Preference file (default: the "
                                                        "program's own)."),
                                         QStringLiteral("PATH"));
    const QCommandLineOption cyclistsOption(QStringLiteral("cyclists"),
                                            QStringLiteral("Number of cyclists (default 3)."),
                                            QStringLiteral("N"), QStringLiteral("3"));
    const QCommandLineOption yearsOption(QStringLiteral("years"),
                                         QStringLiteral("Number of years (default 2)."),
                                         QStringLiteral("Y"), QStringLiteral("2"));
    const QCommandLineOption ridesOption(QStringLiteral("rides"),
                                         QStringLiteral("Rides a year per cyclist (default 120)."),
                                         QStringLiteral("R"), QStringLiteral("120"));
    const QCommandLineOption firstYearOption(
        QStringLiteral("first-year"),
        QStringLiteral("First year (default: the years end with the current one)."),
        QStringLiteral("YYYY"));
    const QCommandLineOption seedOption(QStringLiteral("seed"),
                                        QStringLiteral("Seed; the same seed gives the same rides "
                                                       "(default 1)."),
                                        QStringLiteral("S"), QStringLiteral("1"));
    const QCommandLineOption appendOption(QStringLiteral("append"),
                                          QStringLiteral("Add to an existing store and "
                                                         "preference file."));
    parser.addOptions({storeOption, prefsOption, cyclistsOption, yearsOption, ridesOption,
                       firstYearOption, seedOption, appendOption});
    parser.process(app);
    if (!parser.positionalArguments().isEmpty())
        return fail(QStringLiteral("unexpected argument \"%1\"; see --help.")
                        .arg(parser.positionalArguments().constFirst()));

    SampleOptions options;
    options.storePath =
        parser.isSet(storeOption) ? parser.value(storeOption) : AppIdentity::storePath();
    options.preferencePath =
        parser.isSet(prefsOption) ? parser.value(prefsOption) : AppIdentity::preferencePath();

    const auto number = [&](const QCommandLineOption& option, int& out) {
        bool ok = false;
        const int v = parser.value(option).toInt(&ok);
        if (ok)
            out = v;
        return ok;
    };
    for (const auto& [option, target] :
         {std::pair{&cyclistsOption, &options.cyclists}, std::pair{&yearsOption, &options.years},
          std::pair{&ridesOption, &options.ridesPerYear}}) {
        if (!number(*option, *target))
            return fail(QStringLiteral("--%1 takes a whole number, not \"%2\".")
                            .arg(option->names().constFirst(), parser.value(*option)));
    }
    if (parser.isSet(firstYearOption) && !number(firstYearOption, options.firstYear))
        return fail(QStringLiteral("--first-year takes a year, not \"%1\".")
                        .arg(parser.value(firstYearOption)));
    bool seedOk = false;
    options.seed = parser.value(seedOption).toULongLong(&seedOk);
    if (!seedOk)
        return fail(QStringLiteral("--seed takes a whole number of at least 0, not \"%1\".")
                        .arg(parser.value(seedOption)));
    options.append = parser.isSet(appendOption);

    const bool showProgress = isatty(fileno(stderr));
    if (showProgress) {
        options.progress = [](qint64 done, qint64 total) {
            std::fprintf(stderr, "\r%lld of %lld rides", static_cast<long long>(done),
                         static_cast<long long>(total));
            std::fflush(stderr);
        };
    }

    try {
        const SampleSummary summary = generateSample(options);
        if (showProgress)
            std::fputc('\n', stderr);
        printLine(stdout, summary.text());
    } catch (const SampleRefusal& refusal) {
        return fail(refusal.text() + QStringLiteral(" Pass --append to add to it."));
    } catch (const RydexError& error) {
        if (showProgress)
            std::fputc('\n', stderr);
        return fail(error.text());
    }
    return 0;
}
