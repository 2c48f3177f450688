#include "store/ADOConnection.h"

#include "polyglot/MessageCatalogue.h"
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
    " pulsemax INTEGER)",
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
        throw RydexError(QStringLiteral("Driver not loaded"), RydexError::Kind::Store);
    const QFileInfo info(m_path);
    const bool existed = info.exists();
    if (existed)
        checkExistingStore();

    QSqlDatabase db = QSqlDatabase::contains(m_connectionName)
                          ? QSqlDatabase::database(m_connectionName, false)
                          : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    db.setDatabaseName(m_path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!existed) {
        if (!QDir().mkpath(info.absolutePath()))
            fail(Msg::StoreCannotCreate, QStringLiteral("unable to open database file"));
        // Made empty and private before the engine fills it, so the rides are
        // never readable by other users, not even for a moment.
        QFile file(m_path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            fail(Msg::StoreCannotCreate, file.errorString());
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        file.close();
    }
    if (!db.open())
        fail(existed ? Msg::StoreNotValid : Msg::StoreCannotCreate, engineText(db.lastError()));
    try {
        if (!existed)
            createStore();
        else
            configure();
    } catch (const RydexError&) {
        if (!existed) {
            db.close();
            QFile::remove(m_path);
        }
        close();
        throw;
    }
}

void ADOConnection::checkExistingStore()
{
    // Everything here only reads: a file that turns out not to be ours must
    // stay exactly as it was.
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        fail(Msg::StoreNotValid, file.errorString());
    const QByteArray header = file.read(16);
    file.close();
    if (header != QByteArray("SQLite format 3\0", 16))
        fail(Msg::StoreNotValid, QStringLiteral("file is not a database"));
    if (!(QFile::permissions(m_path) & QFileDevice::WriteOwner))
        throw RydexError(Msg::format(Msg::StoreReadOnly, {QDir::toNativeSeparators(m_path)}),
                         RydexError::Kind::Store);
}

void ADOConnection::configure()
{
    QSqlDatabase db = database();
    // Check the table before anything is written: a database of another
    // program is reported, not adopted.
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT name FROM pragma_table_info('rydex')")))
        fail(Msg::StoreNotValid, engineText(q.lastError()));
    QStringList columns;
    while (q.next())
        columns << q.value(0).toString().toLower();
    q.finish();
    if (columns.isEmpty())
        fail(Msg::StoreNotValid, QStringLiteral("no such table: rydex"));
    const char* needed[] = {"id",          "date",   "user",    "day",       "month", "year",
                            "time",        "dst",    "avs",     "pulse",     "alt",   "odo",
                            "temperature", "druh",   "vlivy",   "obtiznost", "pocit", "typ",
                            "note",        "altmax", "pulsemax"};
    for (const char* c : needed) {
        if (!columns.contains(QLatin1String(c)))
            fail(Msg::StoreNotValid, QStringLiteral("no such column: ") + QLatin1String(c));
    }
    execText(QStringLiteral("PRAGMA journal_mode=WAL"));
    execText(QStringLiteral("PRAGMA synchronous=FULL"));
    for (int i = 1; i < int(std::size(schema)); ++i)
        execText(QString::fromLatin1(schema[i]));
}

void ADOConnection::createStore()
{
    execText(QStringLiteral("PRAGMA journal_mode=WAL"));
    execText(QStringLiteral("PRAGMA synchronous=FULL"));
    begin();
    try {
        for (const char* statement : schema)
            execText(QString::fromLatin1(statement));
        execText(QStringLiteral("PRAGMA user_version=%1").arg(schemaVersion));
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
        if (m_depth > 0)
            db.exec(QStringLiteral("ROLLBACK"));
        db.close();
    }
    m_depth = 0;
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
    QSqlQuery q(database());
    q.exec(QStringLiteral("ROLLBACK"));
}
