#include "RampBuilder.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numeric>

#include "PrismShapes.h"

namespace zaro3::ramps {

namespace {

// The gentle slope a ramp has where there is room (rise over run).
constexpr double kGentleSlope = 0.5;
// A ramp falling less steeply than this from its top edge would run too long to be a ramp.
constexpr double kLeastSlope = 0.2;

}  // namespace

StepEnds EndsOf(const wad::Level& level, const Step& step) {
  const wad::Linedef& line = level.linedefs[step.linedef];
  const geo::IntVec v1{level.vertices[line.v1].x, level.vertices[line.v1].y};
  const geo::IntVec v2{level.vertices[line.v2].x, level.vertices[line.v2].y};
  // The front lies right of v1 -> v2.
  return step.lowOnFront ? StepEnds{v2, v1} : StepEnds{v1, v2};
}

double TopOf(const Prism& prism, double x, double y) {
  const auto& q = *prism.slopedTop;
  const double ux = q[1].x - q[0].x, uy = q[1].y - q[0].y, uz = q[1].z - q[0].z;
  const double vx = q[2].x - q[0].x, vy = q[2].y - q[0].y, vz = q[2].z - q[0].z;
  const double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
  return std::min(static_cast<double>(prism.zHigh), q[0].z - (nx * (x - q[0].x) + ny * (y - q[0].y)) / nz);
}

int64_t BottomUnder(const Prism& prism, int64_t floor) {
  double lowestTop = static_cast<double>(prism.zHigh);
  for (const PrismSide& side : prism.sides) lowestTop = std::min(lowestTop, TopOf(prism, side.a.x, side.a.y));
  return std::min<int64_t>(floor, static_cast<int64_t>(std::floor(lowestTop))) - kRampFoot;
}

bool OnFootprint(const Prism& prism, double x, double y) {
  for (const PrismSide& side : prism.sides) {
    const double cross = static_cast<double>(side.b.x - side.a.x) * (y - side.a.y) -
                         static_cast<double>(side.b.y - side.a.y) * (x - side.a.x);
    if (cross < 0) return false;
  }
  return true;
}

RampBuilder::RampBuilder(const wad::Level& level, const MoverPlan& plan, const Scale& scale)
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

bool RampBuilder::Build(const Step& step, int64_t topFrom, int64_t topTo, StepRamp& ramp, bool& solved) const {
  const StepEnds ends = EndsOf(m_level, step);
  if (BuildBetween(step, ends, topFrom, topTo, true, true, ramp, solved) && solved) return true;
  return BuildBetween(step, ends, topFrom, topTo, true, false, ramp, solved);
}

bool RampBuilder::BuildBetween(const Step& step, const StepEnds& ends, int64_t topFrom, int64_t topTo, bool narrowing,
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
  ramp.prism.zLow = BottomUnder(ramp.prism, end.floor);
  return FootprintIsSound(ramp.prism);
}

std::array<geo::IntVec, 2> RampBuilder::LineEnds(int linedef) const {
  const wad::Linedef& l = m_level.linedefs[linedef];
  return {geo::IntVec{m_level.vertices[l.v1].x, m_level.vertices[l.v1].y},
          geo::IntVec{m_level.vertices[l.v2].x, m_level.vertices[l.v2].y}};
}

std::vector<bool> RampBuilder::ExactCuts(const std::vector<const Crossed*>& blocking, const RampStrip& strip, bool chained) const {
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

bool RampBuilder::WidestClearPart(const StepEnds& ends, std::vector<std::pair<double, double>> stoppers, StepEnds& clear) const {
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

std::vector<Crossed> RampBuilder::Gather(const Step& step, const RampStrip& strip) const {
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

double RampBuilder::Room(const std::vector<Crossed>& crossed, int64_t low, const RampStrip& strip) const {
  for (const Crossed& c : crossed) {
    if (!c.crossing.middle) continue;
    if (c.beyond < 0 || m_plan.FloorMoves(c.beyond) || m_plan.floor[c.beyond] != low) {
      return std::max(c.crossing.middleDepth * strip.DepthPerStep(), 1e-3);
    }
  }
  return kLongestRamp;
}

RampEnd RampBuilder::FollowMiddle(const Step& step, const std::vector<Crossed>& crossed, const RampStrip& strip, double top,
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

bool RampBuilder::Passable(const Crossed& c, int64_t low, int64_t lowest, double height) const {
  if (c.beyond < 0 || c.before < 0) return false;
  for (const int s : {c.beyond, c.before}) {
    if (m_plan.FloorMoves(s) || m_plan.floor[s] > low || m_plan.floor[s] < lowest ||
        m_plan.ceiling[s] < height + m_headroom) {
      return false;
    }
  }
  return true;
}

Prism RampBuilder::ToPrism(const geo::ConvexPolygon& footprint, int64_t zLow, int64_t zHigh) {
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

}  // namespace zaro3::ramps
