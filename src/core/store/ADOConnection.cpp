#include "store/ADOConnection.h"

#include "base/MessageCatalogue.h"
#include "base/PrivateFolder.h"
#include "base/RydexError.h"
#include "store/NewStore.h"
#include "store/PostgresEngine.h"
#include "store/RideRepository.h"
#include "store/StoreEngine.h"
#include "store/WriteAheadLog.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {
const StoreEngine& standardEngine()
{
    return StoreEngine::standard();
}

QString fileEngineText(const QSqlError& error)
{
    return standardEngine().errorText(error);
}

// The engine's check of every page, on a read-only connection of its own
// (it runs on a thread of its own): empty, or what is wrong.
QString pageProblem(const QString& path)
{
    const QString name =
        QStringLiteral("rydex-check-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    QString result;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(standardEngine().driverName(), name);
        db.setDatabaseName(path);
        db.setConnectOptions(standardEngine().connectOptions(true));
        if (db.open()) {
            result = standardEngine().integrityProblem(db);
            db.close();
        } else {
            result = fileEngineText(db.lastError());
        }
    }
    QSqlDatabase::removeDatabase(name);
    return result;
}

quint32 bigEndian32(const uchar* p)
{
    return quint32(p[0]) << 24 | quint32(p[1]) << 16 | quint32(p[2]) << 8 | quint32(p[3]);
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
    : ADOConnection(StoreLocation::file(filePath), parent)
{
}

ADOConnection::ADOConnection(const StoreLocation& location, QObject* parent)
    : QObject(parent), m_location(location), m_engine(&StoreEngine::forLocation(location)),
      m_rides(std::make_unique<RideRepository>(*this)), m_path(location.filePath()),
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
    setLocation(StoreLocation::file(path));
}

void ADOConnection::setLocation(const StoreLocation& location)
{
    close();
    const StoreEngine* engine = &StoreEngine::forLocation(location);
    if (engine != m_engine && QSqlDatabase::contains(m_connectionName))
        QSqlDatabase::removeDatabase(m_connectionName);
    m_engine = engine;
    m_location = location;
    m_path = location.filePath();
    m_password.clear();
    m_lost = false;
}

void ADOConnection::setPassword(const QString& password)
{
    m_password = password;
}

void ADOConnection::setCreationConsent(std::function<bool(const QString&)> consent)
{
    m_consent = std::move(consent);
}

bool ADOConnection::engineAvailable()
{
    return standardEngine().present();
}

bool ADOConnection::engineAvailable(const StoreLocation& location)
{
    return StoreEngine::forLocation(location).present();
}

QString ADOConnection::engineText(const QSqlError& error) const
{
    return engine().errorText(error);
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
    throw RydexError(Msg::format(messageId, {m_location.shown(), detail}), RydexError::Kind::Store);
}

void ADOConnection::failOpening(const QSqlError& error)
{
    // A store another program holds is no damaged store.
    if (engine().busy(error)) {
        close();
        throw RydexError(engineText(error), RydexError::Kind::Store);
    }
    fail(Msg::StoreNotValid, engineText(error));
}

void ADOConnection::open()
{
    if (isOpen())
        return;
    m_refusal = Refusal::None;
    if (m_location.isServer()) {
        openServer();
        return;
    }
    if (!engineAvailable())
        throw RydexError(Msg::text(Msg::StoreDriverMissing), RydexError::Kind::Store);
    const QFileInfo info(m_path);
    if (info.isSymLink() && !info.exists())
        fail(Msg::StoreDanglingLink, QDir::toNativeSeparators(info.symLinkTarget()));
    removeInterruptedBuilds();
    if (!info.exists())
        createStore();
    checkExistingStore();
    // A candidate is only looked at until it is accepted: a file that turns
    // out not to be ours must stay exactly as it was, leftover journal and all.
    const QStringList absent = absentCompanions();
    try {
        openDatabase(true);
        verifyStore();
    } catch (const RydexError&) {
        removeLookingTraces(absent);
        throw;
    }
    database().close();
    openDatabase(false);
    try {
        configure();
        upgrade();
    } catch (const RydexError&) {
        close();
        throw;
    }
    m_accepted = m_path;
    startPageCheck();
}

void ADOConnection::openServer()
{
    if (!engine().present())
        throw RydexError(engine().driverMissingText(), RydexError::Kind::Store);
    QSqlDatabase db = QSqlDatabase::contains(m_connectionName)
                          ? QSqlDatabase::database(m_connectionName, false)
                          : QSqlDatabase::addDatabase(engine().driverName(), m_connectionName);
    engine().prepareConnection(db, m_location, m_password, false);
    if (!db.open()) {
        const QSqlError error = db.lastError();
        db.close();
        switch (engine().passwordFault(error)) {
        case StoreEngine::PasswordFault::Needed:
            throw RydexError(
                Msg::format(Msg::ServerPasswordNeeded, {m_location.shown(), serverUser()}),
                RydexError::Kind::Password);
        case StoreEngine::PasswordFault::Refused:
            throw RydexError(
                Msg::format(Msg::ServerPasswordWrong, {m_location.shown(), serverUser()}),
                RydexError::Kind::Password);
        case StoreEngine::PasswordFault::None:
            break;
        }
        throw RydexError(Msg::format(Msg::ServerUnreachable,
                                     {m_location.shown(), engineText(error).simplified()}),
                         RydexError::Kind::Store);
    }
    try {
        // The time limits come first: nothing below may hang the window.
        configure();
        QStringList tables = serverTables();
        if (tables.isEmpty()) {
            createServerStore();
            tables = serverTables();
        }
        // A database of another program is reported, never changed.
        for (const char* ours : {"rydex", "imports", "rydex_store"}) {
            if (!tables.contains(QLatin1String(ours))) {
                tables.sort();
                m_refusal = Refusal::Foreign;
                fail(Msg::ServerForeign, tables.mid(0, 6).join(QStringLiteral(", ")));
            }
        }
        verifyStore();
        upgrade();
        listenForChanges();
    } catch (const RydexError&) {
        close();
        throw;
    }
    m_lost = false;
    m_accepted = m_path;
}

QStringList ADOConnection::serverTables()
{
    QSqlQuery q(database());
    q.setForwardOnly(true);
    if (!q.exec(engine().tableNames()))
        failStatement(q.lastError());
    QStringList names;
    while (q.next())
        names << q.value(0).toString();
    return names;
}

QString ADOConnection::serverUser() const
{
    static const QRegularExpression user(QStringLiteral("(?:^|\\s)user\\s*=\\s*'?([^'\\s]*)"));
    const QRegularExpressionMatch m = user.match(m_location.connectionText());
    if (m.hasMatch())
        return m.captured(1);
    // libpq's own default: the user named in the environment, or the login.
    const QString fromEnvironment = qEnvironmentVariable("PGUSER");
    return fromEnvironment.isEmpty() ? qEnvironmentVariable("USER") : fromEnvironment;
}

void ADOConnection::createServerStore()
{
    if (!m_consent || !m_consent(m_location.shown())) {
        m_refusal = Refusal::Empty;
        fail(Msg::ServerEmptyRefused, QString());
    }
    try {
        execText(engine().beginWrite());
        for (const QString& statement : engine().creationStatements(schemaVersion))
            execText(statement);
        execText(QStringLiteral("COMMIT"));
    } catch (const RydexError&) {
        QSqlQuery(database()).exec(QStringLiteral("ROLLBACK"));
        // Another member's program made the tables at the same moment:
        // they are opened like any existing store.
        if (!isOpen() || serverTables().isEmpty())
            throw;
    }
}

void ADOConnection::listenForChanges()
{
    const QString channel = engine().changeChannel();
    if (channel.isEmpty())
        return;
    QSqlDriver* driver = database().driver();
    if (!driver->subscribeToNotification(channel))
        failStatement(driver->lastError());
    // The driver lives as long as the connection's name, across openings.
    connect(driver, &QSqlDriver::notification, this, &ADOConnection::serverNotification,
            Qt::UniqueConnection);
}

void ADOConnection::serverNotification(const QString& name, QSqlDriver::NotificationSource source,
                                       const QVariant& payload)
{
    // Our own commits are in the kept sets already.
    if (source == QSqlDriver::SelfSource || name != engine().changeChannel())
        return;
    emit ridesChangedElsewhere(payload.toString());
}

QStringList ADOConnection::absentCompanions() const
{
    const QFileInfo store(m_path);
    const QString base = store.isSymLink() ? store.canonicalFilePath() : m_path;
    QStringList absent;
    for (const QString& suffix : {QStringLiteral("-wal"), QStringLiteral("-shm")}) {
        if (!QFileInfo::exists(base + suffix))
            absent << base + suffix;
    }
    return absent;
}

void ADOConnection::removeLookingTraces(const QStringList& absent) const
{
    // Even a read-only look at a store in log mode makes an empty log and
    // its index beside it; a refused file is left as it was found.
    for (const QString& path : absent) {
        if (path.endsWith(QLatin1String("-wal")) && QFileInfo(path).size() != 0)
            return;
    }
    for (const QString& path : absent)
        QFile::remove(path);
}

QStringList ADOConnection::takeNotices()
{
    return std::exchange(m_notices, {});
}

void ADOConnection::removeInterruptedBuilds() const
{
    // A first start killed while it built the store leaves the file it was
    // building (and the engine's journal or log of it) under a temporary
    // name. The one another copy is building at this moment is locked by
    // it; only what no one builds any more is removed.
    const QFileInfo store(m_path);
    const QString prefix = store.fileName() + QStringLiteral(".new-");
    const QDir folder = store.absoluteDir();
    const QStringList found =
        folder.entryList({prefix + QLatin1Char('*')}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : found) {
        const QString rest = name.mid(prefix.size());
        // The six characters of the temporary name, then nothing or the
        // engine's suffix.
        static const QStringList suffixes = {QString(), QStringLiteral("-journal"),
                                             QStringLiteral("-wal"), QStringLiteral("-shm")};
        const QString suffix = rest.mid(6);
        if (rest.size() < 6 || !suffixes.contains(suffix))
            continue;
        const QString built = folder.filePath(prefix + rest.left(6));
        const QString path = folder.filePath(name);
        const int fd =
            ::open(QFile::encodeName(built).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (fd >= 0) {
            const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
            if (free)
                QFile::remove(path);
            ::close(fd);
        } else if (!suffix.isEmpty()) {
            // What the engine left of a build whose file is gone.
            QFile::remove(path);
        }
    }
}

void ADOConnection::openDatabase(bool readOnly)
{
    QSqlDatabase db = QSqlDatabase::contains(m_connectionName)
                          ? QSqlDatabase::database(m_connectionName, false)
                          : QSqlDatabase::addDatabase(engine().driverName(), m_connectionName);
    engine().prepareConnection(db, m_location, m_password, readOnly);
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
    // When another copy of the program made the store meanwhile, that one is
    // opened like any existing store.
    buildNewStore(m_path, engine().creationStatements(schemaVersion));
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
    const WalScan scan = info.isFile() ? scanWriteAheadLog(log) : WalScan{};
    if (scan.headerValid) {
        if (scan.commitsLost)
            keepBeforeOpening(log);
        return;
    }
    close();
    throw RydexError(Msg::format(Msg::StoreDamagedLog,
                                 {QDir::toNativeSeparators(m_path), QDir::toNativeSeparators(log)}),
                     RydexError::Kind::Store);
}

void ADOConnection::keepBeforeOpening(const QString& log)
{
    // The engine would replay the log only up to the damage, write that into
    // the store and delete the log: the store and the log are kept as they
    // are now, under names the engine pairs again when the copy is opened.
    const QFileInfo store(m_path);
    const QString base = store.isSymLink() ? store.canonicalFilePath() : m_path;
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString copy;
    for (int n = 0;; ++n) {
        copy = base + QStringLiteral(".before-open-") + stamp +
               (n ? QStringLiteral("-%1").arg(n) : QString());
        if (!QFileInfo::exists(copy) && !QFileInfo::exists(copy + QStringLiteral("-wal")))
            break;
    }
    const QString logCopy = copy + QStringLiteral("-wal");
    QString why;
    if (!copyPrivately(base, copy, &why) || !copyPrivately(log, logCopy, &why)) {
        QFile::remove(copy);
        QFile::remove(logCopy);
        // Opened, the store would lose the rides for good: it stays closed.
        close();
        throw RydexError(Msg::format(Msg::StoreDamagedLog, {QDir::toNativeSeparators(m_path),
                                                            QDir::toNativeSeparators(log)}) +
                             QLatin1Char(' ') + why,
                         RydexError::Kind::Store);
    }
    m_notices << Msg::format(Msg::StoreLogNotApplied,
                             {QDir::toNativeSeparators(m_path), QDir::toNativeSeparators(copy),
                              QDir::toNativeSeparators(logCopy)});
}

bool ADOConnection::copyPrivately(const QString& from, const QString& to, QString* why)
{
    QFile source(from);
    QFile target(to);
    if (!source.open(QIODevice::ReadOnly)) {
        *why = source.errorString();
        return false;
    }
    if (!target.open(QIODevice::WriteOnly | QIODevice::NewOnly,
                     QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        *why = target.errorString();
        return false;
    }
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(1 << 20);
        if (chunk.isEmpty() && source.error() != QFileDevice::NoError) {
            *why = source.errorString();
            return false;
        }
        if (target.write(chunk) != chunk.size()) {
            *why = target.errorString();
            return false;
        }
    }
    if (!target.flush() || ::fsync(target.handle()) != 0) {
        *why = target.errorString();
        return false;
    }
    return true;
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
    if (!q.exec(engine().columnsOf(QStringLiteral("rydex")))) {
        const QString journal = m_path + QStringLiteral("-journal");
        if (!m_location.isServer() && QFileInfo::exists(journal)) {
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
    // A later version may keep its rides in a way this one would damage.
    const int stored = firstValue(engine().readSchemaVersion()).toInt();
    if (stored > schemaVersion) {
        m_refusal = Refusal::Newer;
        close();
        throw RydexError(
            Msg::format(Msg::StoreNewerVersion, {m_location.shown(), QString::number(stored),
                                                 QString::number(schemaVersion)}),
            RydexError::Kind::Store);
    }
    const QString problem = rideColumnsProblem(m_types, true);
    if (!problem.isEmpty())
        fail(Msg::StoreNotValid, problem);
}

QString ADOConnection::rideColumnsProblem(const QHash<QString, QString>& declared,
                                          bool versionOptional)
{
    for (const Column& c : columnsNeeded) {
        const QString name = QLatin1String(c.name);
        if (!declared.contains(name)) {
            if (versionOptional && name == QLatin1String("version"))
                continue;
            return QStringLiteral("no such column: ") + name;
        }
        // A column of another type would keep the program's values in
        // another form (a text id is no row number of its own, a real
        // distance is no exact one), and rides saved in it could not be
        // found or read back as they were.
        const QString expected = QLatin1String(c.type) +
                                 (name == QLatin1String("id") ? QStringLiteral(" PK") : QString());
        if (declared.value(name) != expected)
            return QStringLiteral("column %1 is declared \"%2\", not \"%3\"")
                .arg(name, declared.value(name), expected);
    }
    return QString();
}

void ADOConnection::startPageCheck()
{
    // Damaged pages would otherwise be met at the first write, as "database
    // disk image is malformed", with the user's ride in the dialog. The
    // check reads the whole file (a sixth of a second for 200,000 rides), so
    // it runs beside the start, once for each file, and is awaited before
    // the first write or sign-in.
    m_pageFailure.clear();
    // A server checks its own pages.
    if (m_location.isServer() || m_pagesChecked == m_path || m_pageCheck.valid())
        return;
    m_pageCheck = std::async(std::launch::async, pageProblem, m_path);
}

void ADOConnection::requireSoundPages()
{
    if (m_pageCheck.valid()) {
        const QString problem = m_pageCheck.get();
        if (problem.isEmpty())
            m_pagesChecked = m_path;
        else
            m_pageFailure = problem;
    }
    if (!m_pageFailure.isEmpty())
        fail(Msg::StoreDamagedPages, m_pageFailure);
}

QVariant ADOConnection::firstValue(const QString& sql)
{
    QSqlQuery q(database());
    if (!q.exec(sql) || !q.next()) {
        const QSqlError error = q.lastError();
        q.finish();
        failOpening(error);
    }
    return q.value(0);
}

void ADOConnection::configure()
{
    for (const QString& statement : engine().sessionStatements())
        execText(statement);
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
            execText(engine().addVersionColumn());
            if (firstValue(engine().readSchemaVersion()).toInt() < schemaVersion)
                execText(engine().writeSchemaVersion(schemaVersion));
        }
        commit();
    } catch (...) {
        rollback();
        throw;
    }
}

void ADOConnection::close()
{
    // What was kept and prepared belongs to this connection to this file.
    m_rides->release();
    // The check of the pages reads the file on a connection of its own: once
    // closed, nothing of ours may still have the store open (a restore
    // replaces the file next). Its finding is kept for the next opening.
    if (m_pageCheck.valid())
        m_pageCheck.wait();
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
        failStatement(query.lastError());
}

void ADOConnection::exec(QSqlQuery& query)
{
    if (!query.exec())
        failStatement(query.lastError());
}

void ADOConnection::execText(const QString& sql)
{
    QSqlQuery q(database());
    if (!q.exec(sql))
        failStatement(q.lastError());
}

void ADOConnection::failStatement(const QSqlError& error)
{
    // The driver closes itself when it finds the server gone.
    const bool driverClosed = m_location.isServer() && !database().isOpen();
    if (driverClosed || engine().connectionLost(error)) {
        // Whatever the transaction wrote is gone with the connection: the
        // server rolls back what did not commit.
        close();
        m_lost = true;
        // libpq writes its reasons over several indented lines; a message box
        // shows them as one sentence.
        const QString why = engineText(error).simplified();
        throw RydexError(
            Msg::format(Msg::ServerConnectionLost,
                        {m_location.shown(), why.isEmpty() ? QStringLiteral("-") : why}),
            RydexError::Kind::Store);
    }
    if (engine().timedOut(error))
        throw RydexError(Msg::format(Msg::ServerTimedOut,
                                     {m_location.shown(),
                                      QString::number(PostgresEngine::statementTimeoutMs / 1000)}),
                         RydexError::Kind::Store);
    throw RydexError(engineText(error), RydexError::Kind::Store);
}

void ADOConnection::reconnectIfLost()
{
    if (m_lost && !isOpen())
        open();
}

void ADOConnection::begin()
{
    reconnectIfLost();
    if (!isOpen())
        throw RydexError(Msg::text(Msg::StoreClosed), RydexError::Kind::Store);
    if (m_depth == 0) {
        requireSoundPages();
        try {
            execText(engine().beginWrite());
        } catch (const RydexError&) {
            // A server restarted while the program stood idle is met here
            // first; nothing is written yet, so connecting again is safe.
            if (!m_lost)
                throw;
            reconnectIfLost();
            execText(engine().beginWrite());
        }
        claimWrite();
    }
    ++m_depth;
}

void ADOConnection::claimWrite()
{
    const QString claim = engine().claimWrite();
    if (claim.isEmpty())
        return;
    QSqlQuery q(database());
    if (!q.exec(claim) || !q.next()) {
        const QSqlError error = q.lastError();
        q.finish();
        rollback();
        failStatement(error);
    }
    // Holding the claim, nobody else moves the counter: what was kept at
    // the value before ours still stands for the store.
    const qint64 now = q.value(0).toLongLong();
    q.finish();
    m_rides->writeClaimed(now - 1, now);
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
    // behind either (the engine has ended it, or the next begin fails loudly).
    QSqlQuery q(database());
    q.exec(QStringLiteral("ROLLBACK"));
}
