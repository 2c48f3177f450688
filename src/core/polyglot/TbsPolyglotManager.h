#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <functional>

class PendingTranslation;
class TbsPolyglotTranslator;

// The component through which the program drives the translation engine. Its
// properties hold nothing of their own: they read and write the engine's one
// state, so every manager sees the same language. It registers with the
// engine when it is made, and translates its windows when the language
// changes.
class TbsPolyglotManager : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString LangsDir READ LangsDir WRITE setLangsDir)
    Q_PROPERTY(QString CurrentLang READ CurrentLang WRITE setCurrentLang)
    Q_PROPERTY(bool TranslateResourceStrings READ TranslateResourceStrings WRITE
                   setTranslateResourceStrings)

public:
    explicit TbsPolyglotManager(const QString& name, QObject* owner = nullptr);
    ~TbsPolyglotManager() override;

    // Reading throws RydexError "Core polyglot is not assigned." when no
    // engine exists; setting the directory or the language throws "Core multi
    // lang is not assigned", setting the routing then does nothing.
    QString LangsDir() const;
    void setLangsDir(const QString& directory);
    QString CurrentLang() const;
    void setCurrentLang(const QString& language);
    bool TranslateResourceStrings() const;
    void setTranslateResourceStrings(bool on);

    // Events with a handler of their own, as the program's components have:
    // a Changing handler may set cancel to keep the current value.
    std::function<void(QObject* sender, const QString& oldLanguage, const QString& newLanguage,
                       bool& cancel)>
        CurrentLangChanging;
    std::function<void(QObject* sender, const QString& oldFolder, const QString& newFolder,
                       bool& cancel)>
        LangsDirChanging;
    std::function<void(QObject* sender)> BeforeAllTranslate;
    std::function<void(QObject* sender)> AfterAllTranslate;

    // Called by a translator's Manager property; a translator registered
    // before another one is translated before it.
    void registerTranslator(TbsPolyglotTranslator* translator,
                            const TbsPolyglotTranslator* before = nullptr);
    void unregisterTranslator(TbsPolyglotTranslator* translator);
    QList<TbsPolyglotTranslator*> translators() const { return m_translators; }

    // Translates the owner of every registered translator, in registration
    // order.
    void translateAll();

    // The place that windows attaching now take instead of the end of the
    // list, if any (see PendingTranslation).
    PendingTranslation* arrivalPlace() const { return m_arrivalPlace; }
    void setArrivalPlace(PendingTranslation* place) { m_arrivalPlace = place; }

private:
    QList<TbsPolyglotTranslator*> m_translators;
    PendingTranslation* m_arrivalPlace = nullptr;
};
