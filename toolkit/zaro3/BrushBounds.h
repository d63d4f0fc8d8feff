// BrushBounds: where the brushes of the map model lie, in DOOM units, for placing other brushes.
//
// A prism's corners (its sides' lines crossed in turn, in doubles: for tests,
// never for planes), its box, and whether two footprints overlap inside (the
// separating axis test; touching is no overlap). Brush entities are summed up
// as their kind and their brushes' footprints and boxes. Values only.
#pragma once

#include <string>
#include <vector>

#include "MapModel.h"

namespace zaro3 {

struct Point2 {
  double x = 0, y = 0;
};

struct Box3 {
  double lo[3] = {0, 0, 0};
  double hi[3] = {0, 0, 0};
  bool Touches(const Box3& other, double pad) const;  // within `pad` on every axis
  void Add(const Box3& other);
};

struct Footprint {
  std::vector<Point2> corners;  // counter-clockwise
  double zLow = 0, zHigh = 0;
  Box3 box;
};

Footprint FootprintOf(const Prism& prism);

// Whether the insides of two footprints meet (their heights overlap and their corners' polygons do).
bool Overlap(const Footprint& a, const Footprint& b);

struct BrushEntityBounds {
  std::string classname;
  std::vector<Footprint> brushes;
  Box3 box;  // around every brush
};

// Every entity after the first (worldspawn) that has brushes.
std::vector<BrushEntityBounds> BrushEntitiesOf(const std::vector<MapEntity>& entities);

}  // namespace zaro3
