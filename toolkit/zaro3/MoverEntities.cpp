#include "MoverEntities.h"

#include <algorithm>

#include "MaterialCatalog.h"
#include "PrismShapes.h"

namespace zaro3 {

namespace {

// DOOM's speeds in units per tic (35 tics a second) and waits.
constexpr int64_t kTicsPerSecond = 35;
constexpr int64_t kDoorSpeed = 2, kFastDoorSpeed = 8;
constexpr int64_t kLiftSpeed = 4, kFastLiftSpeed = 8;
constexpr const char* kDoorWait = "4.2857";  // 150 tics
constexpr const char* kLiftWait = "3";       // 105 tics
// A func_door travels its size plus 2 minus lip (its clip bounds are padded by one unit
// on each side), in DOOM 3 units whatever the scale.
constexpr const char* kDoorLip = "2";
// How far a trigger reaches in front of its line and how tall it is at least.
constexpr int64_t kTriggerDepth = 8;
constexpr int64_t kTriggerMinHeight = 64;

bool IsFastLift(int special) { return special >= 120 && special <= 123; }

std::string MoverName(const Mover& mover) {
  return (mover.kind == MoverKind::Door ? "door_" : "lift_") + std::to_string(mover.sector);
}

MapEntity DoorEntity(const Mover& mover) {
  MapEntity e;
  e.Set("classname", "func_door");
  NameBrushEntity(e, MoverName(mover));
  e.Set("movedir", "-1");  // up
  e.Set("lip", kDoorLip);
  e.SetMeasure("speed", DoomMeasure::Units((mover.fast ? kFastDoorSpeed : kDoorSpeed) * kTicsPerSecond));
  e.Set("wait", mover.stayOpen ? "-1" : kDoorWait);
  if (mover.remote) e.Set("no_touch", "1");
  return e;
}

// A DOOM lift rests at the top and lowers: a plat placed at the bottom whose
// negative height puts its resting place that far above.
MapEntity LiftEntity(const Mover& mover, bool fast) {
  MapEntity e;
  e.Set("classname", "func_plat");
  NameBrushEntity(e, MoverName(mover));
  e.SetMeasure("height", DoomMeasure::Units(-(mover.high - mover.low)));
  e.Set("lip", "0");
  e.SetMeasure("speed", DoomMeasure::Units((fast ? kFastLiftSpeed : kLiftSpeed) * kTicsPerSecond));
  e.Set("wait", kLiftWait);
  e.Set("accel_time", "0");
  e.Set("decel_time", "0");
  e.Set("no_touch", "1");
  return e;
}

// The slab moved down by its travel, to where the plat is placed; its faces rest that far up.
std::vector<Prism> PlacedAtBottom(std::vector<Prism> slabs, int64_t travel) {
  for (Prism& prism : slabs) {
    prism.zLow -= travel;
    prism.zHigh -= travel;
    prism.top.restShift = prism.bottom.restShift = travel;
    for (PrismSide& side : prism.sides) side.face.restShift = travel;
  }
  return slabs;
}

}  // namespace

MoverEntities BuildMoverEntities(const wad::Level& level, const MoverPlan& plan, const WorldGeometry& geometry) {
  MoverEntities out;
  // Lift speed comes from the specials that move it.
  std::vector<bool> fastLift(plan.movers.size(), false);
  for (const MoverTrigger& trigger : plan.triggers) {
    for (int m : trigger.movers) fastLift[m] = fastLift[m] || IsFastLift(level.linedefs[trigger.linedef].special);
  }
  std::vector<bool> written(plan.movers.size(), false);
  for (std::size_t m = 0; m < plan.movers.size(); ++m) {
    if (geometry.moverSlabs[m].empty()) continue;
    const Mover& mover = plan.movers[m];
    MapEntity e;
    if (mover.kind == MoverKind::Door) {
      e = DoorEntity(mover);
      e.brushes = geometry.moverSlabs[m];
    } else {
      e = LiftEntity(mover, fastLift[m]);
      e.brushes = PlacedAtBottom(geometry.moverSlabs[m], mover.high - mover.low);
    }
    written[m] = true;
    out.movers.push_back(std::move(e));
  }
  for (const MoverTrigger& trigger : plan.triggers) {
    MapEntity e;
    e.Set("classname", "trigger_multiple");
    NameBrushEntity(e, "trigger_" + std::to_string(trigger.linedef));
    int targets = 0;
    for (int m : trigger.movers) {
      if (!written[m]) continue;
      e.Set(targets == 0 ? "target" : "target" + std::to_string(targets), MoverName(plan.movers[m]));
      ++targets;
    }
    if (targets == 0) continue;
    const wad::Linedef& line = level.linedefs[trigger.linedef];
    const int frontSector = line.front >= 0 ? level.sidedefs[line.front].sector : level.sidedefs[line.back].sector;
    const int64_t zLow = plan.floor[frontSector];
    const int64_t zHigh = std::max(plan.ceiling[frontSector], zLow + kTriggerMinHeight);
    const wad::Vertex& v1 = level.vertices[line.v1];
    const wad::Vertex& v2 = level.vertices[line.v2];
    Prism slab = LineSlab({v1.x, v1.y}, {v2.x, v2.y}, kTriggerDepth, line.front >= 0, zLow, zHigh,
                          Surface(kTriggerMaterial), Surface(kTriggerMaterial));
    if (!FootprintIsSound(slab)) continue;
    e.brushes.push_back(std::move(slab));
    out.triggers.push_back(std::move(e));
  }
  return out;
}

}  // namespace zaro3
