#pragma once

#include "polyglot/TbsINIFile.h"

#include <QList>
#include <QObject>
#include <QRecursiveMutex>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class TbsPolyglotManager;
class THook;

// The translation engine: the language directory and its languages, the
// current language and its open file, the registered managers, and the
// routing of the message catalogue through the file. Exactly one exists while
// the program runs; GetCorePolyglot() returns it.
//
// Two re-entrant locks guard it, so that a message text asked for while a
// window is being translated, or a property that changes the language when
// set, enters it again without blocking: the language lock over the language
// state and each translation of one window, the manager lock over the
// managers and the translation of all windows. The engine takes the manager
// lock first and the language lock inside it, never the other way round.
class TbsCorePolyglot
{
public:
    // Throws RydexError when an engine exists already. Starts in the
    // directory "Language" below the working directory, with "English" as the
    // language if its file is there, and the routing on.
    TbsCorePolyglot();
    ~TbsCorePolyglot();
    TbsCorePolyglot(const TbsCorePolyglot&) = delete;
    TbsCorePolyglot& operator=(const TbsCorePolyglot&) = delete;

    static TbsCorePolyglot* instance();

    // The directory ends with "/" unless it is empty (the working directory).
    // A change rebuilds the language list and chooses the previous language
    // again by name, or the first one listed.
    void setLangsDir(const QString& directory);
    QString langsDir() const;

    // A listed name (without regard to case) or the empty text becomes
    // current when it differs from the current one, letter case included; its
    // file is opened and every registered manager translates its windows.
    // Any other name is ignored. Throws RydexError "Cannot open file..." when
    // the file is there but cannot be read (the name is current then, with no
    // file open), and the error of a translation that stopped.
    void setCurrentLang(const QString& language);
    QString currentLang() const;

    int languageCount() const;
    QString language(int index) const;
    QStringList languages() const;
    // The path of the open file, empty when none is open.
    QString openFilePath() const;

    // Applies the section of the component's class to it, entry after entry
    // in file order. Throws RydexError "Invalid property element: %s" and
    // stops at such an entry.
    void translateComponent(QObject* component);
    // The same from a file that may no longer be open: a window made later
    // than its turn is given the translations it would have had.
    void translateComponent(QObject* component, const std::shared_ptr<const TbsINIFile>& file);
    // The open file, kept readable for as long as the caller holds it.
    std::shared_ptr<const TbsINIFile> openFile() const;

    // The text the open file gives the message number, when routing is on
    // and a key of its ResourceStrings section names it.
    std::optional<QString> resourceString(int id) const;

    // Message texts from a language of the directory before it is current:
    // the language if the directory holds it, else the first one listed, as
    // the language that start-up will make current. The problems met while
    // the windows are made then read in the user's language, while the
    // windows themselves are translated in their own order. An unreadable
    // file gives the program's own texts. Until endMessageLanguage().
    void setMessageLanguage(const QString& directory, const QString& language);
    void endMessageLanguage();

    void registerManager(TbsPolyglotManager* manager);
    void unregisterManager(TbsPolyglotManager* manager);
    QList<TbsPolyglotManager*> managers() const;

    // What went wrong when the engine was created, for the program to show.
    QString creationError() const { return m_creationError; }

    bool routing() const;
    void setRouting(bool on);

private:
    void rebuildLanguageList();
    void chooseDefaultLanguage(const QString& name);
    // Releases the open file and opens the current language's; a release
    // that could not write back is reported by the returned error text.
    QString openLanguageFile();
    // Stops early when the file stops being the open one while it is
    // applied, if it was the open one (a property that changed the
    // language).
    void applyFile(QObject* component, const std::shared_ptr<const TbsINIFile>& file);
    bool isListed(const QString& language) const;

    mutable QRecursiveMutex m_languageLock;
    mutable QRecursiveMutex m_managerLock;
    QString m_directory;
    QStringList m_languages;
    QString m_current;
    std::shared_ptr<TbsINIFile> m_file;
    QList<TbsPolyglotManager*> m_managers;
    std::unique_ptr<THook> m_hook;
    std::unique_ptr<TbsINIFile> m_messageFile;
    static constexpr int maxChangeDepth = 4;
    int m_changeDepth = 0;
    QString m_creationError;
};

// The engine, or null before it is created and after it is destroyed.
TbsCorePolyglot* GetCorePolyglot();
