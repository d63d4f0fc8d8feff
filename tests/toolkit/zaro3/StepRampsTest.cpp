#include "StepRamps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "CraftedRooms.h"
#include "LevelBuilder.h"
#include "MoverPlan.h"
#include "Pieces.h"
#include "PrismShapes.h"
#include "RampHips.h"
#include "RampStrip.h"

using zaro3::Prism;
using zaro3::StepRamp;
using zaro3test::MakeRooms;
using zaro3test::PlanOf;
using zaro3test::RoomSpec;

namespace {

RoomSpec Room(int x0, int x1, int floor) { return zaro3test::Room(x0, x1, floor, 200); }

// Whether (x, y) lies on the prism's footprint (its sides' left, edges included).
bool Inside(const Prism& p, double x, double y) {
  for (const auto& s : p.sides) {
    const double cross = static_cast<double>(s.b.x - s.a.x) * (y - s.a.y) - static_cast<double>(s.b.y - s.a.y) * (x - s.a.x);
    if (cross < -1e-9) return false;
  }
  return true;
}

// The height of the sloped top at (x, y), from its three written points.
double TopAt(const Prism& p, double x, double y) {
  const auto& q = *p.slopedTop;
  const double ux = q[1].x - q[0].x, uy = q[1].y - q[0].y, uz = q[1].z - q[0].z;
  const double vx = q[2].x - q[0].x, vy = q[2].y - q[0].y, vz = q[2].z - q[0].z;
  const double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
  return q[0].z - (nx * (x - q[0].x) + ny * (y - q[0].y)) / nz;
}

// The highest ramp top at (x, y), or far below when no ramp lies there.
double RampsAt(const std::vector<StepRamp>& ramps, double x, double y) {
  double ground = -1e9;
  for (const StepRamp& r : ramps) {
    if (Inside(r.prism, x, y)) ground = std::max(ground, std::min(TopAt(r.prism, x, y), static_cast<double>(r.prism.zHigh)));
  }
  return ground;
}

// Room 0 [0,256]^2 (floor 0) with platform 1 [96,160]^2 (floor 24) standing in it.
wad::Level PlatformInARoom() {
  wad::Level level;
  level.name = "MAP01";
  for (const int floor : {0, 24}) {
    wad::Sector sector;
    sector.floorHeight = floor;
    sector.ceilingHeight = 200;
    level.sectors.push_back(sector);
  }
  auto line = [&](int x1, int y1, int x2, int y2, int right, int left) {
    const int v = static_cast<int>(level.vertices.size());
    level.vertices.push_back({x1, y1});
    level.vertices.push_back({x2, y2});
    wad::Linedef l;
    l.v1 = v;
    l.v2 = v + 1;
    for (const int s : {right, left}) {
      if (s < 0) continue;
      wad::Sidedef side;
      side.sector = s;
      level.sidedefs.push_back(side);
      (s == right ? l.front : l.back) = static_cast<int>(level.sidedefs.size()) - 1;
    }
    l.flags = left >= 0 ? wad::kLineTwoSided : wad::kLineBlocking;
    level.linedefs.push_back(l);
  };
  // The room clockwise, the platform clockwise (itself on the right, the room on the left).
  line(0, 0, 0, 256, 0, -1);
  line(0, 256, 256, 256, 0, -1);
  line(256, 256, 256, 0, 0, -1);
  line(256, 0, 0, 0, 0, -1);
  line(96, 96, 96, 160, 1, 0);
  line(96, 160, 160, 160, 1, 0);
  line(160, 160, 160, 96, 1, 0);
  line(160, 96, 96, 96, 1, 0);
  return level;
}

}  // namespace

TEST(RampHips, APlatformInARoomGetsSlopedEndsAndAStepBetweenWallsNone) {
  const wad::Level level = PlatformInARoom();
  const zaro3::MoverPlan plan = PlanOf(level);
  zaro3::RampReport report;
  const std::vector<StepRamp> ramps = zaro3::BuildStepRamps(level, plan, {15, 1}, report);
  ASSERT_EQ(ramps.size(), 4u);
  const zaro3::SectorLocator locator(level);
  auto sectorAt = [&](double x, double y) { return locator.SectorAt(x, y); };
  std::vector<StepRamp> all = ramps;
  const std::vector<StepRamp> hips = zaro3::BuildRampHips(level, plan, {15, 1}, ramps, sectorAt);
  EXPECT_EQ(hips.size(), 8u);  // both ends of every side
  all.insert(all.end(), hips.begin(), hips.end());
  for (const StepRamp& hip : hips) EXPECT_TRUE(zaro3::FootprintIsSound(hip.prism));
  // Round the platform's corner, a circle about it a unit out: the ground never drops
  // below the floor beside the ramps, and rises and falls no steeper than 45 degrees.
  constexpr double kDegree = 3.14159265358979323846 / 180.0;
  double previous = 0;
  for (int i = 0; i <= 90; ++i) {
    const double angle = (180.0 + i) * kDegree;  // from west of the corner round to south
    const double x = 96 + 20 * std::cos(angle), y = 96 + 20 * std::sin(angle);
    const double ground = std::max(0.0, RampsAt(all, x, y));
    EXPECT_GT(ground, 0.0) << "bare floor beside the corner at " << x << ", " << y;
    if (i > 0) {
      EXPECT_LE(std::abs(ground - previous), 20 * kDegree + 1e-6) << "at " << x << ", " << y;
    }
    previous = ground;
  }

  // One side's ramp in two parts that meet halfway along its line (as a winding tread's
  // planes do): hips at the line's ends only.
  std::vector<StepRamp> parts = ramps;
  auto& q = *parts[0].prism.slopedTop;
  const zaro3::IntPoint3 middle{(q[0].x + q[1].x) / 2, (q[0].y + q[1].y) / 2, q[0].z};
  parts.push_back(parts[0]);
  q[1] = middle;
  (*parts.back().prism.slopedTop)[0] = middle;
  EXPECT_EQ(zaro3::BuildRampHips(level, plan, {15, 1}, parts, sectorAt).size(), 8u);

  const auto between = MakeRooms({Room(0, 128, 0), Room(128, 256, 24)});
  const zaro3::MoverPlan betweenPlan = PlanOf(between.level);
  const std::vector<StepRamp> walled = zaro3::BuildStepRamps(between.level, betweenPlan, {15, 1}, report);
  ASSERT_EQ(walled.size(), 1u);
  const zaro3::SectorLocator walls(between.level);
  EXPECT_TRUE(zaro3::BuildRampHips(between.level, betweenPlan, {15, 1}, walled,
                                   [&](double x, double y) { return walls.SectorAt(x, y); })
                  .empty());
}

TEST(StepRamps, AStaircaseOfEightSixteenAndTwentyFourClimbsWithinDoom3sStep) {
  // Treads of 32 between steps of 8, 16 and 24, at the dialog's scale.
  const std::vector<RoomSpec> rooms = {Room(0, 128, 0), Room(128, 160, 8), Room(160, 192, 24), Room(192, 320, 48)};
  const auto crafted = MakeRooms(rooms);
  const zaro3::MoverPlan plan = PlanOf(crafted.level);
  zaro3::RampReport report;
  const std::vector<StepRamp> ramps = zaro3::BuildStepRamps(crafted.level, plan, {15, 1}, report);
  EXPECT_EQ(report.steps, 3);
  EXPECT_EQ(report.walkable, 1);  // 8 units are 12 at 1.5
  EXPECT_EQ(report.ramps, 2);
  EXPECT_EQ(report.unsolved, 0);
  ASSERT_EQ(ramps.size(), 2u);
  for (const StepRamp& r : ramps) {
    EXPECT_TRUE(zaro3::FootprintIsSound(r.prism));
    EXPECT_EQ(r.prism.top.material, zaro3::kRampMaterial);
    EXPECT_TRUE(r.prism.slopedTop.has_value());
  }
  // Walk the middle of the staircase: every rise is a walkable slope or a step of 16 units
  // at the scale (10 2/3 DOOM units), and the ramps never rise above the floor they lead to.
  const double y = 64.3, dx = 0.25;
  double previous = 0;
  for (double x = 1; x < 319; x += dx) {
    double floor = 0;
    for (const RoomSpec& r : rooms) {
      if (x >= r.x0 && x < r.x1) floor = r.floor;
    }
    const double ground = std::max(floor, RampsAt(ramps, x, y));
    const double rise = ground - previous;
    EXPECT_TRUE(rise <= dx * 1.0 + 1e-9 || rise <= 16 / 1.5 + 1e-9) << "at x " << x << ": a rise of " << rise;
    EXPECT_LE(ground, 48 + 1e-9);
    previous = ground;
  }
}

TEST(StepRamps, AStaircaseOpenOnItsSideIsClimbedFromTheSideToo) {
  // A tread 32 deep between steps of 16, open along y = 128 onto a floor at 0 beside it.
  auto crafted = MakeRooms({Room(0, 128, 0), Room(128, 160, 16), Room(160, 320, 32)});
  wad::Level& level = crafted.level;
  const int beside = static_cast<int>(level.sectors.size());
  level.sectors.push_back(level.sectors[0]);
  int opened = 0;
  for (wad::Linedef& line : level.linedefs) {
    const wad::Vertex& a = level.vertices[line.v1];
    const wad::Vertex& b = level.vertices[line.v2];
    if (a.y != 128 || b.y != 128 || std::min(a.x, b.x) != 128 || std::max(a.x, b.x) != 160) continue;
    wad::Sidedef side = level.sidedefs[line.front];
    side.sector = beside;
    level.sidedefs.push_back(side);
    line.back = static_cast<int>(level.sidedefs.size()) - 1;
    line.flags = (line.flags | wad::kLineTwoSided) & ~wad::kLineBlocking;
    ++opened;
  }
  ASSERT_EQ(opened, 1);
  zaro3::RampReport report;
  const auto ramps = zaro3::BuildStepRamps(level, PlanOf(level), {15, 1}, report);
  EXPECT_EQ(report.steps, 3);
  EXPECT_EQ(report.unsolved, 0);
  // The tread's own ramp rises from 16 to 32 across it; walking onto it from the side, near
  // its high end too, meets no rise above DOOM 3's step and no slope steeper than it walks.
  for (const double x : {132.0, 144.0, 156.0}) {
    double previous = 0;
    for (double y = 250; y > 100; y -= 0.25) {
      const double floor = y >= 128 ? 0 : 16;
      const double ground = std::max(floor, RampsAt(ramps, x, y));
      EXPECT_TRUE(ground - previous <= 0.25 * 1.0 + 1e-9 || ground - previous <= 16 / 1.5 + 1e-9)
          << "at (" << x << ", " << y << "): a rise of " << ground - previous;
      previous = ground;
    }
  }
  for (const StepRamp& r : ramps) {
    EXPECT_TRUE(zaro3::FootprintIsSound(r.prism));
    const double gx = TopAt(r.prism, 1, 0) - TopAt(r.prism, 0, 0), gy = TopAt(r.prism, 0, 1) - TopAt(r.prism, 0, 0);
    EXPECT_LE(std::hypot(gx, gy), 1.0 + 1e-9) << "the ramp of line " << r.linedef;
  }
}

TEST(StepRamps, OnlyRisesTooHighAtTheScaleGetARamp) {
  const auto crafted = MakeRooms({Room(0, 128, 0), Room(128, 256, 16)});
  const zaro3::MoverPlan plan = PlanOf(crafted.level);
  zaro3::RampReport atOne, atOneAndAHalf;
  EXPECT_TRUE(zaro3::BuildStepRamps(crafted.level, plan, {1, 0}, atOne).empty());
  EXPECT_EQ(atOne.walkable, 1);
  const auto ramps = zaro3::BuildStepRamps(crafted.level, plan, {15, 1}, atOneAndAHalf);
  ASSERT_EQ(ramps.size(), 1u);
  // The ramp lies on the lower side, from the upper floor at the line down to the lower floor.
  const Prism& p = ramps[0].prism;
  EXPECT_TRUE(Inside(p, 120, 64));
  EXPECT_FALSE(Inside(p, 136, 64));
  EXPECT_NEAR(TopAt(p, 128, 64), 16, 1e-9);
  EXPECT_LT(p.zLow, 0);
}

TEST(StepRamps, ARampStaysOffAFloorThatMovesAndOutOfABlockingLine) {
  // A narrow tread before a 24-unit step, with a lift's floor (at its low height) behind it.
  auto crafted = MakeRooms({Room(0, 64, 0), Room(64, 80, 0), Room(80, 208, 24)});
  zaro3::MoverPlan still = PlanOf(crafted.level);
  zaro3::MoverPlan lift = still;
  zaro3::Mover mover;
  mover.sector = 0;
  mover.low = 0;
  mover.high = 24;
  lift.floorMover[0] = 0;
  lift.movers.push_back(mover);
  zaro3::RampReport report;
  const auto overStill = zaro3::BuildStepRamps(crafted.level, still, {15, 1}, report);
  const auto overLift = zaro3::BuildStepRamps(crafted.level, lift, {15, 1}, report);
  ASSERT_EQ(overStill.size(), 1u);
  ASSERT_EQ(overLift.size(), 1u);
  EXPECT_TRUE(Inside(overStill[0].prism, 60, 64));  // over a still floor the ramp runs on
  EXPECT_FALSE(Inside(overLift[0].prism, 63.5, 64));
  EXPECT_TRUE(Inside(overLift[0].prism, 64.5, 64));
  // DOOM's player cannot cross a blocking line: no ramp there.
  crafted.level.linedefs[crafted.sharedLines[2]].flags |= wad::kLineBlocking;
  zaro3::RampReport blocked;
  EXPECT_TRUE(zaro3::BuildStepRamps(crafted.level, still, {15, 1}, blocked).empty());
  EXPECT_EQ(blocked.steps, 0);
}

TEST(StepRamps, APillarBesideAStepsEndLeavesARampOverTheRestOfTheLine) {
  // A 24-unit step at x = 128, and a pillar (a hole in the lower room) just before its
  // southern end, where a ramp over the whole line would have to stop after 4 units.
  auto crafted = MakeRooms({Room(0, 128, 0), Room(128, 256, 24)});
  wad::Level& level = crafted.level;
  const int corners[4][2] = {{116, 4}, {124, 4}, {124, 16}, {116, 16}};
  const int first = static_cast<int>(level.vertices.size());
  for (const auto& c : corners) level.vertices.push_back({c[0], c[1]});
  for (int i = 0; i < 4; ++i) {
    wad::Sidedef side;
    side.sector = 0;
    level.sidedefs.push_back(side);
    wad::Linedef line;
    // Counter-clockwise round the hole: the room lies on the right, in front.
    line.v1 = first + i;
    line.v2 = first + (i + 1) % 4;
    line.front = static_cast<int>(level.sidedefs.size()) - 1;
    line.flags = wad::kLineBlocking;
    level.linedefs.push_back(line);
  }
  zaro3::RampReport report;
  const auto ramps = zaro3::BuildStepRamps(level, PlanOf(level), {15, 1}, report);
  ASSERT_EQ(ramps.size(), 1u);
  EXPECT_EQ(report.unsolved, 0);
  const Prism& ramp = ramps[0].prism;
  EXPECT_FALSE(Inside(ramp, 120, 10));  // never over the pillar
  EXPECT_FALSE(Inside(ramp, 126, 8));   // nor beside it, across the pillar's span of the line
  // Up the middle of the line it climbs from the floor to the step within DOOM 3's step.
  double ground = 0;
  for (double x = 60; x <= 128; x += 1) {
    const double at = std::max(0.0, RampsAt(ramps, x, 64));
    EXPECT_LE((at - ground) * 1.5, 16.0 + 1e-6) << "at x = " << x;
    ground = at;
  }
  EXPECT_NEAR(ground, 24, 1e-6);
}

TEST(StepRamps, AWindingTreadsRampIsCutAlongTheStepDownThatRunsOnFromItsWall) {
  // A winder: the tread (floor 0) narrows between the step up (16, 128) -> (192, 16) and the
  // step down (0, 64) -> (192, 0), which does not start at the step's end but at the end
  // of the wall (0, 64) -> (16, 128) that does. Stopped short at the step down's nearest
  // point, the ramp would end 16 units from the step or leave the tread's narrow end bare.
  zaro3test::LevelBuilder build;
  const int below = build.AddSector(-16, 200), tread = build.AddSector(0, 200), above = build.AddSector(16, 200);
  build.AddOutline({{0, 64}, {192, 0}, {192, 16}, {16, 128}}, tread);
  build.AddOutline({{0, -64}, {192, -64}, {192, 0}, {0, 64}}, below);
  build.AddOutline({{16, 128}, {192, 16}, {256, 16}, {256, 200}, {16, 200}}, above);
  const wad::Level& level = build.Level();
  zaro3::RampReport report;
  const auto ramps = zaro3::BuildStepRamps(level, PlanOf(level), {15, 1}, report);
  EXPECT_EQ(report.unsolved, 0);
  const StepRamp* up = nullptr;
  for (const StepRamp& r : ramps) {
    if (r.prism.zHigh == 16) up = &r;
  }
  ASSERT_NE(up, nullptr);
  EXPECT_FALSE(Inside(up->prism, 96, 20));  // never over the floor below the step down
  EXPECT_TRUE(Inside(up->prism, 184, 14));   // but over the whole tread, to its narrow end
  EXPECT_TRUE(Inside(up->prism, 40, 80));
  // From the middle of the step down to the middle of the step up, within DOOM 3's step.
  double ground = 0;
  for (int i = 0; i <= 100; ++i) {
    const double x = 96 + 8 * i / 100.0, y = 32 + 40 * i / 100.0;
    const double at = std::max(0.0, RampsAt({*up}, x, y));
    EXPECT_LE((at - ground) * 1.5, 16.0 + 1e-6) << "at (" << x << ", " << y << ")";
    ground = at;
  }
  EXPECT_NEAR(ground, 16, 1e-6);
}

TEST(StepRamps, AFanOfTreadsIsClimbedRoundItsHub) {
  // Four treads 20 apart round a hub at the origin, each a wedge of about 25 degrees out
  // to a wall 128 away. A ramp sloping straight off a step line would run on over the
  // lower treads near the hub, standing across their way.
  const std::vector<std::pair<int, int>> outer = {{128, 0}, {112, 64}, {80, 112}, {32, 128}, {-32, 128}};
  zaro3test::LevelBuilder build;
  for (int t = 0; t < 4; ++t) {
    build.AddOutline({{0, 0}, outer[t], outer[t + 1]}, build.AddSector(20 * t, 200));
  }
  const wad::Level& level = build.Level();
  zaro3::RampReport report;
  const auto ramps = zaro3::BuildStepRamps(level, PlanOf(level), {15, 1}, report);
  EXPECT_EQ(report.steps, 3);
  EXPECT_EQ(report.unsolved, 0);
  // The tread a point lies on, by its angle round the hub.
  auto tread = [&](double x, double y) {
    const double angle = std::atan2(y, x);
    int t = 0;
    while (t < 3 && angle > std::atan2(outer[t + 1].second, outer[t + 1].first)) ++t;
    return t;
  };
  // No ramp stands higher over a tread than the step just above it.
  for (double r = 8; r < 120; r += 4) {
    for (double a = 0.01; a < 1.8; a += 0.01) {
      const double x = r * std::cos(a), y = r * std::sin(a);
      if (tread(x, y) > 2) continue;
      EXPECT_LE(RampsAt(ramps, x, y), 20 * (tread(x, y) + 1) + 1e-6) << "at (" << x << ", " << y << ")";
    }
  }
  // Round the fan, at 96 from the hub, every rise is one DOOM 3's player steps.
  double ground = 0;
  for (double a = 0.05; a < 1.75; a += 0.002) {
    const double x = 96 * std::cos(a), y = 96 * std::sin(a);
    const double at = std::max<double>(20 * tread(x, y), RampsAt(ramps, x, y));
    EXPECT_LE((at - ground) * 1.5, 16.0 + 1e-6) << "at (" << x << ", " << y << ")";
    ground = at;
  }
  EXPECT_NEAR(ground, 60, 1e-6);
}

TEST(StepRamps, ThingsStandingOnARampAreRaisedOntoIt) {
  const auto crafted = MakeRooms({Room(0, 128, 0), Room(128, 256, 24)});
  zaro3::RampReport report;
  const auto ramps = zaro3::BuildStepRamps(crafted.level, PlanOf(crafted.level), {15, 1}, report);
  ASSERT_EQ(ramps.size(), 1u);
  std::vector<zaro3::MapEntity> things(2);
  things[0].SetPoint("origin", 120, 64, 0);  // on the ramp, near its top
  things[1].SetPoint("origin", 20, 64, 0);   // well before it
  zaro3::RaiseOntoRamps(things, ramps);
  const double raised = things[0].Find("origin")->measures[2].thousandths / 1000.0;
  EXPECT_GE(raised, TopAt(ramps[0].prism, 120, 64));
  EXPECT_LE(raised, 24);
  EXPECT_EQ(things[1].Find("origin")->measures[2].thousandths, 0);
}

TEST(RampStrip, LinesFromTheStepsEndsOrAcrossItCutOthersStopIt) {
  zaro3::RampStrip strip({0, 0}, {64, 0});  // the lower side is up (+y), one unit a step
  strip.SetDepth(32);
  EXPECT_DOUBLE_EQ(strip.DepthPerStep(), 1.0);
  EXPECT_FALSE(strip.Cross({0, 0}, {-10, 50}).inside);  // from an end, away from the strip
  EXPECT_FALSE(strip.Cross({0, 0}, {0, 32}).inside);    // along its edge
  const auto fromEnd = strip.Cross({0, 0}, {20, 40});
  EXPECT_TRUE(fromEnd.inside && fromEnd.cuts);
  const auto across = strip.Cross({-10, 20}, {80, 20});
  EXPECT_TRUE(across.inside && across.cuts && across.middle);
  EXPECT_DOUBLE_EQ(across.middleDepth, 20);
  EXPECT_FALSE(across.towardsFront);  // going up crosses -10 -> 80 from its right (front) to its left
  const auto pillar = strip.Cross({20, 10}, {30, 10});
  EXPECT_TRUE(pillar.inside);
  EXPECT_FALSE(pillar.cuts);
  EXPECT_DOUBLE_EQ(pillar.nearest, 10);
  EXPECT_TRUE(strip.Inside({20, 10}));
  EXPECT_FALSE(strip.Inside({20, 0}) || strip.Inside({-1, 10}) || strip.Inside({20, 40}));
  EXPECT_TRUE(strip.CrossesStepLine({32, -10}, {32, 10}));
  EXPECT_FALSE(strip.CrossesStepLine({0, 0}, {20, 40}) || strip.CrossesStepLine({-10, 20}, {80, 20}));
  // The footprint cut along a wall from the step's end keeps the step line's side.
  const auto cut = strip.KeepNearSide(strip.Footprint(), geo::IntLine::Through({0, 0}, {20, 40}));
  EXPECT_NEAR(cut.Area(), 64 * 32 - 16 * 32 / 2.0, 1e-9);
}
