// WallScrolls: the sides whose textures DOOM scrolls, and how fast.
//
// Line 48 moves its front side's texture one texel a tic to the left (the x
// offset grows by one each tic); Boom's 85 moves it to the right and 255 by the
// side's own offsets each tic (the x offset shrinks by the x offset, the y
// offset grows by the y offset). A sidedef that several lines share moves for
// all of them, and scrollers on one sidedef add up, as DOOM's thinkers do.
// Boom's tagged scrollers (flats 250-253, walls 254, and the controlled and
// accelerating ones) are not read. Values only.
#pragma once

#include <map>

#include "Level.h"

namespace zaro3 {

// How much a side's offsets grow each tic, in texels.
struct ScrollRate {
  double columns = 0;
  double rows = 0;
};

// By sidedef index, only the sides that move.
std::map<int, ScrollRate> FindWallScrolls(const wad::Level& level);

}  // namespace zaro3
