// MoverEntities: doors and lifts as moving brush entities, and their trigger lines.
//
// Doors become func_door (moving up by their own height, DOOM's speed and
// wait, scaled), lifts func_plat (resting low, rising by their height when
// touched or triggered). A line that sets movers going becomes a thin
// trigger_multiple brush along it whose target keys name the movers.
// No entity here carries a name: the map tool names every unnamed entity
// "noname<i>" by its position i in the file (worldspawn is 0) when no entity
// has a name, so a trigger's target is the name its mover will get from its
// position. That only holds while nothing before the movers is added or
// removed after this stage: the movers' first index is passed in and the
// triggers must follow the movers directly.
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

// `firstIndex`: the file position the first mover entity will have.
MoverEntities BuildMoverEntities(const wad::Level& level, const MoverPlan& plan, const WorldGeometry& geometry,
                                 const Scale& scale, std::size_t firstIndex);

}  // namespace zaro3
