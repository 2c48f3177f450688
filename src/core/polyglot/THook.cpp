#include "polyglot/THook.h"

#include "base/MessageCatalogue.h"
#include "polyglot/TbsCorePolyglot.h"

THook::THook()
{
    Msg::setRouter([this](int id) -> std::optional<QString> {
        if (!m_on || id == 0)
            return std::nullopt;
        TbsCorePolyglot* engine = GetCorePolyglot();
        return engine ? engine->resourceString(id) : std::nullopt;
    });
}

THook::~THook()
{
    Msg::setRouter({});
}
