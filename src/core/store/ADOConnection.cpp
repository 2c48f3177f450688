#include "store/ADOConnection.h"

#include "polyglot/MessageCatalogue.h"
#include "store/NewStore.h"
#include "store/PrivateFolder.h"
#include "store/RydexError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace {
const char* const schema[] = {
    "CREATE TABLE rydex ("
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
    // Raised by every write, so that a copy of the program never overwrites
    // a ride another copy changed since it read it.
    " version INTEGER NOT NULL DEFAULT 0)",
    // Each filter's rides already in the order the cursor lists them: a
    // cyclist's month, a cyclist's year (without its own index the engine
    // walked all of the cyclist's rides to pick out one year), a cyclist.
    // Added to an older store when it is opened.
    "CREATE INDEX IF NOT EXISTS rydex_by_filter ON rydex(user, year, month, date, id)",
    "CREATE INDEX IF NOT EXISTS rydex_by_year ON rydex(user, year, date, id)",
    "CREATE INDEX IF NOT EXISTS rydex_by_user_date ON rydex(user, date, id)",
};

// How long a statement waits for another program (or another copy of this
// one) to finish its write before it gives up: far longer than any Save or
// recomputation takes, short enough that the user is not left wondering.
constexpr int busyTimeoutMs = 5000;

// The engine's "database is locked" (SQLITE_BUSY, SQLITE_LOCKED) means only
// that another program held the store for the whole busy timeout.
bool storeBusy(const QSqlError& error)
{
    const QString code = error.nativeErrorCode();
    return code == QLatin1String("5") || code == QLatin1String("6") ||
           error.databaseText().contains(QLatin1String("database is locked"));
}

QString engineText(const QSqlError& error)
{
    if (storeBusy(error))
        return Msg::format(Msg::StoreBusy, {QString::number(busyTimeoutMs / 1000)});
    const QString db = error.databaseText();
    return db.isEmpty() ? error.text() : db;
}

quint32 bigEndian32(const uchar* p)
{
    return quint32(p[0]) << 24 | quint32(p[1]) << 16 | quint32(p[2]) << 8 | quint32(p[3]);
}

// Whether the header of a write-ahead log is the engine's: its magic number,
// version and checksum. The engine writes the 32 bytes at once before the
// first commit that uses the log, so a crash leaves a whole header or none;
// any other is damage, and the engine would silently drop every ride the log
// holds.
bool walHeaderValid(const QByteArray& header)
{
    if (header.size() < 32)
        return false;
    const auto* p = reinterpret_cast<const uchar*>(header.constData());
    const quint32 magic = bigEndian32(p);
    if ((magic & 0xFFFFFFFEu) != 0x377F0682u || bigEndian32(p + 4) != 3007000u)
        return false;
    // The checksum runs over the first 24 bytes, read as 32-bit words in
    // the byte order the magic number's lowest bit names.
    const bool big = magic & 1u;
    quint32 s0 = 0, s1 = 0;
    for (int i = 0; i < 24; i += 8) {
        const auto word = [&](int at) {
            return big ? bigEndian32(p + at)
                       : quint32(p[at]) | quint32(p[at + 1]) << 8 | quint32(p[at + 2]) << 16 |
                             quint32(p[at + 3]) << 24;
        };
        s0 += word(i) + s1;
        s1 += word(i + 4) + s0;
    }
    return s0 == bigEndian32(p + 24) && s1 == bigEndian32(p + 28);
}

// The store's columns with their declared types, as every version of the
// program made them.
struct Column
{
    const char* name;
    const char* type;
};
constexpr Column columnsNeeded[] = {
    {"id", "INTEGER"},       {"date", "TEXT"},       {"user", "TEXT"},   {"day", "INTEGER"},
    {"month", "INTEGER"},    {"year", "INTEGER"},    {"time", "TEXT"},   {"dst", "INTEGER"},
    {"avs", "INTEGER"},      {"pulse", "INTEGER"},   {"alt", "INTEGER"}, {"odo", "INTEGER"},
    {"temperature", "TEXT"}, {"druh", "TEXT"},       {"vlivy", "TEXT"},  {"obtiznost", "TEXT"},
    {"pocit", "TEXT"},       {"typ", "TEXT"},        {"note", "TEXT"},   {"altmax", "INTEGER"},
    {"pulsemax", "INTEGER"}, {"version", "INTEGER"},
};
} // namespace

ADOConnection::ADOConnection(const QString& filePath, QObject* parent)
    : QObject(parent), m_path(filePath),
      m_connectionName(QStringLiteral("rydex-") +
                       QUuid::createUuid().toString(QUuid::WithoutBraces))
{
    setObjectName(QStringLiteral("ADOConnection"));
}

ADOConnection::~ADOConnection()
{
    close();
    if (QSqlDatabase::contains(m_connectionName))
        QSqlDatabase::removeDatabase(m_connectionName);
}

void ADOConnection::setFilePath(const QString& path)
{
    close();
    m_path = path;
}

bool ADOConnection::engineAvailable()
{
    return QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE"));
}

QSqlDatabase ADOConnection::database() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

bool ADOConnection::isOpen() const
{
    return QSqlDatabase::contains(m_connectionName) && database().isOpen();
}

void ADOConnection::fail(int messageId, const QString& detail)
{
    close();
    throw RydexError(Msg::format(messageId, {QDir::toNativeSeparators(m_path), detail}),
                     RydexError::Kind::Store);
}

void ADOConnection::failOpening(const QSqlError& error)
{
    // A store another program holds is no damaged store.
    if (storeBusy(error)) {
        close();
        throw RydexError(engineText(error), RydexError::Kind::Store);
    }
    fail(Msg::StoreNotValid, engineText(error));
}

void ADOConnection::open()
{
    if (isOpen())
        return;
    if (!engineAvailable())
        throw RydexError(Msg::text(Msg::StoreDriverMissing), RydexError::Kind::Store);
    const QFileInfo info(m_path);
    if (info.isSymLink() && !info.exists())
        fail(Msg::StoreDanglingLink, QDir::toNativeSeparators(info.symLinkTarget()));
    if (!info.exists())
        createStore();
    checkExistingStore();
    // A candidate is only looked at until it is accepted: a file that turns
    // out not to be ours must stay exactly as it was, leftover journal and all.
    openDatabase(true);
    verifyStore();
    database().close();
    openDatabase(false);
    try {
        configure();
        upgrade();
    } catch (const RydexError&) {
        close();
        throw;
    }
}

void ADOConnection::openDatabase(bool readOnly)
{
    QSqlDatabase db = QSqlDatabase::contains(m_connectionName)
                          ? QSqlDatabase::database(m_connectionName, false)
                          : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    db.setDatabaseName(m_path);
    const QString timeout = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs);
    db.setConnectOptions(readOnly ? timeout + QStringLiteral(";QSQLITE_OPEN_READONLY") : timeout);
    if (!db.open())
        failOpening(db.lastError());
}

void ADOConnection::createStore()
{
    const QString folder = QFileInfo(m_path).absolutePath();
    if (const std::optional<QString> failure = PrivateFolder::create(folder))
        throw RydexError(
            Msg::format(Msg::StoreFolderNotCreated, {QDir::toNativeSeparators(folder), *failure}),
            RydexError::Kind::Store);
    requireWritableFolder();
    QStringList statements;
    for (const char* statement : schema)
        statements << QString::fromLatin1(statement);
    statements << QStringLiteral("PRAGMA user_version=%1").arg(schemaVersion);
    // When another copy of the program made the store meanwhile, that one is
    // opened like any existing store.
    buildNewStore(m_path, statements);
}

void ADOConnection::requireWritableFolder() const
{
    const QString folder = QFileInfo(m_path).absolutePath();
    if (!PrivateFolder::writable(QFileInfo(folder)))
        throw RydexError(Msg::format(Msg::StoreFolderReadOnly, {QDir::toNativeSeparators(folder)}),
                         RydexError::Kind::Store);
}

void ADOConnection::checkExistingStore()
{
    // Everything here only reads.
    // A folder, a pipe or a device in the store's place (or at the end of a
    // link) is never opened: a pipe would block the program for good.
    if (!QFileInfo(m_path).isFile())
        fail(Msg::StoreNotValid, Msg::text(Msg::NotARegularFile));
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        fail(Msg::StoreNotValid, file.errorString());
    const QByteArray header = file.read(100);
    const qint64 size = file.size();
    file.close();
    if (!header.startsWith(QByteArray("SQLite format 3\0", 16)))
        fail(Msg::StoreNotValid, QStringLiteral("file is not a database"));
    checkWriteAheadLog();
    checkLength(header, size);
    if (!PrivateFolder::writable(QFileInfo(m_path)))
        throw RydexError(Msg::format(Msg::StoreReadOnly, {QDir::toNativeSeparators(m_path)}),
                         RydexError::Kind::Store);
    // The engine keeps its journal beside the store: without a writable
    // folder no ride could be saved.
    requireWritableFolder();
}

void ADOConnection::checkWriteAheadLog()
{
    // The engine keeps the log beside the file a link leads to.
    const QFileInfo store(m_path);
    const QString log =
        (store.isSymLink() ? store.canonicalFilePath() : m_path) + QStringLiteral("-wal");
    const QFileInfo info(log);
    if (!info.exists() || (info.isFile() && info.size() == 0))
        return;
    QFile file(log);
    if (info.isFile() && file.open(QIODevice::ReadOnly) && walHeaderValid(file.read(32)))
        return;
    close();
    throw RydexError(Msg::format(Msg::StoreDamagedLog,
                                 {QDir::toNativeSeparators(m_path), QDir::toNativeSeparators(log)}),
                     RydexError::Kind::Store);
}

void ADOConnection::checkLength(const QByteArray& header, qint64 size)
{
    // The page count in the header holds when the change counter (24) equals
    // the "valid for" number (92). A file shorter than that was cut off;
    // the engine would read the missing pages as empty and damage the store
    // further with the first write. While a log or journal is about, the
    // file may legitimately be shorter until the engine has replayed it.
    const QFileInfo store(m_path);
    const QString base = store.isSymLink() ? store.canonicalFilePath() : m_path;
    if (header.size() < 100 || QFileInfo(base + QStringLiteral("-wal")).size() > 0 ||
        QFileInfo::exists(base + QStringLiteral("-journal")))
        return;
    const auto* p = reinterpret_cast<const uchar*>(header.constData());
    const quint32 pageSize = (p[16] << 8 | p[17]) == 1 ? 65536u : quint32(p[16] << 8 | p[17]);
    const quint32 pages = bigEndian32(p + 28);
    if (bigEndian32(p + 24) != bigEndian32(p + 92) || pages == 0)
        return;
    if (size < qint64(pageSize) * pages)
        fail(Msg::StoreNotValid,
             QStringLiteral("the file is shorter than its header says (%1 of %2 bytes)")
                 .arg(size)
                 .arg(qint64(pageSize) * pages));
}

QStringList ADOConnection::columns()
{
    QSqlQuery q(database());
    if (!q.exec(QStringLiteral("SELECT name, type, pk FROM pragma_table_info('rydex')"))) {
        const QString journal = m_path + QStringLiteral("-journal");
        if (QFileInfo::exists(journal)) {
            close();
            throw RydexError(
                Msg::format(Msg::StoreUnfinishedWrite,
                            {QDir::toNativeSeparators(m_path), QDir::toNativeSeparators(journal)}),
                RydexError::Kind::Store);
        }
        failOpening(q.lastError());
    }
    QStringList names;
    m_types.clear();
    while (q.next()) {
        const QString name = q.value(0).toString().toLower();
        names << name;
        m_types.insert(name, q.value(1).toString().toUpper() +
                                 (q.value(2).toInt() == 1 ? QStringLiteral(" PK") : QString()));
    }
    return names;
}

void ADOConnection::verifyStore()
{
    // A database of another program is reported, not adopted.
    const QStringList names = columns();
    if (names.isEmpty())
        fail(Msg::StoreNotValid, QStringLiteral("no such table: rydex"));
    for (const Column& c : columnsNeeded) {
        const QString name = QLatin1String(c.name);
        // The row version comes with the upgrade of a first-version store.
        if (!names.contains(name)) {
            if (name == QLatin1String("version"))
                continue;
            fail(Msg::StoreNotValid, QStringLiteral("no such column: ") + name);
        }
        // A column of another type would keep the program's values in
        // another form (a text id is no row number of its own, a real
        // distance is no exact one), and rides saved in it could not be
        // found or read back as they were.
        const QString expected = QLatin1String(c.type) +
                                 (name == QLatin1String("id") ? QStringLiteral(" PK") : QString());
        if (m_types.value(name) != expected)
            fail(Msg::StoreNotValid, QStringLiteral("column %1 is declared \"%2\", not \"%3\"")
                                         .arg(name, m_types.value(name), expected));
    }
}

void ADOConnection::configure()
{
    execText(QStringLiteral("PRAGMA journal_mode=WAL"));
    execText(QStringLiteral("PRAGMA synchronous=FULL"));
    for (int i = 1; i < int(std::size(schema)); ++i)
        execText(QString::fromLatin1(schema[i]));
}

void ADOConnection::upgrade()
{
    // A store of the first version has no row versions yet. Checked again
    // inside the transaction: another copy starting at the same moment may
    // have added them meanwhile.
    if (columns().contains(QLatin1String("version")))
        return;
    begin();
    try {
        if (!columns().contains(QLatin1String("version"))) {
            execText(
                QStringLiteral("ALTER TABLE rydex ADD COLUMN version INTEGER NOT NULL DEFAULT 0"));
            QSqlQuery q(database());
            if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next())
                throw RydexError(engineText(q.lastError()), RydexError::Kind::Store);
            const int stored = q.value(0).toInt();
            q.finish();
            if (stored < schemaVersion)
                execText(QStringLiteral("PRAGMA user_version=%1").arg(schemaVersion));
        }
        commit();
    } catch (...) {
        rollback();
        throw;
    }
}

void ADOConnection::close()
{
    if (!QSqlDatabase::contains(m_connectionName))
        return;
    QSqlDatabase db = database();
    if (db.isOpen()) {
        // Unchecked on purpose: closing the connection ends an open
        // transaction without its writes whether or not ROLLBACK succeeds.
        if (m_depth > 0) {
            db.exec(QStringLiteral("ROLLBACK"));
            ++m_rollbacks;
        }
        db.close();
    }
    m_depth = 0;
}

void ADOConnection::prepare(QSqlQuery& query, const QString& sql)
{
    if (!query.prepare(sql))
        throw RydexError(engineText(query.lastError()), RydexError::Kind::Store);
}

void ADOConnection::exec(QSqlQuery& query)
{
    if (!query.exec())
        throw RydexError(engineText(query.lastError()), RydexError::Kind::Store);
}

void ADOConnection::execText(const QString& sql)
{
    QSqlQuery q(database());
    if (!q.exec(sql))
        throw RydexError(engineText(q.lastError()), RydexError::Kind::Store);
}

void ADOConnection::begin()
{
    if (!isOpen())
        throw RydexError(Msg::text(Msg::StoreClosed), RydexError::Kind::Store);
    if (m_depth == 0)
        execText(QStringLiteral("BEGIN IMMEDIATE"));
    ++m_depth;
}

void ADOConnection::commit()
{
    if (m_depth == 0)
        return;
    if (m_depth == 1) {
        try {
            execText(QStringLiteral("COMMIT"));
        } catch (...) {
            rollback();
            throw;
        }
    }
    --m_depth;
}

void ADOConnection::rollback()
{
    if (m_depth == 0)
        return;
    m_depth = 0;
    ++m_rollbacks;
    // Unchecked on purpose: it runs while an error is already on its way to
    // the user, and a ROLLBACK that fails leaves nothing of the transaction
    // behind either (SQLite has ended it, or the next BEGIN fails loudly).
    QSqlQuery q(database());
    q.exec(QStringLiteral("ROLLBACK"));
}
