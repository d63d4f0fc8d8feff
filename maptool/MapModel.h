// The map model: a whole brush-format .map file as entities, key/value pairs,
// brushes and planes, every token kept as the exact text that was read.
//
// Does not check: numbers, names or keys; nothing is converted or validated.
// Order: entities, brushes and planes stay in file order; keyValues is ordered
// by key (byte-wise unsigned, case-sensitive), one entry per distinct key.
// Ownership: MapEntityList owns its entities; its arena holds all their memory
// (nodes, plane arrays, the bytes of long strings), freed at once with the list.
// Strings taken out of the model must not outlive the list.
#pragma once

#include "MapString.h"
#include "TextArena.h"

#include <list>
#include <map>
#include <memory_resource>
#include <vector>

struct BrushPlane {
    CMapString point[3][3];  // [point p][coordinate k], as written in the parentheses
    CMapString surface[6];   // texture name, then the five numbers after it
};

// A brush is its planes in file order; ParseBrush reserves room for six.
using MapBrush = std::pmr::vector<BrushPlane>;

struct MapEntity {
    // The containers take their memory from the list's arena.
    using allocator_type = std::pmr::polymorphic_allocator<char>;
    explicit MapEntity(const allocator_type& allocator = {}) : brushes(allocator), keyValues(allocator) {}

    std::pmr::list<MapBrush> brushes;
    std::pmr::map<CMapString, CMapString> keyValues;
};

namespace map_model_detail {
// A base of MapEntityList, so that the arena is built before the list that
// allocates from it and destroyed after it.
struct ArenaHolder {
    CTextArena arena;
};
} // namespace map_model_detail

class MapEntityList : private map_model_detail::ArenaHolder, public std::pmr::list<MapEntity> {
public:
    MapEntityList() : std::pmr::list<MapEntity>(arena.Memory()) {}
    MapEntityList(const MapEntityList&) = delete;
    MapEntityList& operator=(const MapEntityList&) = delete;

    // The arena that holds this list's memory and long strings.
    CTextArena& Text() { return arena; }
};
