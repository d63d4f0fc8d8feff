// ConvexPolygon: a convex polygon as a cyclic list of edges on integer lines.
//
// The polygon lies to the left of every edge (counter-clockwise order); vertex
// i is the crossing of edge i-1 and edge i, kept exactly as a rational point.
// Each edge carries a tag (an int the caller gives meaning to, -1 by default)
// and a second int, so callers can attach what an edge lies on. The one
// operation is an exact split by a line; a vertex on the line belongs to both
// sides and never makes a zero-length edge. The polygon does not check that
// its edges are convex or closed when built from lines: Make does that.
#pragma once

#include <vector>

#include "IntLine.h"
#include "RationalPoint.h"

namespace geo {

struct PolygonEdge {
  IntLine line;
  int tag = -1;
  int side = 0;
};

// Whether part of the segment p -> q lies inside the convex polygon with these corners
// (counter-clockwise), farther than `onEdge` (a cross product) inside every edge.
bool SegmentEnters(const std::vector<RationalPoint>& corners, IntVec p, IntVec q, double onEdge = 0);

class ConvexPolygon {
public:
  ConvexPolygon() = default;
  // From edges in counter-clockwise order; false (and an empty polygon) unless
  // consecutive lines cross, every turn is strictly left and the area is positive.
  static bool Make(std::vector<PolygonEdge> edges, ConvexPolygon& out);
  // The axis-aligned box [x0, x1] x [y0, y1], x0 < x1, y0 < y1.
  static ConvexPolygon Box(int64_t x0, int64_t y0, int64_t x1, int64_t y1);

  bool Empty() const { return m_edges.empty(); }
  std::size_t Size() const { return m_edges.size(); }
  const PolygonEdge& Edge(std::size_t i) const { return m_edges[i]; }
  PolygonEdge& Edge(std::size_t i) { return m_edges[i]; }
  const std::vector<PolygonEdge>& Edges() const { return m_edges; }
  // Start of edge i (end of edge i-1).
  const RationalPoint& Vertex(std::size_t i) const { return m_vertices[i]; }
  const RationalPoint& EdgeEnd(std::size_t i) const { return m_vertices[(i + 1) % m_vertices.size()]; }

  // Sign of the polygon's position against the line: +1 wholly left (touching
  // allowed), -1 wholly right, 0 when the line cuts the interior.
  int Classify(const IntLine& line) const;
  // Cuts by the line: `left` gets the part left of it (its new edge on the line,
  // tagged `tag`), `right` the rest (new edge on the reversed line). When the
  // line does not cut the interior, the whole polygon goes to one side and the
  // other is left empty.
  void Split(const IntLine& line, ConvexPolygon& left, ConvexPolygon& right, int tag = -1) const;

  // Whether (x, y) lies inside or on the edges, up to `slack` (a cross product) outside one.
  bool Holds(double x, double y, double slack = 0) const;
  // Whether part of the segment p -> q lies inside, farther than `onEdge` (a cross product)
  // inside every edge.
  bool Enters(IntVec p, IntVec q, double onEdge = 0) const;
  double Area() const;                 // from the exact vertices, rounded once per term
  void Centroid(double& x, double& y) const;

private:
  bool ComputeVertices();
  std::vector<PolygonEdge> m_edges;
  std::vector<RationalPoint> m_vertices;
};

// Turning from direction u to direction v: +1 left (convex), 0 straight or back, -1 right.
inline int Turn(IntVec u, IntVec v) {
  const int64_t c = Cross(u, v);
  return (c > 0) - (c < 0);
}

}  // namespace geo
