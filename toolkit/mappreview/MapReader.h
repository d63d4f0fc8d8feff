// MapReader: the classic brush map form read into plain entities and brushes.
//
// The form: entities in braces holding "key" "value" pairs and brushes; a brush
// is a list of planes `( x y z ) ( x y z ) ( x y z ) <material> n n n n n`.
// The numbers after the material are read and ignored (the engine ignores them
// too), so any count of them is accepted. `//` starts a comment. Other brush
// forms (brushDef3, patches) are rejected with the line they start on.
// Nothing here checks that a brush is closed or convex: the face builder copes
// with degenerate brushes by dropping them.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Vec.h"

namespace mappreview {

struct MapPlane {
  Vec3 points[3];
  std::string material;  // as written: without the "textures/" prefix
};

struct MapBrush {
  std::vector<MapPlane> planes;
  int line = 0;  // where the brush starts, for messages
};

struct MapEntity {
  std::vector<std::pair<std::string, std::string>> keys;  // in file order
  std::vector<MapBrush> brushes;

  // The value of the first key named `key` (case-insensitive), or "" when absent.
  std::string Value(std::string_view key) const;
};

struct MapFile {
  std::vector<MapEntity> entities;  // in file order
};

// Parses map text; throws PreviewError (BadInput) naming `name` and the line of the first fault.
MapFile ParseMap(std::string_view text, const std::string& name = "map");
// Reads and parses a map file; throws PreviewError (BadInput) when unreadable or malformed.
MapFile ReadMapFile(const std::string& path);

}  // namespace mappreview
