// StepRamps: sloped clip ramps over the steps DOOM's player walks up and DOOM 3's cannot.
//
// A step is a line DOOM's player crosses upwards: two-sided, not blocking, a
// rise of at most 24 and an opening at least 56 high (world heights), between
// two sectors whose floors do not move. Where the rise at the scale is more
// than DOOM 3's 16, a ramp of player and monster clip lies on the lower side:
// a prism whose top slopes from the upper floor at the line down to the lower
// floor, as DOOM 3 mappers smooth their stairs; half as high as long where the
// floor before the step allows, steeper (up to the 45 degrees DOOM 3's player
// walks) before a short tread, and on down a steep staircase over the lower
// steps until the slope meets the floor. It never lies over a floor that moves,
// a higher floor, a wall, a ledge DOOM's player does not walk up, or under a
// ceiling too low for DOOM 3's player standing on it: those cut it along their
// line or stop it short (a line cuts it when it starts at an end of the step line,
// runs across the whole strip, or, where that leaves no rise too high, has its
// ends on such cuts: a winding tread's step down running on from its wall). A
// winding stair's tread (a wedge between the step line and its only step down,
// which leaves an end of the step line at less than 60 degrees) takes a ramp of
// two planes that climbs round the hub instead, lying on the wedge alone. Where lines near the ends of the step line (a pillar,
// a wall's corner) stop it short, a ramp over the widest part of the line clear
// of them is taken instead, when DOOM 3's player fits on it. A ramp that ends
// above the floor before it by more than a step is counted as unsolved. Things standing on a ramp's footprint
// are raised onto it. Where a staircase is open on its side, the treads' own
// ramps raise the ground beyond the side's step lines: those steps' ramps climb
// to that ground along their line (a top edge that slopes with the tread's
// ramp, the toe on a slant), so the staircase is climbed from the side as well.
// Not checked: a ramp's sides elsewhere, which stand like a step where the
// floor goes on beside the step line. The ramps are values in DOOM units with
// exact integer plane points; nothing is borrowed.
#pragma once

#include <vector>

#include "Level.h"
#include "MapModel.h"
#include "MoverPlan.h"

namespace zaro3 {

// The ramps' material: player and monster clip, drawn nowhere (toolkit/defs/materials/zdoom.mtr).
inline const char* const kRampMaterial = "zdoom/rampclip";

struct StepRamp {
  int linedef = -1;
  // Its slopedTop holds the step line's ends at the top edge and a toe point; its zHigh is
  // the highest it reaches (the upper floor, or the ground a tread's ramp makes).
  Prism prism;
};

struct RampReport {
  int steps = 0;      // steps DOOM's player walks up
  int walkable = 0;   // of those, low enough for DOOM 3's player as they are
  int ramps = 0;      // ramps made
  int unsolved = 0;   // ramps that still leave a rise too high where they end, or no room for one
  int hips = 0;       // sloped ends of ramps standing in open floor (RampHips)
};

std::vector<StepRamp> BuildStepRamps(const wad::Level& level, const MoverPlan& plan, const Scale& scale,
                                     RampReport& report);

// Raises the "origin" of every entity standing on a ramp's footprint onto the ramp.
void RaiseOntoRamps(std::vector<MapEntity>& entities, const std::vector<StepRamp>& ramps);

}  // namespace zaro3
