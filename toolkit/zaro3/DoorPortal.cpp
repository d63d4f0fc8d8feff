#include "DoorPortal.h"

#include <algorithm>
#include <cmath>

#include "ConvexPolygon.h"
#include "Portals.h"
#include "RampStrip.h"

namespace zaro3 {

namespace {

// The tag of the two cuts across the door (piece edges carry their linedef or -1).
constexpr int kCutTag = -2;

// Whether a piece edge with this tag is a wall: a one-sided line, or one with no air across it.
bool IsWall(const wad::Level& level, const MoverPlan& plan, int linedef) {
  if (linedef < 0) return false;
  const wad::Linedef& line = level.linedefs[linedef];
  if (line.front < 0 || line.back < 0) return true;
  const int a = level.sidedefs[line.front].sector, b = level.sidedefs[line.back].sector;
  return std::min(plan.ceiling[a], plan.ceiling[b]) <= std::max(plan.floor[a], plan.floor[b]);
}

geo::IntVec Plus(geo::IntVec p, geo::IntVec d, int64_t k) { return {p.x + d.x * k, p.y + d.y * k}; }

// The convex polygon a set of the door's own lines encloses, each edge tagged with its line.
geo::ConvexPolygon LinesPolygon(const wad::Level& level, int door, const std::vector<int>& lines) {
  constexpr int64_t kFar = 1 << 17;
  geo::ConvexPolygon polygon = geo::ConvexPolygon::Box(-kFar, -kFar, kFar, kFar);
  for (const int l : lines) {
    if (polygon.Empty()) break;
    const wad::Linedef& line = level.linedefs[l];
    const int front = line.front >= 0 ? level.sidedefs[line.front].sector : -1;
    // The front lies right of v1 -> v2: walked from v2 to v1 it lies on the left.
    const wad::Vertex& v1 = level.vertices[line.v1];
    const wad::Vertex& v2 = level.vertices[line.v2];
    const geo::IntLine edge = front == door ? geo::IntLine::Through({v2.x, v2.y}, {v1.x, v1.y})
                                            : geo::IntLine::Through({v1.x, v1.y}, {v2.x, v2.y});
    geo::ConvexPolygon left, right;
    polygon.Split(edge, left, right, l);
    polygon = left;
  }
  return polygon;
}

// The door's lines in groups that meet end to end: one group per separate part of the sector.
std::vector<std::vector<int>> LineGroups(const wad::Level& level, int door) {
  std::vector<int> boundary;
  for (std::size_t l = 0; l < level.linedefs.size(); ++l) {
    const wad::Linedef& line = level.linedefs[l];
    const int front = line.front >= 0 ? level.sidedefs[line.front].sector : -1;
    const int back = line.back >= 0 ? level.sidedefs[line.back].sector : -1;
    if ((front == door) != (back == door)) boundary.push_back(static_cast<int>(l));
  }
  std::vector<int> group(boundary.size(), -1);
  std::vector<std::vector<int>> groups;
  for (std::size_t start = 0; start < boundary.size(); ++start) {
    if (group[start] >= 0) continue;
    group[start] = static_cast<int>(groups.size());
    groups.push_back({boundary[start]});
    // Grows the group by every line sharing a vertex with one in it.
    for (std::size_t k = 0; k < groups.back().size(); ++k) {
      const wad::Linedef& a = level.linedefs[groups.back()[k]];
      for (std::size_t j = 0; j < boundary.size(); ++j) {
        if (group[j] >= 0) continue;
        const wad::Linedef& b = level.linedefs[boundary[j]];
        if (a.v1 == b.v1 || a.v1 == b.v2 || a.v2 == b.v1 || a.v2 == b.v2) {
          group[j] = group[start];
          groups.back().push_back(boundary[j]);
        }
      }
    }
  }
  return groups;
}

}  // namespace

std::vector<geo::ConvexPolygon> ConvexDoorParts(const wad::Level& level, int door, const std::vector<Piece>& pieces) {
  std::vector<geo::ConvexPolygon> parts;
  for (const std::vector<int>& lines : LineGroups(level, door)) {
    geo::ConvexPolygon polygon = LinesPolygon(level, door, lines);
    if (polygon.Empty()) continue;
    // Convex only when the door's pieces inside it fill it.
    double area = 0;
    for (const Piece& piece : pieces) {
      if (piece.sector != door || piece.edges.empty()) continue;
      double x = 0, y = 0;
      for (const PieceEdge& edge : piece.edges) {
        x += edge.fromX;
        y += edge.fromY;
      }
      if (polygon.Holds(x / piece.edges.size(), y / piece.edges.size(), 1e-9)) area += piece.area;
    }
    if (std::abs(polygon.Area() - area) <= 1e-6 * std::max(1.0, area)) parts.push_back(std::move(polygon));
  }
  return parts;
}

bool DoorMiddlePortal(const wad::Level& level, const MoverPlan& plan, int door, const geo::ConvexPolygon& piece,
                      const PortalSite& site, DoorCut& cut) {
  Prism& slab = cut.slab;
  Box3& face = cut.face;
  // Walk the run with the door on its left (the front lies right of from -> to).
  const bool doorInFront = site.front == door;
  const geo::IntVec a = doorInFront ? geo::IntVec{site.to.x, site.to.y} : geo::IntVec{site.from.x, site.from.y};
  const geo::IntVec b = doorInFront ? geo::IntVec{site.from.x, site.from.y} : geo::IntVec{site.to.x, site.to.y};
  const geo::IntVec along{b.x - a.x, b.y - a.y};
  const geo::IntVec in = InwardDirection(along);
  const int64_t cross = geo::Cross(along, in);

  // How deep the door reaches from the run, in steps of `in`; the cut goes half way.
  double depth = 0;
  for (std::size_t i = 0; i < piece.Size(); ++i) {
    const geo::RationalPoint& v = piece.Vertex(i);
    depth = std::max(depth, (along.x * (v.Y() - a.y) - along.y * (v.X() - a.x)) / static_cast<double>(cross));
  }
  const int64_t k = std::max<int64_t>(1, static_cast<int64_t>(depth / 2));
  if (k + 1 >= depth) return false;
  const geo::IntLine nearCut = geo::IntLine::Through(Plus(a, in, k), Plus(b, in, k));
  const geo::IntLine farCut = geo::IntLine::Through(Plus(b, in, k + 1), Plus(a, in, k + 1));
  geo::ConvexPolygon deeper, shallower, middle, beyond;
  piece.Split(nearCut, deeper, shallower, kCutTag);
  deeper.Split(farCut, middle, beyond, kCutTag);
  if (!RampStrip::Sound(middle)) return false;
  cut.line = nearCut;

  slab = Prism{};
  slab.zLow = plan.floor[door];
  slab.zHigh = plan.ceiling[door];
  if (slab.zHigh <= slab.zLow) return false;
  slab.top = slab.bottom = Surface(kPortalSideMaterial);
  bool faced = false;
  for (std::size_t i = 0; i < middle.Size(); ++i) {
    const geo::PolygonEdge& edge = middle.Edge(i);
    if (edge.tag != kCutTag && !IsWall(level, plan, edge.tag)) return false;  // it would not seal
    const geo::IntVec p = edge.line.Point(), q = edge.line.PointAhead();
    const bool isFace = !faced && edge.tag == kCutTag && edge.line == nearCut;
    slab.sides.push_back({{p.x, p.y}, {q.x, q.y}, Surface(isFace ? kVisportalMaterial : kPortalSideMaterial)});
    if (!isFace) continue;
    faced = true;
    const geo::RationalPoint& s = middle.Vertex(i);
    const geo::RationalPoint& t = middle.EdgeEnd(i);
    face.lo[0] = std::min(s.X(), t.X());
    face.hi[0] = std::max(s.X(), t.X());
    face.lo[1] = std::min(s.Y(), t.Y());
    face.hi[1] = std::max(s.Y(), t.Y());
    face.lo[2] = static_cast<double>(slab.zLow);
    face.hi[2] = static_cast<double>(slab.zHigh);
  }
  return faced;
}

}  // namespace zaro3
