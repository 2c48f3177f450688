#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>

class QLocalServer;
class QLocalSocket;

// The copy of the program that takes the ride files later copies are
// started with, so that a file opened from the desktop comes up in the
// window the cyclist already has. One copy per user and store listens on a
// local socket; a copy started with files hands them to it and ends. Copies
// started without files run beside it as before: the store is shared safely.
class RunningCopy : public QObject
{
    Q_OBJECT

public:
    // The socket for a store: in the user's own runtime folder, which nobody
    // else may enter, named after the store's path, so that copies working
    // on other stores keep apart. Empty when the user has no runtime folder.
    static QString addressFor(const QString& storePath);

    explicit RunningCopy(QString address, QObject* parent = nullptr);
    ~RunningCopy() override;

    enum class Start {
        // This copy takes the files of the copies started later.
        Listening,
        // The files went to the copy that listens; this copy is to end.
        HandedOver,
        // Another copy listens (or did not take the files); this one runs
        // beside it, opening its own files itself.
        Beside,
        // Nobody can listen here (no socket could be made); this one runs.
        Alone,
    };
    // With files, hands them to the copy that listens, when there is one;
    // otherwise (and without files) this copy listens, unless another one
    // does. A socket a crashed copy left behind is removed first.
    Start start(const QStringList& files);

    QString address() const { return m_address; }

signals:
    // Absolute paths a later copy handed over, in the order it named them.
    void filesArrived(const QStringList& files);

private:
    bool handOver(QLocalSocket& socket, const QStringList& files);
    bool listen();
    void acceptConnections();
    void serve(QLocalSocket* socket);

    QString m_address;
    std::unique_ptr<QLocalServer> m_server;
};
