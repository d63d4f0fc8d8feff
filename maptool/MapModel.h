// The map model: a whole brush-format .map file as entities, key/value pairs,
// brushes and planes, every token kept as the exact text that was read.
//
// Does not check: numbers, names or keys; nothing is converted or validated.
// Order: entities, brushes and planes stay in file order; keyValues is ordered
// by key (byte-wise unsigned, case-sensitive), one entry per distinct key.
// Ownership: MapEntityList owns its entities and, through its text arena, the
// bytes of every long string in them. Strings taken out of the model must not
// outlive the list.
#pragma once

#include "MapString.h"
#include "TextArena.h"

#include <list>
#include <map>
#include <vector>

struct BrushPlane {
    CMapString point[3][3];  // [point p][coordinate k], as written in the parentheses
    CMapString surface[6];   // texture name, then the five numbers after it
};

// A brush is its planes in file order; ParseBrush reserves room for six.
using MapBrush = std::vector<BrushPlane>;

struct MapEntity {
    std::list<MapBrush> brushes;
    std::map<CMapString, CMapString> keyValues;
};

class MapEntityList : public std::list<MapEntity> {
public:
    MapEntityList() = default;
    MapEntityList(const MapEntityList&) = delete;
    MapEntityList& operator=(const MapEntityList&) = delete;

    // The arena that holds the text of this list's long strings.
    CTextArena& Text() { return m_text; }

private:
    CTextArena m_text;
};
