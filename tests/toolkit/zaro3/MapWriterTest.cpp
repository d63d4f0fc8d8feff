#include "MapWriter.h"

#include <gtest/gtest.h>

#include "MapChecker.h"

using zaro3::FormatScaled;
using zaro3::Scale;

TEST(FormatScaled, WritesExactPlainDecimals) {
  const Scale s15{15, 1};
  EXPECT_EQ(FormatScaled(3, s15), "4.5");
  EXPECT_EQ(FormatScaled(2, s15), "3");
  EXPECT_EQ(FormatScaled(-3, s15), "-4.5");
  EXPECT_EQ(FormatScaled(0, s15), "0");
  EXPECT_EQ(FormatScaled(-1, Scale{25, 2}), "-0.25");
  EXPECT_EQ(FormatScaled(1, Scale{1, 3}), "0.001");
  EXPECT_EQ(FormatScaled(32767, Scale{64, 0}), "2097088");
  EXPECT_EQ(FormatScaled(-32768, Scale{123456789, 9}), "-4045.432061952");
  EXPECT_EQ(FormatScaled(7, Scale{1, 0}), "7");
  // A fraction of zeros leaves no point; a zero is never negative.
  EXPECT_EQ(FormatScaled(1, Scale{10, 1}), "1");
  EXPECT_EQ(FormatScaled(-4, Scale{25, 2}), "-1");
  EXPECT_EQ(FormatScaled(0, Scale{25, 2}), "0");
  EXPECT_EQ(FormatScaled(-3, Scale{1010, 3}), "-3.03");
  // Products beyond 64 bits take the wide path.
  EXPECT_EQ(FormatScaled(1099511627776, Scale{100000000000, 11}), "1099511627776");
  EXPECT_EQ(FormatScaled(-1099511627775, Scale{250000000000, 11}), "-2748779069437.5");
}

namespace {

zaro3::Prism Triangle() {
  zaro3::Prism p;
  p.sides = {{{0, 0}, {64, 0}, "a/SOUTH"}, {{64, 0}, {0, 64}, "a/DIAG"}, {{0, 64}, {0, 0}, "a/WEST"}};
  p.zLow = -8;
  p.zHigh = 24;
  p.top.material = "a/TOP";
  p.bottom.material = "a/BOTTOM";
  return p;
}

}  // namespace

TEST(WriteMap, WritesTheClassicFormWithKeysBrushesAndFiveNumbers) {
  zaro3::MapModel model;
  zaro3::MapEntity world;
  world.Set("classname", "worldspawn");
  world.brushes.push_back(Triangle());
  model.entities.push_back(world);
  zaro3::MapEntity light;
  light.Set("classname", "light");
  light.SetPoint("origin", 1, 2, 3);
  model.entities.push_back(light);
  EXPECT_EQ(zaro3::WriteMap(model, Scale{15, 1}),
            "{\n\"classname\" \"worldspawn\"\n{\n"
            "( 96 0 -12 ) ( 0 0 -12 ) ( 96 0 36 ) a/SOUTH 0 0 0 1 1\n"
            "( 0 96 -12 ) ( 96 0 -12 ) ( 0 96 36 ) a/DIAG 0 0 0 1 1\n"
            "( 0 0 -12 ) ( 0 96 -12 ) ( 0 0 36 ) a/WEST 0 0 0 1 1\n"
            "( 1.5 0 36 ) ( 0 0 36 ) ( 0 1.5 36 ) a/TOP 0 0 0 1 1\n"
            "( 0 1.5 -12 ) ( 0 0 -12 ) ( 1.5 0 -12 ) a/BOTTOM 0 0 0 1 1\n"
            "}\n}\n{\n\"classname\" \"light\"\n\"origin\" \"1.5 3 4.5\"\n}\n");
}

TEST(WriteMap, EveryPlaneNormalPointsOutOfTheBrush) {
  zaro3::MapModel model;
  model.entities.push_back({{{"classname", "worldspawn", {}}}, {Triangle()}});
  const zaro3test::MapCheck check = zaro3test::CheckMapText(zaro3::WriteMap(model, Scale{3, 0}));
  ASSERT_TRUE(check.parsed) << check.parseError;
  ASSERT_EQ(check.brushes, 1);
  EXPECT_EQ(check.badBrushes, 0) << check.firstProblem;
  // An inside point (8, 8, 0) in DOOM units lies behind every plane.
  for (const zaro3test::CheckedPlane& cp : check.entities[0].brushes[0]) {
    const double ax = cp.p[0][0] - cp.p[1][0], ay = cp.p[0][1] - cp.p[1][1], az = cp.p[0][2] - cp.p[1][2];
    const double bx = cp.p[2][0] - cp.p[1][0], by = cp.p[2][1] - cp.p[1][1], bz = cp.p[2][2] - cp.p[1][2];
    const double nx = ay * bz - az * by, ny = az * bx - ax * bz, nz = ax * by - ay * bx;
    const double side = nx * (24 - cp.p[1][0]) + ny * (24 - cp.p[1][1]) + nz * (0 - cp.p[1][2]);
    EXPECT_LT(side, 0) << cp.material;
  }
}

TEST(BrushChecker, CatchesOpenMirroredAndFlatBrushes) {
  zaro3::MapModel model;
  zaro3::Prism flat = Triangle();
  flat.zHigh = flat.zLow;  // no volume: top and bottom mirror each other
  zaro3::Prism reversed = Triangle();
  std::swap(reversed.sides[0].a, reversed.sides[0].b);  // one side turned inside out: open
  model.entities.push_back({{{"classname", "worldspawn", {}}}, {flat, reversed}});
  const zaro3test::MapCheck check = zaro3test::CheckMapText(zaro3::WriteMap(model, Scale{1, 0}));
  ASSERT_TRUE(check.parsed);
  EXPECT_EQ(check.badBrushes, 2);
  EXPECT_FALSE(zaro3test::CheckMapText("{ \"classname\" \"x\" { ( 1e3 0 0 ) } }").parsed);
}
