#include "ConvexPolygon.h"

#include <algorithm>
#include <utility>

namespace geo {

bool ConvexPolygon::ComputeVertices() {
  const std::size_t n = m_edges.size();
  m_vertices.assign(n, RationalPoint{});
  for (std::size_t i = 0; i < n; ++i) {
    if (!Intersect(m_edges[(i + n - 1) % n].line, m_edges[i].line, m_vertices[i])) return false;
  }
  return true;
}

bool ConvexPolygon::Make(std::vector<PolygonEdge> edges, ConvexPolygon& out) {
  out = ConvexPolygon{};
  const std::size_t n = edges.size();
  if (n < 3) return false;
  for (std::size_t i = 0; i < n; ++i) {
    if (Turn(edges[i].line.Direction(), edges[(i + 1) % n].line.Direction()) <= 0) return false;
  }
  ConvexPolygon polygon;
  polygon.m_edges = std::move(edges);
  if (!polygon.ComputeVertices()) return false;
  // Left turns alone allow a polygon that winds more than once; every vertex
  // must also lie strictly left of the edges that do not pass through it.
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t v = 0; v < n; ++v) {
      if (v == i || v == (i + 1) % n) continue;
      if (SideOf(polygon.m_edges[i].line, polygon.m_vertices[v]) <= 0) return false;
    }
  }
  out = std::move(polygon);
  return true;
}

ConvexPolygon ConvexPolygon::Box(int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
  ConvexPolygon box;
  box.m_edges = {{IntLine::Through({x0, y0}, {x1, y0})},
                 {IntLine::Through({x1, y0}, {x1, y1})},
                 {IntLine::Through({x1, y1}, {x0, y1})},
                 {IntLine::Through({x0, y1}, {x0, y0})}};
  box.ComputeVertices();
  return box;
}

int ConvexPolygon::Classify(const IntLine& line) const {
  bool left = false, right = false;
  for (const RationalPoint& v : m_vertices) {
    const int s = SideOf(line, v);
    left |= s > 0;
    right |= s < 0;
  }
  if (left && right) return 0;
  return left ? 1 : -1;
}

namespace {

// The part of the polygon strictly on the positive side of `line` by the
// vertex signs `sign`: the edges that reach that side, with `line` itself
// closing the gap where the run of kept edges ends.
std::vector<PolygonEdge> KeepPositive(const std::vector<PolygonEdge>& edges, const std::vector<int>& sign,
                                      const PolygonEdge& closing) {
  const std::size_t n = edges.size();
  std::vector<char> kept(n);
  for (std::size_t i = 0; i < n; ++i) kept[i] = sign[i] > 0 || sign[(i + 1) % n] > 0;
  // Start right after the edge that leaves the positive side, so the closing
  // edge comes last. (Every edge may be kept: a lone vertex cut off is
  // trimmed from both of its edges.)
  std::size_t start = 0;
  for (std::size_t i = 0; i < n; ++i) {
    if (kept[i] && sign[(i + 1) % n] <= 0) start = (i + 1) % n;
  }
  std::vector<PolygonEdge> result;
  for (std::size_t k = 0; k < n; ++k) {
    const std::size_t i = (start + k) % n;
    if (kept[i]) result.push_back(edges[i]);
  }
  result.push_back(closing);
  return result;
}

}  // namespace

void ConvexPolygon::Split(const IntLine& line, ConvexPolygon& left, ConvexPolygon& right, int tag) const {
  const std::size_t n = m_vertices.size();
  std::vector<int> sign(n);
  bool anyLeft = false, anyRight = false;
  for (std::size_t i = 0; i < n; ++i) {
    sign[i] = SideOf(line, m_vertices[i]);
    anyLeft |= sign[i] > 0;
    anyRight |= sign[i] < 0;
  }
  if (!anyRight || !anyLeft) {
    ConvexPolygon whole = *this;
    left = anyLeft ? std::move(whole) : ConvexPolygon{};
    right = anyLeft ? ConvexPolygon{} : std::move(whole);
    return;
  }
  ConvexPolygon l, r;
  l.m_edges = KeepPositive(m_edges, sign, {line, tag, 0});
  for (int& s : sign) s = -s;
  r.m_edges = KeepPositive(m_edges, sign, {line.Reversed(), tag, 0});
  l.ComputeVertices();
  r.ComputeVertices();
  left = std::move(l);
  right = std::move(r);
}

bool SegmentEnters(const std::vector<RationalPoint>& corners, IntVec p, IntVec q, double onEdge) {
  double s0 = 0, s1 = 1;
  for (std::size_t i = 0; i < corners.size(); ++i) {
    const RationalPoint& a = corners[i];
    const RationalPoint& b = corners[(i + 1) % corners.size()];
    auto side = [&](IntVec v) {
      return (b.X() - a.X()) * (static_cast<double>(v.y) - a.Y()) - (b.Y() - a.Y()) * (static_cast<double>(v.x) - a.X());
    };
    const double sp = side(p), sq = side(q);
    // Keep the part of the segment more than onEdge inside this edge.
    if (sp <= onEdge && sq <= onEdge) return false;
    if (sp <= onEdge) {
      s0 = std::max(s0, (onEdge - sp) / (sq - sp));
    } else if (sq <= onEdge) {
      s1 = std::min(s1, (sp - onEdge) / (sp - sq));
    }
  }
  return s0 < s1;
}

bool ConvexPolygon::Enters(IntVec p, IntVec q, double onEdge) const { return SegmentEnters(m_vertices, p, q, onEdge); }

bool ConvexPolygon::Holds(double x, double y, double slack) const {
  for (std::size_t i = 0; i < m_vertices.size(); ++i) {
    const RationalPoint& a = Vertex(i);
    const RationalPoint& b = EdgeEnd(i);
    if ((b.X() - a.X()) * (y - a.Y()) - (b.Y() - a.Y()) * (x - a.X()) < -slack) return false;
  }
  return true;
}

double ConvexPolygon::Area() const {
  long double twice = 0;
  const std::size_t n = m_vertices.size();
  for (std::size_t i = 0; i < n; ++i) {
    const RationalPoint& p = m_vertices[i];
    const RationalPoint& q = m_vertices[(i + 1) % n];
    twice += (static_cast<long double>(p.x) / p.d) * (static_cast<long double>(q.y) / q.d) -
             (static_cast<long double>(q.x) / q.d) * (static_cast<long double>(p.y) / p.d);
  }
  return static_cast<double>(twice / 2);
}

void ConvexPolygon::Centroid(double& x, double& y) const {
  // The vertex average: inside a convex polygon, which is all callers need.
  long double sx = 0, sy = 0;
  for (const RationalPoint& v : m_vertices) {
    sx += static_cast<long double>(v.x) / v.d;
    sy += static_cast<long double>(v.y) / v.d;
  }
  x = static_cast<double>(sx / m_vertices.size());
  y = static_cast<double>(sy / m_vertices.size());
}

}  // namespace geo
