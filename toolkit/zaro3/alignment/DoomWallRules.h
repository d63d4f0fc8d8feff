// DoomWallRules: where DOOM's renderer puts a wall texture on one side of a line.
//
// The column at a wall point is the distance along the side from its starting
// vertex (v1 for the front side, v2 for the back), growing to the right of a
// viewer facing the side, plus the side's x offset; segs add their offset from
// that vertex, so the seg split does not change it. The row at height z is
// TextureTop - z, where TextureTop is the pegging anchor plus the y offset:
//
//   part                 flag set                          flag clear
//   one-sided middle     lower unpegged: floor + height    ceiling
//   two-sided (masked)   lower unpegged: higher floor + h  lower ceiling
//   upper                upper unpegged: top               back ceiling + height
//   lower                lower unpegged: top               back floor
//
// "top" is the side's own sector's ceiling, or the back sector's ceiling when
// both ceilings are sky (DOOM draws no upper part there then). Heights are the
// level's own, as DOOM has them at the level's start. A masked middle is drawn
// once, from TextureTop down by the texture's height, cut to the opening.
// Everything here reads the level and owns nothing; the side must exist.
#pragma once

#include <cstdint>

#include "Level.h"
#include "MapModel.h"

namespace zaro3 {

// Texture phases are compared, named and written in thousandths of a texel: fine
// enough for diagonal walls, whose phases are not whole texels.
constexpr int64_t kPhaseSteps = 1000;

// The side's direction along the line (unit, to the right of its viewer) and starting vertex.
struct SideAxis {
  double dx = 1, dy = 0;
  int64_t startX = 0, startY = 0;
};

SideAxis AxisOfSide(const wad::Level& level, int linedef, int side);

// The texel column at the world origin's foot on the side's line: DOOM's column at
// a point p of the side is (dx, dy) . p + ColumnAtOrigin.
double ColumnAtOrigin(const wad::Level& level, int linedef, int side);

// The height of the texture's top row (row 0) for `part` of the side, y offset included.
int64_t TextureTop(const wad::Level& level, int linedef, int side, WallPart part, int textureHeight);

// Whether `part` of the side is a two-sided line's masked middle texture.
bool IsMaskedMiddle(const wad::Level& level, int linedef, WallPart part);

}  // namespace zaro3
