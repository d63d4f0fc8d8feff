// ThingEntities: the level's things as point entities through the thing table.
//
// Keeps the things DOOM spawns in single player on some skill (not the
// multiplayer-only ones), with DOOM's skill flags as DOOM 3's per-skill keys
// (not_easy, not_medium, not_hard: DOOM 3's hard and nightmare share DOOM's
// ultra-violence set) and deaf monsters as "ambush". Of the player 1 starts
// only the last counts, as in DOOM: the player spawns at each in turn and the
// earlier ones are left behind as "voodoo dolls"; the other players' starts
// stay. Each stands on the floor of the sector under it (player starts
// slightly above, so they never start inside it); a thing outside every
// sector would leak and is left out with a warning. Types the table does not
// know are counted. The sector lookup is borrowed, never stored.
#pragma once

#include <functional>
#include <vector>

#include "Diagnostics.h"
#include "Level.h"
#include "MapModel.h"
#include "ThingTable.h"

namespace zaro3 {

// How far above its floor a player start is placed, in DOOM units.
constexpr int64_t kPlayerStartLift = 2;

struct ThingReport {
  int written = 0;
  int unknownTypes = 0;  // things skipped: type not in the table
  int outside = 0;       // things skipped: outside every sector
  int voodooDolls = 0;   // earlier player 1 starts left out
};

using SectorLookup = std::function<int(double x, double y)>;

std::vector<MapEntity> BuildThingEntities(const wad::Level& level, const ThingTable& table, bool playerStartsOnly,
                                          const SectorLookup& sectorAt, ThingReport& report,
                                          Diagnostics& diagnostics);

}  // namespace zaro3
