#include "base/AppIdentity.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

void AppIdentity::apply()
{
    QCoreApplication::setOrganizationName(QString::fromLatin1(organization));
    QCoreApplication::setApplicationName(QString::fromLatin1(application));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(version));
}

QString AppIdentity::storePath()
{
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return QDir(dir).filePath(QStringLiteral("Rydex.dat"));
}

QString AppIdentity::preferencePath()
{
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(dir).filePath(QStringLiteral("Brontel/Rydex 2005.conf"));
}
