#include "polyglot/TbsCorePolyglot.h"

#include "base/MessageCatalogue.h"
#include "base/RydexError.h"
#include "polyglot/LanguageDirectory.h"
#include "polyglot/PropertyPath.h"
#include "polyglot/ResourceStringSection.h"
#include "polyglot/RuntimeNaming.h"
#include "polyglot/THook.h"
#include "polyglot/TbsPolyglotManager.h"

#include <QMutexLocker>

namespace {
TbsCorePolyglot* s_engine = nullptr;
}

TbsCorePolyglot* GetCorePolyglot()
{
    return s_engine;
}

TbsCorePolyglot* TbsCorePolyglot::instance()
{
    return s_engine;
}

TbsCorePolyglot::TbsCorePolyglot()
{
    if (s_engine)
        throw RydexError(Msg::text(Msg::PolyglotSingleInstance));
    s_engine = this;
    // A file of the starting directory that cannot be read leaves that
    // language current with no file open; the program shows the error once
    // its windows exist.
    try {
        setLangsDir(LanguageDirectory::initial());
        chooseDefaultLanguage(QStringLiteral("English"));
    } catch (const RydexError& e) {
        m_creationError = e.text();
    }
    m_hook = std::make_unique<THook>();
    m_hook->setOn(true);
}

TbsCorePolyglot::~TbsCorePolyglot()
{
    // Routing ends first, so that no message text asks a half-destroyed
    // engine.
    m_hook.reset();
    if (m_file) {
        try {
            m_file->release();
        } catch (const RydexError&) {
            // At program end there is nobody left to tell.
        }
    }
    if (s_engine == this)
        s_engine = nullptr;
}

void TbsCorePolyglot::setLangsDir(const QString& directory)
{
    QString previous;
    bool changed = false;
    {
        QMutexLocker lock(&m_languageLock);
        previous = m_current;
        if (directory.isEmpty()) {
            m_directory.clear();
            rebuildLanguageList();
            changed = true;
        } else {
            const QString withSlash =
                directory.endsWith(u'/') ? directory : directory + QLatin1Char('/');
            if (withSlash.compare(m_directory, Qt::CaseInsensitive) != 0) {
                m_directory = withSlash;
                rebuildLanguageList();
                changed = true;
            }
        }
    }
    if (!changed)
        return;
    chooseDefaultLanguage(previous);
    // A directory without languages leaves none current; its file would
    // otherwise stay open and translate the windows made afterwards.
    QString releaseError;
    {
        QMutexLocker lock(&m_languageLock);
        if (m_current.isEmpty() && m_file)
            releaseError = openLanguageFile();
    }
    if (!releaseError.isEmpty())
        throw RydexError(releaseError);
}

QString TbsCorePolyglot::langsDir() const
{
    QMutexLocker lock(&m_languageLock);
    return m_directory;
}

void TbsCorePolyglot::rebuildLanguageList()
{
    // The open file stays open; only the name of the current language goes.
    m_current.clear();
    m_languages = LanguageDirectory::languages(m_directory);
}

void TbsCorePolyglot::chooseDefaultLanguage(const QString& name)
{
    setCurrentLang(name);
    bool fallBack = false;
    QString first;
    {
        QMutexLocker lock(&m_languageLock);
        fallBack = m_current.isEmpty() && !m_languages.isEmpty();
        if (fallBack)
            first = m_languages.first();
    }
    if (fallBack)
        setCurrentLang(first);
}

bool TbsCorePolyglot::isListed(const QString& language) const
{
    return m_languages.contains(language, Qt::CaseInsensitive);
}

void TbsCorePolyglot::setCurrentLang(const QString& language)
{
    // A language file may set the language itself (through the manager's
    // property); two files that name each other would change it back and
    // forth for ever. A few nested changes are honoured, deeper ones ignored.
    if (m_changeDepth >= maxChangeDepth)
        return;
    struct Depth
    {
        int& depth;
        explicit Depth(int& d) : depth(d) { ++depth; }
        ~Depth() { --depth; }
    } nested(m_changeDepth);
    bool changed = false;
    QString releaseError;
    {
        QMutexLocker lock(&m_languageLock);
        if (language != m_current && (language.isEmpty() || isListed(language))) {
            m_current = language;
            changed = true;
            releaseError = openLanguageFile(); // throws when the new file is unreadable
        }
    }
    {
        QMutexLocker lock(&m_managerLock);
        if (changed) {
            // A manager may go while the windows are translated (a window
            // that closes itself); translate the ones still registered.
            const QList<TbsPolyglotManager*> managers = m_managers;
            for (TbsPolyglotManager* manager : managers) {
                if (m_managers.contains(manager))
                    manager->translateAll();
            }
        }
    }
    if (!releaseError.isEmpty())
        throw RydexError(releaseError);
}

QString TbsCorePolyglot::openLanguageFile()
{
    QString releaseError;
    if (m_file) {
        // Releasing writes back a file that was deleted while it was open;
        // when that fails the user hears of it, but the change goes on.
        try {
            m_file->release();
        } catch (const RydexError& e) {
            releaseError = e.text();
        }
        m_file.reset();
    }
    if (m_current.isEmpty())
        return releaseError;
    const std::optional<QString> path = LanguageDirectory::languageFile(m_directory, m_current);
    if (path)
        m_file = std::make_shared<TbsINIFile>(*path);
    return releaseError;
}

QString TbsCorePolyglot::currentLang() const
{
    QMutexLocker lock(&m_languageLock);
    return m_current;
}

int TbsCorePolyglot::languageCount() const
{
    QMutexLocker lock(&m_languageLock);
    return int(m_languages.size());
}

QString TbsCorePolyglot::language(int index) const
{
    QMutexLocker lock(&m_languageLock);
    return index >= 0 && index < m_languages.size() ? m_languages.at(index) : QString();
}

QStringList TbsCorePolyglot::languages() const
{
    QMutexLocker lock(&m_languageLock);
    return m_languages;
}

QString TbsCorePolyglot::openFilePath() const
{
    QMutexLocker lock(&m_languageLock);
    return m_file ? m_file->path() : QString();
}

void TbsCorePolyglot::translateComponent(QObject* component)
{
    QMutexLocker lock(&m_languageLock);
    applyFile(component, m_file);
}

void TbsCorePolyglot::translateComponent(QObject* component,
                                         const std::shared_ptr<const TbsINIFile>& file)
{
    QMutexLocker lock(&m_languageLock);
    applyFile(component, file);
}

std::shared_ptr<const TbsINIFile> TbsCorePolyglot::openFile() const
{
    QMutexLocker lock(&m_languageLock);
    return m_file;
}

void TbsCorePolyglot::applyFile(QObject* component, const std::shared_ptr<const TbsINIFile>& file)
{
    if (!file || !component)
        return;
    const bool wasOpen = file == m_file;
    const QString section = QString::fromLatin1(component->metaObject()->className());
    PropertyPath::ValueContext context;
    context.codePage = file->codePage();
    // Every occurrence of a key is applied, each time with its last value.
    const QStringList keys = file->keys(section);
    if (keys.isEmpty())
        return;
    const RuntimeNaming::ComponentIndex index(component);
    for (const QString& key : keys) {
        PropertyPath::apply(component, key, file->readString(section, key, QString()), context,
                            &index);
        if (wasOpen && file != m_file)
            return; // a property that changed the language closed the file
    }
}

std::optional<QString> TbsCorePolyglot::resourceString(int id) const
{
    QMutexLocker lock(&m_languageLock);
    const TbsINIFile* file = m_messageFile ? m_messageFile.get() : m_file.get();
    if (!file || !routing())
        return std::nullopt;
    return ResourceStrings::find(*file, id);
}

void TbsCorePolyglot::setMessageLanguage(const QString& directory, const QString& language)
{
    const QStringList listed = LanguageDirectory::languages(directory);
    QString chosen = language;
    if (!listed.contains(language, Qt::CaseInsensitive))
        chosen = listed.value(0);
    std::unique_ptr<TbsINIFile> file;
    if (const std::optional<QString> path = LanguageDirectory::languageFile(directory, chosen)) {
        try {
            file = std::make_unique<TbsINIFile>(TbsINIFile::snapshot(*path));
        } catch (const RydexError&) {
            // Making the language current reports it; until then the
            // program's own texts stand.
        }
    }
    QMutexLocker lock(&m_languageLock);
    m_messageFile = std::move(file);
}

void TbsCorePolyglot::endMessageLanguage()
{
    QMutexLocker lock(&m_languageLock);
    m_messageFile.reset();
}

void TbsCorePolyglot::registerManager(TbsPolyglotManager* manager)
{
    QMutexLocker lock(&m_managerLock);
    if (manager && !m_managers.contains(manager))
        m_managers.append(manager);
}

void TbsCorePolyglot::unregisterManager(TbsPolyglotManager* manager)
{
    QMutexLocker lock(&m_managerLock);
    m_managers.removeAll(manager);
}

QList<TbsPolyglotManager*> TbsCorePolyglot::managers() const
{
    QMutexLocker lock(&m_managerLock);
    return m_managers;
}

bool TbsCorePolyglot::routing() const
{
    return m_hook && m_hook->isOn();
}

void TbsCorePolyglot::setRouting(bool on)
{
    if (m_hook)
        m_hook->setOn(on);
}
