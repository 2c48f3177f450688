#include "polyglot/TbsPolyglotManager.h"

#include "base/MessageCatalogue.h"
#include "base/RydexError.h"
#include "polyglot/TbsCorePolyglot.h"
#include "polyglot/TbsPolyglotTranslator.h"

namespace {
TbsCorePolyglot& engineToRead()
{
    TbsCorePolyglot* engine = GetCorePolyglot();
    if (!engine)
        throw RydexError(Msg::text(Msg::PolyglotNotAssigned));
    return *engine;
}

TbsCorePolyglot& engineToWrite()
{
    TbsCorePolyglot* engine = GetCorePolyglot();
    if (!engine)
        throw RydexError(Msg::text(Msg::MultiLangNotAssigned));
    return *engine;
}
} // namespace

TbsPolyglotManager::TbsPolyglotManager(const QString& name, QObject* owner) : QObject(owner)
{
    setObjectName(name);
    if (TbsCorePolyglot* engine = GetCorePolyglot())
        engine->registerManager(this);
}

TbsPolyglotManager::~TbsPolyglotManager()
{
    while (!m_translators.isEmpty())
        m_translators.last()->setManager(nullptr);
    if (TbsCorePolyglot* engine = GetCorePolyglot())
        engine->unregisterManager(this);
}

QString TbsPolyglotManager::LangsDir() const
{
    return engineToRead().langsDir();
}

void TbsPolyglotManager::setLangsDir(const QString& directory)
{
    TbsCorePolyglot& engine = engineToWrite();
    bool cancel = false;
    if (LangsDirChanging)
        LangsDirChanging(this, engine.langsDir(), directory, cancel);
    if (!cancel)
        engine.setLangsDir(directory);
}

QString TbsPolyglotManager::CurrentLang() const
{
    return engineToRead().currentLang();
}

void TbsPolyglotManager::setCurrentLang(const QString& language)
{
    TbsCorePolyglot& engine = engineToWrite();
    bool cancel = false;
    if (CurrentLangChanging)
        CurrentLangChanging(this, engine.currentLang(), language, cancel);
    if (!cancel)
        engine.setCurrentLang(language);
}

bool TbsPolyglotManager::TranslateResourceStrings() const
{
    return engineToRead().routing();
}

void TbsPolyglotManager::setTranslateResourceStrings(bool on)
{
    if (TbsCorePolyglot* engine = GetCorePolyglot())
        engine->setRouting(on);
}

void TbsPolyglotManager::registerTranslator(TbsPolyglotTranslator* translator,
                                            const TbsPolyglotTranslator* before)
{
    if (!translator || m_translators.contains(translator))
        return;
    const qsizetype at = before ? m_translators.indexOf(before) : -1;
    if (at < 0)
        m_translators.append(translator);
    else
        m_translators.insert(at, translator);
}

void TbsPolyglotManager::unregisterTranslator(TbsPolyglotTranslator* translator)
{
    m_translators.removeAll(translator);
}

void TbsPolyglotManager::translateAll()
{
    if (BeforeAllTranslate)
        BeforeAllTranslate(this);
    // A translator may go while others are translated; skip those.
    const QList<TbsPolyglotTranslator*> translators = m_translators;
    for (TbsPolyglotTranslator* translator : translators) {
        if (m_translators.contains(translator))
            translator->translate();
    }
    if (AfterAllTranslate)
        AfterAllTranslate(this);
}
