// MoverEntities: doors and lifts as moving brush entities, and their trigger lines.
//
// Doors become func_door door_<sector> (moving up by their own height at
// DOOM's speed, waiting DOOM's wait), lifts func_plat lift_<sector> (resting
// at the top, lowering by their travel when triggered, waiting, rising). A
// line that sets movers going becomes a thin trigger_multiple trigger_<line>
// along it whose target keys name the movers. Every entity here is a brush
// entity and carries a name and a "model" equal to it.
#pragma once

#include <vector>

#include "Level.h"
#include "MapModel.h"
#include "MoverPlan.h"
#include "WorldBrushes.h"

namespace zaro3 {

struct MoverEntities {
  std::vector<MapEntity> movers;
  std::vector<MapEntity> triggers;
};

MoverEntities BuildMoverEntities(const wad::Level& level, const MoverPlan& plan, const WorldGeometry& geometry);

}  // namespace zaro3
