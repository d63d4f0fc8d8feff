#include "RampHips.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <numeric>
#include <set>
#include <tuple>
#include <vector>

#include "ConvexPolygon.h"
#include "LineCells.h"
#include "PlayerFit.h"
#include "PrismShapes.h"
#include "RampStrip.h"

namespace zaro3 {

namespace {

// How far below the floor a hip reaches, so its thin edge is never a flat brush.
constexpr int64_t kHipFoot = 1;
// Points this close to a side count as on it.
constexpr double kOnSide = 1e-6;

struct Triangle {
  std::array<geo::IntVec, 3> corners;  // counter-clockwise

  // Whether some of the segment p -> q lies strictly inside.
  bool Enters(geo::IntVec p, geo::IntVec q) const {
    const std::vector<geo::RationalPoint> points{geo::RationalPoint::FromInt(corners[0]),
                                                 geo::RationalPoint::FromInt(corners[1]),
                                                 geo::RationalPoint::FromInt(corners[2])};
    return geo::SegmentEnters(points, p, q, kOnSide);
  }
};

class HipBuilder {
public:
  HipBuilder(const wad::Level& level, const MoverPlan& plan, const Scale& scale,
             const std::function<int(double, double)>& sectorAt)
      : m_level(level), m_plan(plan), m_lines(level), m_sectorAt(sectorAt),
        m_headroom(static_cast<double>(kDoom3StandingHeight) / scale.Value()) {}

  // `joins`: points of step lines where two ramps of the same line meet (a winding tread's
  // two planes), which are no ends.
  void Add(const StepRamp& ramp, const std::set<std::tuple<int, int64_t, int64_t>>& joins,
           std::vector<StepRamp>& hips) const {
    if (!ramp.prism.slopedTop) return;
    const std::array<IntPoint3, 3>& q = *ramp.prism.slopedTop;
    const int64_t top = q[0].z, low = q[2].z;
    if (q[1].z != top || top <= low) return;
    const geo::IntVec from{q[0].x, q[0].y}, to{q[1].x, q[1].y}, toe{q[2].x, q[2].y};
    const geo::IntVec edge{to.x - from.x, to.y - from.y};
    const double length = std::hypot(static_cast<double>(edge.x), static_cast<double>(edge.y));
    const int64_t g = std::gcd(std::llabs(edge.x), std::llabs(edge.y));
    if (g == 0) return;
    const geo::IntVec unit{edge.x / g, edge.y / g};
    const geo::IntVec in = InwardDirection(edge);
    const double rise = static_cast<double>(top - low);
    // Out along the ramp's side at least as far as the ramp runs, and along the line twice the
    // rise: the top then falls at most rise * sqrt(1/a^2 + 1/b^2) <= 1/sqrt(2) per unit.
    const double run = static_cast<double>(geo::Cross(edge, {toe.x - from.x, toe.y - from.y})) / length;
    const double out = std::max(run, 2 * rise);
    const double perStep = static_cast<double>(geo::Cross(edge, in)) / length;
    const int64_t steps = static_cast<int64_t>(std::ceil(out / perStep - 1e-9));
    const int64_t along = static_cast<int64_t>(std::ceil(2 * rise / (length / static_cast<double>(g)) - 1e-9));
    for (const bool atFrom : {true, false}) {
      const geo::IntVec end = atFrom ? from : to;
      if (joins.count({ramp.linedef, end.x, end.y})) continue;
      const geo::IntVec far{end.x + in.x * steps, end.y + in.y * steps};
      const int64_t sign = atFrom ? -1 : 1;
      const geo::IntVec beyond{end.x + sign * unit.x * along, end.y + sign * unit.y * along};
      const Triangle triangle{atFrom ? std::array<geo::IntVec, 3>{end, far, beyond}
                                     : std::array<geo::IntVec, 3>{end, beyond, far}};
      if (!OverLowerFloor(triangle, low, top)) continue;
      StepRamp hip;
      hip.linedef = ramp.linedef;
      Prism& prism = hip.prism;
      prism.zLow = low - kHipFoot;
      prism.zHigh = top;
      prism.top = prism.bottom = Surface(kRampMaterial);
      for (int i = 0; i < 3; ++i) {
        const geo::IntVec a = triangle.corners[i], b = triangle.corners[(i + 1) % 3];
        prism.sides.push_back({{a.x, a.y}, {b.x, b.y}, Surface(kRampMaterial)});
      }
      prism.slopedTop = std::array<IntPoint3, 3>{IntPoint3{end.x, end.y, top}, IntPoint3{far.x, far.y, low},
                                                 IntPoint3{beyond.x, beyond.y, low}};
      if (FootprintIsSound(prism)) hips.push_back(std::move(hip));
    }
  }

private:
  // Whether the triangle lies in one sector at the floor `low` that does not move, with
  // headroom over the hip's top, no line of the level entering it.
  bool OverLowerFloor(const Triangle& t, int64_t low, int64_t top) const {
    int64_t box[4] = {t.corners[0].x, t.corners[0].y, t.corners[0].x, t.corners[0].y};
    for (const geo::IntVec& c : t.corners) {
      box[0] = std::min(box[0], c.x);
      box[1] = std::min(box[1], c.y);
      box[2] = std::max(box[2], c.x);
      box[3] = std::max(box[3], c.y);
    }
    bool entered = false;
    m_lines.ForEachNear(static_cast<double>(box[0]), static_cast<double>(box[1]), static_cast<double>(box[2]),
                        static_cast<double>(box[3]), [&](int l) {
                          const wad::Linedef& line = m_level.linedefs[l];
                          const geo::IntVec p{m_level.vertices[line.v1].x, m_level.vertices[line.v1].y};
                          const geo::IntVec q{m_level.vertices[line.v2].x, m_level.vertices[line.v2].y};
                          entered = entered || t.Enters(p, q);
                        });
    if (entered) return false;
    const double cx = (t.corners[0].x + t.corners[1].x + t.corners[2].x) / 3.0;
    const double cy = (t.corners[0].y + t.corners[1].y + t.corners[2].y) / 3.0;
    const int s = m_sectorAt(cx, cy);
    return s >= 0 && !m_plan.FloorMoves(s) && m_plan.floor[s] == low &&
           static_cast<double>(m_plan.ceiling[s]) >= static_cast<double>(top) + m_headroom;
  }

  const wad::Level& m_level;
  const MoverPlan& m_plan;
  LineCells m_lines;
  const std::function<int(double, double)>& m_sectorAt;
  double m_headroom;
};

}  // namespace

std::vector<StepRamp> BuildRampHips(const wad::Level& level, const MoverPlan& plan, const Scale& scale,
                                    const std::vector<StepRamp>& ramps,
                                    const std::function<int(double, double)>& sectorAt) {
  const HipBuilder builder(level, plan, scale, sectorAt);
  std::set<std::tuple<int, int64_t, int64_t>> seen, joins;
  for (const StepRamp& ramp : ramps) {
    if (!ramp.prism.slopedTop) continue;
    for (int i = 0; i < 2; ++i) {
      const IntPoint3& p = (*ramp.prism.slopedTop)[i];
      if (!seen.insert({ramp.linedef, p.x, p.y}).second) joins.insert({ramp.linedef, p.x, p.y});
    }
  }
  std::vector<StepRamp> hips;
  for (const StepRamp& ramp : ramps) builder.Add(ramp, joins, hips);
  return hips;
}

}  // namespace zaro3
