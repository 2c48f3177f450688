#include "polyglot/TbsPolyglotTranslator.h"

#include "polyglot/PendingTranslation.h"
#include "polyglot/TbsCorePolyglot.h"
#include "polyglot/TbsPolyglotManager.h"

QString TbsPolyglotTranslator::componentName()
{
    return QStringLiteral("bsPolyglotTranslator");
}

TbsPolyglotTranslator* TbsPolyglotTranslator::attach(QObject* window)
{
    auto* translator = new TbsPolyglotTranslator(window);
    TbsCorePolyglot* engine = GetCorePolyglot();
    if (!engine)
        return translator;
    // The manager of the window that owns this one (the main window's
    // LanguageManager), else the first the engine knows.
    TbsPolyglotManager* manager = nullptr;
    for (QObject* owner = window; owner && !manager; owner = owner->parent())
        manager = owner->findChild<TbsPolyglotManager*>(QString(), Qt::FindDirectChildrenOnly);
    const QList<TbsPolyglotManager*> managers = engine->managers();
    if (!manager || !managers.contains(manager))
        manager = managers.isEmpty() ? nullptr : managers.first();
    // A window made later than its turn is translated as it would have
    // been in its turn.
    if (PendingTranslation* place = manager ? manager->arrivalPlace() : nullptr) {
        place->admit(translator);
        return translator;
    }
    translator->setManager(manager);
    translator->translate();
    return translator;
}

TbsPolyglotTranslator::TbsPolyglotTranslator(QObject* owner) : QObject(owner)
{
    setObjectName(componentName());
}

TbsPolyglotTranslator::~TbsPolyglotTranslator()
{
    setManager(nullptr);
}

void TbsPolyglotTranslator::setManager(TbsPolyglotManager* manager)
{
    if (manager == m_manager)
        return;
    if (m_manager)
        m_manager->unregisterTranslator(this);
    m_manager = manager;
    if (m_manager)
        m_manager->registerTranslator(this);
}

void TbsPolyglotTranslator::translate()
{
    if (BeforeTranslate)
        BeforeTranslate(this);
    if (parent() && m_manager) {
        if (TbsCorePolyglot* engine = GetCorePolyglot())
            engine->translateComponent(parent());
    }
    if (AfterTranslate)
        AfterTranslate(this);
}
