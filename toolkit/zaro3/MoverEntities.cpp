#include "MoverEntities.h"

#include <algorithm>

#include "MapWriter.h"
#include "MaterialCatalog.h"
#include "PrismShapes.h"

namespace zaro3 {

namespace {

// DOOM's speeds in units per tic (35 tics a second) and waits in seconds.
constexpr int64_t kTicsPerSecond = 35;
constexpr int64_t kDoorSpeed = 2, kFastDoorSpeed = 8;
constexpr int64_t kLiftSpeed = 4, kFastLiftSpeed = 8;
constexpr const char* kDoorWait = "4";   // 150 tics
constexpr const char* kLiftWait = "3";   // 105 tics
// How far a trigger reaches in front of its line and how tall it is at least.
constexpr int64_t kTriggerDepth = 8;
constexpr int64_t kTriggerMinHeight = 64;

bool IsFastLift(int special) { return special >= 120 && special <= 123; }

MapEntity DoorEntity(const Mover& mover, const Scale& scale) {
  MapEntity e;
  e.keys.emplace_back("classname", "func_door");
  e.keys.emplace_back("movedir", "-1");  // up
  e.keys.emplace_back("lip", "0");
  e.keys.emplace_back("speed", FormatScaled((mover.fast ? kFastDoorSpeed : kDoorSpeed) * kTicsPerSecond, scale));
  e.keys.emplace_back("wait", mover.stayOpen ? "-1" : kDoorWait);
  if (mover.remote) e.keys.emplace_back("no_touch", "1");
  return e;
}

MapEntity LiftEntity(const Mover& mover, bool fast, const Scale& scale) {
  MapEntity e;
  e.keys.emplace_back("classname", "func_plat");
  e.keys.emplace_back("height", FormatScaled(mover.high - mover.low, scale));
  e.keys.emplace_back("lip", "0");
  e.keys.emplace_back("speed", FormatScaled((fast ? kFastLiftSpeed : kLiftSpeed) * kTicsPerSecond, scale));
  e.keys.emplace_back("wait", kLiftWait);
  return e;
}

}  // namespace

MoverEntities BuildMoverEntities(const wad::Level& level, const MoverPlan& plan, const WorldGeometry& geometry,
                                 const Scale& scale, std::size_t firstIndex) {
  MoverEntities out;
  // Lift speed comes from the specials that move it.
  std::vector<bool> fastLift(plan.movers.size(), false);
  for (const MoverTrigger& trigger : plan.triggers) {
    for (int m : trigger.movers) fastLift[m] = fastLift[m] || IsFastLift(level.linedefs[trigger.linedef].special);
  }
  std::vector<std::size_t> entityIndex(plan.movers.size(), 0);
  std::vector<bool> written(plan.movers.size(), false);
  for (std::size_t m = 0; m < plan.movers.size(); ++m) {
    if (geometry.moverSlabs[m].empty()) continue;
    const Mover& mover = plan.movers[m];
    MapEntity e = mover.kind == MoverKind::Door ? DoorEntity(mover, scale) : LiftEntity(mover, fastLift[m], scale);
    e.brushes = geometry.moverSlabs[m];
    entityIndex[m] = firstIndex + out.movers.size();
    written[m] = true;
    out.movers.push_back(std::move(e));
  }
  for (const MoverTrigger& trigger : plan.triggers) {
    MapEntity e;
    e.keys.emplace_back("classname", "trigger_multiple");
    int targets = 0;
    for (int m : trigger.movers) {
      if (!written[m]) continue;
      const std::string key = targets == 0 ? "target" : "target" + std::to_string(targets);
      e.keys.emplace_back(key, "noname" + std::to_string(entityIndex[m]));
      ++targets;
    }
    if (targets == 0) continue;
    const wad::Linedef& line = level.linedefs[trigger.linedef];
    const int frontSector = line.front >= 0 ? level.sidedefs[line.front].sector : level.sidedefs[line.back].sector;
    const int64_t zLow = plan.floor[frontSector];
    const int64_t zHigh = std::max(plan.ceiling[frontSector], zLow + kTriggerMinHeight);
    const wad::Vertex& v1 = level.vertices[line.v1];
    const wad::Vertex& v2 = level.vertices[line.v2];
    Prism slab = LineSlab({v1.x, v1.y}, {v2.x, v2.y}, kTriggerDepth, line.front >= 0, zLow, zHigh, kTriggerMaterial,
                          kTriggerMaterial);
    if (!FootprintIsSound(slab)) continue;
    e.brushes.push_back(std::move(slab));
    out.triggers.push_back(std::move(e));
  }
  return out;
}

}  // namespace zaro3
