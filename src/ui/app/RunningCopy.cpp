#include "app/RunningCopy.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QTimer>
#include <memory>

namespace {
// A request: this word, then each path, each entry ended by a NUL (no path
// can hold one), and an empty entry at the end. The copy that listens
// answers with one byte once it has taken the files.
constexpr char requestWord[] = "rydex-files-1";
constexpr char taken = '\x06';
// Nobody hands over a megabyte of paths; a peer that tries is cut off.
constexpr qsizetype requestLimit = 1 << 20;
// Connecting to a local socket succeeds or fails at once; the answer comes
// when the other copy's event loop next runs, which a long store write may
// hold up for a while.
constexpr int connectMs = 1000;
constexpr int answerMs = 10000;
// How long two copies started together wait for each other's choice.
constexpr int lockMs = 3000;

// A request read so far: done once its end has come; valid when it was
// ours, and then with the paths it named.
struct Request
{
    bool done = false;
    bool valid = false;
    QStringList files;
};

Request parse(const QByteArray& bytes)
{
    Request r;
    QList<QByteArray> entries;
    qsizetype from = 0;
    while (true) {
        const qsizetype end = bytes.indexOf('\0', from);
        if (end < 0)
            return r;
        const QByteArray entry = bytes.mid(from, end - from);
        from = end + 1;
        if (entry.isEmpty())
            break;
        entries.append(entry);
    }
    r.done = true;
    if (entries.isEmpty() || entries.takeFirst() != requestWord)
        return r;
    for (const QByteArray& entry : std::as_const(entries)) {
        const QString path = QFile::decodeName(entry);
        // Only a path the other copy made absolute means the same file here.
        if (QDir::isAbsolutePath(path))
            r.files.append(QDir::cleanPath(path));
    }
    r.valid = true;
    return r;
}
} // namespace

QString RunningCopy::addressFor(const QString& storePath)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        return {};
    const QByteArray store = QFile::encodeName(QFileInfo(storePath).absoluteFilePath());
    const QByteArray hash = QCryptographicHash::hash(store, QCryptographicHash::Sha256).toHex();
    return QDir(folder).filePath(
        QStringLiteral("rydex-%1.socket").arg(QString::fromLatin1(hash.left(16))));
}

RunningCopy::RunningCopy(QString address, QObject* parent)
    : QObject(parent), m_address(std::move(address))
{
}

RunningCopy::~RunningCopy() = default;

RunningCopy::Start RunningCopy::start(const QStringList& files)
{
    if (m_address.isEmpty())
        return Start::Alone;
    QLocalSocket other;
    {
        // Two copies started at once (several files opened one by one) must
        // not both find nobody and remove each other's socket.
        QLockFile lock(m_address + QStringLiteral(".lock"));
        lock.tryLock(lockMs);
        other.connectToServer(m_address);
        if (!other.waitForConnected(connectMs)) {
            // A copy too busy to accept in time still lives: its socket stays.
            if (other.error() == QLocalSocket::SocketTimeoutError)
                return Start::Beside;
            // Nobody answers: what lies there is what a crashed copy left.
            QLocalServer::removeServer(m_address);
            return listen() ? Start::Listening : Start::Alone;
        }
    }
    if (files.isEmpty())
        return Start::Beside;
    return handOver(other, files) ? Start::HandedOver : Start::Beside;
}

bool RunningCopy::handOver(QLocalSocket& socket, const QStringList& files)
{
    QByteArray request(requestWord, sizeof requestWord);
    for (const QString& file : files) {
        request += QFile::encodeName(file);
        request += '\0';
    }
    request += '\0';
    socket.write(request);
    if (!socket.waitForBytesWritten(answerMs))
        return false;
    while (socket.bytesAvailable() < 1) {
        if (!socket.waitForReadyRead(answerMs))
            return false;
    }
    char answer = 0;
    return socket.getChar(&answer) && answer == taken;
}

bool RunningCopy::listen()
{
    auto server = std::make_unique<QLocalServer>();
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(m_address))
        return false;
    m_server = std::move(server);
    connect(m_server.get(), &QLocalServer::newConnection, this, &RunningCopy::acceptConnections);
    return true;
}

void RunningCopy::acceptConnections()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection())
        serve(socket);
}

void RunningCopy::serve(QLocalSocket* socket)
{
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    // A peer that neither finishes nor leaves is not waited for forever.
    QTimer::singleShot(answerMs, socket, &QLocalSocket::abort);
    auto received = std::make_shared<QByteArray>();
    connect(socket, &QLocalSocket::readyRead, socket, [this, socket, received] {
        *received += socket->readAll();
        const Request request = parse(*received);
        if (!request.done) {
            if (received->size() > requestLimit)
                socket->abort();
            return;
        }
        received->clear();
        if (!request.valid) {
            socket->abort();
            return;
        }
        // Taken means queued: the other copy may end, the files are ours.
        if (!request.files.isEmpty())
            emit filesArrived(request.files);
        socket->putChar(taken);
        socket->flush();
        socket->disconnectFromServer();
    });
}
