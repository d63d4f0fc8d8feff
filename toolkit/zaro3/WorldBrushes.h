// WorldBrushes: the level's convex pieces as floor, ceiling and wall prisms,
// the moving slabs of doors and lifts, and the optional sealing box.
//
// Per floor piece a prism from the level's bottom up to the world floor, per
// ceiling piece one from the world ceiling up to the level's top (the layers
// merge sectors that look alike there); per void piece one full-height prism
// (with the sealing box, only those that meet the level). A face shows a DOOM texture only where it
// can be seen (steps, wall fronts, floors, ceilings), everything else gets
// the hidden material. Prisms whose footprint fails FootprintIsSound are
// skipped and counted. Heights come from the MoverPlan; materials through
// the borrowed MaterialPicker, which records what was missing.
#pragma once

#include <vector>

#include "LayerPieces.h"
#include "Level.h"
#include "MapModel.h"
#include "MaterialCatalog.h"
#include "MoverPlan.h"
#include "Pieces.h"

namespace zaro3 {

// How far the world's prisms reach below the lowest floor and above the highest ceiling.
constexpr int64_t kVerticalMargin = 64;
// The thickness of the sealing box's walls.
constexpr int64_t kBoundThickness = 16;

struct BrushOptions {
  bool floors = true;
  bool ceilings = true;
  bool walls = true;
  bool bound = false;
};

struct WorldGeometry {
  std::vector<Prism> world;                    // worldspawn's brushes
  std::vector<std::vector<Prism>> moverSlabs;  // per MoverPlan::movers entry
  int skipped = 0;                             // degenerate prisms left out
  int64_t bottom = 0;                          // the level's vertical range with margins
  int64_t top = 0;
};

// `pieces`: merged within sectors (void prisms, mover slabs); `layers`: floor and ceiling footprints.
WorldGeometry BuildWorldGeometry(const wad::Level& level, const std::vector<Piece>& pieces,
                                 const LayerPieces& layers, const MoverPlan& plan, MaterialPicker& picker,
                                 const BrushOptions& options);

}  // namespace zaro3
