#include "StepRamps.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "PlayerFit.h"
#include "RampBuilder.h"

namespace zaro3 {

namespace {

using ramps::EndsOf;
using ramps::OnFootprint;
using ramps::RampBuilder;
using ramps::Step;
using ramps::StepEnds;
using ramps::TopOf;

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
