#pragma once

#include <QHash>
#include <QObject>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QString>
#include <functional>
#include <future>
#include <memory>

#include "store/StoreLocation.h"

class RideRepository;
class StoreEngine;

class QSqlError;
class QSqlQuery;

// The connection to the ride store: the file "Rydex.dat", or a club's
// database on a PostgreSQL server. Opening a missing file
// creates the store with its table, whole or not at all; a file that exists
// but is no valid store, has damaged pages or comes from a newer version of
// the program is reported and never written to. A store of an earlier
// version is brought up to date once it is accepted. A leftover log the
// engine cannot replay whole is kept aside with the store before opening.
class ADOConnection : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool Connected READ isOpen)

public:
    static constexpr int schemaVersion = 2;

    ADOConnection(const QString& filePath, QObject* parent = nullptr);
    ADOConnection(const StoreLocation& location, QObject* parent = nullptr);
    ~ADOConnection() override;

    QString filePath() const { return m_path; }
    void setFilePath(const QString& path);
    const StoreLocation& location() const { return m_location; }
    // Closes the store and points the connection at another one.
    void setLocation(const StoreLocation& location);
    // The password a server asked for, as the user typed it: kept in memory
    // only, never written anywhere.
    void setPassword(const QString& password);
    // Asked, with the server's connection text, whether the tables are to
    // be made in an empty database. Without it an empty database is refused.
    void setCreationConsent(std::function<bool(const QString& where)> consent);

    // Throws RydexError (Store) with the engine's text when the file cannot be
    // opened or is not a ride store; (Password) when the server wants a
    // password or refused the one given.
    void open();
    void close();
    bool isOpen() const;
    // Whether the file at filePath() was opened and accepted as a store at
    // least once, open or closed now.
    bool accepted() const { return !m_accepted.isEmpty() && m_accepted == m_path; }

    QSqlDatabase database() const;
    // The engine the store is kept in.
    const StoreEngine& engine() const { return *m_engine; }
    // Every statement on the rides goes through it; one for the connection,
    // so that what it keeps of the store is shared by all who read.
    RideRepository& rides() const { return *m_rides; }

    // Writes are grouped in transactions that hold the store from their
    // first statement (the engine's beginWrite()), so a second copy of
    // the program waits for the first instead of failing half-way.
    // Transactions nest: only the outermost one reaches the engine.
    void begin();
    void commit();
    void rollback();
    bool inTransaction() const { return m_depth > 0; }
    // How many transactions were rolled back: what a caller kept of the
    // store during one may be gone.
    quint64 rollbacks() const { return m_rollbacks; }

    // Prepares a query; throws RydexError with the engine's text on failure.
    void prepare(QSqlQuery& query, const QString& sql);
    // Runs a prepared query; throws RydexError with the engine's text on failure.
    void exec(QSqlQuery& query);
    void execText(const QString& sql);
    // Opens the store again when the server connection went away since the
    // last command; a store that was never opened or was closed stays so.
    void reconnectIfLost();
    // Why the last opening refused a store that answered: it held no tables
    // (and none were made), another program's tables, or a newer schema.
    enum class Refusal { None, Empty, Foreign, Newer };
    Refusal refusal() const { return m_refusal; }
    // Whether the last command found the server connection gone.
    bool lost() const { return m_lost; }

    // Empty when declared (each column's lower-case name and declared type,
    // " PK" added for the row number) is the ride table as the program makes
    // it; otherwise what differs. A store of the first version has no row
    // versions yet: versionOptional accepts that.
    static QString rideColumnsProblem(const QHash<QString, QString>& declared,
                                      bool versionOptional);

    // Whether the store's engine is available to Qt at all: the engine check
    // of start-up.
    static bool engineAvailable();
    static bool engineAvailable(const StoreLocation& location);

    // Waits for the check of the store's pages that opening started; throws
    // RydexError (Store) and closes when they are damaged. Writes wait for it
    // too.
    void requireSoundPages();

    // What the user must know about a store that did open (a copy kept of
    // files the engine could not read whole), once; the texts are removed.
    QStringList takeNotices();

signals:
    // Another computer committed a change to the cyclist's rides.
    void ridesChangedElsewhere(const QString& cyclist);

private:
    void openServer();
    void claimWrite();
    QStringList serverTables();
    QString serverUser() const;
    void createServerStore();
    void listenForChanges();
    void serverNotification(const QString& name, QSqlDriver::NotificationSource source,
                            const QVariant& payload);
    // The error of a statement as the user reads it; a lost connection is
    // closed, to be opened again by the next command.
    [[noreturn]] void failStatement(const QSqlError& error);
    QString engineText(const QSqlError& error) const;
    void createStore();
    void requireWritableFolder() const;
    void checkExistingStore();
    void checkWriteAheadLog();
    void keepBeforeOpening(const QString& log);
    static bool copyPrivately(const QString& from, const QString& to, QString* why);
    void removeInterruptedBuilds() const;
    void startPageCheck();
    // The engine's companion files not beside the store yet.
    QStringList absentCompanions() const;
    void removeLookingTraces(const QStringList& absent) const;
    // The first value a query answers; fails opening when the engine refuses it.
    QVariant firstValue(const QString& sql);
    void checkLength(const QByteArray& header, qint64 size);
    void openDatabase(bool readOnly);
    QStringList columns();
    void verifyStore();
    void configure();
    void upgrade();
    [[noreturn]] void fail(int messageId, const QString& detail);
    [[noreturn]] void failOpening(const QSqlError& error);

    StoreLocation m_location;
    const StoreEngine* m_engine;
    std::unique_ptr<RideRepository> m_rides;
    QString m_path;
    QString m_password;
    std::function<bool(const QString&)> m_consent;
    // The server connection went away; the next command opens it again.
    bool m_lost = false;
    Refusal m_refusal = Refusal::None;
    QString m_connectionName;
    QStringList m_notices;
    // The store whose pages passed the engine's check, the check under way
    // and what it found wrong.
    QString m_pagesChecked;
    QString m_accepted;
    std::future<QString> m_pageCheck;
    QString m_pageFailure;
    int m_depth = 0;
    quint64 m_rollbacks = 0;
    // Declared type of each column read by columns(), " PK" added for the
    // row number.
    QHash<QString, QString> m_types;
};
