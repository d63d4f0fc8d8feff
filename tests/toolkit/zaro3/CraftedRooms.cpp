#include "CraftedRooms.h"

namespace zaro3test {

namespace {

using zaro3::IntPoint;
using zaro3::Piece;
using zaro3::PieceEdge;

int AddVertex(wad::Level& level, int x, int y) {
  for (std::size_t i = 0; i < level.vertices.size(); ++i) {
    if (level.vertices[i].x == x && level.vertices[i].y == y) return static_cast<int>(i);
  }
  level.vertices.push_back({x, y});
  return static_cast<int>(level.vertices.size()) - 1;
}

int AddSide(wad::Level& level, int sector, const std::string& upper, const std::string& lower,
            const std::string& middle) {
  wad::Sidedef side;
  side.sector = sector;
  side.upper = upper;
  side.lower = lower;
  side.middle = middle;
  level.sidedefs.push_back(side);
  return static_cast<int>(level.sidedefs.size()) - 1;
}

int AddLine(wad::Level& level, IntPoint v1, IntPoint v2, int front, int back) {
  wad::Linedef line;
  line.v1 = AddVertex(level, static_cast<int>(v1.x), static_cast<int>(v1.y));
  line.v2 = AddVertex(level, static_cast<int>(v2.x), static_cast<int>(v2.y));
  line.front = front;
  line.back = back;
  line.flags = back >= 0 ? wad::kLineTwoSided : wad::kLineBlocking;
  level.linedefs.push_back(line);
  return static_cast<int>(level.linedefs.size()) - 1;
}

PieceEdge Edge(IntPoint a, IntPoint b, int linedef, int side) {
  PieceEdge e;
  e.fromX = static_cast<double>(a.x);
  e.fromY = static_cast<double>(a.y);
  e.toX = static_cast<double>(b.x);
  e.toY = static_cast<double>(b.y);
  e.lineA = a;
  e.lineB = b;
  e.linedef = linedef;
  e.side = side;
  return e;
}

// A rectangle piece, edges counter-clockwise from the bottom; lines[i] and sides[i] per edge.
Piece Rect(int sector, int x0, int y0, int x1, int y1, const int lines[4], const int sides[4]) {
  Piece piece;
  piece.sector = sector;
  const IntPoint p00{x0, y0}, p10{x1, y0}, p11{x1, y1}, p01{x0, y1};
  piece.edges = {Edge(p00, p10, lines[0], sides[0]), Edge(p10, p11, lines[1], sides[1]),
                 Edge(p11, p01, lines[2], sides[2]), Edge(p01, p00, lines[3], sides[3])};
  piece.area = static_cast<double>(x1 - x0) * (y1 - y0);
  return piece;
}

}  // namespace

Piece ConvexPiece(int sector, const std::vector<IntPoint>& corners) {
  Piece piece;
  piece.sector = sector;
  for (std::size_t i = 0; i < corners.size(); ++i) {
    piece.edges.push_back(Edge(corners[i], corners[(i + 1) % corners.size()], -1, 0));
  }
  return piece;
}

CraftedLevel MakeRooms(const std::vector<RoomSpec>& rooms, int y0, int y1, int margin) {
  CraftedLevel out;
  wad::Level& level = out.level;
  level.name = "MAP01";
  const int n = static_cast<int>(rooms.size());
  for (const RoomSpec& r : rooms) {
    wad::Sector s;
    s.floorHeight = r.floor;
    s.ceilingHeight = r.ceiling;
    s.floorFlat = r.floorFlat;
    s.ceilingFlat = r.ceilingFlat;
    s.light = static_cast<int16_t>(r.light);
    level.sectors.push_back(s);
  }
  std::vector<int> bottom(n), top(n), left(n, -1), right(n, -1);
  out.sharedLines.assign(n, -1);
  for (int i = 0; i < n; ++i) {
    const RoomSpec& r = rooms[i];
    // One-sided lines run clockwise around the room so that their front faces in.
    bottom[i] = AddLine(level, {r.x1, y0}, {r.x0, y0}, AddSide(level, i, "-", "-", "WALL"), -1);
    top[i] = AddLine(level, {r.x0, y1}, {r.x1, y1}, AddSide(level, i, "-", "-", "WALL"), -1);
    if (i == 0) left[i] = AddLine(level, {r.x0, y0}, {r.x0, y1}, AddSide(level, i, "-", "-", "WALL"), -1);
    if (i == n - 1) right[i] = AddLine(level, {r.x1, y1}, {r.x1, y0}, AddSide(level, i, "-", "-", "WALL"), -1);
    if (i > 0) {
      // Up the shared wall: its right (front) side is room i, its back room i-1.
      const std::string fr = std::to_string(i), bk = std::to_string(i - 1);
      const int front = AddSide(level, i, "UPPER" + fr, "LOWER" + fr, "-");
      const int back = AddSide(level, i - 1, "UPPER" + bk, "LOWER" + bk, "-");
      left[i] = AddLine(level, {r.x0, y0}, {r.x0, y1}, front, back);
      right[i - 1] = left[i];
      out.sharedLines[i] = left[i];
    }
  }
  for (int i = 0; i < n; ++i) {
    const RoomSpec& r = rooms[i];
    const int lines[4] = {bottom[i], right[i], top[i], left[i]};
    const int sides[4] = {0, i == n - 1 ? 0 : 1, 0, 0};
    out.pieces.push_back(Rect(i, r.x0, y0, r.x1, y1, lines, sides));
  }
  const int X0 = rooms.front().x0 - margin, X1 = rooms.back().x1 + margin;
  for (int i = 0; i < n; ++i) {
    const int below[4] = {-1, -1, bottom[i], -1};
    const int belowSides[4] = {0, 0, 1, 0};
    const int above[4] = {top[i], -1, -1, -1};
    const int aboveSides[4] = {1, 0, 0, 0};
    out.pieces.push_back(Rect(-1, rooms[i].x0, y0 - margin, rooms[i].x1, y0, below, belowSides));
    out.pieces.push_back(Rect(-1, rooms[i].x0, y1, rooms[i].x1, y1 + margin, above, aboveSides));
  }
  const int leftStrip[4] = {-1, left[0], -1, -1};
  const int leftSides[4] = {0, 1, 0, 0};
  const int rightStrip[4] = {-1, -1, -1, right[n - 1]};
  const int rightSides[4] = {0, 0, 0, 1};
  out.pieces.push_back(Rect(-1, X0, y0 - margin, rooms.front().x0, y1 + margin, leftStrip, leftSides));
  out.pieces.push_back(Rect(-1, rooms.back().x1, y0 - margin, X1, y1 + margin, rightStrip, rightSides));
  return out;
}

RoomSpec Room(int x0, int x1, int floor, int ceiling) {
  RoomSpec r;
  r.x0 = x0;
  r.x1 = x1;
  r.floor = floor;
  r.ceiling = ceiling;
  return r;
}

zaro3::MoverPlan PlanOf(const wad::Level& level) {
  std::vector<int64_t> floors, ceilings;
  for (const wad::Sector& s : level.sectors) {
    floors.push_back(s.floorHeight);
    ceilings.push_back(s.ceilingHeight);
  }
  return zaro3::StaticPlan(floors, ceilings);
}

}  // namespace zaro3test
