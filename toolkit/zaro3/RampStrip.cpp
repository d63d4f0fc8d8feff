#include "RampStrip.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numeric>

namespace zaro3 {

namespace {

// Perpendiculars longer than this many units in integers are replaced by a near direction.
constexpr int64_t kLongestExactDirection = 6;
constexpr double kNearDirectionLength = 4;
constexpr double kOnEdge = 1e-9;
// The smallest footprint the ramp keeps, square DOOM units, and its shortest edge.
constexpr double kSmallestArea = 1;
constexpr double kShortestEdge = 0.25;

int64_t Sign(int64_t v) { return (v > 0) - (v < 0); }

geo::IntVec Reduced(geo::IntVec v) {
  const int64_t g = std::gcd(std::llabs(v.x), std::llabs(v.y));
  return g > 1 ? geo::IntVec{v.x / g, v.y / g} : v;
}

}  // namespace

geo::IntVec InwardDirection(geo::IntVec edge) {
  const geo::IntVec normal{-edge.y, edge.x};
  if (edge.x == 0 || edge.y == 0) return {Sign(normal.x), Sign(normal.y)};
  const geo::IntVec exact = Reduced(normal);
  if (std::max(std::llabs(exact.x), std::llabs(exact.y)) <= kLongestExactDirection) return exact;
  const double length = std::hypot(static_cast<double>(normal.x), static_cast<double>(normal.y));
  geo::IntVec near{std::llround(kNearDirectionLength * normal.x / length),
                   std::llround(kNearDirectionLength * normal.y / length)};
  return Reduced(near);
}

RampStrip::RampStrip(geo::IntVec from, geo::IntVec to)
    : m_from(from), m_to(to), m_edge{to.x - from.x, to.y - from.y}, m_dir(InwardDirection(m_edge)) {
  m_cross = geo::Cross(m_edge, m_dir);
}

double RampStrip::DepthPerStep() const {
  return static_cast<double>(m_cross) / std::hypot(static_cast<double>(m_edge.x), static_cast<double>(m_edge.y));
}

int64_t RampStrip::StepsFor(double depth) const {
  return std::max<int64_t>(1, static_cast<int64_t>(std::ceil(depth / DepthPerStep() - 1e-9)));
}

std::array<int64_t, 4> RampStrip::Box() const {
  const geo::IntVec farFrom = PointAt(m_from, m_depth), farTo = PointAt(m_to, m_depth);
  return {std::min({m_from.x, m_to.x, farFrom.x, farTo.x}), std::min({m_from.y, m_to.y, farFrom.y, farTo.y}),
          std::max({m_from.x, m_to.x, farFrom.x, farTo.x}), std::max({m_from.y, m_to.y, farFrom.y, farTo.y})};
}

geo::ConvexPolygon RampStrip::Footprint() const {
  const geo::IntVec farTo = PointAt(m_to, m_depth), farFrom = PointAt(m_from, m_depth);
  geo::ConvexPolygon polygon;
  geo::ConvexPolygon::Make({{geo::IntLine::Through(m_from, m_to)},
                            {geo::IntLine::Through(m_to, farTo)},
                            {geo::IntLine::Through(farTo, farFrom)},
                            {geo::IntLine::Through(farFrom, m_from)}},
                           polygon);
  return polygon;
}

geo::ConvexPolygon RampStrip::KeepNearSide(const geo::ConvexPolygon& polygon, const geo::IntLine& cut) const {
  // The step line's middle decides the side; a cut through it (crossing lines) is ignored.
  const int64_t middle = cut.SideValue(m_from) + cut.SideValue(m_to);
  if (polygon.Empty() || middle == 0) return polygon;
  geo::ConvexPolygon left, right;
  polygon.Split(middle > 0 ? cut : cut.Reversed(), left, right);
  return left;
}

bool RampStrip::Sound(const geo::ConvexPolygon& polygon) {
  if (polygon.Empty() || polygon.Area() < kSmallestArea) return false;
  for (std::size_t i = 0; i < polygon.Size(); ++i) {
    const geo::RationalPoint& a = polygon.Vertex(i);
    const geo::RationalPoint& b = polygon.EdgeEnd(i);
    if (std::hypot(a.X() - b.X(), a.Y() - b.Y()) < kShortestEdge) return false;
  }
  return true;
}

RampStrip::StripPoint RampStrip::ToStrip(geo::IntVec p) const {
  const geo::IntVec d{p.x - m_from.x, p.y - m_from.y};
  return {static_cast<double>(geo::Cross(d, m_dir)) / m_cross, static_cast<double>(geo::Cross(m_edge, d)) / m_cross};
}

bool RampStrip::Inside(geo::IntVec p) const {
  const StripPoint q = ToStrip(p);
  return q.u > kOnEdge && q.u < 1 - kOnEdge && q.t > kOnEdge && q.t < static_cast<double>(m_depth) - kOnEdge;
}

bool RampStrip::CrossesStepLine(geo::IntVec a, geo::IntVec b) const {
  const geo::IntLine line = geo::IntLine::Through(a, b);
  const int64_t from = line.SideValue(m_from), to = line.SideValue(m_to);
  return (from < 0 && to > 0) || (from > 0 && to < 0);
}

StripCrossing RampStrip::Cross(geo::IntVec a, geo::IntVec b) const {
  StripCrossing crossing;
  // Most lines lie far away: the box around the strip's corners sends them off cheaply.
  const std::array<int64_t, 4> box = Box();
  if (std::max(a.x, b.x) < box[0] || std::max(a.y, b.y) < box[1] || std::min(a.x, b.x) > box[2] ||
      std::min(a.y, b.y) > box[3]) {
    return crossing;
  }
  const StripPoint p = ToStrip(a), q = ToStrip(b);
  // Clip the segment p + s (q - p), s in [0, 1], to u in [0, 1] and t in [0, depth].
  double s0 = 0, s1 = 1;
  const double du = q.u - p.u, dt = q.t - p.t;
  auto clip = [&](double start, double delta, double lo, double hi) {
    if (std::abs(delta) < 1e-15) return start >= lo - kOnEdge && start <= hi + kOnEdge;
    double e0 = (lo - start) / delta, e1 = (hi - start) / delta;
    if (e0 > e1) std::swap(e0, e1);
    s0 = std::max(s0, e0);
    s1 = std::min(s1, e1);
    return s0 < s1;
  };
  const double depth = static_cast<double>(m_depth);
  if (!clip(p.u, du, 0, 1) || !clip(p.t, dt, 0, depth)) return crossing;
  const StripPoint c0{p.u + s0 * du, p.t + s0 * dt}, c1{p.u + s1 * du, p.t + s1 * dt};
  auto both = [&](auto onEdge) { return onEdge(c0) && onEdge(c1); };
  if (both([](StripPoint c) { return std::abs(c.u) < kOnEdge; }) ||
      both([](StripPoint c) { return std::abs(c.u - 1) < kOnEdge; }) ||
      both([](StripPoint c) { return std::abs(c.t) < kOnEdge; }) ||
      both([&](StripPoint c) { return std::abs(c.t - depth) < kOnEdge; })) {
    return crossing;  // along the strip's edge: it touches, nothing more
  }
  crossing.inside = true;
  const bool fromAnEnd = a == m_from || a == m_to || b == m_from || b == m_to;
  crossing.cuts = fromAnEnd || (std::min(c0.u, c1.u) < kOnEdge && std::max(c0.u, c1.u) > 1 - kOnEdge);
  crossing.nearest = std::min(c0.t, c1.t);
  const double lo = std::min(c0.u, c1.u), hi = std::max(c0.u, c1.u);
  crossing.alongLo = lo;
  crossing.alongHi = hi;
  if (lo <= 0.5 && hi >= 0.5 && hi > lo) {
    crossing.middle = true;
    crossing.middleDepth = c0.t + (0.5 - c0.u) / (c1.u - c0.u) * (c1.t - c0.t);
  }
  // The front lies right of a -> b: the depth direction points there when it turns right.
  crossing.towardsFront = geo::Cross({b.x - a.x, b.y - a.y}, m_dir) < 0;
  return crossing;
}

}  // namespace zaro3
