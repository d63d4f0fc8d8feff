#include "DoorPortal.h"

#include <algorithm>
#include <cmath>

#include "ConvexPolygon.h"
#include "DoorCutLines.h"
#include "PiecesEdges.h"
#include "Portals.h"
#include "RampStrip.h"

namespace zaro3 {

namespace doorcut {

bool IsWall(const wad::Level& level, const MoverPlan& plan, int linedef) {
  const wad::Linedef& line = level.linedefs[linedef];
  if (line.front < 0 || line.back < 0) return true;
  const int a = level.sidedefs[line.front].sector, b = level.sidedefs[line.back].sector;
  return std::min(plan.ceiling[a], plan.ceiling[b]) <= std::max(plan.floor[a], plan.floor[b]);
}

void RunWithDoorOnLeft(const PortalSite& site, int door, geo::IntVec& a, geo::IntVec& b) {
  const bool doorInFront = site.front == door;
  a = doorInFront ? geo::IntVec{site.to.x, site.to.y} : geo::IntVec{site.from.x, site.from.y};
  b = doorInFront ? geo::IntVec{site.from.x, site.from.y} : geo::IntVec{site.to.x, site.to.y};
}

geo::IntLine DoorSideLine(const wad::Level& level, int door, int linedef) {
  const wad::Linedef& line = level.linedefs[linedef];
  // The front lies right of v1 -> v2: walked from v2 to v1 it lies on the left.
  return FacingSector(level, linedef, 0) == door ? geo::IntLine::Through(At(level, line.v2), At(level, line.v1))
                                          : geo::IntLine::Through(At(level, line.v1), At(level, line.v2));
}

bool CutSlab(const geo::ConvexPolygon& polygon, const geo::IntLine& faceLine, int64_t zLow, int64_t zHigh,
             DoorCut& cut) {
  Prism& slab = cut.slab;
  slab = Prism{};
  slab.zLow = zLow;
  slab.zHigh = zHigh;
  if (slab.zHigh <= slab.zLow) return false;
  slab.top = slab.bottom = Surface(kPortalSideMaterial);
  bool faced = false;
  for (std::size_t i = 0; i < polygon.Size(); ++i) {
    const geo::PolygonEdge& edge = polygon.Edge(i);
    const geo::IntVec p = edge.line.Point(), q = edge.line.PointAhead();
    const bool isFace = !faced && edge.line == faceLine;
    slab.sides.push_back({{p.x, p.y}, {q.x, q.y}, Surface(isFace ? kVisportalMaterial : kPortalSideMaterial)});
    if (!isFace) continue;
    faced = true;
    const geo::RationalPoint& s = polygon.Vertex(i);
    const geo::RationalPoint& t = polygon.EdgeEnd(i);
    cut.face.lo[0] = std::min(s.X(), t.X());
    cut.face.hi[0] = std::max(s.X(), t.X());
    cut.face.lo[1] = std::min(s.Y(), t.Y());
    cut.face.hi[1] = std::max(s.Y(), t.Y());
    cut.face.lo[2] = static_cast<double>(slab.zLow);
    cut.face.hi[2] = static_cast<double>(slab.zHigh);
  }
  cut.line = faceLine;
  return faced;
}

}  // namespace doorcut

namespace {

using doorcut::At;
using doorcut::DoorSideLine;
using doorcut::IsWall;
using doorcut::Plus;

// The tag of the two cuts across the door (polygon edges carry their linedef).
constexpr int kCutTag = -2;
// How many depths either side of the middle a cut may move to find two walls.
constexpr int64_t kMostShifts = 512;

// One candidate cut: the band between two lines a unit apart, parallel to the run.
struct Band {
  geo::IntVec a, along;  // the run's start and direction, the door on the left
  geo::IntLine nearCut;  // left of it: deeper than the band's near edge
  geo::IntLine farCut;   // left of it: shallower than its far edge
  // Where a point lies along the run, in runs' lengths.
  double Along(double x, double y) const {
    return ((x - a.x) * along.x + (y - a.y) * along.y) / static_cast<double>(geo::Dot(along, along));
  }
};

enum class Meeting { Apart, Across, Within };

// How a line's segment meets the band: not at all, from one side to the other, or with an
// end inside it.
Meeting Meet(const Band& band, geo::IntVec p, geo::IntVec q) {
  const int64_t nearP = band.nearCut.SideValue(p), nearQ = band.nearCut.SideValue(q);
  const int64_t farP = band.farCut.SideValue(p), farQ = band.farCut.SideValue(q);
  if ((nearP < 0 && nearQ < 0) || (farP < 0 && farQ < 0)) return Meeting::Apart;
  if ((nearP < 0 && farQ < 0) || (nearQ < 0 && farP < 0)) return Meeting::Across;
  return Meeting::Within;
}

// Where a segment crossing the band crosses its near edge, along the run.
double CrossingAlong(const Band& band, geo::IntVec p, geo::IntVec q) {
  const double sp = static_cast<double>(band.nearCut.SideValue(p));
  const double sq = static_cast<double>(band.nearCut.SideValue(q));
  const double s = sp / (sp - sq);
  return band.Along(p.x + s * (q.x - p.x), p.y + s * (q.y - p.y));
}

// The walls of `part` the band crosses, when it meets the part's outline at exactly two
// walls and nothing else, and no other part of the door lies between them.
bool TwoWalls(const wad::Level& level, const MoverPlan& plan, const DoorOutline& outline, std::size_t part,
              const Band& band, int walls[2]) {
  int count = 0;
  double along[2] = {0, 0};
  for (const int l : outline.parts[part]) {
    const wad::Linedef& line = level.linedefs[l];
    const geo::IntVec p = At(level, line.v1), q = At(level, line.v2);
    const Meeting meeting = Meet(band, p, q);
    if (meeting == Meeting::Apart) continue;
    if (meeting == Meeting::Within || count == 2 || !IsWall(level, plan, l)) return false;
    along[count] = CrossingAlong(band, p, q);
    walls[count++] = l;
  }
  if (count != 2) return false;
  const double lo = std::min(along[0], along[1]), hi = std::max(along[0], along[1]);
  for (std::size_t other = 0; other < outline.parts.size(); ++other) {
    if (other == part) continue;
    for (const int l : outline.parts[other]) {
      const wad::Linedef& line = level.linedefs[l];
      const geo::IntVec p = At(level, line.v1), q = At(level, line.v2);
      if (Meet(band, p, q) == Meeting::Apart) continue;
      const double tp = band.Along(static_cast<double>(p.x), static_cast<double>(p.y));
      const double tq = band.Along(static_cast<double>(q.x), static_cast<double>(q.y));
      if (std::max(tp, tq) > lo && std::min(tp, tq) < hi) return false;
    }
  }
  return true;
}

// The brush for a band that meets two walls: the band between them, its near side the
// visportal face.
bool SlabBetween(const wad::Level& level, const MoverPlan& plan, int door, const Band& band, const int walls[2],
                 DoorCut& cut) {
  constexpr int64_t kFar = 1 << 17;
  geo::ConvexPolygon middle = geo::ConvexPolygon::Box(-kFar, -kFar, kFar, kFar);
  geo::ConvexPolygon left, right;
  middle.Split(band.nearCut, left, right, kCutTag);
  left.Split(band.farCut, middle, right, kCutTag);
  for (int w = 0; w < 2; ++w) {
    middle.Split(DoorSideLine(level, door, walls[w]), left, right, walls[w]);
    middle = left;
  }
  if (!RampStrip::Sound(middle)) return false;

  return doorcut::CutSlab(middle, band.nearCut, plan.floor[door], plan.ceiling[door], cut);
}

}  // namespace

DoorOutline DoorOutlineOf(const wad::Level& level, int door) {
  std::vector<int> boundary;
  for (std::size_t l = 0; l < level.linedefs.size(); ++l) {
    const int line = static_cast<int>(l);
    if ((FacingSector(level, line, 0) == door) != (FacingSector(level, line, 1) == door)) boundary.push_back(line);
  }
  DoorOutline outline;
  std::vector<bool> grouped(boundary.size(), false);
  for (std::size_t start = 0; start < boundary.size(); ++start) {
    if (grouped[start]) continue;
    grouped[start] = true;
    outline.parts.push_back({boundary[start]});
    std::vector<int>& group = outline.parts.back();
    // Grows the group by every line sharing a vertex with one in it.
    for (std::size_t k = 0; k < group.size(); ++k) {
      const wad::Linedef& a = level.linedefs[group[k]];
      for (std::size_t j = 0; j < boundary.size(); ++j) {
        if (grouped[j]) continue;
        const wad::Linedef& b = level.linedefs[boundary[j]];
        if (a.v1 == b.v1 || a.v1 == b.v2 || a.v2 == b.v1 || a.v2 == b.v2) {
          grouped[j] = true;
          group.push_back(boundary[j]);
        }
      }
    }
  }
  return outline;
}

bool RunsAlong(const wad::Level& level, const DoorOutline& outline, std::size_t part, const PortalSite& site) {
  const geo::IntVec from{site.from.x, site.from.y}, to{site.to.x, site.to.y};
  for (const int l : outline.parts[part]) {
    const geo::IntVec p = At(level, level.linedefs[l].v1), q = At(level, level.linedefs[l].v2);
    const geo::IntVec d{q.x - p.x, q.y - p.y};
    if (geo::Cross(d, {from.x - p.x, from.y - p.y}) != 0 || geo::Cross(d, {to.x - p.x, to.y - p.y}) != 0) continue;
    // The run's middle, doubled to stay whole, within the line.
    const int64_t middle = geo::Dot(d, {from.x + to.x - 2 * p.x, from.y + to.y - 2 * p.y});
    if (middle >= 0 && middle <= 2 * geo::Dot(d, d)) return true;
  }
  return false;
}

bool DoorMiddlePortal(const wad::Level& level, const MoverPlan& plan, int door, const DoorOutline& outline,
                      std::size_t part, const PortalSite& site, DoorCut& cut) {
  geo::IntVec a, b;
  doorcut::RunWithDoorOnLeft(site, door, a, b);
  const geo::IntVec along{b.x - a.x, b.y - a.y};
  const geo::IntVec in = InwardDirection(along);
  const int64_t cross = geo::Cross(along, in);

  // How deep the door's part reaches from the run, in steps of `in`.
  double depth = 0;
  for (const int l : outline.parts[part]) {
    for (const int v : {level.linedefs[l].v1, level.linedefs[l].v2}) {
      const geo::IntVec p = At(level, v);
      depth = std::max(depth, static_cast<double>(geo::Cross(along, {p.x - a.x, p.y - a.y})) / cross);
    }
  }
  // Half way when the outline allows, else the nearest depth where the cut meets two walls.
  const int64_t middle = std::max<int64_t>(1, static_cast<int64_t>(depth / 2));
  for (int64_t shift = 0; shift <= kMostShifts; ++shift) {
    bool inside = false;
    for (const int64_t k : {middle - shift, middle + shift}) {
      if (k < 1 || k + 1 >= depth) continue;
      inside = true;
      Band band{a, along, geo::IntLine::Through(Plus(a, in, k), Plus(b, in, k)),
                geo::IntLine::Through(Plus(b, in, k + 1), Plus(a, in, k + 1))};
      int walls[2];
      if (TwoWalls(level, plan, outline, part, band, walls) && SlabBetween(level, plan, door, band, walls, cut)) {
        return true;
      }
      if (shift == 0) break;
    }
    if (!inside) break;
  }
  return false;
}

}  // namespace zaro3
