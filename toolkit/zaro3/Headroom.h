// Headroom: the openings DOOM's player passes that DOOM 3's cannot, at the chosen scale.
//
// An opening is a run of two-sided, not blocking lines between two sectors (a
// PortalSite) with its height between the world's floors and ceilings (doors
// open). DOOM's player passes one at least 56 high; where walls end it on both
// sides its length is also a width, at least 32. DOOM 3's player stands 74 high,
// crouches 38 high and is 32 wide, in DOOM 3 units after the scale. Only counts.
#pragma once

#include <vector>

#include "Level.h"
#include "MapModel.h"
#include "PortalSites.h"

namespace zaro3 {

struct HeadroomReport {
  int openings = 0;  // openings DOOM's player passes
  int crouch = 0;    // of those, DOOM 3's player passes only crouching
  int blocked = 0;   // of those, DOOM 3's player does not pass at all
};

HeadroomReport CheckHeadroom(const wad::Level& level, const std::vector<PortalSite>& sites, const Scale& scale);

}  // namespace zaro3
