// PiecesCheck: each sector's true area from its lines against its pieces.
//
// A sector's area is the signed area of its sidedefs' lines, each walked with
// the sector on its left, so holes subtract by themselves. Its lines close
// when every vertex has as many of them leaving as arriving; a sector that
// does not close has no checkable area and is reported as broken. Areas are
// exact (twice the area, integer) from the lines; the pieces' sums are
// rounded, so they are compared with a tolerance. A sector with a line that
// has it on both sides can enclose area its outline does not show (DOOM's
// self-referencing sector trick), so such sectors are not compared.
#pragma once

#include <vector>

#include "Level.h"
#include "Pieces.h"

namespace zaro3 {

struct SectorArea {
  bool closed = true;
  bool selfReferencing = false;  // some line has this sector on both sides
  double area = 0;
};

std::vector<SectorArea> TrueSectorAreas(const wad::Level& level);

// The sectors whose pieces' area differs from the true area (closed sectors only).
std::vector<int> MismatchedSectors(const std::vector<SectorArea>& truth, const std::vector<Piece>& pieces);

}  // namespace zaro3
