// MapModel: the converted level as entities of vertical prism brushes, in DOOM units.
//
// Every brush the converter makes is a vertical prism: a convex footprint whose
// edges lie on lines through two integer DOOM points, between two integer
// heights. Keeping the model in DOOM's integers means every plane written later
// passes through exact points (times the scale); nothing here is rounded.
// The footprint's sides run counter-clockwise: the brush lies to the left of
// each side's line (from `a` to `b`). The map writer owns the conversion to
// plane points and the scale; this header only holds values.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace zaro3 {

struct IntPoint {
  int64_t x = 0;
  int64_t y = 0;
  friend bool operator==(const IntPoint& p, const IntPoint& q) { return p.x == q.x && p.y == q.y; }
};

// One vertical face: the plane through the line a->b, brush on its left.
struct PrismSide {
  IntPoint a;
  IntPoint b;
  std::string material;  // as written in the map: without the "textures/" prefix
};

struct Prism {
  std::vector<PrismSide> sides;  // counter-clockwise, at least three, no two on one line
  int64_t zLow = 0;
  int64_t zHigh = 0;             // zHigh > zLow
  std::string bottomMaterial;
  std::string topMaterial;
};

struct MapEntity {
  std::vector<std::pair<std::string, std::string>> keys;  // in writing order, "classname" first
  std::vector<Prism> brushes;
};

struct MapModel {
  std::vector<MapEntity> entities;  // worldspawn first
};

// The scale factor as an exact decimal: value = mantissa / 10^decimals (1.5 is {15, 1}).
struct Scale {
  int64_t mantissa = 1;
  int decimals = 0;
};

}  // namespace zaro3
