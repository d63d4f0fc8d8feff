#include "EntityNaming.h"

#include <charconv>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>

namespace {

const std::string_view kNameKey = "name";

// The entity's "name" value, or the empty text; never inserts the key.
std::string_view NameOf(const MapEntity& entity, const CMapString& nameKey)
{
    const auto it = entity.keyValues.find(nameKey);
    return it == entity.keyValues.end() ? std::string_view() : it->second.View();
}

} // namespace

void NameUnnamedEntities(MapEntityList& entities)
{
    CTextArena& text = entities.Text();
    const CMapString nameKey = text.Make(kNameKey);

    std::set<std::string, std::less<>> usedNames;
    for (const MapEntity& entity : entities) {
        const std::string_view name = NameOf(entity, nameKey);
        if (!name.empty())
            usedNames.emplace(name);
    }

    std::uint32_t nCounter = 0;
    char candidate[32] = "noname";
    const std::size_t nPrefix = 6;
    for (MapEntity& entity : entities) {
        if (!NameOf(entity, nameKey).empty())
            continue;
        std::string_view name;
        do {
            const auto result = std::to_chars(candidate + nPrefix, candidate + sizeof candidate, nCounter);
            name = std::string_view(candidate, static_cast<std::size_t>(result.ptr - candidate));
            ++nCounter;
        } while (usedNames.find(name) != usedNames.end());
        entity.keyValues.insert_or_assign(nameKey, text.Make(name));
        usedNames.emplace(name);
    }
}
