// ActionPlan: what every special line and special sector of a level does,
// worked out at conversion by DOOM's rules, before any entity is made.
//
// Each line with a special gets a LineAction: its decoded special, the movers
// it sets off (indices into the motion plan), the sectors it affects, a
// teleport's destination, and whether it can be reproduced (else why not).
// Moving floors and ceilings are collected per sector plane: requests for the
// same plane that agree share one mover (a door opened by several lines);
// requests that disagree keep the first and skip the rest, with the reason.
// Every sector with a special gets a SectorEffect. Stages after this one only
// read the plan.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Level.h"
#include "LineActions.h"
#include "MoverPlan.h"
#include "SectorHeights.h"
#include "SectorActions.h"

namespace zaro3 {

struct LineAction {
  int line = -1;
  LineSpecial special;
  std::vector<int> movers;    // the movers it sets off
  std::vector<int> sectors;   // the sectors it acts on (lights, stops), tagged or behind the line
  int destinationThing = -1;  // teleports: the teleport destination thing
  int destinationLine = -1;   // line teleports: the line it leads to
  bool reproduced = false;
  std::string skipped;        // why not, when not reproduced
};

struct SectorEffect {
  int sector = -1;
  SectorSpecial special;
};

struct SpecialPlan {
  MoverPlan motion;
  std::vector<LineAction> lines;      // every line with a special, in line order
  std::vector<SectorEffect> sectors;  // every sector with a special, in sector order
};

using ThingSector = std::function<int(int thing)>;

// Whether a door line opened by hand is reproduced by the door's own touch: DOOM's
// plain door that monsters open too (DR, no key, not a secret line). A func_door opens
// to anybody's touch and ignores touches while it opens; every other door line gets a
// trigger of its own, so that only players set it off (and only with its key).
bool OpensByTouch(const LineSpecial& special, const wad::Linedef& line);

// The plan for `level`. With `withMovers` false nothing moves and no line special is
// reproduced (the -nomove option); sector effects that move nothing stay.
SpecialPlan PlanSpecials(const wad::Level& level, const SectorHeights& heights, const ThingSector& thingSector,
                         bool withMovers);

// The moving floors and ceilings alone, with no texture heights and no things known.
MoverPlan PlanMovers(const wad::Level& level, bool withMovers);

}  // namespace zaro3
