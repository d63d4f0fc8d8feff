// ActionEntities: the plan's moving floors and ceilings, line triggers and
// sector effects as DOOM 3 entities, and the report of what was reproduced.
//
// Movers come first (one entity per mover with slabs), then, line by line,
// each line's trigger entities and the helpers it sets off: a target_setkeyval
// that starts or stops a perpetual lift or crusher, a func_teleporter at a
// teleport destination (one per destination thing), a target_endLevel for the
// exit and the secret exit (with func_itemremove entities that take DOOM's keys
// away, as DOOM forgets them between levels), a target_setshaderparm that
// changes a sector's lights. Then the sectors: damaging floors (trigger_hurt),
// secrets (a trigger giving a message item), timed doors (trigger_timer).
// Entities others target carry explicit names; every entity made for a line
// carries "doom_line" and "doom_special", every one made for a sector
// "doom_sector". Skipped specials are counted by category and warned about by
// type and reason.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "Diagnostics.h"
#include "LightEntities.h"
#include "MapModel.h"
#include "Pieces.h"
#include "ActionPlan.h"
#include "WorldBrushes.h"

namespace zaro3 {

struct CategoryCount {
  int found = 0;
  int reproduced = 0;
};

struct SpecialReport {
  std::map<std::string, CategoryCount> lines;    // by category name ("doors", ...)
  std::map<std::string, CategoryCount> sectors;  // "damage", "secrets", "light effects", "timed doors"
  int LinesFound() const;
  int LinesReproduced() const;
};

struct SpecialContext {
  const wad::Level& level;
  const SpecialPlan& plan;
  const WorldGeometry& geometry;
  const std::vector<Piece>& pieces;  // per sector, for volumes over a sector's floor
  const LightSet& lights;
  const SectorHeights& heights;
  double scale = 1;
  // The wall surface a switch line shows its switch texture on (SwitchPart), if any;
  // empty: no switch panels.
  std::function<std::optional<Surface>(int line)> switchFace;
};

struct SpecialEntities {
  std::vector<MapEntity> entities;
  SpecialReport report;
};

SpecialEntities BuildSpecialEntities(const SpecialContext& context, Diagnostics& diagnostics);

// Scrolling walls the materials move (the entity stage counts them as reproduced).
bool ScrollCarriedByMaterials(int type);

}  // namespace zaro3
