#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

class TbsPolyglotManager;

// The component each translated window carries, always under the name
// "bsPolyglotTranslator": bound to a manager, it has its window translated at
// creation and at every change of language. A window takes part with one line:
//
//     TbsPolyglotTranslator::attach(this);
class TbsPolyglotTranslator : public QObject
{
    Q_OBJECT
    Q_PROPERTY(TbsPolyglotManager* Manager READ Manager WRITE setManager)

public:
    static QString componentName();

    // A translator on the window, bound to the manager of the window or of
    // its owners (the main window's), else to the first one the engine
    // knows; it translates the window at once from the
    // open language file. Without an engine or a manager the window keeps
    // its texts. Throws what the translation throws.
    static TbsPolyglotTranslator* attach(QObject* window);

    explicit TbsPolyglotTranslator(QObject* owner);
    ~TbsPolyglotTranslator() override;

    TbsPolyglotManager* Manager() const { return m_manager; }
    // Unregisters from the old manager and registers with the new one.
    void setManager(TbsPolyglotManager* manager);

    std::function<void(QObject* sender)> BeforeTranslate;
    std::function<void(QObject* sender)> AfterTranslate;

    // Translates the owner through the engine.
    virtual void translate();

private:
    TbsPolyglotManager* m_manager = nullptr;
};
