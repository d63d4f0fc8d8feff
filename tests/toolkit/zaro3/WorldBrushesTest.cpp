#include "WorldBrushes.h"

#include <gtest/gtest.h>

#include <sstream>

#include "CraftedRooms.h"
#include "MaskedLines.h"
#include "MoverPlan.h"
#include "ActionPlan.h"
#include "PrismShapes.h"

using zaro3::BrushOptions;
using zaro3::MaterialCatalog;
using zaro3::MaterialPicker;
using zaro3::Prism;
using zaro3test::MakeRooms;
using zaro3test::Room;
using zaro3test::RoomSpec;

namespace {

MaterialCatalog Catalog() {
  std::istringstream list(
      "texture WALL 64 128 d/WALL\ntexture UPPER0 64 64 d/UPPER0\ntexture UPPER1 64 64 d/UPPER1\n"
      "texture LOWER0 64 64 d/LOWER0\ntexture LOWER1 64 64 d/LOWER1\ntexture GRATE 64 32 d/GRATE\n"
      "flat FLOOR0_1 64 64 d/flats/FLOOR0_1\nflat CEIL1_1 64 64 d/flats/CEIL1_1\n");
  MaterialCatalog catalog;
  zaro3::Diagnostics diagnostics;
  catalog.AddList(list, "TEST.TEX", diagnostics);
  return catalog;
}

// The material of the prism side that runs along x == x (a shared wall).
std::string SideAtX(const Prism& p, int64_t x) {
  for (const auto& s : p.sides) {
    if (s.a.x == x && s.b.x == x) return s.face.material;
  }
  return "(none)";
}

struct Built {
  zaro3test::CraftedLevel crafted;
  zaro3::MoverPlan plan;
  zaro3::WorldGeometry geometry;
};

Built Build(zaro3test::CraftedLevel crafted, bool movers = true, BrushOptions options = {}) {
  static const MaterialCatalog catalog = Catalog();
  MaterialPicker picker(catalog, "zdoom/sky1");
  Built b{std::move(crafted), {}, {}};
  b.plan = zaro3::PlanMovers(b.crafted.level, movers);
  // The crafted rooms differ from each other, so each room is its own floor and ceiling piece.
  zaro3::LayerPieces layers;
  for (const zaro3::Piece& piece : b.crafted.pieces) {
    if (piece.sector >= 0) layers.floors.push_back(piece);
  }
  layers.ceilings = layers.floors;
  b.geometry = zaro3::BuildWorldGeometry(b.crafted.level, b.crafted.pieces, layers, b.plan, picker, options);
  return b;
}

}  // namespace

TEST(WorldBrushes, StepUpAndLowerCeilingShowTheTexturesOfTheSideFacingTheViewer) {
  const Built b = Build(MakeRooms({Room(0, 128, 0, 128), Room(128, 256, 24, 96)}));
  const auto& w = b.geometry.world;
  ASSERT_EQ(w.size(), 10u);  // two floors, two ceilings, six void strips
  EXPECT_EQ(b.geometry.skipped, 0);
  const Prism &floor0 = w[0], &floor1 = w[1], &ceiling0 = w[2], &ceiling1 = w[3];
  EXPECT_EQ(floor0.zLow, -64);
  EXPECT_EQ(floor0.zHigh, 0);
  EXPECT_EQ(ceiling0.zLow, 128);
  EXPECT_EQ(ceiling0.zHigh, 192);
  EXPECT_EQ(floor1.top.material, "d/flats/FLOOR0_1");
  EXPECT_EQ(ceiling1.bottom.material, "d/flats/CEIL1_1");
  EXPECT_EQ(floor1.bottom.material, zaro3::kHiddenMaterial);
  // Seen from room 0: the step up and the lowered ceiling carry room 0's lower and upper textures.
  EXPECT_EQ(SideAtX(floor1, 128), "d/LOWER0");
  EXPECT_EQ(SideAtX(ceiling1, 128), "d/UPPER0");
  EXPECT_EQ(SideAtX(floor0, 128), zaro3::kHiddenMaterial);
  EXPECT_EQ(SideAtX(ceiling0, 128), zaro3::kHiddenMaterial);
  // The void west of room 0 shows room 0's wall; outer faces stay hidden.
  const Prism& westVoid = w[8];
  EXPECT_EQ(westVoid.zLow, -64);
  EXPECT_EQ(westVoid.zHigh, 192);
  EXPECT_EQ(SideAtX(westVoid, 0), "d/WALL");
  EXPECT_EQ(SideAtX(westVoid, -64), zaro3::kHiddenMaterial);
  EXPECT_EQ(westVoid.top.material, zaro3::kHiddenMaterial);
}

TEST(WorldBrushes, SkyCeilingsTakeTheSkyAndNoUpperTextureBetweenTwoSkies) {
  RoomSpec a = Room(0, 128, 0, 160), b = Room(128, 256, 0, 128);
  a.ceilingFlat = b.ceilingFlat = "F_SKY1";
  const Built built = Build(MakeRooms({a, b}));
  EXPECT_EQ(built.geometry.world[2].bottom.material, "zdoom/sky1");
  EXPECT_EQ(SideAtX(built.geometry.world[3], 128), "zdoom/sky1");
}

TEST(WorldBrushes, OptionsLeaveOutTheirBrushesAndTheBoundSealsOutsideThePieces) {
  const auto rooms = [] { return MakeRooms({Room(0, 128, 0, 128), Room(128, 256, 8, 120)}); };
  BrushOptions noFloor, noCeiling, noWall, bound;
  noFloor.floors = false;
  noCeiling.ceilings = false;
  noWall.walls = false;
  bound.bound = true;
  EXPECT_EQ(Build(rooms(), true, noFloor).geometry.world.size(), 8u);
  EXPECT_EQ(Build(rooms(), true, noCeiling).geometry.world.size(), 8u);
  EXPECT_EQ(Build(rooms(), true, noWall).geometry.world.size(), 4u);
  const auto sealed = Build(rooms(), true, bound).geometry;
  ASSERT_EQ(sealed.world.size(), 16u);
  const Prism& floorSlab = sealed.world[10];
  EXPECT_EQ(floorSlab.zHigh, -64);
  EXPECT_EQ(floorSlab.zLow, -64 - zaro3::kBoundThickness);
  EXPECT_EQ(floorSlab.sides[0].a.x, -64 - zaro3::kBoundThickness);
  for (std::size_t i = 10; i < 16; ++i) EXPECT_TRUE(zaro3::FootprintIsSound(sealed.world[i]));
}

TEST(WorldBrushes, TheSealedMapKeepsVoidThatMeetsTheLevelAtALineEnd) {
  BrushOptions bound;
  bound.bound = true;
  const std::size_t plain = Build(MakeRooms({Room(0, 128, 0, 128)}), true, bound).geometry.world.size();
  auto crafted = MakeRooms({Room(0, 128, 0, 128)});
  // Beyond two nearly collinear walls the void may touch the level only at their corner.
  crafted.pieces.push_back(zaro3test::ConvexPiece(-1, {{0, 0}, {-20, -10}, {-10, -20}}));
  crafted.pieces.push_back(zaro3test::ConvexPiece(-1, {{-40, -40}, {-60, -50}, {-50, -60}}));
  EXPECT_EQ(Build(crafted, true, bound).geometry.world.size(), plain + 1);
}

TEST(WorldBrushes, ClosedSectorsTouchAndCeilingsBelowFloorsAreClamped) {
  const Built b = Build(MakeRooms({Room(0, 128, 0, 128), Room(128, 256, 64, 32)}), false);
  EXPECT_EQ(b.geometry.world[1].zHigh, 64);
  EXPECT_EQ(b.geometry.world[3].zLow, 64);
  EXPECT_EQ(b.geometry.skipped, 0);
}

TEST(MoverPlan, ManualDoorOpensToTheLowestNeighbourCeilingLessFour) {
  auto crafted = MakeRooms({Room(0, 128, 0, 128), Room(128, 160, 0, 0), Room(160, 288, 0, 120)});
  crafted.level.linedefs[crafted.sharedLines[2]].special = 1;  // its back sector is the door
  const Built b = Build(crafted);
  ASSERT_EQ(b.plan.movers.size(), 1u);
  const zaro3::Mover& door = b.plan.movers[0];
  EXPECT_EQ(door.sector, 1);
  EXPECT_EQ(door.low, 0);
  EXPECT_EQ(door.high, 116);
  EXPECT_EQ(door.plane, zaro3::Plane::Ceiling);
  EXPECT_TRUE(door.touchable);  // DOOM's type 1: anyone opens it by walking up
  EXPECT_EQ(b.geometry.world[4].zLow, 116);  // the world ceiling starts where the door stops
  ASSERT_EQ(b.geometry.moverSlabs[0].size(), 1u);
  const Prism& slab = b.geometry.moverSlabs[0][0];
  EXPECT_EQ(slab.zLow, 0);
  EXPECT_EQ(slab.zHigh, 116);
  EXPECT_EQ(slab.bottom.material, "d/flats/CEIL1_1");
  EXPECT_EQ(SideAtX(slab, 128), "d/UPPER0");

  const Built still = Build(crafted, false);
  EXPECT_TRUE(still.plan.movers.empty());
  EXPECT_EQ(still.geometry.world[4].zLow, 0);
}

TEST(MoverPlan, TaggedLiftLowersToItsLowestNeighbourAndIsWrittenAtTheBottom) {
  auto crafted = MakeRooms({Room(0, 128, 0, 128), Room(128, 256, 64, 192)});
  wad::Level& level = crafted.level;
  level.sectors[1].tag = 7;
  level.linedefs[0].special = 62;  // room 0's south wall, a switch
  level.linedefs[0].tag = 7;
  const Built b = Build(crafted);
  ASSERT_EQ(b.plan.movers.size(), 1u);
  EXPECT_EQ(b.plan.movers[0].build, zaro3::MoverBuild::Lift);
  EXPECT_EQ(b.plan.floor[1], 0);
  // Written at the bottom, it rests 64 higher, where DOOM has it.
  const Prism& slab = b.geometry.moverSlabs[0][0];
  EXPECT_EQ(slab.zLow, -64);
  EXPECT_EQ(slab.zHigh, 0);
  EXPECT_EQ(slab.top.restShift, 64);
  EXPECT_EQ(slab.top.material, "d/flats/FLOOR0_1");
  EXPECT_EQ(SideAtX(slab, 128), "d/LOWER0");
  EXPECT_EQ(b.geometry.world[1].zHigh, 0);
}

TEST(MoverPlan, OpenDoorsAndUntaggedRemoteSpecialsStayStatic) {
  auto crafted = MakeRooms({Room(0, 128, 0, 128), Room(128, 256, 0, 124)});
  crafted.level.linedefs[crafted.sharedLines[1]].special = 1;  // back: room 0, already open
  crafted.level.linedefs[0].special = 103;                     // remote, but tag 0
  EXPECT_TRUE(zaro3::PlanMovers(crafted.level, true).movers.empty());
}

TEST(MaskedLines, GrateHangsFromTheLowerCeilingByItsTextureHeightOnEachTexturedSide) {
  auto crafted = MakeRooms({Room(0, 128, 0, 128), Room(128, 256, 8, 100)});
  const int line = crafted.sharedLines[1];
  crafted.level.sidedefs[crafted.level.linedefs[line].front].middle = "GRATE";
  const MaterialCatalog catalog = Catalog();
  MaterialPicker picker(catalog, "zdoom/sky1");
  int skipped = 0;
  auto entities = zaro3::BuildMaskedLineEntities(crafted.level, picker, skipped);
  ASSERT_EQ(entities.size(), 1u);
  EXPECT_EQ(entities[0].Text("classname"), "func_static");
  // A brush entity exists in the game only with a model named like it.
  EXPECT_EQ(entities[0].Text("name"), "grate_" + std::to_string(line));
  EXPECT_EQ(entities[0].Text("model"), entities[0].Text("name"));
  // DOOM's player walks through a middle texture unless the line blocks it.
  EXPECT_EQ(entities[0].Text("solid"), "0");
  crafted.level.linedefs[line].flags |= wad::kLineBlocking;
  EXPECT_EQ(zaro3::BuildMaskedLineEntities(crafted.level, picker, skipped).at(0).Text("solid"), "");
  crafted.level.linedefs[line].flags &= ~wad::kLineBlocking;
  ASSERT_EQ(entities[0].brushes.size(), 1u);
  const Prism& slab = entities[0].brushes.at(0);
  // DOOM draws it once, from the lower ceiling down by its height (32).
  EXPECT_EQ(slab.zLow, 68);
  EXPECT_EQ(slab.zHigh, 100);
  EXPECT_TRUE(zaro3::FootprintIsSound(slab));
  int faces = 0;
  for (const auto& s : slab.sides) faces += s.face.material == "d/GRATE";
  EXPECT_EQ(faces, 1);
  // Lower-unpegged it stands on the higher floor.
  crafted.level.linedefs[line].flags |= wad::kLineLowerUnpegged;
  entities = zaro3::BuildMaskedLineEntities(crafted.level, picker, skipped);
  EXPECT_EQ(entities.at(0).brushes.at(0).zLow, 8);
  EXPECT_EQ(entities.at(0).brushes.at(0).zHigh, 40);
  // Both sides textured: a slab each, each face on the line facing its own side.
  crafted.level.sidedefs[crafted.level.linedefs[line].back].middle = "GRATE";
  const auto bothSides = zaro3::BuildMaskedLineEntities(crafted.level, picker, skipped);
  ASSERT_EQ(bothSides.at(0).brushes.size(), 2u);
  for (const Prism& each : bothSides.at(0).brushes) {
    faces = 0;
    for (const auto& s : each.sides) faces += s.face.material == "d/GRATE" && s.a.x == 128 && s.b.x == 128;
    EXPECT_EQ(faces, 1);
    EXPECT_TRUE(zaro3::FootprintIsSound(each));
  }
  crafted.level.sidedefs[crafted.level.linedefs[line].back].middle = "-";
  crafted.level.linedefs[line].flags &= ~wad::kLineLowerUnpegged;

  crafted.level.sidedefs[crafted.level.linedefs[line].front].middle = "UNKNOWN";
  entities = zaro3::BuildMaskedLineEntities(crafted.level, picker, skipped);
  EXPECT_EQ(entities.at(0).brushes.at(0).zHigh, 100);
  crafted.level.sectors[1].floorHeight = 100;  // no opening left
  entities = zaro3::BuildMaskedLineEntities(crafted.level, picker, skipped);
  EXPECT_TRUE(entities.empty());
  EXPECT_EQ(skipped, 1);
}

TEST(PrismShapes, LineSlabsAreSoundForEveryDirectionAndDegenerateFootprintsAreNot) {
  for (const auto& d : std::vector<std::pair<int, int>>{{64, 0}, {-64, 0}, {0, 64}, {0, -64}, {64, 63}, {-5, 64}, {-64, -64}}) {
    for (bool front : {true, false}) {
      EXPECT_TRUE(zaro3::FootprintIsSound(zaro3::LineSlab({10, 10}, {10 + d.first, 10 + d.second}, 8, front, 0, 8, "m", "e")))
          << d.first << "," << d.second;
    }
  }
  Prism bad = zaro3::Box(0, 0, 64, 64, 0, 8, "m");
  bad.sides[1].b = bad.sides[1].a;
  EXPECT_FALSE(zaro3::FootprintIsSound(bad));
  Prism collinear = zaro3::Box(0, 0, 64, 64, 0, 8, "m");
  collinear.sides.insert(collinear.sides.begin() + 1, {{64, 0}, {64, 0}, "m"});
  EXPECT_FALSE(zaro3::FootprintIsSound(collinear));
  EXPECT_FALSE(zaro3::FootprintIsSound(zaro3::Box(0, 0, 64, 64, 8, 8, "m")));
}
