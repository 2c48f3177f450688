#include "store/SqliteEngine.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace {
const char* const rideTable = "CREATE TABLE rydex ("
                              " id INTEGER PRIMARY KEY AUTOINCREMENT,"
                              " date TEXT,"
                              " user TEXT,"
                              " day INTEGER,"
                              " month INTEGER,"
                              " year INTEGER,"
                              " time TEXT,"
                              // Distances, speeds and readings are exact decimals kept as whole
                              // ten-thousandths, so nothing is lost to binary floating point.
                              " dst INTEGER,"
                              " avs INTEGER,"
                              " pulse INTEGER,"
                              " alt INTEGER,"
                              " odo INTEGER,"
                              " temperature TEXT,"
                              " druh TEXT,"
                              " vlivy TEXT,"
                              " obtiznost TEXT,"
                              " pocit TEXT,"
                              " typ TEXT,"
                              " note TEXT,"
                              " altmax INTEGER,"
                              " pulsemax INTEGER,"
                              // Raised by every write, so that a copy of the program never
                              // overwrites a ride another copy changed since it read it.
                              " version INTEGER NOT NULL DEFAULT 0)";

// Made with a new store and, when missing, at every opening of an older one.
const char* const addedLater[] = {
    // Each filter's rides already in the order the cursor lists them: a
    // cyclist's month, a cyclist's year (without its own index the engine
    // walked all of the cyclist's rides to pick out one year), a cyclist.
    "CREATE INDEX IF NOT EXISTS rydex_by_filter ON rydex(user, year, month, date, id)",
    "CREATE INDEX IF NOT EXISTS rydex_by_year ON rydex(user, year, date, id)",
    "CREATE INDEX IF NOT EXISTS rydex_by_user_date ON rydex(user, date, id)",
    // Which file content gave which imported ride, so that a file imported
    // again is known. A table of its own: the ride table, which older copies
    // of the program read too, keeps its columns, and those copies ignore it.
    "CREATE TABLE IF NOT EXISTS imports ("
    " sha256 TEXT NOT NULL,"
    " ride INTEGER NOT NULL,"
    " file TEXT,"
    " imported TEXT)",
    "CREATE INDEX IF NOT EXISTS imports_by_ride ON imports(ride)",
    // In the store rather than in the program, so that a ride deleted by any
    // copy, an older one included, frees its file for a new import.
    "CREATE TRIGGER IF NOT EXISTS imports_follow_rides AFTER DELETE ON rydex BEGIN "
    "DELETE FROM imports WHERE ride = OLD.id; "
    "END",
};

// How long a statement waits for another program (or another copy of this
// one) to finish its write before it gives up: far longer than any Save or
// recomputation takes, short enough that the user is not left wondering.
constexpr int busyTimeout = 5000;
} // namespace

QString SqliteEngine::driverName() const
{
    return QStringLiteral("QSQLITE");
}

QString SqliteEngine::connectOptions(bool readOnly) const
{
    const QString timeout = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeout);
    return readOnly ? timeout + QStringLiteral(";QSQLITE_OPEN_READONLY") : timeout;
}

int SqliteEngine::busyTimeoutMs() const
{
    return busyTimeout;
}

bool SqliteEngine::busy(const QSqlError& error) const
{
    // "database is locked" (SQLITE_BUSY, SQLITE_LOCKED) means only that
    // another program held the store for the whole busy timeout.
    const QString code = error.nativeErrorCode();
    return code == QLatin1String("5") || code == QLatin1String("6") ||
           error.databaseText().contains(QLatin1String("database is locked"));
}

QStringList SqliteEngine::creationStatements(int schemaVersion) const
{
    QStringList statements{QString::fromLatin1(rideTable)};
    for (const char* statement : addedLater)
        statements << QString::fromLatin1(statement);
    statements << writeSchemaVersion(schemaVersion);
    return statements;
}

QStringList SqliteEngine::fileStatements() const
{
    // The journal mode is part of the file: set before the tables, the
    // first opening of a new store writes nothing.
    return {QStringLiteral("PRAGMA journal_mode=WAL")};
}

QStringList SqliteEngine::sessionStatements() const
{
    QStringList statements = fileStatements();
    statements << QStringLiteral("PRAGMA synchronous=FULL");
    for (const char* statement : addedLater)
        statements << QString::fromLatin1(statement);
    return statements;
}

QString SqliteEngine::addVersionColumn() const
{
    return QStringLiteral("ALTER TABLE rydex ADD COLUMN version INTEGER NOT NULL DEFAULT 0");
}

QString SqliteEngine::readSchemaVersion() const
{
    return QStringLiteral("PRAGMA user_version");
}

QString SqliteEngine::writeSchemaVersion(int version) const
{
    return QStringLiteral("PRAGMA user_version=%1").arg(version);
}

QString SqliteEngine::beginWrite() const
{
    return QStringLiteral("BEGIN IMMEDIATE");
}

QString SqliteEngine::changeCounter() const
{
    // Moves whenever another connection commits; never for this one's own.
    return QStringLiteral("PRAGMA data_version");
}

QString SqliteEngine::insertionOrder() const
{
    return QStringLiteral("rowid");
}

QString SqliteEngine::columnsOf(const QString& table) const
{
    return QStringLiteral("SELECT name, type, pk FROM pragma_table_info('%1')").arg(table);
}

QString SqliteEngine::tableNames() const
{
    return QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'");
}

QString SqliteEngine::integrityProblem(QSqlDatabase& db) const
{
    QSqlQuery q(db);
    QString problem;
    if (!q.exec(QStringLiteral("PRAGMA quick_check(1)")) || !q.next())
        problem = errorText(q.lastError());
    else if (q.value(0).toString() != QLatin1String("ok"))
        problem = q.value(0).toString();
    q.finish();
    return problem;
}
