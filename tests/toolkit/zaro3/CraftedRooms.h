// CraftedRooms: small levels of axis-aligned rooms in a row, with their pieces
// built by hand, so the brush and entity stages can be tested without the
// partitioner.
//
// Rooms share their y range and touch along x; the line between two rooms is
// two-sided (front: the right room), the others are one-sided facing in. The
// void around them is four strips, split at the rooms' walls so that every
// void edge lies on at most one line. Line indices: per room in order bottom,
// right (if last or one-sided), top, left (if first); the shared lines are
// the left lines of the rooms after the first.
#pragma once

#include <string>
#include <vector>

#include "Level.h"
#include "MoverPlan.h"
#include "Pieces.h"

namespace zaro3test {

struct RoomSpec {
  int x0 = 0, x1 = 128;
  int floor = 0, ceiling = 128;
  std::string floorFlat = "FLOOR0_1", ceilingFlat = "CEIL1_1";
  int light = 160;
};

struct CraftedLevel {
  wad::Level level;
  std::vector<zaro3::Piece> pieces;
  std::vector<int> sharedLines;  // the two-sided line left of room i (index 0 unused: -1)
};

// Every wall gets middle "WALL", the two-sided lines upper "UPPER<r>" and
// lower "LOWER<r>" on the side facing room r.
CraftedLevel MakeRooms(const std::vector<RoomSpec>& rooms, int y0 = 0, int y1 = 128, int margin = 64);

// A room from x0 to x1 with the given floor and ceiling, the rest as RoomSpec has it.
RoomSpec Room(int x0, int x1, int floor, int ceiling);

// The plan of `level` with nothing moving.
zaro3::MoverPlan PlanOf(const wad::Level& level);

// A piece of `sector` (-1: void) with the given corners, counter-clockwise, on no line.
zaro3::Piece ConvexPiece(int sector, const std::vector<zaro3::IntPoint>& corners);

}  // namespace zaro3test
