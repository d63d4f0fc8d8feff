// RampHips: sloped ends for the ramps whose sides stand in open floor.
//
// A ramp's ends are upright: where the lower floor goes on beyond an end of its
// step line (a platform standing in a room, the corners of a pedestal), that end
// stands as a step as high as the ramp, and a player walking along the step
// meets it. A hip is a three-sided ramp at such an end: its top slopes from the
// step line's end down to the floor, along the ramp's side and along the step
// line beyond its end, never steeper than 45 degrees. It lies wholly over the
// lower floor (one sector at that floor that does not move, with headroom for
// DOOM 3's player), crossing no line. Only ramps whose top edge is level along
// the step line get hips, and not where two ramps of one step line meet. Values
// in DOOM units, exact integer points.
#pragma once

#include <functional>
#include <vector>

#include "Level.h"
#include "MapModel.h"
#include "MoverPlan.h"
#include "StepRamps.h"

namespace zaro3 {

// `sectorAt` locates DOOM points (-1 outside every sector).
std::vector<StepRamp> BuildRampHips(const wad::Level& level, const MoverPlan& plan, const Scale& scale,
                                    const std::vector<StepRamp>& ramps,
                                    const std::function<int(double, double)>& sectorAt);

}  // namespace zaro3
