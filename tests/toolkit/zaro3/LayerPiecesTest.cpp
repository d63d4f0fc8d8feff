// Floor and ceiling layers: sectors that look alike there share brushes, the
// faces that show stay where they were, and movers keep their own.
#include "LayerPieces.h"
#include "ActionPlan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "LevelBuilder.h"
#include "MapModel.h"
#include "PrismShapes.h"
#include "WorldBrushes.h"

namespace {

using zaro3::LayerPieces;
using zaro3::Piece;
using zaro3test::LevelBuilder;

struct Cut {
  zaro3::MoverPlan plan;
  LayerPieces layers;
  std::vector<Piece> pieces;
};

Cut Layers(wad::Level& level, bool movers = true) {
  zaro3::PieceReport report;
  const zaro3::PieceCut cut = zaro3::CutLevel(level, zaro3::PieceOptions{}, report);
  Cut result;
  result.plan = zaro3::PlanMovers(level, movers);
  result.layers = zaro3::BuildLayerPieces(level, cut.cells, result.plan);
  result.pieces = cut.pieces;
  return result;
}

double Area(const std::vector<Piece>& pieces) {
  double sum = 0;
  for (const Piece& p : pieces) sum += p.area;
  return sum;
}

// A prism over the piece, to hold it to the footprint rules every brush must pass.
bool Sound(const Piece& piece) {
  zaro3::Prism prism;
  prism.zLow = 0;
  prism.zHigh = 1;
  for (const zaro3::PieceEdge& e : piece.edges) prism.sides.push_back({e.lineA, e.lineB, ""});
  return zaro3::FootprintIsSound(prism);
}

// Three rooms in a row, 128 wide: 0 and 1 share floor and flat, 1 and 2 their ceiling.
LevelBuilder ThreeRooms(int floor2, int ceiling0) {
  LevelBuilder b;
  const int r0 = b.AddSector(0, ceiling0), r1 = b.AddSector(0, 96), r2 = b.AddSector(floor2, 96);
  b.AddOutline({{0, 0}, {128, 0}, {128, 128}, {0, 128}}, r0);
  b.AddOutline({{128, 0}, {256, 0}, {256, 128}, {128, 128}}, r1);
  b.AddOutline({{256, 0}, {384, 0}, {384, 128}, {256, 128}}, r2);
  b.BuildNodes();
  return b;
}

}  // namespace

TEST(LayerPieces, AlikeNeighboursShareOneConvexBrushAndTheStepsStillShow) {
  LevelBuilder b = ThreeRooms(16, 128);
  const Cut cut = Layers(b.Level());
  ASSERT_EQ(cut.layers.floors.size(), 2u);  // rooms 0+1, room 2 (a step up)
  ASSERT_EQ(cut.layers.ceilings.size(), 2u);  // room 0, rooms 1+2
  EXPECT_DOUBLE_EQ(Area(cut.layers.floors), 3.0 * 128 * 128);
  EXPECT_DOUBLE_EQ(Area(cut.layers.ceilings), 3.0 * 128 * 128);
  for (const auto* layer : {&cut.layers.floors, &cut.layers.ceilings}) {
    for (const Piece& p : *layer) {
      EXPECT_TRUE(Sound(p));
      EXPECT_EQ(p.edges.size(), 4u);  // the rooms' collinear outer walls ran on as one edge
    }
  }
  const auto merged = std::max_element(cut.layers.floors.begin(), cut.layers.floors.end(),
                                       [](const Piece& p, const Piece& q) { return p.area < q.area; });
  EXPECT_DOUBLE_EQ(merged->area, 2.0 * 128 * 128);
  EXPECT_LE(merged->sector, 1);

  // The brushes: four, and room 2's floor still shows its lower texture towards room 1.
  static const zaro3::MaterialCatalog catalog;
  zaro3::MaterialPicker picker(catalog, "zdoom/sky1");
  const zaro3::WorldGeometry world =
      zaro3::BuildWorldGeometry(b.Level(), cut.pieces, cut.layers, cut.plan, picker, zaro3::BrushOptions{});
  int shown = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    for (const zaro3::PrismSide& side : world.world[i].sides) shown += side.face.material != zaro3::kHiddenMaterial;
  }
  EXPECT_EQ(shown, 2);  // the step up to room 2 and the ceiling step from room 0 down to room 1
}

TEST(LayerPieces, OtherFlatsAndMoversKeepTheirOwnBrushes) {
  LevelBuilder flats = ThreeRooms(0, 96);
  flats.Level().sectors[1].floorFlat = "FLAT5_4";
  flats.Level().sectors[2].ceilingFlat = "F_SKY1";
  const Cut a = Layers(flats.Level());
  EXPECT_EQ(a.layers.floors.size(), 3u);    // 0 | 1 (another flat) | 2 (not beside 0)
  EXPECT_EQ(a.layers.ceilings.size(), 2u);  // 0+1 | 2 (sky)

  LevelBuilder door = ThreeRooms(0, 96);
  door.Level().sectors[1].ceilingHeight = 0;  // a closed door between rooms 0 and 2
  door.Level().linedefs[1].special = 1;
  const Cut moving = Layers(door.Level());
  ASSERT_EQ(moving.plan.movers.size(), 1u);
  EXPECT_EQ(moving.layers.floors.size(), 1u);    // the door's floor stays put: it merges like any floor
  EXPECT_EQ(moving.layers.ceilings.size(), 3u);  // its ceiling moves: a brush of its own
  const Cut still = Layers(door.Level(), false);
  EXPECT_EQ(still.layers.floors.size(), 1u);  // without movers the closed door is floor like the rest
}
