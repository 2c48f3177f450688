#include "base/PrivateFolder.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {
QString systemError(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}
} // namespace

std::optional<QString> PrivateFolder::create(const QString& dirPath)
{
    QStringList missing;
    QString p = QDir::cleanPath(dirPath);
    while (!QFileInfo::exists(p)) {
        missing.prepend(p);
        const QString parent = QFileInfo(p).path();
        if (parent == p)
            return systemError(ENOENT);
        p = parent;
    }
    const QFileInfo existing(p);
    if (!existing.isDir())
        return systemError(ENOTDIR);
    if (!missing.isEmpty() && !writable(existing))
        return systemError(EACCES);
    for (const QString& dir : missing) {
        errno = 0;
        if (!QDir().mkdir(dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                   QFileDevice::ExeOwner) &&
            !QFileInfo(dir).isDir())
            return systemError(errno != 0 ? errno : EACCES);
    }
    return std::nullopt;
}

bool PrivateFolder::writable(const QFileInfo& info)
{
    return info.isWritable() && info.permissions().testFlag(QFileDevice::WriteOwner);
}

void PrivateFolder::sync(const QString& dirPath)
{
    const int fd =
        ::open(QFile::encodeName(dirPath).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}
