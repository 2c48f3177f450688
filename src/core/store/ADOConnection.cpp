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
    // Serves all three filters: a cyclist, a cyclist's year, a cyclist's month,
    // each already in the order the cursor lists them.
    "CREATE INDEX IF NOT EXISTS rydex_by_filter ON rydex(user, year, month, date, id)",
    "CREATE INDEX IF NOT EXISTS rydex_by_user_date ON rydex(user, date, id)",
};

QString engineText(const QSqlError& error)
{
    const QString db = error.databaseText();
    return db.isEmpty() ? error.text() : db;
}
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
    db.setConnectOptions(readOnly
                             ? QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000;QSQLITE_OPEN_READONLY")
                             : QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db.open())
        fail(Msg::StoreNotValid, engineText(db.lastError()));
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
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        fail(Msg::StoreNotValid, file.errorString());
    const QByteArray header = file.read(16);
    file.close();
    if (header != QByteArray("SQLite format 3\0", 16))
        fail(Msg::StoreNotValid, QStringLiteral("file is not a database"));
    if (!PrivateFolder::writable(QFileInfo(m_path)))
        throw RydexError(Msg::format(Msg::StoreReadOnly, {QDir::toNativeSeparators(m_path)}),
                         RydexError::Kind::Store);
    // The engine keeps its journal beside the store: without a writable
    // folder no ride could be saved.
    requireWritableFolder();
}

QStringList ADOConnection::columns()
{
    QSqlQuery q(database());
    if (!q.exec(QStringLiteral("SELECT name FROM pragma_table_info('rydex')"))) {
        const QString journal = m_path + QStringLiteral("-journal");
        if (QFileInfo::exists(journal)) {
            close();
            throw RydexError(
                Msg::format(Msg::StoreUnfinishedWrite,
                            {QDir::toNativeSeparators(m_path), QDir::toNativeSeparators(journal)}),
                RydexError::Kind::Store);
        }
        fail(Msg::StoreNotValid, engineText(q.lastError()));
    }
    QStringList names;
    while (q.next())
        names << q.value(0).toString().toLower();
    return names;
}

void ADOConnection::verifyStore()
{
    // A database of another program is reported, not adopted.
    const QStringList names = columns();
    if (names.isEmpty())
        fail(Msg::StoreNotValid, QStringLiteral("no such table: rydex"));
    const char* needed[] = {"id",          "date",   "user",    "day",       "month", "year",
                            "time",        "dst",    "avs",     "pulse",     "alt",   "odo",
                            "temperature", "druh",   "vlivy",   "obtiznost", "pocit", "typ",
                            "note",        "altmax", "pulsemax"};
    for (const char* c : needed) {
        if (!names.contains(QLatin1String(c)))
            fail(Msg::StoreNotValid, QStringLiteral("no such column: ") + QLatin1String(c));
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
        if (m_depth > 0)
            db.exec(QStringLiteral("ROLLBACK"));
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
    // Unchecked on purpose: it runs while an error is already on its way to
    // the user, and a ROLLBACK that fails leaves nothing of the transaction
    // behind either (SQLite has ended it, or the next BEGIN fails loudly).
    QSqlQuery q(database());
    q.exec(QStringLiteral("ROLLBACK"));
}
