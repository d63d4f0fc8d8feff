// WallRuns: whether two collinear line sides in a row lay their textures as
// one unbroken run, so that a single brush face can show both aligned.
//
// Two sides that look alike (the same textures, sectors on both sides) still
// break the run where DOOM draws a seam: a different y offset or pegging, a
// column phase that differs by other than whole repeats of a texture shown
// there, or a different scroll. Textures the lists lack do not count (they
// show the missing material anyway), so without lists every such run goes on.
// Borrows the level and the catalog.
#pragma once

#include <map>

#include "Level.h"
#include "MaterialCatalog.h"
#include "WallScrolls.h"

namespace zaro3 {

class WallRuns {
public:
  WallRuns(const wad::Level& level, const MaterialCatalog& catalog);

  // The sides are given as the linedef and the side facing the brush; its face shows the other side.
  bool Continuous(int linedefA, int sideA, int linedefB, int sideB) const;

private:
  const wad::Level& m_level;
  const MaterialCatalog& m_catalog;
  std::map<int, ScrollRate> m_scrolls;
};

}  // namespace zaro3
