// RampBuilder: the ramp over one step (StepRamps.h says what the ramps are): a plane
// sloping off the step line over the lower side (RampBuilder.cpp), or on a winding
// stair's tread two planes that climb round the hub (WindingRamps.cpp). Values in DOOM
// units with exact integer plane points.
#pragma once

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "ConvexPolygon.h"
#include "Level.h"
#include "LineCells.h"
#include "MapModel.h"
#include "MoverPlan.h"
#include "PlayerFit.h"
#include "RampStrip.h"
#include "StepRamps.h"

namespace zaro3::ramps {

// The steepest slope DOOM 3's player walks (rise over run): normal z of 1/sqrt(2) against
// MIN_WALK_NORMAL 0.7.
constexpr double kSteepestSlope = 1.0;
// How far below the lowest floor a ramp reaches, so its thin end is never a flat brush.
constexpr int64_t kRampFoot = 1;
// The longest a ramp may run from its step, DOOM units (down a steep staircase).
constexpr double kLongestRamp = 128;
// A winding tread's wedge is narrower than 60 degrees (the cosine): wider, the step down
// from the step line's end is the side of a straight stair or corridor, not a tread's edge.
constexpr double kWidestWedge = 0.5;

// A line DOOM's player walks up, with its sectors.
struct Step {
  int linedef = -1;
  int low = -1, high = -1;  // sectors
  bool lowOnFront = false;
};

// The step line walked so that the lower side is on its left.
struct StepEnds {
  geo::IntVec from, to;
};

// The step's line, walked with its lower side on the left.
StepEnds EndsOf(const wad::Level& level, const Step& step);
// The height of a ramp's sloped top over (x, y), no higher than its top.
double TopOf(const Prism& prism, double x, double y);
// The bottom of a ramp: under the lowest floor it reaches and under its top's lowest corner,
// by kRampFoot.
int64_t BottomUnder(const Prism& prism, int64_t floor);
// Whether (x, y) lies on the prism's footprint, its edges included.
bool OnFootprint(const Prism& prism, double x, double y);

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
  RampBuilder(const wad::Level& level, const MoverPlan& plan, const Scale& scale);

  // The ramp over `step`, its top edge at `topFrom` and `topTo` over the step line's ends
  // (the upper floor, or the ground a ramp on the upper side makes there), or false when
  // there is no room for one; `solved` says whether the rise it leaves along its middle
  // is one DOOM 3's player steps. A ramp cut along a lower floor's edge that runs on from
  // another cut is taken where it leaves no rise too high; elsewhere that edge only stops it
  // short.
  bool Build(const Step& step, int64_t topFrom, int64_t topTo, StepRamp& ramp, bool& solved) const;

  // A winding stair's step: its lower side is a tread shaped like a wedge between the step
  // line and a step down that leaves one of its ends (the hub), turned less than 60 degrees
  // from it. Its ramp climbs round the hub on the wedge alone (a ramp sloping straight
  // off the step line would run on over the lower treads and stand across their way near the
  // hub) in two planes that meet along the line from the step line's middle to the step
  // down's other end: the inner one holds the step down at the tread's floor and rises to the
  // upper floor at the middle, the outer one holds the step line's outer half at the upper
  // floor. At the step line it leaves a rise only on the half by the hub (the whole step at
  // the hub, where the treads meet). Taken where DOOM 3's player walks both planes.
  bool BuildWinding(const Step& step, std::vector<StepRamp>& ramps) const;

private:
  // The ramp over the part `ends` of the step line. Where lines near the ends of the step
  // line stop it short of a rise DOOM 3's player steps (a pillar or a wall's corner beside
  // the step), and `narrowing`, a ramp over the widest part of the line clear of them, when
  // DOOM 3's player fits on it, is taken instead. `chained`: lines ending on other cuts cut
  // it too (ExactCuts).
  bool BuildBetween(const Step& step, const StepEnds& ends, int64_t topFrom, int64_t topTo, bool narrowing,
                    bool chained, StepRamp& ramp, bool& solved) const;

  // The wedge between the step line and its step down, cut along the lines it may not lie
  // across; false when one of them only stops it short.
  bool WedgeFootprint(const Step& step, const RampStrip& strip, int downLine, int64_t low, int64_t high,
                      geo::ConvexPolygon& footprint) const;

  // A step down out of the step's lower sector along a line from `hub`, into the lower side
  // and turned less than kWidestWedge from the step line towards `outer`, the sector's only
  // way down (a tread of a straight stair has its step down before it, and the floor beside
  // an open side is another): its line and its other end.
  bool StepDownFrom(const Step& step, const StepEnds& ends, geo::IntVec hub, geo::IntVec outer, int& downLine,
                    geo::IntVec& down) const;

  std::array<geo::IntVec, 2> LineEnds(int linedef) const;

  // Which of the lines the ramp may not lie across cut it exactly along themselves: one from
  // an end of the step line or across the whole strip, and one whose every end inside the
  // strip meets a line that cuts it (a lower floor's edge running on from a wall at the
  // step's end, as a winding stair's tread has), when `chained`: past such an end the other
  // cut already ends the ramp. Any other can only stop it short.
  std::vector<bool> ExactCuts(const std::vector<const Crossed*>& blocking, const RampStrip& strip, bool chained) const;

  // The widest part of the step line between integer points on it that lies clear of every
  // stopper's span, when DOOM 3's player fits on a ramp that wide and it is not the whole line.
  bool WidestClearPart(const StepEnds& ends, std::vector<std::pair<double, double>> stoppers, StepEnds& clear) const;

  // The lines inside the strip, with the sectors on either side of them going deeper.
  std::vector<Crossed> Gather(const Step& step, const RampStrip& strip) const;

  // How far the lower floor goes on along the middle before anything else begins, DOOM units.
  double Room(const std::vector<Crossed>& crossed, int64_t low, const RampStrip& strip) const;

  // Goes down the strip's middle from the step line: over floors as low as the ramp's or
  // lower by steps DOOM's player walks, until the slope meets the floor under it or
  // something stops it.
  RampEnd FollowMiddle(const Step& step, const std::vector<Crossed>& crossed, const RampStrip& strip, double top,
                       double fall) const;

  // Whether the ramp may lie over both sides of a line: floors that do not move, between the
  // lowest the ramp reaches and its own, under ceilings that leave the player standing on it.
  bool Passable(const Crossed& c, int64_t low, int64_t lowest, double height) const;

  static Prism ToPrism(const geo::ConvexPolygon& footprint, int64_t zLow, int64_t zHigh);
  const wad::Level& m_level;
  const MoverPlan& m_plan;
  LineCells m_lines;
  int64_t m_highestStep;
  double m_headroom = 0;
  double m_narrowest = 0;  // DOOM 3's player's width, DOOM units
  std::vector<int> m_waysDown;  // per sector, its two-sided lines to a lower floor
};

}  // namespace zaro3::ramps
