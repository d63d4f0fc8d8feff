#include "WorldBrushes.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_set>

#include "PrismShapes.h"

namespace zaro3 {

namespace {

// What lies across one edge of a piece: the side of the line facing away from
// the piece (towards the neighbour, the side DOOM draws on this face) and the
// neighbour's sector, when there is one.
struct Across {
  int linedef = -1;
  int side = 0;     // 0: the line's front sidedef, 1: its back
  int sector = -1;  // -1: no sidedef there
};

Across AcrossEdge(const wad::Level& level, const PieceEdge& edge) {
  Across across;
  if (edge.linedef < 0) return across;
  const wad::Linedef& line = level.linedefs[edge.linedef];
  const int other = edge.side == 0 ? line.back : line.front;
  if (other < 0) return across;
  across.linedef = edge.linedef;
  across.side = 1 - edge.side;
  across.sector = level.sidedefs[other].sector;
  return across;
}

bool SkyCeiling(const wad::Level& level, int sector) {
  return MaterialPicker::IsSkyFlat(level.sectors[sector].ceilingFlat);
}

class PrismBuilder {
public:
  PrismBuilder(const wad::Level& level, const MoverPlan& plan, MaterialPicker& picker)
      : m_level(level), m_plan(plan), m_picker(picker) {}

  Prism Floor(const Piece& piece, int64_t bottom) {
    const int s = piece.sector;
    Prism prism = Shape(piece, bottom, m_plan.floor[s]);
    prism.top = m_picker.FloorFlat(m_level.sectors[s].floorFlat);
    for (std::size_t i = 0; i < piece.edges.size(); ++i) {
      const Across across = AcrossEdge(m_level, piece.edges[i]);
      if (LowerStepShows(m_plan, s, across.sector)) prism.sides[i].face = Wall(across, WallPart::Lower);
    }
    return prism;
  }

  Prism Ceiling(const Piece& piece, int64_t top) {
    const int s = piece.sector;
    Prism prism = Shape(piece, m_plan.ceiling[s], top);
    prism.bottom = m_picker.CeilingFlat(m_level.sectors[s].ceilingFlat);
    for (std::size_t i = 0; i < piece.edges.size(); ++i) {
      const Across across = AcrossEdge(m_level, piece.edges[i]);
      if (UpperStepShows(m_plan, s, across.sector)) {
        // DOOM draws no upper texture between two sky ceilings: the sky goes on.
        prism.sides[i].face = SkyCeiling(m_level, s) && SkyCeiling(m_level, across.sector)
                                  ? Surface(m_picker.Sky())
                                  : Wall(across, WallPart::Upper);
      }
    }
    return prism;
  }

  Prism Void(const Piece& piece, int64_t bottom, int64_t top) {
    Prism prism = Shape(piece, bottom, top);
    for (std::size_t i = 0; i < piece.edges.size(); ++i) {
      const Across across = AcrossEdge(m_level, piece.edges[i]);
      if (across.sector >= 0) prism.sides[i].face = Wall(across, WallPart::Middle);
    }
    return prism;
  }

  // A moving ceiling's slab shows the neighbours' upper textures, a moving floor's their
  // lower ones; the slab is written where its entity is placed, its faces aligned where it rests.
  Prism Slab(const Piece& piece, const Mover& mover) {
    const int s = piece.sector;
    Prism prism = Shape(piece, mover.SlabLow(), mover.SlabHigh());
    const bool ceiling = mover.plane == Plane::Ceiling;
    if (ceiling) prism.bottom = m_picker.CeilingFlat(m_level.sectors[s].ceilingFlat);
    else prism.top = m_picker.FloorFlat(m_level.sectors[s].floorFlat);
    for (std::size_t i = 0; i < piece.edges.size(); ++i) {
      const Across across = AcrossEdge(m_level, piece.edges[i]);
      if (across.sector < 0 || across.sector == s) continue;
      const bool seen = ceiling ? m_plan.ceiling[across.sector] > mover.low : m_plan.floor[across.sector] < mover.high;
      if (seen) prism.sides[i].face = Wall(across, ceiling ? WallPart::Upper : WallPart::Lower);
    }
    const int64_t shift = mover.RestShift();
    prism.top.restShift = prism.bottom.restShift = shift;
    for (PrismSide& side : prism.sides) side.face.restShift = shift;
    return prism;
  }

private:
  static Prism Shape(const Piece& piece, int64_t zLow, int64_t zHigh) {
    Prism prism;
    prism.zLow = zLow;
    prism.zHigh = zHigh;
    prism.top = Surface(kHiddenMaterial);
    prism.bottom = Surface(kHiddenMaterial);
    prism.sides.reserve(piece.edges.size());
    for (const PieceEdge& edge : piece.edges) prism.sides.push_back({edge.lineA, edge.lineB, Surface(kHiddenMaterial)});
    return prism;
  }

  Surface Wall(const Across& across, WallPart part) {
    return m_picker.WallSide(m_level, across.linedef, across.side, part);
  }

  const wad::Level& m_level;
  const MoverPlan& m_plan;
  MaterialPicker& m_picker;
};

// The corners where linedefs meet, as exact keys.
class LineEnds {
public:
  explicit LineEnds(const wad::Level& level) {
    for (const wad::Linedef& line : level.linedefs) {
      for (const int v : {line.v1, line.v2}) m_keys.insert(Key(level.vertices[v].x, level.vertices[v].y));
    }
  }
  bool Has(double x, double y) const {
    return x == std::floor(x) && y == std::floor(y) && std::abs(x) < 1e9 && std::abs(y) < 1e9 &&
           m_keys.count(Key(static_cast<int64_t>(x), static_cast<int64_t>(y))) > 0;
  }

private:
  static int64_t Key(int64_t x, int64_t y) { return (x << 32) ^ (y & 0xFFFFFFFF); }
  std::unordered_set<int64_t> m_keys;
};

// A void piece that borders the level: an edge on a line, or a corner at a line's end.
// The second matters where two nearly collinear walls meet: the void beyond them may
// follow one wall's carrier and only touch the other at their common corner.
bool TouchesLevel(const Piece& piece, const LineEnds& ends) {
  for (const PieceEdge& edge : piece.edges) {
    if (edge.linedef >= 0 || ends.Has(edge.fromX, edge.fromY)) return true;
  }
  return false;
}

void AddBound(const std::vector<Piece>& pieces, WorldGeometry& geometry) {
  double minX = std::numeric_limits<double>::max(), minY = minX;
  double maxX = std::numeric_limits<double>::lowest(), maxY = maxX;
  for (const Piece& piece : pieces) {
    for (const PieceEdge& e : piece.edges) {
      minX = std::min({minX, e.fromX, e.toX});
      maxX = std::max({maxX, e.fromX, e.toX});
      minY = std::min({minY, e.fromY, e.toY});
      maxY = std::max({maxY, e.fromY, e.toY});
    }
  }
  if (minX > maxX) return;
  const int64_t x0 = static_cast<int64_t>(std::floor(minX)), x1 = static_cast<int64_t>(std::ceil(maxX));
  const int64_t y0 = static_cast<int64_t>(std::floor(minY)), y1 = static_cast<int64_t>(std::ceil(maxY));
  const int64_t t = kBoundThickness, z0 = geometry.bottom, z1 = geometry.top;
  geometry.world.push_back(Box(x0 - t, y0 - t, x1 + t, y1 + t, z0 - t, z0, kHiddenMaterial));
  geometry.world.push_back(Box(x0 - t, y0 - t, x1 + t, y1 + t, z1, z1 + t, kHiddenMaterial));
  geometry.world.push_back(Box(x0 - t, y0 - t, x0, y1 + t, z0, z1, kHiddenMaterial));
  geometry.world.push_back(Box(x1, y0 - t, x1 + t, y1 + t, z0, z1, kHiddenMaterial));
  geometry.world.push_back(Box(x0, y0 - t, x1, y0, z0, z1, kHiddenMaterial));
  geometry.world.push_back(Box(x0, y1, x1, y1 + t, z0, z1, kHiddenMaterial));
}

}  // namespace

WorldGeometry BuildWorldGeometry(const wad::Level& level, const std::vector<Piece>& pieces,
                                 const LayerPieces& layers, const MoverPlan& plan, MaterialPicker& picker,
                                 const BrushOptions& options) {
  WorldGeometry geometry;
  // The world's floors and ceilings as the plan keeps them (moving ones at their extremes).
  int64_t lowest = 0, highest = 0;
  for (std::size_t s = 0; s < level.sectors.size(); ++s) {
    const int64_t floor = plan.floor[s];
    const int64_t ceiling = std::max(floor, plan.ceiling[s]);
    lowest = s == 0 ? floor : std::min(lowest, floor);
    highest = s == 0 ? ceiling : std::max(highest, ceiling);
  }
  geometry.bottom = lowest - kVerticalMargin;
  geometry.top = highest + kVerticalMargin;
  geometry.moverSlabs.resize(plan.movers.size());

  PrismBuilder builder(level, plan, picker);
  const LineEnds ends(level);
  auto keep = [&](Prism prism, std::vector<Prism>& into) {
    if (FootprintIsSound(prism)) into.push_back(std::move(prism));
    else ++geometry.skipped;
  };
  if (options.floors) {
    for (const Piece& piece : layers.floors) keep(builder.Floor(piece, geometry.bottom), geometry.world);
  }
  if (options.ceilings) {
    for (const Piece& piece : layers.ceilings) keep(builder.Ceiling(piece, geometry.top), geometry.world);
  }
  for (const Piece& piece : pieces) {
    if (piece.sector < 0) {
      // Inside the sealing box a void piece away from the level only fills space nobody reaches.
      if (options.bound && !TouchesLevel(piece, ends)) continue;
      if (options.walls) keep(builder.Void(piece, geometry.bottom, geometry.top), geometry.world);
      continue;
    }
    for (const int mover : {plan.floorMover[piece.sector], plan.ceilingMover[piece.sector]}) {
      if (mover >= 0) keep(builder.Slab(piece, plan.movers[mover]), geometry.moverSlabs[mover]);
    }
  }
  if (options.bound) AddBound(pieces, geometry);
  return geometry;
}

}  // namespace zaro3
