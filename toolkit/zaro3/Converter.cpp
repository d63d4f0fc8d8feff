#include "Converter.h"

#include "Headroom.h"
#include "LightEntities.h"
#include "MaskedLines.h"
#include "Portals.h"
#include "RampHips.h"
#include "StepRamps.h"
#include "WallRuns.h"
#include "WorldBrushes.h"
#include "actions/SectorHeights.h"
#include "actions/ActionEntities.h"
#include "actions/ActionPlan.h"
#include "actions/SwitchPanels.h"

namespace zaro3 {

namespace {

template <typename T>
void Append(std::vector<T>& into, std::vector<T>&& from) {
  for (T& item : from) into.push_back(std::move(item));
}

}  // namespace

Conversion ConvertLevel(const wad::Level& level, const Options& options, const MaterialCatalog& catalog,
                        const ThingTable& table, Diagnostics& diagnostics, const std::vector<SwitchPair>& switches) {
  Conversion result;
  ConversionSummary& summary = result.summary;

  // One brush face shows two lines in a row only where their textures run on unbroken.
  const WallRuns runs(level, catalog);
  const FacesJoin join = [&runs](int la, int sa, int lb, int sb) { return runs.Continuous(la, sa, lb, sb); };
  PieceOptions pieceOptions;
  pieceOptions.direct = options.direct;
  pieceOptions.facesJoin = join;
  const PieceCut cut = CutLevel(level, pieceOptions, summary.pieces);
  const std::vector<Piece>& pieces = cut.pieces;
  if (!options.direct && !summary.pieces.usedNodes) {
    diagnostics.Warn("no usable nodes (" + summary.pieces.fallbackReason + "): partitioned from the lines");
  }

  MaterialPicker picker(catalog, SkyMaterialFor(level.name));
  const SectorLocator locator(level);
  const SectorHeights heights(level, [&](const std::string& name) { return picker.WallHeight(name); });
  const SpecialPlan specials = PlanSpecials(
      level, heights, [&](int t) { return locator.SectorAt(level.things[t].x, level.things[t].y); }, !options.noMove);
  const MoverPlan& plan = specials.motion;

  BrushOptions brushOptions;
  brushOptions.floors = !options.noFloor;
  brushOptions.ceilings = !options.noCeiling;
  brushOptions.walls = !options.noWall;
  brushOptions.bound = options.bound;
  const LayerPieces layers = BuildLayerPieces(level, cut.cells, plan, join);
  WorldGeometry geometry = BuildWorldGeometry(level, pieces, layers, plan, picker, brushOptions);

  std::vector<MapEntity>& entities = result.model.entities;
  MapEntity world;
  world.Set("classname", "worldspawn");
  world.brushes = std::move(geometry.world);
  entities.push_back(std::move(world));

  std::vector<StepRamp> ramps;
  if (brushOptions.floors) {
    ramps = BuildStepRamps(level, plan, options.scale, summary.ramps);
    std::vector<StepRamp> hips = BuildRampHips(level, plan, options.scale, ramps,
                                               [&](double x, double y) { return locator.SectorAt(x, y); });
    summary.ramps.hips = static_cast<int>(hips.size());
    Append(ramps, std::move(hips));
  }
  for (StepRamp& ramp : ramps) entities.front().brushes.push_back(ramp.prism);

  std::vector<MapEntity> things = BuildThingEntities(level, table, options.noEntities,
                                                     [&](double x, double y) { return locator.SectorAt(x, y); },
                                                     summary.things, diagnostics);
  RaiseOntoRamps(things, ramps);
  Append(entities, std::move(things));
  LightSet lights = BuildLightEntities(level, pieces, [&](int s) { return heights.DimmestNeighbourLight(s); });
  summary.lights = lights.entities.size();
  Append(entities, std::move(lights.entities));
  int skippedMasked = 0;
  std::vector<MapEntity> masked = BuildMaskedLineEntities(level, picker, skippedMasked);
  summary.maskedLines = masked.size();
  Append(entities, std::move(masked));

  std::set<std::string> switchNames;
  for (const SwitchPair& pair : switches) switchNames.insert({wad::UpperName(pair.off), wad::UpperName(pair.on)});
  const IsSwitchTexture isSwitch = [&](const std::string& name) { return switchNames.count(wad::UpperName(name)) > 0; };
  const auto switchFace = [&](int line) -> std::optional<Surface> {
    const std::optional<WallPart> part = SwitchPart(level, line, isSwitch);
    if (!part) return std::nullopt;
    return picker.WallSide(level, line, 0, *part);
  };
  const SpecialContext context{level, specials, geometry, pieces, lights, heights, options.scale.Value(),
                               switchFace};
  SpecialEntities special = BuildSpecialEntities(context, diagnostics);
  for (const MapEntity& e : special.entities) {
    const std::string classname = e.Text("classname");
    if (classname == "func_door" || classname == "func_plat" || classname == "func_riser") ++summary.movers;
    if (!e.brushes.empty() && classname.rfind("trigger_", 0) == 0) ++summary.triggers;
  }
  summary.specials = special.report;
  Append(entities, std::move(special.entities));

  // Without all of the world's floors, ceilings and walls no portal can seal its opening.
  const std::vector<PortalSite> sites = FindPortalSites(level, plan);
  if (brushOptions.floors && brushOptions.ceilings && brushOptions.walls) {
    for (Prism& portal : BuildPortals(level, pieces, plan, sites, entities, options.scale, summary.portals)) {
      entities.front().brushes.push_back(std::move(portal));
    }
  }
  summary.headroom = CheckHeadroom(level, sites, options.scale);
  summary.skippedBrushes = geometry.skipped + skippedMasked;
  summary.worldBrushes = entities.front().brushes.size();
  for (const MapEntity& e : entities) summary.brushes += e.brushes.size();
  summary.entities = entities.size();
  summary.untextured = picker.untextured;
  summary.missingNames = picker.missingNames;
  return result;
}

}  // namespace zaro3
