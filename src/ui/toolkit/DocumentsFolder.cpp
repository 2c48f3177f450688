#include "toolkit/DocumentsFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString documentsFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return documents;
    return QDir::homePath();
}
