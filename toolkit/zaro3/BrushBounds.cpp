#include "BrushBounds.h"

#include <algorithm>
#include <cmath>

namespace zaro3 {

namespace {

// Insides closer than this (DOOM units) count as touching, not overlapping.
constexpr double kOverlapTolerance = 1e-6;

// The crossing of the lines through the sides s and t.
Point2 Crossing(const PrismSide& s, const PrismSide& t) {
  const double ax = static_cast<double>(s.b.x - s.a.x), ay = static_cast<double>(s.b.y - s.a.y);
  const double bx = static_cast<double>(t.b.x - t.a.x), by = static_cast<double>(t.b.y - t.a.y);
  const double denominator = ax * by - ay * bx;
  const double k = ((t.a.x - s.a.x) * by - (t.a.y - s.a.y) * bx) / denominator;
  return {s.a.x + k * ax, s.a.y + k * ay};
}

// Whether an edge of `a` separates the two polygons.
bool SeparatedByEdgeOf(const std::vector<Point2>& a, const std::vector<Point2>& b) {
  const std::size_t n = a.size();
  for (std::size_t i = 0; i < n; ++i) {
    const Point2& p = a[i];
    const Point2& q = a[(i + 1) % n];
    const double nx = q.y - p.y, ny = p.x - q.x;  // outward for counter-clockwise corners
    const double length = std::hypot(nx, ny);
    if (length == 0) continue;
    bool allOutside = true;
    for (const Point2& r : b) {
      if (((r.x - p.x) * nx + (r.y - p.y) * ny) / length < -kOverlapTolerance) {
        allOutside = false;
        break;
      }
    }
    if (allOutside) return true;
  }
  return false;
}

}  // namespace

bool Box3::Touches(const Box3& other, double pad) const {
  for (int k = 0; k < 3; ++k) {
    if (lo[k] > other.hi[k] + pad || hi[k] < other.lo[k] - pad) return false;
  }
  return true;
}

void Box3::Add(const Box3& other) {
  for (int k = 0; k < 3; ++k) {
    lo[k] = std::min(lo[k], other.lo[k]);
    hi[k] = std::max(hi[k], other.hi[k]);
  }
}

Footprint FootprintOf(const Prism& prism) {
  Footprint f;
  const std::size_t n = prism.sides.size();
  for (std::size_t i = 0; i < n; ++i) f.corners.push_back(Crossing(prism.sides[(i + n - 1) % n], prism.sides[i]));
  f.zLow = static_cast<double>(prism.zLow);
  f.zHigh = static_cast<double>(prism.zHigh);
  f.box.lo[0] = f.box.hi[0] = f.corners.empty() ? 0 : f.corners[0].x;
  f.box.lo[1] = f.box.hi[1] = f.corners.empty() ? 0 : f.corners[0].y;
  for (const Point2& c : f.corners) {
    f.box.lo[0] = std::min(f.box.lo[0], c.x);
    f.box.hi[0] = std::max(f.box.hi[0], c.x);
    f.box.lo[1] = std::min(f.box.lo[1], c.y);
    f.box.hi[1] = std::max(f.box.hi[1], c.y);
  }
  f.box.lo[2] = f.zLow;
  f.box.hi[2] = f.zHigh;
  return f;
}

bool Overlap(const Footprint& a, const Footprint& b) {
  if (a.zHigh <= b.zLow + kOverlapTolerance || b.zHigh <= a.zLow + kOverlapTolerance) return false;
  if (!a.box.Touches(b.box, 0)) return false;
  return !SeparatedByEdgeOf(a.corners, b.corners) && !SeparatedByEdgeOf(b.corners, a.corners);
}

std::vector<BrushEntityBounds> BrushEntitiesOf(const std::vector<MapEntity>& entities) {
  std::vector<BrushEntityBounds> found;
  for (std::size_t e = 1; e < entities.size(); ++e) {
    if (entities[e].brushes.empty()) continue;
    BrushEntityBounds bounds;
    bounds.classname = entities[e].Text("classname");
    for (const Prism& prism : entities[e].brushes) {
      bounds.brushes.push_back(FootprintOf(prism));
      if (bounds.brushes.size() == 1) bounds.box = bounds.brushes.back().box;
      else bounds.box.Add(bounds.brushes.back().box);
    }
    found.push_back(std::move(bounds));
  }
  return found;
}

}  // namespace zaro3
