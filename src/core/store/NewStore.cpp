#include "store/NewStore.h"

#include "base/MessageCatalogue.h"
#include "base/PrivateFolder.h"
#include "base/RydexError.h"
#include "store/StoreEngine.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryFile>
#include <QUuid>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {
[[noreturn]] void cannotCreate(const QString& path, const QString& why)
{
    throw RydexError(Msg::format(Msg::StoreCannotCreate, {QDir::toNativeSeparators(path), why}),
                     RydexError::Kind::Store);
}

QString engineText(const QSqlError& error)
{
    return error.databaseText().isEmpty() ? error.text() : error.databaseText();
}

// Empty when the statements went through, else the engine's text.
QString build(const QString& file, const QStringList& statements)
{
    const QString name = QStringLiteral("rydex-new-") + QUuid::createUuid().toString();
    QString failure;
    {
        const StoreEngine& engine = StoreEngine::standard();
        QSqlDatabase db = QSqlDatabase::addDatabase(engine.driverName(), name);
        db.setDatabaseName(file);
        if (!db.open()) {
            failure = engineText(db.lastError());
        } else {
            QSqlQuery q(db);
            // What the engine keeps in the file is set first: the first
            // opening after the rename writes nothing, so a crash at that
            // moment cannot leave a journal that later starts refuse.
            QStringList all = engine.fileStatements();
            all << engine.beginWrite() << statements << QStringLiteral("COMMIT");
            for (const QString& statement : std::as_const(all)) {
                if (!q.exec(statement)) {
                    failure = engineText(q.lastError());
                    break;
                }
            }
            q.finish();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return failure;
}

// Puts from at to unless something is there already: errno EEXIST then.
bool moveIntoPlace(const QByteArray& from, const QByteArray& to)
{
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system without the no-replace rename: a hard link cannot
    // replace anything either.
    if (::link(from.constData(), to.constData()) != 0)
        return false;
    ::unlink(from.constData());
    return true;
}

} // namespace

bool buildNewStore(const QString& path, const QStringList& statements)
{
    const QFileInfo target(path);
    // Private from the first moment: made 0600 before the engine fills it.
    QTemporaryFile temp(target.absoluteFilePath() + QStringLiteral(".new-XXXXXX"));
    if (!temp.open())
        cannotCreate(path, temp.errorString());
    // Held while the store is built, so that a start of another copy meanwhile
    // does not take the file for the leftover of an interrupted one.
    ::flock(temp.handle(), LOCK_EX);
    const QString built = temp.fileName();
    const QString failure = build(built, statements);
    QFile::remove(built + QStringLiteral("-journal"));
    if (!failure.isEmpty())
        cannotCreate(path, failure);
    if (!moveIntoPlace(QFile::encodeName(built), QFile::encodeName(target.absoluteFilePath()))) {
        if (errno == EEXIST)
            return false;
        cannotCreate(path, QString::fromLocal8Bit(std::strerror(errno)));
    }
    temp.setAutoRemove(false);
    PrivateFolder::sync(target.absolutePath());
    return true;
}
