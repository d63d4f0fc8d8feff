// RampStrip: the strip a step's ramp may cover on the lower side of its line, in exact integers.
//
// The strip starts on the step line (from -> to, the lower side on its left) and
// reaches `depth` whole steps of a small integer direction into the lower side:
// the line's own perpendicular when that is short in integers, else a near one, so
// every corner is an integer point. It tells how a line of the level meets it: a
// line from one of the step's ends, or one across the whole strip, can cut it
// exactly along itself; any other can only stop it short. The builder decides
// which lines matter; the strip owns only its own numbers.
#pragma once

#include <array>
#include <vector>

#include "ConvexPolygon.h"

namespace zaro3 {

// A short integer direction into the left of `edge`: its perpendicular when that is
// short in integers, else a near one of about four units.
geo::IntVec InwardDirection(geo::IntVec edge);

// How a segment of the level meets the strip.
struct StripCrossing {
  bool inside = false;   // some of it lies inside the strip (not just on its edges)
  bool cuts = false;     // from one of the step's ends, or across the whole width: a cut along it is exact
  double nearest = 0;    // the smallest depth of its inside part, in steps
  bool middle = false;   // it crosses the strip's middle (halfway along the step line) ...
  double middleDepth = 0;  // ... at this depth, in steps
  bool towardsFront = false;  // going deeper crosses it from its back side to its front side
  double alongLo = 0, alongHi = 0;  // its inside part lies between these fractions of the step line
};

class RampStrip {
public:
  RampStrip(geo::IntVec from, geo::IntVec to);

  double DepthPerStep() const;           // perpendicular distance from the line per step
  int64_t StepsFor(double depth) const;  // the fewest steps (at least one) reaching that distance
  void SetDepth(int64_t steps) { m_depth = steps; }
  int64_t Depth() const { return m_depth; }
  geo::IntVec PointAt(geo::IntVec p, int64_t steps) const { return {p.x + m_dir.x * steps, p.y + m_dir.y * steps}; }

  // The box around the strip at its depth: lowest x, lowest y, highest x, highest y.
  std::array<int64_t, 4> Box() const;
  // The strip at its depth, counter-clockwise.
  geo::ConvexPolygon Footprint() const;
  // The part of `polygon` on the step line's side of `cut`.
  geo::ConvexPolygon KeepNearSide(const geo::ConvexPolygon& polygon, const geo::IntLine& cut) const;
  // Whether a footprint makes a brush the map compiler keeps: some area, no tiny edge.
  static bool Sound(const geo::ConvexPolygon& polygon);

  // How the segment a -> b meets the strip at its depth.
  StripCrossing Cross(geo::IntVec a, geo::IntVec b) const;
  // Whether p lies inside the strip at its depth, not on its edges.
  bool Inside(geo::IntVec p) const;
  // Whether the line through a and b crosses the step line between its ends, so that it
  // has no near side to keep.
  bool CrossesStepLine(geo::IntVec a, geo::IntVec b) const;

private:
  struct StripPoint {
    double u;  // along the step line, 0 at `from`, 1 at `to`
    double t;  // into the strip, in steps
  };
  StripPoint ToStrip(geo::IntVec p) const;

  geo::IntVec m_from, m_to, m_edge, m_dir;
  int64_t m_cross = 1;  // cross(edge, dir), positive
  int64_t m_depth = 0;
};

}  // namespace zaro3
