#include "Converter.h"

#include "LightEntities.h"
#include "MaskedLines.h"
#include "MoverEntities.h"
#include "MoverPlan.h"
#include "WorldBrushes.h"

namespace zaro3 {

namespace {

template <typename T>
void Append(std::vector<T>& into, std::vector<T>&& from) {
  for (T& item : from) into.push_back(std::move(item));
}

}  // namespace

Conversion ConvertLevel(const wad::Level& level, const Options& options, const MaterialCatalog& catalog,
                        const ThingTable& table, Diagnostics& diagnostics) {
  Conversion result;
  ConversionSummary& summary = result.summary;

  PieceOptions pieceOptions;
  pieceOptions.direct = options.direct;
  const PieceCut cut = CutLevel(level, pieceOptions, summary.pieces);
  const std::vector<Piece>& pieces = cut.pieces;
  if (!options.direct && !summary.pieces.usedNodes) {
    diagnostics.Warn("no usable nodes (" + summary.pieces.fallbackReason + "): partitioned from the lines");
  }

  const MoverPlan plan = PlanMovers(level, !options.noMove);
  MaterialPicker picker(catalog, SkyMaterialFor(level.name));
  BrushOptions brushOptions;
  brushOptions.floors = !options.noFloor;
  brushOptions.ceilings = !options.noCeiling;
  brushOptions.walls = !options.noWall;
  brushOptions.bound = options.bound;
  const LayerPieces layers = BuildLayerPieces(level, cut.cells, plan);
  WorldGeometry geometry = BuildWorldGeometry(level, pieces, layers, plan, picker, brushOptions);

  std::vector<MapEntity>& entities = result.model.entities;
  MapEntity world;
  world.Set("classname", "worldspawn");
  world.brushes = std::move(geometry.world);
  entities.push_back(std::move(world));

  const SectorLocator locator(level);
  Append(entities, BuildThingEntities(level, table, options.noEntities,
                                      [&](double x, double y) { return locator.SectorAt(x, y); },
                                      summary.things, diagnostics));
  std::vector<MapEntity> lights = BuildLightEntities(level, pieces);
  summary.lights = lights.size();
  Append(entities, std::move(lights));
  int skippedMasked = 0;
  std::vector<MapEntity> masked = BuildMaskedLineEntities(level, plan, picker, skippedMasked);
  summary.maskedLines = masked.size();
  Append(entities, std::move(masked));
  MoverEntities movers = BuildMoverEntities(level, plan, geometry);
  summary.movers = movers.movers.size();
  summary.triggers = movers.triggers.size();
  Append(entities, std::move(movers.movers));
  Append(entities, std::move(movers.triggers));

  summary.skippedBrushes = geometry.skipped + skippedMasked;
  summary.worldBrushes = entities.front().brushes.size();
  for (const MapEntity& e : entities) summary.brushes += e.brushes.size();
  summary.entities = entities.size();
  summary.untextured = picker.untextured;
  summary.missingNames = picker.missingNames;
  return result;
}

}  // namespace zaro3
