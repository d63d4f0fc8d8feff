// Pieces of crafted levels and of every Freedoom level, checked for the
// invariants the brushes rely on: convex, closed, tiling the box, sector areas
// kept, edges on their linedefs and no linedef through a piece.
#include "Pieces.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <set>

#include "PiecesCheck.h"
#include "WadFile.h"
#include "LevelBuilder.h"

namespace {

using zaro3::Piece;
using zaro3::PieceEdge;
using zaro3::PieceOptions;
using zaro3::PieceReport;
using zaro3test::LevelBuilder;

double BoxArea(const wad::Level& level, int margin) {
  int x0 = level.vertices[0].x, x1 = x0, y0 = level.vertices[0].y, y1 = y0;
  for (const wad::Vertex& v : level.vertices) {
    x0 = std::min(x0, v.x);
    x1 = std::max(x1, v.x);
    y0 = std::min(y0, v.y);
    y1 = std::max(y1, v.y);
  }
  return (x1 - x0 + 2.0 * margin) * (y1 - y0 + 2.0 * margin);
}

// Signed distance of (x, y) from the edge's line, positive on the piece's side.
double LeftOf(const PieceEdge& e, double x, double y) {
  const double dx = double(e.lineB.x - e.lineA.x), dy = double(e.lineB.y - e.lineA.y);
  return (dx * (y - e.lineA.y) - dy * (x - e.lineA.x)) / std::hypot(dx, dy);
}

void ExpectPieceShape(const Piece& piece) {
  const std::size_t n = piece.edges.size();
  ASSERT_GE(n, 3u);
  EXPECT_GT(piece.area, 0);
  double twice = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const PieceEdge& e = piece.edges[i];
    const PieceEdge& next = piece.edges[(i + 1) % n];
    EXPECT_NEAR(e.toX, next.fromX, 1e-6);
    EXPECT_NEAR(e.toY, next.fromY, 1e-6);
    EXPECT_NEAR(LeftOf(e, e.fromX, e.fromY), 0, 1e-6);
    EXPECT_NEAR(LeftOf(e, e.toX, e.toY), 0, 1e-6);
    // Strictly left turns with integer directions: convex and no two consecutive edges on one line.
    const int64_t ux = e.lineB.x - e.lineA.x, uy = e.lineB.y - e.lineA.y;
    const int64_t vx = next.lineB.x - next.lineA.x, vy = next.lineB.y - next.lineA.y;
    EXPECT_GT(ux * vy - uy * vx, 0) << "edge " << i;
    // The edge runs from its start to its end along lineA->lineB.
    EXPECT_GT(ux * (e.toX - e.fromX) + uy * (e.toY - e.fromY), 0);
    twice += e.fromX * e.toY - e.toX * e.fromY;
  }
  EXPECT_NEAR(twice / 2, piece.area, 1e-6 * std::max(1.0, piece.area));
}

// Every edge on a linedef lies on its line (it may run on along collinear
// linedefs that look the same from the piece) and its facing side names the piece's
// sector, unless the linedef has one sector on both sides (it bounds nothing); with
// `conflicts`, edges whose linedef disagrees with the piece's other lines
// (overlapping sectors in real data) are counted instead.
void ExpectEdgesOnTheirLines(const wad::Level& level, const Piece& piece, int* conflicts = nullptr) {
  for (const PieceEdge& e : piece.edges) {
    if (e.linedef < 0) continue;
    const wad::Linedef& line = level.linedefs[e.linedef];
    const wad::Vertex& a = level.vertices[line.v1];
    const wad::Vertex& b = level.vertices[line.v2];
    const double len2 = double(b.x - a.x) * (b.x - a.x) + double(b.y - a.y) * (b.y - a.y);
    for (const auto& [x, y] : {std::pair{e.fromX, e.fromY}, std::pair{e.toX, e.toY}}) {
      const double cross = (b.x - a.x) * (y - a.y) - (b.y - a.y) * (x - a.x);
      EXPECT_NEAR(cross / std::sqrt(len2), 0, 1e-6);
    }
    const int sidedef = e.side == 0 ? line.front : line.back;
    const int facing = sidedef < 0 ? -1 : level.sidedefs[sidedef].sector;
    const int across = (e.side == 0 ? line.back : line.front) < 0
                           ? -1 : level.sidedefs[e.side == 0 ? line.back : line.front].sector;
    if (facing >= 0 && facing == across) continue;
    if (conflicts) {
      *conflicts += facing != piece.sector;
    } else {
      EXPECT_EQ(facing, piece.sector) << "linedef " << e.linedef;
    }
  }
}

// No linedef passes through a piece's interior (bounding boxes first, for speed).
void ExpectNoLineThroughPieces(const wad::Level& level, const std::vector<Piece>& pieces) {
  for (std::size_t p = 0; p < pieces.size(); ++p) {
    const Piece& piece = pieces[p];
    double x0 = 1e18, x1 = -1e18, y0 = 1e18, y1 = -1e18;
    for (const PieceEdge& e : piece.edges) {
      x0 = std::min(x0, e.fromX);
      x1 = std::max(x1, e.fromX);
      y0 = std::min(y0, e.fromY);
      y1 = std::max(y1, e.fromY);
    }
    for (std::size_t i = 0; i < level.linedefs.size(); ++i) {
      const wad::Vertex& a = level.vertices[level.linedefs[i].v1];
      const wad::Vertex& b = level.vertices[level.linedefs[i].v2];
      if (std::max(a.x, b.x) <= x0 || std::min(a.x, b.x) >= x1 || std::max(a.y, b.y) <= y0 ||
          std::min(a.y, b.y) >= y1)
        continue;
      // Clip the segment to the piece; what is left must have no length.
      double t0 = 0, t1 = 1;
      for (const PieceEdge& e : piece.edges) {
        const double da = LeftOf(e, a.x, a.y), db = LeftOf(e, b.x, b.y);
        const double margin = 1e-6;  // a line along an edge is on the boundary, not inside
        if (da <= margin && db <= margin) {
          t1 = -1;
          break;
        }
        if (da < margin) t0 = std::max(t0, (margin - da) / (db - da));
        if (db < margin) t1 = std::min(t1, (da - margin) / (da - db));
      }
      EXPECT_LE(t1 - t0, 1e-9) << "linedef " << i << " crosses piece " << p;
    }
  }
}

void ExpectTiling(const wad::Level& level, const std::vector<Piece>& pieces, int margin, int* conflicts = nullptr) {
  double total = 0;
  for (const Piece& p : pieces) {
    ExpectPieceShape(p);
    ExpectEdgesOnTheirLines(level, p, conflicts);
    total += p.area;
  }
  const double box = BoxArea(level, margin);
  EXPECT_NEAR(total, box, 1e-7 * box);
}

double SectorPieceArea(const std::vector<Piece>& pieces, int sector) {
  double sum = 0;
  for (const Piece& p : pieces) sum += p.sector == sector ? p.area : 0;
  return sum;
}

std::vector<Piece> Build(const wad::Level& level, PieceReport& report, bool direct = false) {
  PieceOptions options;
  options.direct = direct;
  return zaro3::BuildPieces(level, options, report);
}

TEST(Pieces, SquareRoomIsOneSectorPieceInsideVoid) {
  LevelBuilder b;
  const int room = b.AddSector(0, 128);
  b.AddOutline({{0, 0}, {256, 0}, {256, 256}, {0, 256}}, room);
  PieceReport report;
  const std::vector<Piece> pieces = Build(b.Level(), report);
  ExpectTiling(b.Level(), pieces, 64);
  ExpectNoLineThroughPieces(b.Level(), pieces);
  EXPECT_EQ(report.sectorPieces, 1);
  EXPECT_DOUBLE_EQ(SectorPieceArea(pieces, room), 256.0 * 256);
  EXPECT_FALSE(report.usedNodes);
  EXPECT_FALSE(report.fallbackReason.empty());
  // Every wall of the room is an edge of the room piece, facing its front.
  int walls = 0;
  for (const Piece& p : pieces) {
    for (const PieceEdge& e : p.edges) {
      if (p.sector == room && e.linedef >= 0) ++walls;
      if (p.sector < 0 && e.linedef >= 0) {
        EXPECT_EQ(e.side, 1);
      }
    }
  }
  EXPECT_EQ(walls, 4);
  // Around a room the void needs four sides and four corners: a corner cannot
  // join a side without one edge spanning a wall and the gap beside it.
  EXPECT_EQ(report.voidPieces, 8);
}

TEST(Pieces, CellsCutByANodeLineMergeBack) {
  LevelBuilder b;
  const int room = b.AddSector(0, 128);
  b.AddOutline({{0, 0}, {256, 0}, {256, 256}, {0, 256}}, room);
  wad::Level& level = b.Level();
  level.subsectors.resize(2);
  level.nodes = {wad::Node{128, -100, 0, 500, {0, 1}, {true, true}}};
  level.nodesUsable = true;
  PieceReport report;
  const std::vector<Piece> pieces = Build(level, report);
  EXPECT_TRUE(report.usedNodes);
  ExpectTiling(level, pieces, 64);
  EXPECT_EQ(report.sectorPieces, 1);
  EXPECT_GT(report.subsectors, static_cast<int>(pieces.size()));
}

TEST(Pieces, RoomsJoinedByAStepShareTheirTwoSidedLine) {
  LevelBuilder b;
  const int low = b.AddSector(0, 128), high = b.AddSector(24, 128);
  b.AddOutline({{0, 0}, {128, 0}, {128, 128}, {0, 128}}, low);
  b.AddOutline({{128, 0}, {320, 0}, {320, 128}, {128, 128}}, high);
  b.BuildNodes();
  PieceReport report;
  const std::vector<Piece> pieces = Build(b.Level(), report);
  EXPECT_TRUE(report.usedNodes);
  ExpectTiling(b.Level(), pieces, 64);
  EXPECT_EQ(report.sectorPieces, 2);
  EXPECT_DOUBLE_EQ(SectorPieceArea(pieces, high), 192.0 * 128);
  std::set<int> sidesOnStep;
  for (const Piece& p : pieces) {
    for (const PieceEdge& e : p.edges) {
      if (e.linedef >= 0 && b.Level().linedefs[e.linedef].back >= 0) sidesOnStep.insert(e.side);
    }
  }
  EXPECT_EQ(sidesOnStep, (std::set<int>{0, 1}));
}

TEST(Pieces, PillarAndLShapeKeepTheirArea) {
  LevelBuilder b;
  const int hall = b.AddSector(0, 128), ell = b.AddSector(0, 96);
  b.AddOutline({{0, 0}, {512, 0}, {512, 512}, {0, 512}}, hall);
  b.AddOutline({{200, 200}, {200, 300}, {300, 300}, {300, 200}}, hall);  // the pillar, clockwise
  b.AddOutline({{600, 0}, {900, 0}, {900, 100}, {700, 100}, {700, 400}, {600, 400}}, ell);
  for (bool direct : {false, true}) {
    if (!direct) b.BuildNodes();
    PieceReport report;
    const std::vector<Piece> pieces = Build(b.Level(), report, direct);
    ExpectTiling(b.Level(), pieces, 64);
    ExpectNoLineThroughPieces(b.Level(), pieces);
    EXPECT_DOUBLE_EQ(SectorPieceArea(pieces, hall), 512.0 * 512 - 100 * 100);
    EXPECT_DOUBLE_EQ(SectorPieceArea(pieces, ell), 300.0 * 100 + 100 * 300);
    EXPECT_EQ(report.repairedSectors, 0);
    EXPECT_EQ(report.brokenSectors, 0);
    EXPECT_GE(report.sectorPieces, 6);  // a hole needs four around it, an L two
    EXPECT_LE(report.sectorPieces, 12);
  }
}

// A walk-over trigger line drawn through a room with another sector on both of its
// sides (freedoom2 MAP20, linedef 1648) must not hand the cells beside it to that
// sector: it bounds nothing, and the room's floor would sink to the other sector's.
TEST(Pieces, TriggerLineNamingAnotherSectorOnBothSidesKeepsTheRoomWhole) {
  LevelBuilder b;
  const int pit = b.AddSector(-16, 128), room = b.AddSector(0, 128);
  b.AddOutline({{512, 0}, {640, 0}, {640, 128}, {512, 128}}, pit);
  b.AddOutline({{0, 0}, {256, 0}, {256, 256}, {0, 256}}, room);
  b.AddLine({32, 96}, {224, 96}, pit, pit);
  for (bool direct : {false, true}) {
    SCOPED_TRACE(direct ? "direct" : "nodes");
    if (!direct) b.BuildNodes();
    PieceReport report;
    const std::vector<Piece> pieces = Build(b.Level(), report, direct);
    ExpectTiling(b.Level(), pieces, 64);
    EXPECT_DOUBLE_EQ(SectorPieceArea(pieces, room), 256.0 * 256);
    EXPECT_DOUBLE_EQ(SectorPieceArea(pieces, pit), 128.0 * 128);
  }
}

TEST(Pieces, DoorSectorBetweenRoomsIsItsOwnPiece) {
  LevelBuilder b;
  const int west = b.AddSector(0, 128), door = b.AddSector(0, 0), east = b.AddSector(0, 128);
  b.AddOutline({{0, 0}, {256, 0}, {256, 96}, {256, 160}, {256, 256}, {0, 256}}, west);
  b.AddOutline({{256, 96}, {272, 96}, {272, 160}, {256, 160}}, door);
  b.AddOutline({{272, 0}, {528, 0}, {528, 256}, {272, 256}, {272, 160}, {272, 96}}, east);
  b.BuildNodes();
  PieceReport report;
  const std::vector<Piece> pieces = Build(b.Level(), report);
  ExpectTiling(b.Level(), pieces, 64);
  ExpectNoLineThroughPieces(b.Level(), pieces);
  EXPECT_EQ(std::count_if(pieces.begin(), pieces.end(), [&](const Piece& p) { return p.sector == door; }), 1);
  EXPECT_DOUBLE_EQ(SectorPieceArea(pieces, door), 16.0 * 64);
  // Each room's wall facing the door is split where the door's lines end, so
  // every edge on that wall names exactly one linedef or none.
  for (const Piece& p : pieces) {
    if (p.sector != west) continue;
    for (const PieceEdge& e : p.edges) {
      if (std::fabs(e.fromX - 256) < 1e-9 && std::fabs(e.toX - 256) < 1e-9) {
        EXPECT_GE(e.linedef, 0);
      }
    }
  }
}

TEST(Pieces, ShallowNodeTreeLeavesAreCutFurther) {
  LevelBuilder b;
  const int a = b.AddSector(0, 128), c = b.AddSector(16, 128);
  b.AddOutline({{0, 0}, {300, 0}, {300, 50}, {100, 50}, {100, 250}, {0, 250}}, a);
  b.AddOutline({{300, 0}, {400, 100}, {300, 50}}, c);
  b.BuildNodes(1);
  PieceReport report;
  const std::vector<Piece> pieces = Build(b.Level(), report);
  EXPECT_TRUE(report.usedNodes);
  ExpectTiling(b.Level(), pieces, 64);
  ExpectNoLineThroughPieces(b.Level(), pieces);
  EXPECT_DOUBLE_EQ(SectorPieceArea(pieces, c), 100.0 * 50 / 2);
}

TEST(Pieces, BrokenNodeTreesFallBackToTheLines) {
  LevelBuilder b;
  const int room = b.AddSector(0, 128);
  b.AddOutline({{0, 0}, {256, 0}, {128, 200}}, room);
  b.BuildNodes();
  wad::Level cyclic = b.Level();
  cyclic.nodes.back().child[0] = static_cast<int>(cyclic.nodes.size()) - 1;
  cyclic.nodes.back().isLeaf[0] = false;
  wad::Level flat = b.Level();
  for (wad::Node& n : flat.nodes) n.dx = n.dy = 0;
  for (const wad::Level* level : {&cyclic, &flat}) {
    PieceReport report;
    const std::vector<Piece> pieces = Build(*level, report);
    EXPECT_FALSE(report.usedNodes);
    EXPECT_FALSE(report.fallbackReason.empty());
    ExpectTiling(*level, pieces, 64);
    EXPECT_DOUBLE_EQ(SectorPieceArea(pieces, room), 256.0 * 200 / 2);
  }
}

TEST(Pieces, BadGeometryNeverBreaksTheTiling) {
  LevelBuilder b;
  const int open = b.AddSector(0, 128), room = b.AddSector(0, 128);
  b.AddLine({0, 0}, {0, 100}, open);  // a sector of two lines that do not close
  b.AddLine({0, 100}, {100, 100}, open);
  b.AddOutline({{200, 0}, {400, 0}, {400, 200}, {200, 200}}, room);
  b.AddLine({200, 0}, {400, 200}, room);  // a stray diagonal across the room
  b.AddLine({400, 0}, {200, 200}, room);  // crossing it off the grid
  b.AddLine({200, 0}, {400, 0}, room);    // a duplicate of a wall, reversed
  b.AddLine({250, 100}, {251, 100}, room);  // a one-unit line
  b.AddLine({-30000, -30000}, {30000, 30000}, -1, room);  // a far line across everything
  b.BuildNodes();
  for (bool direct : {false, true}) {
    PieceReport report;
    const std::vector<Piece> pieces = Build(b.Level(), report, direct);
    double total = 0;
    for (const Piece& p : pieces) {
      ExpectPieceShape(p);
      total += p.area;
    }
    EXPECT_NEAR(total, BoxArea(b.Level(), 64), 1e-6 * total);
    ExpectNoLineThroughPieces(b.Level(), pieces);
    EXPECT_GE(report.brokenSectors, 1);
  }
}

TEST(Pieces, EmptyLevelIsOneVoidBox) {
  wad::Level level;
  PieceReport report;
  const std::vector<Piece> pieces = Build(level, report);
  ASSERT_EQ(pieces.size(), 1u);
  EXPECT_EQ(pieces[0].sector, -1);
  EXPECT_DOUBLE_EQ(pieces[0].area, 128.0 * 128);
}

TEST(SectorLocator, FindsRoomsHolesAndTheOutside) {
  LevelBuilder b;
  const int hall = b.AddSector(0, 128), pit = b.AddSector(-64, 128);
  b.AddOutline({{0, 0}, {512, 0}, {512, 512}, {0, 512}}, hall);
  b.AddOutline({{100, 100}, {100, 200}, {200, 200}, {200, 100}}, hall);  // the hall around the pit
  b.AddOutline({{100, 100}, {200, 100}, {200, 200}, {100, 200}}, pit);
  b.AddOutline({{300, 300}, {300, 400}, {400, 400}, {400, 300}}, hall);  // a solid pillar
  const zaro3::SectorLocator locator(b.Level());
  EXPECT_EQ(locator.SectorAt(50, 50), hall);
  EXPECT_EQ(locator.SectorAt(150, 150), pit);
  EXPECT_EQ(locator.SectorAt(350, 350), -1);
  EXPECT_EQ(locator.SectorAt(600, 50), -1);
  EXPECT_EQ(locator.SectorAt(-10, 50), -1);
  EXPECT_EQ(locator.SectorAt(50, 100), hall);  // on the height of a vertex
  EXPECT_EQ(locator.SectorAt(1e300, -1e300), -1);
}

// A floor sunk with no wall round it: lines with the sunken sector on both sides, inside a
// room. The game's node tree puts the sunken sector inside them and the room outside; a ray
// that stops at the first line would give a strip of the room beside them to the sunken one.
TEST(SectorLocator, TakesSectorsBehindLinesOfOneSectorFromTheNodes) {
  LevelBuilder b;
  const int room = b.AddSector(0, 128), sunk = b.AddSector(-8, 128);
  const std::vector<int> walls = b.AddOutline({{0, 0}, {512, 0}, {512, 512}, {0, 512}}, room);
  const int inner = b.AddLine({100, 100}, {100, 200}, sunk, sunk);
  b.AddLine({100, 200}, {200, 200}, sunk, sunk);
  b.AddLine({200, 200}, {200, 100}, sunk, sunk);
  b.AddLine({200, 100}, {100, 100}, sunk, sunk);
  wad::Level& level = b.Level();
  // Subsector 0 lies in the sunken square, 1 to 4 round it; each names a line of its sector.
  level.segs = {{0, 1, walls[0], 0, 0}, {0, 1, inner, 0, 0}};
  level.subsectors = {{1, 1}, {0, 1}, {0, 1}, {0, 1}, {0, 1}};
  // Front (child 0) is right of the partition: x > 100, x > 200, y < 100, y < 200.
  level.nodes = {
      wad::Node{0, 200, 1, 0, {0, 4}, {true, true}},    // y = 200 (towards +x): front is below
      wad::Node{0, 100, 1, 0, {3, 0}, {true, false}},   // y = 100
      wad::Node{200, 0, 0, 1, {2, 1}, {true, false}},   // x = 200 (towards +y): front is right
      wad::Node{100, 0, 0, 1, {2, 1}, {false, true}}};  // the root, x = 100
  const zaro3::SectorLocator withoutNodes(level);
  EXPECT_EQ(withoutNodes.SectorAt(90, 150), sunk);  // the first line met decides
  level.nodesUsable = true;
  const zaro3::SectorLocator locator(level);
  EXPECT_EQ(locator.SectorAt(150, 150), sunk);
  EXPECT_EQ(locator.SectorAt(90, 150), room);
  EXPECT_EQ(locator.SectorAt(150, 90), room);
  EXPECT_EQ(locator.SectorAt(300, 300), room);
  EXPECT_EQ(locator.SectorAt(600, 150), -1);  // outside the room still outside
}

struct Totals {
  int levels = 0, mismatched = 0, subsectors = 0, sectorPieces = 0, voidPieces = 0, repaired = 0, broken = 0, fallbacks = 0;
};

void ConvertWad(const std::string& path, Totals& totals) {
  const wad::WadFile wadFile = wad::WadFile::Load(path);
  for (const std::string& name : wad::ListLevels(wadFile)) {
    SCOPED_TRACE(name);
    const wad::Level level = wad::LoadLevel(wadFile, name);
    PieceReport report;
    const std::vector<Piece> pieces = Build(level, report);
    int conflicts = 0;
    ExpectTiling(level, pieces, 64, &conflicts);
    EXPECT_LE(conflicts, 40);
    // Sectors whose lines disagree about the area between them (overlapping
    // sectors in the data) cannot all match; they must stay a small share.
    const std::vector<zaro3::SectorArea> truth = zaro3::TrueSectorAreas(level);
    double misplaced = 0, covered = 0;
    int mismatched = 0;
    for (std::size_t s = 0; s < truth.size(); ++s) {
      if (!truth[s].closed || truth[s].selfReferencing) continue;
      const double difference = std::fabs(SectorPieceArea(pieces, int(s)) - truth[s].area);
      covered += truth[s].area;
      if (difference > 1e-3 + 1e-7 * truth[s].area) {
        misplaced += difference;
        ++mismatched;
      }
    }
    EXPECT_LE(misplaced, 0.01 * covered);
    EXPECT_LE(mismatched, 4);
    if (name == "E1M1" || name == "MAP01") ExpectNoLineThroughPieces(level, pieces);
    // Brushes: two per sector piece, one per void piece; the plain method makes two per cell.
    EXPECT_LE(2.0 * report.sectorPieces + report.voidPieces, 0.85 * 2 * report.subsectors);
    totals.mismatched += mismatched;
    std::printf("%-6s subsectors %5d sector pieces %5d void pieces %5d repaired %d broken %d%s\n", name.c_str(),
                report.subsectors, report.sectorPieces, report.voidPieces, report.repairedSectors,
                report.brokenSectors, report.usedNodes ? "" : " (direct)");
    ++totals.levels;
    totals.subsectors += report.subsectors;
    totals.sectorPieces += report.sectorPieces;
    totals.voidPieces += report.voidPieces;
    totals.repaired += report.repairedSectors;
    totals.broken += report.brokenSectors;
    totals.fallbacks += report.usedNodes ? 0 : 1;
  }
}

TEST(Pieces, EveryFreedoomLevelTilesItsBox) {
  Totals totals;
  int wads = 0;
  for (const char* path : {"/usr/share/games/doom/freedoom1.wad", "/usr/share/games/doom/freedoom2.wad"}) {
    if (!std::ifstream(path)) continue;
    ++wads;
    ConvertWad(path, totals);
  }
  if (wads == 0) GTEST_SKIP() << "Freedoom is not installed";
  std::printf("total: %d levels, subsectors %d, sector pieces %d, void pieces %d, repaired %d, broken %d, "
              "direct %d, sectors not matching their lines %d\n",
              totals.levels, totals.subsectors, totals.sectorPieces, totals.voidPieces, totals.repaired,
              totals.broken, totals.fallbacks, totals.mismatched);
}

}  // namespace
