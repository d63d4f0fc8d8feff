#include "StepRamps.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>

#include "ConvexPolygon.h"
#include "LineCells.h"
#include "PlayerFit.h"
#include "PrismShapes.h"
#include "RampStrip.h"

namespace zaro3 {

namespace {

// The gentle slope a ramp has where there is room (rise over run), and the steepest
// DOOM 3's player walks: normal z of 1/sqrt(2) against MIN_WALK_NORMAL 0.7.
constexpr double kGentleSlope = 0.5;
constexpr double kSteepestSlope = 1.0;
// A ramp falling less steeply than this from its top edge would run too long to be a ramp.
constexpr double kLeastSlope = 0.2;
// How far below the lowest floor a ramp reaches, so its thin end is never a flat brush.
constexpr int64_t kRampFoot = 1;
// The longest a ramp may run from its step, DOOM units (down a steep staircase).
constexpr double kLongestRamp = 128;
// A winding tread's wedge is narrower than 60 degrees (the cosine): wider, the step down
// from the step line's end is the side of a straight stair or corridor, not a tread's edge.
constexpr double kWidestWedge = 0.5;

struct Step {
  int linedef = -1;
  int low = -1, high = -1;  // sectors
  bool lowOnFront = false;
};

// The step line walked so that the lower side is on its left.
struct StepEnds {
  geo::IntVec from, to;
};

StepEnds EndsOf(const wad::Level& level, const Step& step) {
  const wad::Linedef& line = level.linedefs[step.linedef];
  const geo::IntVec v1{level.vertices[line.v1].x, level.vertices[line.v1].y};
  const geo::IntVec v2{level.vertices[line.v2].x, level.vertices[line.v2].y};
  // The front lies right of v1 -> v2.
  return step.lowOnFront ? StepEnds{v2, v1} : StepEnds{v1, v2};
}

// The height of a ramp's sloped top over (x, y), no higher than its top.
double TopOf(const Prism& prism, double x, double y) {
  const auto& q = *prism.slopedTop;
  const double ux = q[1].x - q[0].x, uy = q[1].y - q[0].y, uz = q[1].z - q[0].z;
  const double vx = q[2].x - q[0].x, vy = q[2].y - q[0].y, vz = q[2].z - q[0].z;
  const double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
  return std::min(static_cast<double>(prism.zHigh), q[0].z - (nx * (x - q[0].x) + ny * (y - q[0].y)) / nz);
}

// Whether (x, y) lies on the prism's footprint, its edges included.
bool OnFootprint(const Prism& prism, double x, double y) {
  for (const PrismSide& side : prism.sides) {
    const double cross = static_cast<double>(side.b.x - side.a.x) * (y - side.a.y) -
                         static_cast<double>(side.b.y - side.a.y) * (x - side.a.x);
    if (cross < 0) return false;
  }
  return true;
}

// The steps DOOM's player walks up, with the world's heights.
std::vector<Step> FindSteps(const wad::Level& level, const MoverPlan& plan) {
  std::vector<Step> steps;
  for (std::size_t l = 0; l < level.linedefs.size(); ++l) {
    const wad::Linedef& line = level.linedefs[l];
    if (line.front < 0 || line.back < 0 || (line.flags & wad::kLineBlocking)) continue;
    const int a = level.sidedefs[line.front].sector;
    const int b = level.sidedefs[line.back].sector;
    if (a == b || plan.FloorMoves(a) || plan.FloorMoves(b) || plan.floor[a] == plan.floor[b]) continue;
    Step step;
    step.linedef = static_cast<int>(l);
    step.lowOnFront = plan.floor[a] < plan.floor[b];
    step.low = step.lowOnFront ? a : b;
    step.high = step.lowOnFront ? b : a;
    const int64_t rise = plan.floor[step.high] - plan.floor[step.low];
    const int64_t opening = std::min(plan.ceiling[a], plan.ceiling[b]) - plan.floor[step.high];
    if (rise > kDoomStepHeight || opening < kDoomPlayerHeight) continue;
    steps.push_back(step);
  }
  return steps;
}

// A line of the level inside a ramp's strip, and what lies beyond it going deeper.
struct Crossed {
  StripCrossing crossing;
  int linedef = -1;
  int beyond = -1;   // the sector across it going deeper, -1 behind a wall
  int before = -1;   // the sector on the step line's side, -1 outside
};

// Where a ramp ends along the middle of its strip, and what rise it leaves there.
struct RampEnd {
  double depth = 0;  // in steps
  int line = -1;     // the line that stops it, or -1 where its slope meets the floor
  int64_t floor = 0; // the lowest floor it reaches
  double left = 0;   // the rise left where it ends, DOOM units
};

class RampBuilder {
public:
  RampBuilder(const wad::Level& level, const MoverPlan& plan, const Scale& scale)
      : m_level(level), m_plan(plan), m_lines(level), m_highestStep(HighestStepScaled(scale)) {
    // Headroom the ramp must leave under a ceiling, in DOOM units.
    m_headroom = static_cast<double>(kDoom3StandingHeight) / scale.Value();
    m_narrowest = static_cast<double>(kDoom3PlayerWidth) / scale.Value();
    m_waysDown.assign(level.sectors.size(), 0);
    for (const wad::Linedef& line : level.linedefs) {
      if (line.front < 0 || line.back < 0) continue;
      const int a = level.sidedefs[line.front].sector, b = level.sidedefs[line.back].sector;
      if (a < 0 || b < 0 || plan.floor[a] == plan.floor[b]) continue;
      ++m_waysDown[plan.floor[a] > plan.floor[b] ? a : b];
    }
  }

  // The ramp over `step`, its top edge at `topFrom` and `topTo` over the step line's ends
  // (the upper floor, or the ground a ramp on the upper side makes there), or false when
  // there is no room for one; `solved` says whether the rise it leaves along its middle
  // is one DOOM 3's player steps. A ramp cut along a lower floor's edge that runs on from
  // another cut is taken where it leaves no rise too high; elsewhere that edge only stops it
  // short.
  bool Build(const Step& step, int64_t topFrom, int64_t topTo, StepRamp& ramp, bool& solved) const {
    const StepEnds ends = EndsOf(m_level, step);
    if (BuildBetween(step, ends, topFrom, topTo, true, true, ramp, solved) && solved) return true;
    return BuildBetween(step, ends, topFrom, topTo, true, false, ramp, solved);
  }

  // A winding stair's step: its lower side is a tread shaped like a wedge between the step
  // line and a step down that leaves one of its ends (the hub), turned less than 60 degrees
  // from it. Its ramp climbs round the hub on the wedge alone (a ramp sloping straight
  // off the step line would run on over the lower treads and stand across their way near the
  // hub) in two planes that meet along the line from the step line's middle to the step
  // down's other end: the inner one holds the step down at the tread's floor and rises to the
  // upper floor at the middle, the outer one holds the step line's outer half at the upper
  // floor. At the step line it leaves a rise only on the half by the hub (the whole step at
  // the hub, where the treads meet). Taken where DOOM 3's player walks both planes.
  bool BuildWinding(const Step& step, std::vector<StepRamp>& ramps) const {
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
        double lowestTop = static_cast<double>(high);
        for (const PrismSide& side : r.prism.sides) lowestTop = std::min(lowestTop, TopOf(r.prism, side.a.x, side.a.y));
        r.prism.zLow = std::min<int64_t>(low, static_cast<int64_t>(std::floor(lowestTop))) - kRampFoot;
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

private:
  // The ramp over the part `ends` of the step line. Where lines near the ends of the step
  // line stop it short of a rise DOOM 3's player steps (a pillar or a wall's corner beside
  // the step), and `narrowing`, a ramp over the widest part of the line clear of them, when
  // DOOM 3's player fits on it, is taken instead. `chained`: lines ending on other cuts cut
  // it too (ExactCuts).
  bool BuildBetween(const Step& step, const StepEnds& ends, int64_t topFrom, int64_t topTo, bool narrowing,
                    bool chained, StepRamp& ramp, bool& solved) const {
    const geo::IntVec from = ends.from, to = ends.to;
    const int64_t low = m_plan.floor[step.low];
    const int64_t top = std::max(topFrom, topTo);
    const int64_t rise = top - low;
    // Along the middle the top edge stands halfway; one plane slopes down from the edge.
    const double middleTop = (topFrom + topTo) / 2.0;

    RampStrip strip(from, to);
    strip.SetDepth(strip.StepsFor(kLongestRamp));
    const std::vector<Crossed> crossed = Gather(step, strip);
    // As gentle as the room before the step allows, as steep as DOOM 3's player walks: a top
    // edge that slopes along the line leaves less of that to the slope down from it.
    const double length = std::hypot(static_cast<double>(to.x - from.x), static_cast<double>(to.y - from.y));
    const double along = std::abs(static_cast<double>(topTo - topFrom)) / length;
    const double steepest = std::sqrt(std::max(0.0, kSteepestSlope * kSteepestSlope - along * along));
    if (steepest < kLeastSlope) {
      solved = false;
      return false;
    }
    const double room = Room(crossed, low, strip);
    const double slope = std::clamp(rise / room, std::min(kGentleSlope, steepest), steepest);
    const int64_t run = strip.StepsFor(rise / slope);
    const double fall = static_cast<double>(rise) / static_cast<double>(run);  // per step into the strip
    const RampEnd end = FollowMiddle(step, crossed, strip, middleTop, fall);
    // Where nothing stops it, the ramp reaches the toe of its higher end.
    const double reach = end.line < 0 ? std::max(end.depth, static_cast<double>(run)) : end.depth;

    auto height = [&](double depth) { return middleTop - fall * depth; };
    auto highest = [&](double depth) { return top - fall * depth; };
    // The lines it may not lie across.
    std::vector<const Crossed*> blocking;
    for (const Crossed& c : crossed) {
      if (c.linedef != end.line &&
          (c.crossing.nearest > reach - 1e-9 || Passable(c, low, end.floor, highest(c.crossing.nearest)))) {
        continue;
      }
      blocking.push_back(&c);
    }
    const std::vector<bool> cutting = ExactCuts(blocking, strip, chained);
    std::vector<geo::IntLine> cuts;
    std::vector<std::pair<double, double>> stoppers;  // along the step line
    double stop = reach;
    bool endCuts = false;
    for (std::size_t i = 0; i < blocking.size(); ++i) {
      const Crossed& c = *blocking[i];
      if (cutting[i]) {
        const auto [a, b] = LineEnds(c.linedef);
        cuts.push_back(geo::IntLine::Through(a, b));
        endCuts = endCuts || c.linedef == end.line;
      } else {
        stop = std::min(stop, c.crossing.nearest);
        stoppers.push_back({c.crossing.alongLo, c.crossing.alongHi});
      }
    }
    // A line that stops it and cannot cut it exactly keeps it short of the line.
    const bool short_ = stop < reach - 1e-9 || (end.line >= 0 && !endCuts);
    const int64_t depth = short_ ? static_cast<int64_t>(std::floor(stop + 1e-9))
                                 : static_cast<int64_t>(std::ceil(reach - 1e-9));
    const double left = stop < end.depth - 1e-9 ? std::max(end.left, height(stop) - end.floor) : end.left;
    solved = left <= m_highestStep + 1e-9;
    if (!solved && narrowing && topFrom == topTo && !stoppers.empty()) {
      StepEnds clear;
      StepRamp narrow;
      bool narrowSolved = false;
      if (WidestClearPart(ends, stoppers, clear) &&
          BuildBetween(step, clear, topFrom, topTo, false, chained, narrow, narrowSolved) && narrowSolved) {
        ramp = std::move(narrow);
        solved = true;
        return true;
      }
    }
    if (depth < 1) {
      solved = false;
      return false;
    }
    strip.SetDepth(depth);
    geo::ConvexPolygon footprint = strip.Footprint();
    for (const geo::IntLine& cut : cuts) footprint = strip.KeepNearSide(footprint, cut);
    // The higher end's toe lies deeper than the lower end's: the slope meets the floor on a
    // slant, and the ramp ends there (its lower end's toe rounded deeper, never short).
    const geo::IntVec highEnd = topTo > topFrom ? to : from;
    const geo::IntVec toe = strip.PointAt(highEnd, run);
    if (topFrom != topTo) {
      const geo::IntVec lowEnd = topTo > topFrom ? from : to;
      const int64_t lowToe = static_cast<int64_t>(std::ceil(static_cast<double>(std::min(topFrom, topTo) - low) / fall - 1e-9));
      footprint = strip.KeepNearSide(footprint, geo::IntLine::Through(strip.PointAt(lowEnd, lowToe), toe));
    }
    if (!RampStrip::Sound(footprint)) {
      solved = false;
      return false;
    }

    ramp.linedef = step.linedef;
    ramp.prism = ToPrism(footprint, low, top);
    ramp.prism.slopedTop = std::array<IntPoint3, 3>{IntPoint3{from.x, from.y, topFrom}, IntPoint3{to.x, to.y, topTo},
                                                   IntPoint3{toe.x, toe.y, low}};
    // The bottom lies under the lowest floor it reaches and under the top's lowest corner.
    double lowestTop = static_cast<double>(top);
    for (const PrismSide& side : ramp.prism.sides) lowestTop = std::min(lowestTop, TopOf(ramp.prism, side.a.x, side.a.y));
    ramp.prism.zLow = std::min<int64_t>(end.floor, static_cast<int64_t>(std::floor(lowestTop))) - kRampFoot;
    return FootprintIsSound(ramp.prism);
  }

  // The wedge between the step line and its step down, cut along the lines it may not lie
  // across; false when one of them only stops it short.
  bool WedgeFootprint(const Step& step, const RampStrip& strip, int downLine, int64_t low, int64_t high,
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
      if (!cutting[i] && EntersFootprint(footprint, a, b)) return false;
    }
    return true;
  }

  // A step down out of the step's lower sector along a line from `hub`, into the lower side
  // and turned less than kWidestWedge from the step line towards `outer`, the sector's only
  // way down (a tread of a straight stair has its step down before it, and the floor beside
  // an open side is another): its line and its other end.
  bool StepDownFrom(const Step& step, const StepEnds& ends, geo::IntVec hub, geo::IntVec outer, int& downLine,
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

  // Whether the segment a -> b passes through the footprint's inside.
  static bool EntersFootprint(const geo::ConvexPolygon& footprint, geo::IntVec a, geo::IntVec b) {
    double lo = 0, hi = 1;
    for (std::size_t i = 0; i < footprint.Size(); ++i) {
      const geo::RationalPoint& p = footprint.Vertex(i);
      const geo::RationalPoint& q = footprint.EdgeEnd(i);
      // Inside lies left of each edge p -> q.
      auto side = [&](double x, double y) { return (q.X() - p.X()) * (y - p.Y()) - (q.Y() - p.Y()) * (x - p.X()); };
      const double sa = side(static_cast<double>(a.x), static_cast<double>(a.y));
      const double sb = side(static_cast<double>(b.x), static_cast<double>(b.y));
      if (sa <= 1e-9 && sb <= 1e-9) return false;
      if (sa < 0 || sb < 0) {
        const double t = sa / (sa - sb);
        if (sa < 0) lo = std::max(lo, t); else hi = std::min(hi, t);
      }
      if (hi - lo < 1e-9) return false;
    }
    return true;
  }

  std::array<geo::IntVec, 2> LineEnds(int linedef) const {
    const wad::Linedef& l = m_level.linedefs[linedef];
    return {geo::IntVec{m_level.vertices[l.v1].x, m_level.vertices[l.v1].y},
            geo::IntVec{m_level.vertices[l.v2].x, m_level.vertices[l.v2].y}};
  }

  // Which of the lines the ramp may not lie across cut it exactly along themselves: one from
  // an end of the step line or across the whole strip, and one whose every end inside the
  // strip meets a line that cuts it (a lower floor's edge running on from a wall at the
  // step's end, as a winding stair's tread has), when `chained`: past such an end the other
  // cut already ends the ramp. Any other can only stop it short.
  std::vector<bool> ExactCuts(const std::vector<const Crossed*>& blocking, const RampStrip& strip, bool chained) const {
    std::vector<bool> cutting(blocking.size());
    for (std::size_t i = 0; i < blocking.size(); ++i) cutting[i] = blocking[i]->crossing.cuts;
    if (!chained) return cutting;
    auto onACut = [&](geo::IntVec p) {
      for (std::size_t j = 0; j < blocking.size(); ++j) {
        if (!cutting[j]) continue;
        const auto [a, b] = LineEnds(blocking[j]->linedef);
        if (p == a || p == b) return true;
      }
      return false;
    };
    for (bool grew = true; grew;) {
      grew = false;
      for (std::size_t i = 0; i < blocking.size(); ++i) {
        if (cutting[i]) continue;
        const auto [a, b] = LineEnds(blocking[i]->linedef);
        if (strip.CrossesStepLine(a, b)) continue;
        if ((!strip.Inside(a) || onACut(a)) && (!strip.Inside(b) || onACut(b))) {
          cutting[i] = true;
          grew = true;
        }
      }
    }
    return cutting;
  }

  // The widest part of the step line between integer points on it that lies clear of every
  // stopper's span, when DOOM 3's player fits on a ramp that wide and it is not the whole line.
  bool WidestClearPart(const StepEnds& ends, std::vector<std::pair<double, double>> stoppers, StepEnds& clear) const {
    std::sort(stoppers.begin(), stoppers.end());
    double bestFrom = 0, bestTo = 0, reached = 0;
    auto consider = [&](double a, double b) {
      if (b - a > bestTo - bestFrom) {
        bestFrom = a;
        bestTo = b;
      }
    };
    for (const auto& [lo, hi] : stoppers) {
      consider(reached, lo);
      reached = std::max(reached, hi);
    }
    consider(reached, 1.0);
    // Integer points on the line lie every 1/g of it.
    const geo::IntVec d{ends.to.x - ends.from.x, ends.to.y - ends.from.y};
    const int64_t g = std::gcd(std::llabs(d.x), std::llabs(d.y));
    const int64_t first = static_cast<int64_t>(std::ceil(bestFrom * g - 1e-9));
    const int64_t last = static_cast<int64_t>(std::floor(bestTo * g + 1e-9));
    const double length = std::hypot(static_cast<double>(d.x), static_cast<double>(d.y));
    if (last <= first || (first == 0 && last == g)) return false;
    if ((last - first) * length / static_cast<double>(g) < m_narrowest) return false;
    clear.from = {ends.from.x + d.x / g * first, ends.from.y + d.y / g * first};
    clear.to = {ends.from.x + d.x / g * last, ends.from.y + d.y / g * last};
    return true;
  }

  // The lines inside the strip, with the sectors on either side of them going deeper.
  std::vector<Crossed> Gather(const Step& step, const RampStrip& strip) const {
    std::vector<Crossed> crossed;
    const std::array<int64_t, 4> box = strip.Box();
    m_lines.ForEachNear(box[0], box[1], box[2], box[3], [&](int l) {
      if (l == step.linedef) return;
      const wad::Linedef& line = m_level.linedefs[l];
      const wad::Vertex& a = m_level.vertices[line.v1];
      const wad::Vertex& b = m_level.vertices[line.v2];
      Crossed c;
      c.crossing = strip.Cross({a.x, a.y}, {b.x, b.y});
      if (!c.crossing.inside) return;
      c.linedef = l;
      const int front = line.front >= 0 ? m_level.sidedefs[line.front].sector : -1;
      const int back = line.back >= 0 ? m_level.sidedefs[line.back].sector : -1;
      c.beyond = c.crossing.towardsFront ? front : back;
      c.before = c.crossing.towardsFront ? back : front;
      crossed.push_back(c);
    });
    std::sort(crossed.begin(), crossed.end(),
              [](const Crossed& x, const Crossed& y) { return x.crossing.middleDepth < y.crossing.middleDepth; });
    return crossed;
  }

  // How far the lower floor goes on along the middle before anything else begins, DOOM units.
  double Room(const std::vector<Crossed>& crossed, int64_t low, const RampStrip& strip) const {
    for (const Crossed& c : crossed) {
      if (!c.crossing.middle) continue;
      if (c.beyond < 0 || m_plan.FloorMoves(c.beyond) || m_plan.floor[c.beyond] != low) {
        return std::max(c.crossing.middleDepth * strip.DepthPerStep(), 1e-3);
      }
    }
    return kLongestRamp;
  }

  // Goes down the strip's middle from the step line: over floors as low as the ramp's or
  // lower by steps DOOM's player walks, until the slope meets the floor under it or
  // something stops it.
  RampEnd FollowMiddle(const Step& step, const std::vector<Crossed>& crossed, const RampStrip& strip, double top,
                       double fall) const {
    auto height = [&](double depth) { return top - fall * depth; };
    auto toeAt = [&](int64_t floor) { return (top - static_cast<double>(floor)) / fall; };
    RampEnd end;
    end.floor = m_plan.floor[step.low];
    for (const Crossed& c : crossed) {
      if (!c.crossing.middle) continue;
      const double depth = c.crossing.middleDepth;
      if (toeAt(end.floor) <= depth) break;
      const int s = c.beyond;
      if (s < 0 || m_plan.FloorMoves(s) || m_plan.floor[s] > end.floor ||
          m_plan.ceiling[s] < height(depth) + m_headroom) {
        end.depth = depth;
        end.line = c.linedef;
        // A higher floor beyond is no way up onto the ramp; a lower one leaves its rise.
        end.left = s < 0 || m_plan.floor[s] > height(depth) ? 0.0 : height(depth) - m_plan.floor[s];
        return end;
      }
      // Down a ledge DOOM's player does not walk up, nobody comes from below: the ramp ends there.
      const wad::Linedef& line = m_level.linedefs[c.linedef];
      if ((m_plan.floor[s] < end.floor && (line.flags & wad::kLineBlocking)) ||
          end.floor - m_plan.floor[s] > kDoomStepHeight) {
        end.depth = depth;
        end.line = c.linedef;
        return end;
      }
      end.floor = m_plan.floor[s];
    }
    end.depth = std::min(toeAt(end.floor), static_cast<double>(strip.Depth()));
    end.left = std::max(0.0, height(end.depth) - end.floor);
    return end;
  }

  // Whether the ramp may lie over both sides of a line: floors that do not move, between the
  // lowest the ramp reaches and its own, under ceilings that leave the player standing on it.
  bool Passable(const Crossed& c, int64_t low, int64_t lowest, double height) const {
    if (c.beyond < 0 || c.before < 0) return false;
    for (const int s : {c.beyond, c.before}) {
      if (m_plan.FloorMoves(s) || m_plan.floor[s] > low || m_plan.floor[s] < lowest ||
          m_plan.ceiling[s] < height + m_headroom) {
        return false;
      }
    }
    return true;
  }

  static Prism ToPrism(const geo::ConvexPolygon& footprint, int64_t zLow, int64_t zHigh) {
    Prism prism;
    prism.zLow = zLow;
    prism.zHigh = zHigh;
    prism.top = Surface(kRampMaterial);
    prism.bottom = Surface(kRampMaterial);
    for (const geo::PolygonEdge& edge : footprint.Edges()) {
      const geo::IntVec a = edge.line.Point(), b = edge.line.PointAhead();
      prism.sides.push_back({{a.x, a.y}, {b.x, b.y}, Surface(kRampMaterial)});
    }
    return prism;
  }

  const wad::Level& m_level;
  const MoverPlan& m_plan;
  LineCells m_lines;
  int64_t m_highestStep;
  double m_headroom = 0;
  double m_narrowest = 0;  // DOOM 3's player's width, DOOM units
  std::vector<int> m_waysDown;  // per sector, its two-sided lines to a lower floor
};

// How far around its origin a thing's feet reach, in DOOM units: a DOOM 3 monster's box.
constexpr double kThingReach = 16;

}  // namespace

std::vector<StepRamp> BuildStepRamps(const wad::Level& level, const MoverPlan& plan, const Scale& scale,
                                     RampReport& report) {
  const RampBuilder builder(level, plan, scale);
  const std::vector<Step> steps = FindSteps(level, plan);
  struct Outcome {
    bool walkable = false;
    bool solved = false;
    bool winding = false;  // climbing round a hub: never raised along its line
    std::vector<StepRamp> ramps;
  };
  std::vector<Outcome> outcomes(steps.size());
  auto build = [&](std::size_t i, int64_t topFrom, int64_t topTo) {
    Outcome& outcome = outcomes[i];
    outcome = Outcome{};
    if (StepsUpScaled(std::max(topFrom, topTo) - plan.floor[steps[i].low], scale)) {
      outcome.walkable = outcome.solved = true;
      return;
    }
    const int64_t upper = plan.floor[steps[i].high];
    if (topFrom == upper && topTo == upper && builder.BuildWinding(steps[i], outcome.ramps)) {
      outcome.solved = outcome.winding = true;
      return;
    }
    StepRamp ramp;
    if (builder.Build(steps[i], topFrom, topTo, ramp, outcome.solved)) outcome.ramps.push_back(std::move(ramp));
  };
  for (std::size_t i = 0; i < steps.size(); ++i) {
    const int64_t top = plan.floor[steps[i].high];
    build(i, top, top);
  }
  // A staircase open on its side: the treads' own ramps raise the ground beyond a side's
  // step line, so that step's ramp climbs to that ground along the line.
  std::map<int, std::vector<const StepRamp*>> lyingOn;
  for (std::size_t i = 0; i < steps.size(); ++i) {
    for (const StepRamp& ramp : outcomes[i].ramps) lyingOn[steps[i].low].push_back(&ramp);
  }
  std::vector<std::pair<std::size_t, std::array<int64_t, 2>>> raised;
  for (std::size_t i = 0; i < steps.size(); ++i) {
    const auto on = lyingOn.find(steps[i].high);
    if (on == lyingOn.end() || outcomes[i].winding) continue;
    const StepEnds ends = EndsOf(level, steps[i]);
    std::array<int64_t, 2> tops{};
    bool higher = false;
    for (int e = 0; e < 2; ++e) {
      const geo::IntVec p = e == 0 ? ends.from : ends.to;
      double ground = static_cast<double>(plan.floor[steps[i].high]);
      for (const StepRamp* ramp : on->second) {
        if (OnFootprint(ramp->prism, p.x, p.y)) ground = std::max(ground, TopOf(ramp->prism, p.x, p.y));
      }
      tops[e] = static_cast<int64_t>(std::ceil(ground - 1e-9));
      higher = higher || tops[e] > plan.floor[steps[i].high];
    }
    if (higher) raised.push_back({i, tops});
  }
  for (const auto& [i, tops] : raised) build(i, tops[0], tops[1]);

  std::vector<StepRamp> ramps;
  for (Outcome& outcome : outcomes) {
    ++report.steps;
    if (outcome.walkable) ++report.walkable;
    if (!outcome.ramps.empty()) ++report.ramps;
    for (StepRamp& ramp : outcome.ramps) ramps.push_back(std::move(ramp));
    if (!outcome.walkable && !outcome.solved) ++report.unsolved;
  }
  return ramps;
}

void RaiseOntoRamps(std::vector<MapEntity>& entities, const std::vector<StepRamp>& ramps) {
  for (MapEntity& entity : entities) {
    for (KeyValue& kv : entity.keys) {
      if (kv.key != "origin" || kv.measures.size() != 3) continue;
      const double x = kv.measures[0].thousandths / 1000.0, y = kv.measures[1].thousandths / 1000.0;
      double z = kv.measures[2].thousandths / 1000.0;
      for (const StepRamp& ramp : ramps) {
        if (!OnFootprint(ramp.prism, x, y)) continue;
        // A plane is highest over a square at one of its corners.
        double highest = -HUGE_VAL;
        for (const double dx : {-kThingReach, kThingReach}) {
          for (const double dy : {-kThingReach, kThingReach}) highest = std::max(highest, TopOf(ramp.prism, x + dx, y + dy));
        }
        z = std::max(z, highest);
      }
      kv.measures[2].thousandths = std::max(kv.measures[2].thousandths, static_cast<int64_t>(std::ceil(z * 1000.0)));
    }
  }
}

}  // namespace zaro3
