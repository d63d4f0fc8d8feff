// SectorRegions: the separate places one DOOM sector covers.
//
// DOOM mappers often give two rooms one sector (the same light, floor and
// ceiling), and a door between them then has that sector on both sides. A region
// is one closed outline of the sector's sides (the sector on their right) with
// the holes inside it (a pillar's outline, which runs the other way round); a
// sector whose sides do not all close into loops, or with one outline, is one
// region. Region numbers: a sector's first region has the sector's own number,
// any other region a number from the sector count up. Values only.
#pragma once

#include <vector>

#include "Level.h"

namespace zaro3 {

struct SectorRegions {
  std::vector<int> ofFront, ofBack;  // per linedef: the region of its front and back side (-1: none)
  std::vector<int> sectorOf;         // per region: its sector
};

// `keepWhole`, per sector: sectors that stay one region whatever their outlines (none when empty).
SectorRegions FindSectorRegions(const wad::Level& level, const std::vector<bool>& keepWhole = {});

}  // namespace zaro3
