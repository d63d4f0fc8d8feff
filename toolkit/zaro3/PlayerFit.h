// PlayerFit: the sizes of DOOM's and DOOM 3's players and how they compare at a scale.
//
// DOOM's player steps up 24 units and needs an opening 56 high and 32 wide;
// DOOM 3's (idPhysics_Player: pm_stepsize, pm_normalheight, pm_crouchheight,
// pm_bboxwidth) steps up 16, stands 74 high, crouches 38 high and is 32 wide.
// Lengths of the level are DOOM units and are compared with DOOM 3 units after
// the exact decimal scale, in integers. Only values here; nothing is owned.
#pragma once

#include <cstdint>

#include "MapModel.h"

namespace zaro3 {

constexpr int64_t kDoomStepHeight = 24;
constexpr int64_t kDoomPlayerHeight = 56;
constexpr int64_t kDoomPlayerWidth = 32;

constexpr int64_t kDoom3StepHeight = 16;
constexpr int64_t kDoom3StandingHeight = 74;
constexpr int64_t kDoom3CrouchingHeight = 38;
constexpr int64_t kDoom3PlayerWidth = 32;

// The sign of `doomUnits` times the scale minus `doom3Units`: exact, in integers.
inline int CompareScaled(int64_t doomUnits, const Scale& scale, int64_t doom3Units) {
  __int128 power = 1;
  for (int i = 0; i < scale.decimals; ++i) power *= 10;
  const __int128 scaled = static_cast<__int128>(doomUnits) * scale.mantissa;
  const __int128 wanted = static_cast<__int128>(doom3Units) * power;
  return (scaled > wanted) - (scaled < wanted);
}

// Whether DOOM 3's player steps up a rise of `doomUnits` at the scale without jumping.
inline bool StepsUpScaled(int64_t doomUnits, const Scale& scale) {
  return CompareScaled(doomUnits, scale, kDoom3StepHeight) <= 0;
}

// The highest whole rise in DOOM units DOOM 3's player steps up at the scale.
inline int64_t HighestStepScaled(const Scale& scale) {
  int64_t rise = 0;
  while (rise < kDoomStepHeight && StepsUpScaled(rise + 1, scale)) ++rise;
  return rise;
}

}  // namespace zaro3
