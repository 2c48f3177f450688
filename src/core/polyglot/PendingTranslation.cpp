#include "polyglot/PendingTranslation.h"

#include "base/RydexError.h"
#include "polyglot/TbsCorePolyglot.h"
#include "polyglot/TbsPolyglotManager.h"

#include <optional>

PendingTranslation::PendingTranslation(TbsPolyglotManager* manager) : TbsPolyglotTranslator(manager)
{
    setObjectName(QStringLiteral("pendingTranslation"));
    if (TbsCorePolyglot* engine = GetCorePolyglot())
        m_noted.append({engine->openFile(), false, false});
    setManager(manager);
}

PendingTranslation::~PendingTranslation()
{
    if (Manager() && Manager()->arrivalPlace() == this)
        Manager()->setArrivalPlace(nullptr);
}

void PendingTranslation::translate()
{
    if (TbsCorePolyglot* engine = GetCorePolyglot())
        m_noted.append({engine->openFile(), true, false});
}

void PendingTranslation::admit(TbsPolyglotTranslator* translator)
{
    TbsPolyglotManager* manager = Manager();
    if (manager)
        manager->registerTranslator(translator, this);
    translator->setManager(manager);
    TbsCorePolyglot* engine = GetCorePolyglot();
    if (!engine || !translator->parent())
        return;
    std::optional<RydexError> first;
    for (Noted& noted : m_noted) {
        if (noted.stopped || !noted.file)
            continue;
        try {
            engine->translateComponent(translator->parent(), noted.file);
        } catch (const RydexError& e) {
            noted.stopped = noted.ofAll;
            if (!first)
                first = e;
        }
    }
    if (first)
        throw *first;
}

PendingTranslation::Arrivals::Arrivals(PendingTranslation& place) : m_place(place)
{
    if (TbsPolyglotManager* manager = place.Manager())
        manager->setArrivalPlace(&place);
}

PendingTranslation::Arrivals::~Arrivals()
{
    if (TbsPolyglotManager* manager = m_place.Manager())
        manager->setArrivalPlace(nullptr);
}
