// Converter: one level to the map model, stage by stage.
//
// level -> pieces -> special plan -> world brushes -> entities -> MapModel.
// Entities are in the order worldspawn, things, lights, masked lines, then the
// specials (movers, triggers, their helpers, sector effects); brush entities
// and the entities others target carry names. Worldspawn also holds the clip
// ramps over steps (things on them raised) and, placed last among the entities'
// bounds, the visportals. The inputs
// are borrowed; the result owns its model and counts. Nothing here reads or
// writes files or prints.
#pragma once

#include <set>
#include <string>

#include "Diagnostics.h"
#include "Headroom.h"
#include "Level.h"
#include "MapModel.h"
#include "MaterialCatalog.h"
#include "Options.h"
#include "Pieces.h"
#include "Portals.h"
#include "StepRamps.h"
#include "TextureCycles.h"
#include "ThingEntities.h"
#include "ThingTable.h"
#include "actions/ActionEntities.h"

namespace zaro3 {

struct ConversionSummary {
  PieceReport pieces;
  std::size_t worldBrushes = 0;
  std::size_t brushes = 0;        // in all entities
  std::size_t entities = 0;
  std::size_t lights = 0;
  std::size_t movers = 0;
  std::size_t triggers = 0;       // trigger volumes
  SpecialReport specials;
  std::size_t maskedLines = 0;
  int skippedBrushes = 0;
  ThingReport things;
  RampReport ramps;
  PortalReport portals;
  HeadroomReport headroom;
  int untextured = 0;
  std::set<std::string> missingNames;
};

struct Conversion {
  MapModel model;
  ConversionSummary summary;
};

// `switches`: the switch pairs whose textures a used switch swaps (DOOM's own unless the wad has its list).
Conversion ConvertLevel(const wad::Level& level, const Options& options, const MaterialCatalog& catalog,
                        const ThingTable& table, Diagnostics& diagnostics,
                        const std::vector<SwitchPair>& switches = TextureCycles::Builtin().Switches());

}  // namespace zaro3
