#include "SampleData.h"

#include "base/Clock.h"
#include "base/Fixed4.h"
#include "prefs/PreferenceStore.h"
#include "store/ADOConnection.h"
#include "store/ADOTable.h"
#include "store/RideFilter.h"
#include "store/RideStorage.h"
#include "store/StoreLocation.h"
#include "store/TData.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTime>
#include <algorithm>
#include <initializer_list>
#include <vector>

namespace {

// The texts the record dialog offers; the store receives the item text.
const char* const druhTexts[] = {"Cyklistika", "Plavání", "Beh", "Fitness", "Bežky"};
const char* const obtiznostTexts[] = {"vysoká", "strední", "nízká"};
const char* const pocitTexts[] = {"100%", "90%", "80%", "70%", "60%", "50%"};
const char* const vlivyTexts[] = {":o(", ":o|", ";o)"};
const char* const temperatureTexts[] = {"35 - 40 C'",  "25 - 30 C'", "20 - 25 C'", "15 - 20 C'",
                                        "10 - 15 C'",  "5 - 10 C'",  "0 -  5 C'",  "-5 -  0 C'",
                                        "-10 -  5 C'", "-15 -10 C'", "-20 -15 C'", "-25 -20 C'"};
const char* const typTexts[] = {"Závod", "Trénink", "Trenažer", "Turistika"};
enum Typ { Race, Training, Trainer, Touring };

// The usual temperature band of each month (index into temperatureTexts).
const int monthBand[12] = {8, 7, 6, 5, 4, 3, 2, 2, 3, 5, 6, 7};

const char* const notes[] = {
    "Krásné počasí, skoro bez větru.",
    "Defekt zadního kola, výměna duše u silnice.",
    "Se skupinou z klubu, svižné tempo.",
    "Bolela mě kolena, příště kratší okruh.",
    "Nové pedály, musím doladit zarážky.",
    "Déšť celou cestu zpátky.",
    "Objížďka přes Křivoklát, silnice rozkopaná.",
    "Intervaly do kopce 5 × 3 min.",
    "Ranní vyjížďka před prací.",
    "Silný protivítr na hřebeni.\nZpátky po cyklostezce podél řeky.",
    "Regenerační jízda, nízký tep.",
    "Poprvé letos v krátkých kalhotách!",
    "Kontrola brzd a řetězu v servisu.\nPak krátký okruh kolem přehrady.",
};
const char* const raceNotes[] = {
    "Závod: 12. místo v kategorii.\nNa posledním stoupání mi došly síly.",
    "Časovka jednotlivců, osobní rekord!",
};

const char* const baseNames[] = {"Eva",   "O'Brien",  "Tomáš",   "Jan",    "Lucie",
                                 "Petr",  "Kateřina", "Martin",  "Zuzana", "Jiří",
                                 "Hana",  "Pavel",    "Markéta", "Ondřej", "Veronika",
                                 "Lukáš", "Tereza",   "Radek",   "Klára",  "Václav"};
constexpr int baseNameCount = int(std::size(baseNames));

// Bounds that keep every value inside its field: 2000 rides of at most
// 228 km on top of a 20000 km start stay within the eight digits of `odo`.
constexpr int maxCyclists = 1000;
constexpr int maxYears = 100;
constexpr int maxRidesPerYear = 2000;
constexpr qint64 progressStep = 1000;

quint64 mix(quint64 z)
{
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

// splitmix64 with integer-only draws: the standard distributions differ
// between library versions, and a seed must give the same rows everywhere.
class Random
{
public:
    explicit Random(quint64 seed) : m_state(seed) {}

    quint64 next()
    {
        m_state += 0x9E3779B97F4A7C15ULL;
        return mix(m_state);
    }
    // Inclusive on both ends, without modulo bias.
    qint64 between(qint64 lo, qint64 hi)
    {
        const quint64 range = quint64(hi - lo) + 1;
        const quint64 limit = ~quint64(0) - (~quint64(0) % range);
        quint64 r = next();
        while (r >= limit)
            r = next();
        return lo + qint64(r % range);
    }
    bool chance(int percent) { return between(0, 99) < percent; }
    int weighted(std::initializer_list<int> weights)
    {
        int total = 0;
        for (int w : weights)
            total += w;
        int r = int(between(0, total - 1));
        int index = 0;
        for (int w : weights) {
            if (r < w)
                return index;
            r -= w;
            ++index;
        }
        return index - 1;
    }

private:
    quint64 m_state;
};

// Each cyclist's year has a stream of its own, so the rides of one year do
// not change when other years or cyclists are added to the run.
quint64 streamSeed(quint64 seed, int cyclist, int year)
{
    return mix(mix(seed) + quint64(cyclist + 1) * 0xD1B54A32D192ED03ULL +
               quint64(year) * 0x8CB92BA72F3D8DD7ULL);
}

struct PlannedRide
{
    QDate date;
    int seconds = 0;
    Fixed4 dst;
    Fixed4 avs;
    Fixed4 odo;
    int pulse = 0;
    int pulsemax = 0;
    int alt = 0;
    int altmax = 0;
    int druh = 0;
    int obtiznost = 0;
    int pocit = 0;
    int vlivy = 0;
    int temperature = 0;
    int typ = 0;
    QString note;
};

// The average speed as the record dialog derives it on save: the exact
// quotient km per hour, rounded to two decimals. Flooring it to
// ten-thousandths first keeps every digit the two-decimal rounding looks at.
Fixed4 averageSpeed(Fixed4 dst, int seconds)
{
    return Fixed4::fromUnits(dst.units() * 3600 / seconds).roundedTo2();
}

PlannedRide planRide(Random& rng, const QDate& date, int homeAltitude)
{
    PlannedRide r;
    r.date = date;
    const bool winter = date.month() == 12 || date.month() <= 2;

    r.typ = winter ? rng.weighted({3, 50, 35, 12}) : rng.weighted({10, 60, 10, 20});
    r.druh = winter ? rng.weighted({75, 5, 8, 6, 6}) : rng.weighted({88, 4, 5, 3, 0});

    // Mostly one to three hours: the shorter of two draws.
    r.seconds = int(std::min(rng.between(20 * 60, 6 * 3600), rng.between(20 * 60, 6 * 3600)));
    // Hundredths of km/h, kept a hair inside 15..38 so that the rounding of
    // the distance cannot push the derived speed out of it.
    qint64 speed = (rng.between(1502, 3798) + rng.between(1502, 3798)) / 2;
    if (r.typ == Race)
        speed = std::min<qint64>(3798, speed + rng.between(200, 600));
    else if (r.typ == Touring)
        speed = std::max<qint64>(1502, speed - rng.between(200, 500));
    // Distance in hundredths of a kilometre, the two decimals the user types.
    const qint64 dstHundredths = (speed * r.seconds + 1800) / 3600;
    r.dst = Fixed4::fromUnits(dstHundredths * 100);
    r.avs = averageSpeed(r.dst, r.seconds);

    if (!rng.chance(5)) {
        r.pulse = int(rng.between(110, 175));
        r.pulsemax = r.pulse + int(rng.between(8, 35));
    }
    if (r.typ != Trainer)
        r.alt = int(std::min<qint64>(2500, dstHundredths * rng.between(0, 20) / 100));
    r.altmax = r.typ == Trainer
                   ? homeAltitude
                   : int(std::min<qint64>(2500, homeAltitude + r.alt / 2 + rng.between(0, 400)));
    r.obtiznost = r.typ == Race ? rng.weighted({7, 3, 0}) : rng.weighted({2, 5, 3});
    r.pocit = rng.weighted({10, 25, 30, 20, 10, 5});
    r.vlivy = rng.weighted({2, 4, 4});
    const int shift = rng.chance(5) ? int(rng.between(-2, 2)) : int(rng.between(-1, 1));
    r.temperature =
        std::clamp(monthBand[date.month() - 1] + shift, 0, int(std::size(temperatureTexts)) - 1);
    if (rng.chance(20)) {
        if (r.typ == Race)
            r.note = QString::fromUtf8(raceNotes[rng.between(0, qint64(std::size(raceNotes)) - 1)]);
        else
            r.note = QString::fromUtf8(notes[rng.between(0, qint64(std::size(notes)) - 1)]);
    }
    return r;
}

// The rides of one cyclist's year, in date order, with the odometer chain:
// the first ride holds the starting reading, every later one adds its distance.
std::vector<PlannedRide> planYear(Random& rng, int year, int rides, int homeAltitude)
{
    std::vector<PlannedRide> out;
    out.reserve(size_t(rides));
    const QDate jan1(year, 1, 1);
    const qint64 days = jan1.daysInYear();
    qint64 previous = 0;
    for (int i = 0; i < rides; ++i) {
        qint64 day = previous;
        // Spread evenly with some jitter; now and then a second ride that day.
        if (i == 0 || !rng.chance(4))
            day = std::max(previous,
                           (i * 1000 + rng.between(0, 999)) * days / (qint64(rides) * 1000));
        previous = day;
        out.push_back(planRide(rng, jan1.addDays(day), homeAltitude));
    }
    if (!out.empty()) {
        Fixed4 odo = Fixed4::fromUnits(rng.between(100000, 2000000) * 100);
        out.front().odo = odo;
        for (size_t k = 1; k < out.size(); ++k) {
            odo += out[k].dst.roundedTo2();
            out[k].odo = odo;
        }
    }
    return out;
}

RideRow rideRow(const QString& user, const PlannedRide& r)
{
    const auto text = [](const char* s) { return QString::fromUtf8(s); };
    RideRow row;
    const auto set = [&row](RideField field, const QVariant& value) {
        row[fieldIndex(field)] = normalizeFieldValue(field, value);
    };
    set(RideField::user, user);
    set(RideField::date, r.date.startOfDay());
    set(RideField::day, r.date.day());
    set(RideField::month, r.date.month());
    set(RideField::year, r.date.year());
    set(RideField::time, QTime(0, 0).addSecs(r.seconds));
    set(RideField::dst, QVariant::fromValue(r.dst));
    set(RideField::avs, QVariant::fromValue(r.avs));
    set(RideField::odo, QVariant::fromValue(r.odo));
    set(RideField::pulse, r.pulse);
    set(RideField::pulsemax, r.pulsemax);
    set(RideField::alt, r.alt);
    set(RideField::altmax, r.altmax);
    set(RideField::druh, text(druhTexts[r.druh]));
    set(RideField::obtiznost, text(obtiznostTexts[r.obtiznost]));
    set(RideField::pocit, text(pocitTexts[r.pocit]));
    set(RideField::vlivy, text(vlivyTexts[r.vlivy]));
    set(RideField::temperature, text(temperatureTexts[r.temperature]));
    set(RideField::typ, text(typTexts[r.typ]));
    if (!r.note.isEmpty())
        set(RideField::note, r.note);
    return row;
}

void writeRide(ADOTable* table, const RideRow& row)
{
    table->insert();
    for (int i = 1; i < rideFieldCount; ++i) {
        if (!row[i].isNull())
            table->setValue(static_cast<RideField>(i), row[i]);
    }
    table->post();
}

// Rides written many to a statement: on a server a statement per ride would
// spend its time on the round trips. Within the caller's transaction.
void insertRides(ADOConnection& connection, const std::vector<RideRow>& rows)
{
    constexpr size_t perStatement = 1000;
    QStringList names;
    QStringList holders;
    for (int i = 1; i < rideFieldCount; ++i) {
        names << quotedName(static_cast<RideField>(i));
        holders << QStringLiteral("?");
    }
    const QString values = QLatin1Char('(') + holders.join(QLatin1Char(',')) + QLatin1Char(')');
    const QString head =
        QStringLiteral("INSERT INTO rydex (") + names.join(QStringLiteral(", ")) + ") VALUES ";
    for (size_t from = 0; from < rows.size(); from += perStatement) {
        const size_t count = std::min(perStatement, rows.size() - from);
        QSqlQuery query(connection.database());
        connection.prepare(query,
                           head + QStringList(qsizetype(count), values).join(QLatin1Char(',')));
        int at = 0;
        for (size_t r = from; r < from + count; ++r) {
            for (int i = 1; i < rideFieldCount; ++i)
                query.bindValue(at++, toStore(static_cast<RideField>(i), rows[r][i]));
        }
        connection.exec(query);
    }
}

// When appending to a year that already had rides, the new ones interleave
// with the old: derive the readings of the whole year again, as the program
// does after every save, so the chain stays whole.
void rechainYear(ADOTable* table)
{
    if (!table->findFirst())
        return;
    Fixed4 total = table->asFixed(RideField::odo).roundedTo2();
    const int n = table->recordCount();
    for (int k = 1; k < n; ++k) {
        table->next();
        total += table->asFixed(RideField::dst).roundedTo2();
        if (table->isNull(RideField::odo) || table->asFixed(RideField::odo) != total) {
            table->edit();
            table->setValue(RideField::odo, QVariant::fromValue(total));
            table->post();
        }
    }
}

void checkRange(const char* what, qint64 value, qint64 lo, qint64 hi)
{
    if (value < lo || value > hi)
        throw RydexError(QStringLiteral("The number of %1 must lie between %2 and %3, not %4.")
                             .arg(QLatin1String(what))
                             .arg(lo)
                             .arg(hi)
                             .arg(value));
}

void removeStoreFiles(const QString& path)
{
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
        QFile::remove(path + QLatin1String(suffix));
}

} // namespace

QStringList sampleCyclistNames(int count)
{
    QStringList names;
    for (int i = 0; i < count; ++i) {
        QString name = QString::fromUtf8(baseNames[i % baseNameCount]);
        if (i >= baseNameCount)
            name += QLatin1Char(' ') + QString::number(i / baseNameCount + 1);
        names << name;
    }
    return names;
}

QString SampleSummary::text() const
{
    QString who = cyclists.mid(0, 5).join(QStringLiteral(", "));
    if (cyclists.size() > 5)
        who += QStringLiteral(", …");
    const QString years = firstYear == lastYear
                              ? QString::number(firstYear)
                              : QStringLiteral("%1-%2").arg(firstYear).arg(lastYear);
    return QStringLiteral("%1 rides of %2 cyclists (%3) in %4: store %5, preferences %6")
        .arg(rides)
        .arg(cyclists.size())
        .arg(who, years, QDir::toNativeSeparators(storePath),
             QDir::toNativeSeparators(preferencePath));
}

SampleSummary generateSample(const SampleOptions& options)
{
    const bool server = !options.server.isEmpty();
    if ((options.storePath.isEmpty() && !server) || options.preferencePath.isEmpty())
        throw RydexError(QStringLiteral("Both the store and the preference file must be named."));
    checkRange("cyclists", options.cyclists, 1, maxCyclists);
    checkRange("years", options.years, 1, maxYears);
    checkRange("rides a year", options.ridesPerYear, 0, maxRidesPerYear);
    const int firstYear =
        options.firstYear != 0 ? options.firstYear : Clock::today().year() - options.years + 1;
    const int lastYear = firstYear + options.years - 1;
    if (firstYear < 1 || lastYear > 9999)
        throw RydexError(QStringLiteral("The years %1 to %2 lie outside 1 to 9999.")
                             .arg(firstYear)
                             .arg(lastYear));

    SampleSummary summary;
    summary.cyclists = sampleCyclistNames(options.cyclists);
    summary.firstYear = firstYear;
    summary.lastYear = lastYear;
    summary.storePath = options.storePath;
    summary.preferencePath = options.preferencePath;

    PreferenceStore prefs(options.preferencePath);
    const bool storeExisted = server || QFileInfo::exists(options.storePath);
    if (!options.append) {
        if (storeExisted && !server)
            throw SampleRefusal(
                QStringLiteral("The ride store %1 already exists; sample rides are added to it "
                               "only when appending is asked for.")
                    .arg(QDir::toNativeSeparators(options.storePath)));
        const QStringList existing =
            prefs.openKey(PreferenceStore::cyclistsKeyPath(), false).subkeys();
        if (!existing.isEmpty())
            throw SampleRefusal(
                QStringLiteral("The preference file %1 already lists cyclists (%2); sample "
                               "cyclists are added to it only when appending is asked for.")
                    .arg(QDir::toNativeSeparators(options.preferencePath),
                         existing.join(QStringLiteral(", "))));
    }

    const qint64 total = qint64(options.cyclists) * options.years * options.ridesPerYear;
    qint64 done = 0;
    try {
        TData data(server ? StoreLocation::server(options.server)
                          : StoreLocation::file(options.storePath));
        // A server's empty database gets the program's tables, as the
        // program makes them when its user agrees.
        data.connection()->setCreationConsent([](const QString&) { return true; });
        data.open();
        if (server && !options.append) {
            QSqlQuery count(data.connection()->database());
            data.connection()->prepare(count, QStringLiteral("SELECT count(*) FROM rydex"));
            data.connection()->exec(count);
            if (count.next() && count.value(0).toLongLong() > 0)
                throw SampleRefusal(
                    QStringLiteral("The database %1 already holds rides; sample rides are added "
                                   "to it only when appending is asked for.")
                        .arg(options.server));
        }
        ADOConnection* connection = data.connection();
        ADOTable* table = data.table();
        // One transaction: a run of two hundred thousand rides takes seconds
        // instead of a commit per ride, and a failure leaves nothing behind.
        connection->begin();
        try {
            if (options.progress)
                options.progress(0, total);
            for (int c = 0; c < options.cyclists; ++c) {
                const QString& name = summary.cyclists.at(c);
                Random cyclistRng(streamSeed(options.seed, c, 0));
                const int homeAltitude = int(cyclistRng.between(200, 600));
                for (int year = firstYear; year <= lastYear; ++year) {
                    Random rng(streamSeed(options.seed, c, year));
                    const std::vector<PlannedRide> rides =
                        planYear(rng, year, options.ridesPerYear, homeAltitude);
                    // The year filter keeps the cursor's set small: every post
                    // lands at its end instead of in the middle of all rows.
                    table->setFilter(RideFilter::year(name, year));
                    const bool hadRides = table->recordCount() > 0;
                    if (server && !hadRides) {
                        std::vector<RideRow> rows;
                        rows.reserve(rides.size());
                        for (const PlannedRide& ride : rides)
                            rows.push_back(rideRow(name, ride));
                        insertRides(*connection, rows);
                        const qint64 before = done;
                        done += qint64(rides.size());
                        if (done / progressStep != before / progressStep && options.progress)
                            options.progress(done, total);
                        continue;
                    }
                    for (const PlannedRide& ride : rides) {
                        writeRide(table, rideRow(name, ride));
                        if (++done % progressStep == 0 && options.progress)
                            options.progress(done, total);
                    }
                    if (hadRides && !rides.empty())
                        rechainYear(table);
                }
            }
            // Inside the transaction, so that a preference file that cannot be
            // written takes the rides back with it.
            PreferenceKey cyclistsKey = prefs.openKey(PreferenceStore::cyclistsKeyPath());
            for (const QString& name : summary.cyclists)
                cyclistsKey.createSubkey(name);
            connection->commit();
        } catch (...) {
            connection->rollback();
            throw;
        }
        data.close(true);
    } catch (...) {
        if (!storeExisted && !server)
            removeStoreFiles(options.storePath);
        throw;
    }
    if (options.progress && done % progressStep != 0)
        options.progress(done, total);
    summary.rides = done;
    return summary;
}
