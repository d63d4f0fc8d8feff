// Pieces: a level's plane cut into convex pieces, each inside one sector or in the void.
//
// The pieces of a level tile the level's bounding box grown by a margin: every
// point of the box lies in exactly one piece (up to shared edges), sector
// pieces cover their sector, void pieces cover everything outside every sector.
// Each piece is a convex polygon given by its edges, counter-clockwise (the
// piece lies to the left of each edge), every edge on a line through two
// integer DOOM points, no two edges on one line, non-zero area.
// An edge that lies on a linedef carries that linedef and the side of it that
// faces the piece; every other edge (a partition, the box) carries -1.
// Pieces are values; BuildPieces owns nothing after it returns.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ConvexPolygon.h"
#include "Level.h"
#include "MapModel.h"

namespace zaro3 {

struct PieceEdge {
  double fromX = 0, fromY = 0;  // the edge's own corners (rational in truth): for checks,
  double toX = 0, toY = 0;      //   pictures and thing placement, never for planes
  IntPoint lineA;       // two integer points on the edge's line, lineA->lineB counter-clockwise
  IntPoint lineB;
  int linedef = -1;     // the linedef the edge lies on, or -1
  int side = 0;         // 0: the piece is on the linedef's front (right) side, 1: on its back
};

struct Piece {
  int sector = -1;      // -1: void, outside every sector
  std::vector<PieceEdge> edges;
  double area = 0;      // in square DOOM units, for checks and reports
};

// Whether the faces of two collinear line sides in a row (each given as the linedef and the
// side facing the piece) may become one brush face, besides looking alike (SameAppearance).
using FacesJoin = std::function<bool(int linedefA, int sideA, int linedefB, int sideB)>;

struct PieceOptions {
  bool direct = false;  // partition by the lines alone instead of the level's nodes
  int margin = 64;      // how far the box reaches beyond the level's vertices, DOOM units
  FacesJoin facesJoin;  // unset: faces that look alike always join
};

struct PieceReport {
  bool usedNodes = false;      // false: partitioned from the lines (asked for, or no usable nodes)
  std::string fallbackReason;  // why the nodes were not used, when they were wanted
  int subsectors = 0;          // convex pieces before merging (the plain method's count)
  int sectorPieces = 0;        // after merging
  int voidPieces = 0;
  int repairedSectors = 0;     // sectors whose pieces differed from the true area and were mended
  int brokenSectors = 0;       // sectors whose lines do not close (area not checkable)
};

// A cell of the partition before merging, with its sector (-1: void). Edge tags
// hold the linedef (or -1) and the side facing the cell, as for PieceEdge.
struct LabelledCell {
  geo::ConvexPolygon polygon;
  int sector = -1;
};

struct PieceCut {
  std::vector<Piece> pieces;        // merged within each sector
  std::vector<LabelledCell> cells;  // what they were merged from, for other merges
};

// Cuts the level into pieces; never throws on bad geometry (broken parts are counted).
PieceCut CutLevel(const wad::Level& level, const PieceOptions& options, PieceReport& report);
std::vector<Piece> BuildPieces(const wad::Level& level, const PieceOptions& options, PieceReport& report);

// Point location: the sector at DOOM point (x, y), or -1 outside every sector.
class SectorLocator {
public:
  explicit SectorLocator(const wad::Level& level);
  ~SectorLocator();
  SectorLocator(const SectorLocator&) = delete;
  SectorLocator& operator=(const SectorLocator&) = delete;
  int SectorAt(double x, double y) const;

private:
  struct Grid;
  const wad::Level& m_level;
  std::unique_ptr<Grid> m_grid;
};

}  // namespace zaro3
