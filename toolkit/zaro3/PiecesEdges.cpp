#include "PiecesEdges.h"

#include <algorithm>
#include <map>
#include <unordered_map>
#include <utility>

namespace zaro3 {

namespace {

using geo::ConvexPolygon;
using geo::IntLine;
using geo::IntVec;
using geo::RationalPoint;

// One linedef as an interval of its carrier, positions measured along the
// carrier's canonical direction (integer, since the ends are integer points).
struct OnCarrier {
  int linedef = 0;
  bool sameDirection = true;  // linedef runs along the canonical direction
  int64_t lo = 0, hi = 0;
  IntVec loPoint, hiPoint;
};

using CarrierIndex = std::unordered_map<IntLine, std::vector<OnCarrier>, geo::IntLineHash>;

CarrierIndex IndexCarriers(const wad::Level& level, const std::vector<IntLine>& lines) {
  CarrierIndex index;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].IsNull()) continue;
    const IntLine carrier = lines[i].Canonical();
    const IntVec dir = carrier.Direction();
    const wad::Vertex& v1 = level.vertices[level.linedefs[i].v1];
    const wad::Vertex& v2 = level.vertices[level.linedefs[i].v2];
    IntVec p{v1.x, v1.y}, q{v2.x, v2.y};
    OnCarrier entry;
    entry.linedef = static_cast<int>(i);
    entry.sameDirection = carrier == lines[i];
    if (!entry.sameDirection) std::swap(p, q);
    entry.lo = geo::Dot(dir, p);
    entry.hi = geo::Dot(dir, q);
    entry.loPoint = p;
    entry.hiPoint = q;
    index[carrier].push_back(entry);
  }
  return index;
}

}  // namespace

int FacingSector(const wad::Level& level, int linedef, int side) {
  const wad::Linedef& l = level.linedefs[linedef];
  const int sidedef = side == 0 ? l.front : l.back;
  return sidedef < 0 ? -1 : level.sidedefs[sidedef].sector;
}

bool SameSectorBothSides(const wad::Level& level, int linedef) {
  const int front = FacingSector(level, linedef, 0);
  return front >= 0 && front == FacingSector(level, linedef, 1);
}

bool SameAppearance(const wad::Level& level, int linedefA, int sideA, int linedefB, int sideB) {
  if (linedefA < 0 || linedefB < 0) return linedefA == linedefB;
  if (FacingSector(level, linedefA, sideA) != FacingSector(level, linedefB, sideB)) return false;
  // A face shows the sidedef across the line from the piece: compare those.
  const wad::Linedef& a = level.linedefs[linedefA];
  const wad::Linedef& b = level.linedefs[linedefB];
  const int otherA = sideA == 0 ? a.back : a.front;
  const int otherB = sideB == 0 ? b.back : b.front;
  if (otherA < 0 || otherB < 0) return otherA == otherB;
  const wad::Sidedef& sa = level.sidedefs[otherA];
  const wad::Sidedef& sb = level.sidedefs[otherB];
  return sa.sector == sb.sector && sa.upper == sb.upper && sa.lower == sb.lower && sa.middle == sb.middle;
}

namespace {

// Tags edge i of the polygon, or returns false with `junction` set to a linedef
// end strictly inside the edge.
bool TagEdge(const wad::Level& level, const CarrierIndex& index, ConvexPolygon& polygon, std::size_t i,
             IntVec& junction) {
  geo::PolygonEdge& edge = polygon.Edge(i);
  edge.tag = -1;
  edge.side = 0;
  const IntLine carrier = edge.line.Canonical();
  const auto found = index.find(carrier);
  if (found == index.end()) return true;
  const IntVec dir = carrier.Direction();
  RationalPoint lo = polygon.Vertex(i), hi = polygon.EdgeEnd(i);
  if (geo::CompareAlong(dir, lo, hi) > 0) std::swap(lo, hi);
  const bool edgeSameDirection = carrier == edge.line;
  int chosen = -1, chosenSide = 0;
  bool needsCut = false;
  IntVec inside{};
  for (const OnCarrier& c : found->second) {
    if (geo::CompareAlong(dir, lo, c.hi) >= 0 || geo::CompareAlong(dir, hi, c.lo) <= 0) continue;  // no overlap
    if (geo::CompareAlong(dir, lo, c.lo) < 0) inside = c.loPoint, needsCut = true;
    else if (geo::CompareAlong(dir, hi, c.hi) > 0) inside = c.hiPoint, needsCut = true;
    // The piece is left of the edge; on the linedef's left means its back side.
    const int side = edgeSameDirection == c.sameDirection ? 1 : 0;
    // Among overlapping duplicates prefer one whose facing side has a sidedef.
    if (chosen < 0 || (FacingSector(level, chosen, chosenSide) < 0 && FacingSector(level, c.linedef, side) >= 0)) {
      chosen = c.linedef;
      chosenSide = side;
    }
  }
  if (needsCut) {
    junction = inside;
    return false;
  }
  edge.tag = chosen;
  edge.side = chosenSide;
  return true;
}

int Label(const wad::Level& level, const ConvexPolygon& polygon, const SectorLocator& locator) {
  std::map<int, int> votes;
  for (const geo::PolygonEdge& e : polygon.Edges()) {
    if (e.tag >= 0 && !SameSectorBothSides(level, e.tag)) ++votes[FacingSector(level, e.tag, e.side)];
  }
  if (votes.empty()) {
    double x = 0, y = 0;
    polygon.Centroid(x, y);
    return locator.SectorAt(x, y);
  }
  auto best = votes.begin();
  for (auto it = votes.begin(); it != votes.end(); ++it) {
    if (it->second > best->second) best = it;
  }
  return best->first;
}

}  // namespace

std::vector<LabelledCell> AttributeAndLabel(const wad::Level& level, const std::vector<IntLine>& lines,
                                            std::vector<ConvexPolygon> cells, const SectorLocator& locator) {
  const CarrierIndex index = IndexCarriers(level, lines);
  std::vector<LabelledCell> result;
  result.reserve(cells.size());
  while (!cells.empty()) {
    ConvexPolygon polygon = std::move(cells.back());
    cells.pop_back();
    bool clean = true;
    for (std::size_t i = 0; i < polygon.Size() && clean; ++i) {
      IntVec junction;
      if (TagEdge(level, index, polygon, i, junction)) continue;
      // Cut across the edge at the linedef's end: the line through it, perpendicular.
      const IntVec d = polygon.Edge(i).line.Direction();
      const IntLine across = IntLine::FromPointDirection(junction, {-d.y, d.x});
      ConvexPolygon left, right;
      polygon.Split(across, left, right);
      if (left.Empty() || right.Empty()) continue;  // cannot happen: the end lies inside the edge
      cells.push_back(std::move(left));
      cells.push_back(std::move(right));
      clean = false;
    }
    if (clean) {
      LabelledCell cell;
      cell.sector = Label(level, polygon, locator);
      cell.polygon = std::move(polygon);
      result.push_back(std::move(cell));
    }
  }
  return result;
}

}  // namespace zaro3
