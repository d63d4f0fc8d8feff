#include "ActionPlan.h"

#include <gtest/gtest.h>

#include "CraftedRooms.h"

using zaro3::MoverBuild;
using zaro3::Plane;
using zaro3::SpecialPlan;
using zaro3test::MakeRooms;
using zaro3test::Room;
using zaro3test::RoomSpec;

namespace {

// Three rooms side by side; room 1 is the one specials act on.
zaro3test::CraftedLevel Rooms(int floor1, int ceiling1, int floor2 = 0, int ceiling2 = 128) {
  return MakeRooms({Room(0, 128, 0, 128), Room(128, 256, floor1, ceiling1), Room(256, 384, floor2, ceiling2)});
}

SpecialPlan Plan(const wad::Level& level, const zaro3::ThingSector& thingSector = [](int) { return -1; },
                 const zaro3::TextureHeight& heights = nullptr) {
  const zaro3::SectorHeights h(level, heights);
  return zaro3::PlanSpecials(level, h, thingSector, true);
}

// Gives room 1 tag 5 and puts `special` (tagged 5) on the line between rooms 1 and 2,
// which anyone can cross or push.
void Tagged(zaro3test::CraftedLevel& rooms, int special) {
  wad::Level& level = rooms.level;
  const auto line = static_cast<std::size_t>(rooms.sharedLines.at(2));
  level.sectors[1].tag = 5;
  level.linedefs[line].special = static_cast<uint16_t>(special);
  level.linedefs[line].tag = 5;
}

const zaro3::Mover& FloorOf(const SpecialPlan& plan, int sector) {
  return plan.motion.movers.at(static_cast<std::size_t>(plan.motion.floorMover.at(sector)));
}

}  // namespace

TEST(SpecialPlan, DoorsOpenToTheLowestNeighbourCeilingLessFourAndCloseToTheirFloor) {
  auto opening = Rooms(0, 0, 0, 120);
  opening.level.linedefs[opening.sharedLines[2]].special = 31;  // D1, opened by hand from room 2
  const SpecialPlan open = Plan(opening.level);
  ASSERT_EQ(open.motion.movers.size(), 1u);
  const zaro3::Mover& door = open.motion.movers[0];
  EXPECT_EQ(door.build, MoverBuild::Door);
  EXPECT_EQ(door.sector, 1);
  EXPECT_EQ(door.high, 116);
  EXPECT_EQ(door.waitTics, -1);
  EXPECT_FALSE(door.touchable);  // a D1 door is the player's alone: its line keeps a trigger
  EXPECT_EQ(open.motion.ceiling[1], 116);

  auto closing = Rooms(0, 96);
  Tagged(closing, 3);
  const SpecialPlan close = Plan(closing.level);
  ASSERT_EQ(close.motion.movers.size(), 1u);
  const zaro3::Mover& shut = close.motion.movers[0];
  EXPECT_EQ(shut.build, MoverBuild::ClosingDoor);
  EXPECT_EQ(shut.low, 0);
  EXPECT_EQ(shut.high, 96);
  EXPECT_EQ(shut.placed, 0);   // written shut...
  EXPECT_EQ(shut.rest, 96);    // ...resting open, as DOOM has it

  // Opened by one line and closed by another: it stays at each end.
  closing.level.linedefs[1].special = 103;  // S1 open, on room 0's wall
  closing.level.linedefs[1].tag = 5;
  EXPECT_EQ(Plan(closing.level).motion.movers.at(0).build, MoverBuild::ToggleDoor);

  auto already = Rooms(0, 124);
  already.level.linedefs[already.sharedLines[2]].special = 1;
  const SpecialPlan none = Plan(already.level);
  EXPECT_TRUE(none.motion.movers.empty());
  EXPECT_TRUE(none.lines.at(0).reproduced);  // DOOM moves nothing there either
}

TEST(SpecialPlan, FloorsStopWhereDoomsRulesSayIncludingTiesAndLonelySectors) {
  auto lower = Rooms(64, 192, 32, 128);
  Tagged(lower, 38);  // lowest neighbouring floor, its own included
  const SpecialPlan lowered = Plan(lower.level);
  const zaro3::Mover& low = FloorOf(lowered, 1);
  EXPECT_EQ(low.build, MoverBuild::Plat);
  EXPECT_EQ(low.placed, 0);  // written at its destination...
  EXPECT_EQ(low.rest, 64);   // ...resting where DOOM starts it
  EXPECT_EQ(low.Thickness(), 64);

  Tagged(lower, 19);  // highest neighbouring floor, its own excluded
  EXPECT_EQ(FloorOf(Plan(lower.level), 1).placed, 32);
  Tagged(lower, 36);  // the same plus 8, fast
  EXPECT_EQ(FloorOf(Plan(lower.level), 1).placed, 40);
  EXPECT_EQ(FloorOf(Plan(lower.level), 1).speed, 32);

  auto tie = Rooms(64, 192, 0, 128);  // both neighbours at 0
  Tagged(tie, 38);
  EXPECT_EQ(FloorOf(Plan(tie.level), 1).placed, 0);

  // A sector with no neighbour: DOOM's search for the highest floor starts at -500.
  auto lonely = MakeRooms({Room(0, 128, 0, 128)});
  lonely.level.sectors[0].tag = 5;
  lonely.level.linedefs[0].special = 102;  // S1, a switch on its own wall
  lonely.level.linedefs[0].tag = 5;
  EXPECT_EQ(FloorOf(Plan(lonely.level), 0).placed, -500);

  auto raise = Rooms(0, 90, 96, 100);
  Tagged(raise, 18);  // next higher neighbouring floor
  EXPECT_EQ(FloorOf(Plan(raise.level), 1).placed, 96);
  Tagged(raise, 5);   // lowest neighbouring ceiling, its own included
  EXPECT_EQ(FloorOf(Plan(raise.level), 1).placed, 90);
  Tagged(raise, 58);  // by 24, once: to a height
  EXPECT_EQ(FloorOf(Plan(raise.level), 1).build, MoverBuild::Plat);
  Tagged(raise, 92);  // by 24, again and again: a riser
  EXPECT_EQ(FloorOf(Plan(raise.level), 1).build, MoverBuild::Riser);
  EXPECT_EQ(FloorOf(Plan(raise.level), 1).riserStep, 24);

  auto top = Rooms(96, 192);
  Tagged(top, 18);  // nothing higher around: DOOM moves nothing
  const SpecialPlan still = Plan(top.level);
  EXPECT_LT(still.motion.floorMover[1], 0);
  EXPECT_TRUE(still.lines.at(0).reproduced);

  auto texture = Rooms(0, 192);
  Tagged(texture, 30);  // by the shortest lower texture around: LOWER0..2 are 64, 16, 40 high
  const zaro3::TextureHeight heights = [](const std::string& name) {
    return name == "LOWER1" ? 16 : name == "LOWER2" ? 40 : 64;
  };
  EXPECT_EQ(FloorOf(Plan(texture.level, [](int) { return -1; }, heights), 1).placed, 16);
  const SpecialPlan unknown = Plan(texture.level);  // no texture list: nothing to measure
  EXPECT_FALSE(unknown.lines.at(0).reproduced);
}

TEST(SpecialPlan, LiftsCrushersAndPerpetualLifts) {
  auto lift = Rooms(64, 192, 16, 128);
  Tagged(lift, 88);
  const SpecialPlan lifted = Plan(lift.level);
  const zaro3::Mover& l = FloorOf(lifted, 1);
  EXPECT_EQ(l.build, MoverBuild::Lift);
  EXPECT_EQ(l.placed, 0);
  EXPECT_EQ(l.rest, 64);
  EXPECT_EQ(l.waitTics, 105);

  Tagged(lift, 87);  // between the lowest and the highest floor around
  const SpecialPlan perpetual = Plan(lift.level);
  const zaro3::Mover& p = FloorOf(perpetual, 1);
  EXPECT_EQ(p.build, MoverBuild::PerpetualLift);
  EXPECT_EQ(p.low, 0);
  EXPECT_EQ(p.high, 64);
  EXPECT_EQ(p.placed, 0);  // it starts at the top, so it is written at the bottom

  // A stop line finds the perpetual lift of its sector.
  lift.level.linedefs[0].special = 163;  // S1 stop, on room 0's wall
  lift.level.linedefs[0].tag = 5;
  const SpecialPlan stopped = Plan(lift.level);
  ASSERT_EQ(stopped.lines.size(), 2u);
  EXPECT_EQ(stopped.lines.at(0).movers.size(), 1u);

  auto crusher = Rooms(0, 128);
  Tagged(crusher, 25);
  const SpecialPlan crush = Plan(crusher.level);
  const zaro3::Mover& c = crush.motion.movers.at(static_cast<std::size_t>(crush.motion.ceilingMover[1]));
  EXPECT_EQ(c.build, MoverBuild::Crusher);
  EXPECT_EQ(c.low, 8);
  EXPECT_EQ(c.high, 128);
  EXPECT_EQ(c.rest, 128);
  EXPECT_FALSE(crush.motion.IsDoor(1));  // a crusher must close no visportal
}

TEST(SpecialPlan, StairsClimbFromTheTaggedStepAcrossLinesFacingItsFrontThatShareItsFlat) {
  auto stairs = MakeRooms({Room(0, 128, 0, 128), Room(128, 256, 0, 128), Room(256, 384, 0, 128),
                           Room(384, 512, 0, 128)});
  stairs.level.sectors[3].floorFlat = "OTHER";  // the stairs stop at another flat
  stairs.level.sectors[2].tag = 9;
  const auto line = static_cast<std::size_t>(stairs.sharedLines[1]);
  stairs.level.linedefs[line].special = 8;  // W1, 8 units a step
  stairs.level.linedefs[line].tag = 9;
  const SpecialPlan plan = Plan(stairs.level);
  // Each shared line's front faces the room on its right: from room 2 the steps go left.
  EXPECT_EQ(FloorOf(plan, 2).placed, 8);
  EXPECT_EQ(FloorOf(plan, 1).placed, 16);
  EXPECT_EQ(FloorOf(plan, 0).placed, 24);
  EXPECT_LT(plan.motion.floorMover[3], 0);
  EXPECT_EQ(FloorOf(plan, 0).speed, 2);
  EXPECT_EQ(plan.lines.at(0).movers.size(), 3u);
}

TEST(SpecialPlan, DonutLowersThePillarAndRaisesThePoolToTheFloorBeyond) {
  auto donut = Rooms(32, 128, 64, 128);  // model 0 (floor 0), pool 1 (32), pillar 2 (64)
  wad::Level& level = donut.level;
  // The pillar's first line must be the one to its pool: put it first among room 2's lines.
  std::swap(level.linedefs[6], level.linedefs[static_cast<std::size_t>(donut.sharedLines[2])]);
  level.sectors[2].tag = 4;
  level.linedefs[1].special = 9;
  level.linedefs[1].tag = 4;
  const SpecialPlan plan = Plan(level);
  EXPECT_EQ(FloorOf(plan, 1).placed, 0);
  EXPECT_EQ(FloorOf(plan, 2).placed, 0);
}

TEST(SpecialPlan, TeleportsGoToTheFirstDestinationInTheFirstTaggedSector) {
  auto rooms = Rooms(0, 128);
  wad::Level& level = rooms.level;
  level.sectors[1].tag = 3;
  level.sectors[2].tag = 3;
  wad::Thing inTwo, inOne;
  inTwo.type = inOne.type = 14;
  level.things = {inTwo, inOne};  // thing 0 lies in room 2, thing 1 in room 1
  const zaro3::ThingSector where = [](int t) { return t == 0 ? 2 : 1; };
  level.linedefs[rooms.sharedLines[1]].special = 97;
  level.linedefs[rooms.sharedLines[1]].tag = 3;
  const SpecialPlan plan = Plan(level, where);
  EXPECT_TRUE(plan.lines.at(0).reproduced);
  EXPECT_EQ(plan.lines.at(0).destinationThing, 1);  // room 1 comes before room 2

  level.things.clear();
  const SpecialPlan nowhere = Plan(level, where);
  EXPECT_FALSE(nowhere.lines.at(0).reproduced);
  EXPECT_NE(nowhere.lines.at(0).skipped.find("no teleport destination"), std::string::npos);
}

TEST(SpecialPlan, BadSpecialsAreSkippedWithTheirReason) {
  auto rooms = Rooms(0, 0);
  wad::Level& level = rooms.level;
  level.linedefs[0].special = 23;  // S1 floor, tag 0
  level.linedefs[1].special = 23;
  level.linedefs[1].tag = 77;      // names no sector
  level.linedefs[3].special = 38;  // W1 on a one-sided wall: nobody crosses it
  level.linedefs[3].tag = 5;
  level.linedefs[4].special = 1;   // a door opened by hand on a one-sided wall
  level.linedefs[6].special = 999; // no DOOM special
  const SpecialPlan plan = Plan(level);
  ASSERT_EQ(plan.lines.size(), 5u);
  for (const zaro3::LineAction& action : plan.lines) {
    EXPECT_FALSE(action.reproduced) << action.line;
    EXPECT_FALSE(action.skipped.empty()) << action.line;
  }
  EXPECT_NE(plan.lines[0].skipped.find("tag 0"), std::string::npos);
  EXPECT_NE(plan.lines[1].skipped.find("tag 77"), std::string::npos);
  EXPECT_NE(plan.lines[2].skipped.find("one-sided"), std::string::npos);
  EXPECT_NE(plan.lines[3].skipped.find("one-sided"), std::string::npos);
  EXPECT_NE(plan.lines[4].skipped.find("not a DOOM special"), std::string::npos);
}

TEST(SpecialPlan, ASecondDifferentMoveOfTheSamePlaneIsSkippedAndTheSameOneIsShared) {
  auto rooms = Rooms(64, 192, 32, 128);
  wad::Level& level = rooms.level;
  level.sectors[1].tag = 5;
  level.linedefs[0].special = 23;  // S1 lowest floor, first in line order
  level.linedefs[0].tag = 5;
  level.linedefs[1].special = 60;  // SR, the same destination: joins the first
  level.linedefs[1].tag = 5;
  level.linedefs[3].special = 45;  // SR highest neighbouring floor: another move of the same floor
  level.linedefs[3].tag = 5;
  const SpecialPlan plan = Plan(level);
  ASSERT_EQ(plan.motion.movers.size(), 1u);
  EXPECT_EQ(plan.motion.movers[0].lines.size(), 2u);
  EXPECT_TRUE(plan.lines[1].reproduced);
  EXPECT_FALSE(plan.lines[2].reproduced);
  EXPECT_NE(plan.lines[2].skipped.find("already moves differently for line 0"), std::string::npos);
}

TEST(SpecialPlan, OnlyDoomsPlainDoorOpensByTouchAsMonstersOpenItToo) {
  auto plain = Rooms(0, 0, 0, 120);
  wad::Linedef& line = plain.level.linedefs[static_cast<std::size_t>(plain.sharedLines[2])];
  line.special = 1;  // DR: players and monsters open it by hand
  EXPECT_TRUE(Plan(plain.level).motion.movers.at(0).touchable);
  EXPECT_TRUE(zaro3::OpensByTouch(*zaro3::DecodeLineSpecial(1), line));

  line.flags |= wad::kLineSecret;  // DOOM lets no monster use a secret line
  EXPECT_FALSE(Plan(plain.level).motion.movers.at(0).touchable);
  line.flags &= static_cast<uint16_t>(~wad::kLineSecret);

  for (int type : {117, 31, 26, 0x3800 | 6}) {  // blazing, open-stay, keyed, Boom's any key
    line.special = static_cast<uint16_t>(type);
    EXPECT_FALSE(Plan(plain.level).motion.movers.at(0).touchable) << type;
  }

  // From room 0 the same DR door wants the blue key: touching the door would let anybody
  // through from that side, so both lines keep triggers of their own.
  line.special = 1;
  wad::Linedef& other = plain.level.linedefs[static_cast<std::size_t>(plain.sharedLines[1])];
  other.special = 26;
  std::swap(other.front, other.back);  // its back must be the door
  EXPECT_FALSE(Plan(plain.level).motion.movers.at(0).touchable);
}

TEST(SpecialPlan, TwoPlacedMoversRestAtTheEndNearestDoomsStart) {
  auto perpetual = Rooms(60, 192, 64, 128);  // neighbours at 0 and 64: the floor starts near the top
  Tagged(perpetual, 87);
  const SpecialPlan plan = Plan(perpetual.level);
  const zaro3::Mover& lift = FloorOf(plan, 1);
  EXPECT_EQ(lift.rest, 64);
  EXPECT_EQ(lift.placed, 0);

  auto toggle = Rooms(0, 80, 0, 128);  // open at the start, opened and closed by its lines
  Tagged(toggle, 3);
  toggle.level.linedefs[1].special = 103;
  toggle.level.linedefs[1].tag = 5;
  const SpecialPlan toggled = Plan(toggle.level);
  const zaro3::Mover& door = toggled.motion.movers.at(0);
  EXPECT_EQ(door.build, MoverBuild::ToggleDoor);
  EXPECT_EQ(door.rest, 80);
  EXPECT_EQ(door.high, 80);
  EXPECT_EQ(door.placed, 0);
}

TEST(SpecialPlan, APlaneMovedByManyLinesMovesAsMostOfThemAsk) {
  auto rooms = Rooms(0, 0);
  wad::Level& level = rooms.level;
  level.sectors[1].tag = 5;
  const auto tag = [&](int line, int special) {
    level.linedefs[static_cast<std::size_t>(line)].special = static_cast<uint16_t>(special);
    level.linedefs[static_cast<std::size_t>(line)].tag = 5;
  };
  tag(0, 114);  // SR blazing open-wait-close, first in line order
  tag(1, 63);   // SR open-wait-close at the normal speed
  level.linedefs[static_cast<std::size_t>(rooms.sharedLines[2])].special = 1;  // DR, normal speed
  const SpecialPlan plan = Plan(level);
  ASSERT_EQ(plan.motion.movers.size(), 1u);
  EXPECT_EQ(plan.motion.movers[0].speed, 16);  // DOOM's normal door: 2 units a tic
  EXPECT_EQ(plan.motion.movers[0].lines.size(), 3u);
}
