#include "DoomWallRules.h"

#include <algorithm>
#include <cmath>

#include "MaterialCatalog.h"

namespace zaro3 {

namespace {

const wad::Sidedef& SidedefOf(const wad::Level& level, int linedef, int side) {
  const wad::Linedef& line = level.linedefs[linedef];
  return level.sidedefs[side == 0 ? line.front : line.back];
}

// The sector behind the side, or nullptr for a one-sided line.
const wad::Sector* BackSectorOf(const wad::Level& level, int linedef, int side) {
  const wad::Linedef& line = level.linedefs[linedef];
  const int other = side == 0 ? line.back : line.front;
  return other < 0 ? nullptr : &level.sectors[level.sidedefs[other].sector];
}

}  // namespace

SideAxis AxisOfSide(const wad::Level& level, int linedef, int side) {
  const wad::Linedef& line = level.linedefs[linedef];
  const wad::Vertex& start = level.vertices[side == 0 ? line.v1 : line.v2];
  const wad::Vertex& end = level.vertices[side == 0 ? line.v2 : line.v1];
  const double dx = double(end.x) - start.x, dy = double(end.y) - start.y;
  const double length = std::hypot(dx, dy);
  SideAxis axis;
  axis.dx = dx / length;
  axis.dy = dy / length;
  axis.startX = start.x;
  axis.startY = start.y;
  return axis;
}

double ColumnAtOrigin(const wad::Level& level, int linedef, int side) {
  const SideAxis axis = AxisOfSide(level, linedef, side);
  return SidedefOf(level, linedef, side).xOffset - (axis.dx * axis.startX + axis.dy * axis.startY);
}

bool IsMaskedMiddle(const wad::Level& level, int linedef, WallPart part) {
  const wad::Linedef& line = level.linedefs[linedef];
  return part == WallPart::Middle && line.front >= 0 && line.back >= 0;
}

int64_t TextureTop(const wad::Level& level, int linedef, int side, WallPart part, int textureHeight) {
  const wad::Linedef& line = level.linedefs[linedef];
  const wad::Sidedef& sidedef = SidedefOf(level, linedef, side);
  const wad::Sector& front = level.sectors[sidedef.sector];
  const wad::Sector* back = BackSectorOf(level, linedef, side);
  const bool lowerUnpegged = (line.flags & wad::kLineLowerUnpegged) != 0;
  const bool upperUnpegged = (line.flags & wad::kLineUpperUnpegged) != 0;
  int64_t top = front.ceilingHeight;
  if (back && MaterialPicker::IsSkyFlat(front.ceilingFlat) && MaterialPicker::IsSkyFlat(back->ceilingFlat)) top = back->ceilingHeight;
  int64_t anchor = top;
  switch (part) {
    case WallPart::Middle:
      if (back) {
        anchor = lowerUnpegged ? int64_t{std::max(front.floorHeight, back->floorHeight)} + textureHeight
                               : int64_t{std::min(front.ceilingHeight, back->ceilingHeight)};
      } else {
        anchor = lowerUnpegged ? int64_t{front.floorHeight} + textureHeight : top;
      }
      break;
    case WallPart::Upper:
      anchor = upperUnpegged || !back ? top : int64_t{back->ceilingHeight} + textureHeight;
      break;
    case WallPart::Lower:
      anchor = lowerUnpegged || !back ? top : int64_t{back->floorHeight};
      break;
  }
  return anchor + sidedef.yOffset;
}

}  // namespace zaro3
