#include "ThingEntities.h"


namespace zaro3 {

namespace {

// Warn about the first few things that fell outside; the count goes to the summary.
constexpr int kOutsideWarnings = 5;

}  // namespace

std::vector<MapEntity> BuildThingEntities(const wad::Level& level, const ThingTable& table, bool playerStartsOnly,
                                          const SectorLookup& sectorAt, ThingReport& report,
                                          Diagnostics& diagnostics) {
  std::vector<MapEntity> entities;
  for (const wad::Thing& thing : level.things) {
    const bool playerStart = IsPlayerStart(thing.type);
    if (!playerStart) {
      if (playerStartsOnly) continue;
      if (!(thing.flags & wad::kThingMedium) || (thing.flags & wad::kThingMultiplayer)) continue;
    }
    const ThingClass* found = table.Find(thing.type);
    ThingClass builtIn;
    if (!found && playerStart) {
      builtIn = BuiltInPlayerStart(thing.type);
      found = &builtIn;
    }
    if (!found) {
      ++report.unknownTypes;
      continue;
    }
    const int sector = sectorAt(thing.x, thing.y);
    if (sector < 0) {
      if (report.outside++ < kOutsideWarnings) {
        diagnostics.Warn("thing type " + std::to_string(thing.type) + " at (" + std::to_string(thing.x) + ", " +
                         std::to_string(thing.y) + ") lies outside every sector, left out");
      }
      continue;
    }
    const int64_t z = level.sectors[sector].floorHeight + (playerStart ? kPlayerStartLift : 0);
    MapEntity entity;
    entity.Set("classname", found->classname);
    entity.SetPoint("origin", thing.x, thing.y, z);
    entity.Set("angle", std::to_string(thing.angle));
    for (const auto& kv : found->keys) entity.Set(kv.first, kv.second);
    entities.push_back(std::move(entity));
    ++report.written;
  }
  if (report.outside > kOutsideWarnings) {
    diagnostics.Warn(std::to_string(report.outside) + " things outside every sector left out in all");
  }
  return entities;
}

}  // namespace zaro3
