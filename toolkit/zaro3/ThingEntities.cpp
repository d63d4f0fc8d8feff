#include "ThingEntities.h"


namespace zaro3 {

namespace {

// Warn about the first few things that fell outside; the count goes to the summary.
constexpr int kOutsideWarnings = 5;
constexpr int kPlayerOneStart = 1;
// DOOM spawns a single-player thing on the skills whose bits it carries; none, never.
constexpr uint16_t kAnySkill = wad::kThingEasy | wad::kThingMedium | wad::kThingHard;

}  // namespace

std::vector<MapEntity> BuildThingEntities(const wad::Level& level, const ThingTable& table, bool playerStartsOnly,
                                          const SectorLookup& sectorAt, ThingReport& report,
                                          Diagnostics& diagnostics) {
  std::vector<MapEntity> entities;
  int lastPlayerOne = -1;
  for (std::size_t t = 0; t < level.things.size(); ++t) {
    if (level.things[t].type == kPlayerOneStart) lastPlayerOne = static_cast<int>(t);
  }
  for (std::size_t t = 0; t < level.things.size(); ++t) {
    const wad::Thing& thing = level.things[t];
    const bool playerStart = IsPlayerStart(thing.type);
    if (thing.type == kPlayerOneStart && static_cast<int>(t) != lastPlayerOne) {
      ++report.voodooDolls;
      continue;
    }
    if (!playerStart) {
      if (playerStartsOnly) continue;
      if (!(thing.flags & kAnySkill) || (thing.flags & wad::kThingMultiplayer)) continue;
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
    if (!playerStart) {
      if (!(thing.flags & wad::kThingEasy)) entity.Set("not_easy", "1");
      if (!(thing.flags & wad::kThingMedium)) entity.Set("not_medium", "1");
      if (!(thing.flags & wad::kThingHard)) entity.Set("not_hard", "1");
      if (thing.flags & wad::kThingAmbush) entity.Set("ambush", "1");
    }
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
