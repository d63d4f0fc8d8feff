#include "SceneSelection.h"

#include <gtest/gtest.h>

#include "PreviewTestFiles.h"

namespace mappreview {
namespace {

using previewtest::BoxBrush;

Scene SceneOf(const std::string& worldBrushes, const std::string& more = "") {
  return SelectScene(ParseMap("{\n\"classname\" \"worldspawn\"\n" + worldBrushes + "}\n" + more));
}

TEST(SceneSelection, HigherFloorIsPaintedAfterTheLowerOne) {
  // Written high first, so the order must come from the heights.
  Scene scene = SceneOf(BoxBrush(64, 64, -16, 128, 128, 48, "s/flats/HIGH", "zdoom/hidden", "s/STEP") +
                        BoxBrush(0, 0, -16, 256, 256, 0, "s/flats/LOW"));
  ASSERT_EQ(scene.floors.size(), 2u);
  EXPECT_EQ(scene.floors[0].material, "s/flats/LOW");
  EXPECT_EQ(scene.floors[1].material, "s/flats/HIGH");
  EXPECT_DOUBLE_EQ(scene.floors[1].height, 48);
  ASSERT_EQ(scene.walls.size(), 4u);
  for (const WallLine& line : scene.walls) EXPECT_EQ(line.kind, WallLine::FloorStep);
}

TEST(SceneSelection, HiddenSkyAndCoveredTopsAreNotFloors) {
  Scene scene = SceneOf(BoxBrush(0, 0, -16, 64, 64, 0, "zdoom/hidden") +        // hidden top
                        BoxBrush(0, 0, 128, 64, 64, 160, "zdoom/sky1", "s/flats/CEIL") +
                        BoxBrush(100, 0, -16, 164, 64, 0, "s/flats/SHUT") +       // closed door below
                        BoxBrush(100, 0, 0, 164, 64, 64, "zdoom/hidden", "s/flats/DOORBOT") +
                        BoxBrush(200, 0, -16, 264, 64, 0, "s/flats/OPEN") +
                        BoxBrush(200, 0, 96, 264, 64, 160, "zdoom/hidden", "s/flats/CEIL"));
  ASSERT_EQ(scene.floors.size(), 1u);
  EXPECT_EQ(scene.floors[0].material, "s/flats/OPEN");
}

TEST(SceneSelection, WallsDoorsTriggersAndMarks) {
  std::string entities =
      "{\n\"classname\" \"func_door\"\n" + BoxBrush(0, 0, 0, 8, 64, 64, "zdoom/hidden", "d/DOOR", "d/DOOR") +
      "}\n{\n\"classname\" \"trigger_multiple\"\n" + BoxBrush(0, 0, 0, 8, 64, 64, "zdoom/trigger") +
      "}\n{\n\"classname\" \"doom_imp\"\n\"origin\" \"10 20 0\"\n\"angle\" \"270\"\n\"doom_kind\" \"Monster\"\n}\n"
      "{\n\"classname\" \"light\"\n}\n";
  Scene scene = SceneOf(BoxBrush(-32, 0, -16, 0, 64, 128, "zdoom/hidden", "zdoom/hidden", "w/WALL"), entities);
  EXPECT_TRUE(scene.floors.empty());
  ASSERT_EQ(scene.walls.size(), 4u);
  EXPECT_EQ(scene.walls[0].kind, WallLine::Wall);
  ASSERT_EQ(scene.movers.size(), 1u);
  EXPECT_EQ(scene.movers[0].kind, MoverFootprint::Door);
  ASSERT_EQ(scene.marks.size(), 1u);  // the light has no origin
  EXPECT_EQ(scene.marks[0].classname, "doom_imp");
  EXPECT_EQ(scene.marks[0].doomKind, "monster");
  EXPECT_DOUBLE_EQ(scene.marks[0].angleDegrees, 270);
  EXPECT_DOUBLE_EQ(scene.marks[0].origin.y, 20);
}

}  // namespace
}  // namespace mappreview
