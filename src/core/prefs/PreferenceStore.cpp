#include "prefs/PreferenceStore.h"

#include "base/AppIdentity.h"
#include "prefs/PreferenceFile.h"

PreferenceStore::PreferenceStore(QString filePath)
    : m_file(std::make_shared<PreferenceFile>(std::move(filePath)))
{
}

QString PreferenceStore::filePath() const
{
    return m_file->path();
}

std::optional<QString> PreferenceStore::check()
{
    return m_file->check();
}

PreferenceKey PreferenceStore::openKey(const QString& path, bool create)
{
    PreferenceKey key(m_file, path.split(QLatin1Char('\\'), Qt::SkipEmptyParts));
    // A key that cannot be opened is no error by itself: reads from it give
    // their defaults, and the first write says what stood in the way.
    if (create)
        key.tryCreate();
    return key;
}

QString PreferenceStore::programKeyPath()
{
    return QStringLiteral("software\\") + QString::fromLatin1(AppIdentity::organization) +
           QLatin1Char('\\') + QString::fromLatin1(AppIdentity::application);
}

QString PreferenceStore::cyclistsKeyPath()
{
    return programKeyPath() + QStringLiteral("\\users");
}
