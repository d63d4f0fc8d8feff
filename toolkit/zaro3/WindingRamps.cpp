// RampBuilder's ramps on a winding stair's treads (RampBuilder.h).
#include "RampBuilder.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numeric>

#include "PrismShapes.h"

namespace zaro3::ramps {

namespace {

// A line this close inside an edge of the wedge (a cross product) only touches it.
constexpr double kOnFootprintEdge = 1e-9;

}  // namespace

bool RampBuilder::BuildWinding(const Step& step, std::vector<StepRamp>& ramps) const {
  const StepEnds ends = EndsOf(m_level, step);
  const int64_t low = m_plan.floor[step.low], high = m_plan.floor[step.high];
  if (static_cast<double>(m_plan.ceiling[step.low]) < static_cast<double>(high) + m_headroom) return false;
  const geo::IntVec edge{ends.to.x - ends.from.x, ends.to.y - ends.from.y};
  const double length = std::hypot(static_cast<double>(edge.x), static_cast<double>(edge.y));
  const int64_t points = std::gcd(std::llabs(edge.x), std::llabs(edge.y));  // integer points every 1/points
  const double rise = static_cast<double>(high - low);
  for (const bool hubFirst : {true, false}) {
    const geo::IntVec hub = hubFirst ? ends.from : ends.to, outer = hubFirst ? ends.to : ends.from;
    int downLine = -1;
    geo::IntVec down{};
    if (!StepDownFrom(step, ends, hub, outer, downLine, down)) continue;
    const geo::IntVec along{outer.x - hub.x, outer.y - hub.y}, toDown{down.x - hub.x, down.y - hub.y};
    const double cross = std::abs(static_cast<double>(geo::Cross(along, toDown)));
    const double sine = cross / (length * std::hypot(static_cast<double>(toDown.x), static_cast<double>(toDown.y)));
    const double downFromStep = cross / length;
    // The inner plane rises over the top point's distance from the step down: the top
    // point lies at the middle, or farther out where the wedge is too narrow there.
    const double needed = rise / (kSteepestSlope * length * sine);
    const int64_t k = std::max((points + 1) / 2, static_cast<int64_t>(std::ceil(needed * points - 1e-9)));
    if (k > points || (k < points && rise / downFromStep > kSteepestSlope)) continue;
    // The wedge reaches this deep from the step line at its outer side.
    const double deepest = length * cross / static_cast<double>(along.x * toDown.x + along.y * toDown.y);
    if (deepest > kLongestRamp) continue;
    RampStrip strip(ends.from, ends.to);
    strip.SetDepth(strip.StepsFor(deepest) + 1);
    geo::ConvexPolygon footprint;
    if (!WedgeFootprint(step, strip, downLine, low, high, footprint)) continue;
    const geo::IntVec top{hub.x + along.x / points * k, hub.y + along.y / points * k};
    auto at = [](geo::IntVec p, int64_t z) { return IntPoint3{p.x, p.y, z}; };
    // A plane by two points of the step line (`a` the nearer the hub), in the line's order,
    // and the step down's end.
    auto plane = [&](geo::IntVec a, int64_t za, geo::IntVec b, int64_t zb) {
      return hubFirst ? std::array<IntPoint3, 3>{at(a, za), at(b, zb), at(down, low)}
                      : std::array<IntPoint3, 3>{at(b, zb), at(a, za), at(down, low)};
    };
    std::vector<StepRamp> made;
    auto add = [&](const geo::ConvexPolygon& part, const std::array<IntPoint3, 3>& slopedTop) {
      StepRamp r;
      r.linedef = step.linedef;
      r.prism = ToPrism(part, low - kRampFoot, high);
      r.prism.slopedTop = slopedTop;
      r.prism.zLow = BottomUnder(r.prism, low);
      if (!RampStrip::Sound(part) || !FootprintIsSound(r.prism)) return false;
      made.push_back(std::move(r));
      return true;
    };
    if (k == points) {
      if (!add(footprint, plane(hub, low, outer, high))) continue;
    } else {
      // The hub's side of the line from the top point to the step down's end takes the inner plane.
      geo::ConvexPolygon left, right;
      footprint.Split(geo::IntLine::Through(top, down), left, right);
      const bool hubLeft = geo::Cross({down.x - top.x, down.y - top.y}, {hub.x - top.x, hub.y - top.y}) > 0;
      if (!add(hubLeft ? left : right, plane(hub, low, top, high)) ||
          !add(hubLeft ? right : left, plane(top, high, outer, high))) {
        continue;
      }
    }
    ramps = std::move(made);
    return true;
  }
  return false;
}

bool RampBuilder::WedgeFootprint(const Step& step, const RampStrip& strip, int downLine, int64_t low, int64_t high,
                                 geo::ConvexPolygon& footprint) const {
  std::vector<const Crossed*> blocking;
  const std::vector<Crossed> crossed = Gather(step, strip);
  for (const Crossed& c : crossed) {
    if (c.linedef == downLine || !Passable(c, low, low, static_cast<double>(high))) blocking.push_back(&c);
  }
  const std::vector<bool> cutting = ExactCuts(blocking, strip, true);
  footprint = strip.Footprint();
  for (std::size_t i = 0; i < blocking.size(); ++i) {
    if (!cutting[i]) continue;
    const auto [a, b] = LineEnds(blocking[i]->linedef);
    footprint = strip.KeepNearSide(footprint, geo::IntLine::Through(a, b));
  }
  if (!RampStrip::Sound(footprint)) return false;
  for (std::size_t i = 0; i < blocking.size(); ++i) {
    const auto [a, b] = LineEnds(blocking[i]->linedef);
    if (!cutting[i] && footprint.Enters(a, b, kOnFootprintEdge)) return false;
  }
  return true;
}

bool RampBuilder::StepDownFrom(const Step& step, const StepEnds& ends, geo::IntVec hub, geo::IntVec outer, int& downLine,
                               geo::IntVec& down) const {
  const int64_t low = m_plan.floor[step.low];
  if (m_waysDown[step.low] != 1) return false;
  const geo::IntVec edge{ends.to.x - ends.from.x, ends.to.y - ends.from.y};
  bool found = false;
  m_lines.ForEachNear(hub.x, hub.y, hub.x, hub.y, [&](int l) {
    const wad::Linedef& line = m_level.linedefs[l];
    if (found || l == step.linedef || line.front < 0 || line.back < 0 || (line.flags & wad::kLineBlocking)) return;
    const auto [a, b] = LineEnds(l);
    if (a != hub && b != hub) return;
    const geo::IntVec other = a == hub ? b : a;
    const geo::IntVec toOther{other.x - hub.x, other.y - hub.y}, toOuter{outer.x - hub.x, outer.y - hub.y};
    const double dot = static_cast<double>(toOther.x * toOuter.x + toOther.y * toOuter.y);
    if (geo::Cross(edge, {other.x - ends.from.x, other.y - ends.from.y}) <= 0 ||
        dot <= kWidestWedge * std::hypot(static_cast<double>(toOther.x), static_cast<double>(toOther.y)) *
                   std::hypot(static_cast<double>(toOuter.x), static_cast<double>(toOuter.y))) {
      return;
    }
    // The front lies right of a -> b: the wedge (towards `outer`) must be the tread.
    const bool outerInFront = geo::Cross({b.x - a.x, b.y - a.y}, {outer.x - a.x, outer.y - a.y}) < 0;
    const int wedge = m_level.sidedefs[outerInFront ? line.front : line.back].sector;
    const int beyond = m_level.sidedefs[outerInFront ? line.back : line.front].sector;
    if (wedge != step.low || beyond < 0 || m_plan.FloorMoves(beyond) || m_plan.floor[beyond] >= low ||
        low - m_plan.floor[beyond] > kDoomStepHeight) {
      return;
    }
    downLine = l;
    down = other;
    found = true;
  });
  return found;
}

}  // namespace zaro3::ramps
