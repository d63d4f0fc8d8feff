#include "ThingEntities.h"

#include <gtest/gtest.h>

#include "MapWriter.h"

#include <sstream>

#include "ThingTable.h"

using zaro3::Diagnostics;
using zaro3::ThingTable;

namespace {

ThingTable SmallTable(Diagnostics& diagnostics) {
  std::istringstream in(
      "# type class keys\n"
      "1 info_player_start\n"
      "3001 doom_imp\n"
      "2012 doom_medikit \"inv_name\" \"Medi kit\"  # a quoted value\n"
      "bad line here\n"
      "2013 doom_soulsphere dangling\n");
  ThingTable table;
  table.AddLines(in, "D2D3_OBJ.TXT", diagnostics);
  return table;
}

wad::Thing Thing(int x, int y, int type, int flags, int angle = 90) {
  wad::Thing t;
  t.x = x;
  t.y = y;
  t.type = static_cast<uint16_t>(type);
  t.flags = static_cast<uint16_t>(flags);
  t.angle = angle;
  return t;
}

// A key as the map writer writes it at the dialog's scale 1.5.
std::string Key(const zaro3::MapEntity& e, const std::string& key) {
  const zaro3::KeyValue* kv = e.Find(key);
  return kv ? zaro3::FormatValue(*kv, zaro3::Scale{15, 1}) : "";
}

}  // namespace

TEST(ThingTable, ReadsClassesAndQuotedKeysAndSkipsBadLines) {
  Diagnostics diagnostics;
  const ThingTable table = SmallTable(diagnostics);
  EXPECT_EQ(table.Size(), 3u);
  ASSERT_NE(table.Find(2012), nullptr);
  EXPECT_EQ(table.Find(2012)->keys.at(0).second, "Medi kit");
  EXPECT_EQ(table.Find(2013), nullptr);
  EXPECT_EQ(diagnostics.warnings.size(), 2u);  // the first bad line, then the count
}

TEST(ThingEntities, KeepsEverySkillsSinglePlayerThingsOnTheirFloorWithDoomThreeSkillKeys) {
  Diagnostics diagnostics;
  const ThingTable table = SmallTable(diagnostics);
  wad::Level level;
  wad::Sector low, high;
  low.floorHeight = -16;
  high.floorHeight = 40;
  level.sectors = {low, high};
  level.things = {
      Thing(10, 10, 1, 0, 270),                           // player start without skill bits
      Thing(200, 10, 3001, wad::kThingMedium | wad::kThingHard),
      Thing(20, 20, 3001, wad::kThingEasy | wad::kThingAmbush),  // easy only, deaf
      Thing(30, 30, 3001, wad::kThingMedium | wad::kThingMultiplayer),
      Thing(35, 35, 3001, 0),                             // on no skill: DOOM never spawns it
      Thing(40, 40, 9999, wad::kThingMedium),             // unknown type
      Thing(-500, 0, 3001, wad::kThingMedium),            // outside
      Thing(60, 60, 2, 0),                                // deathmatch start from the built-ins
  };
  const auto sectorAt = [](double x, double) { return x < -100 ? -1 : x < 100 ? 0 : 1; };
  zaro3::ThingReport report;
  diagnostics.warnings.clear();
  const auto entities = zaro3::BuildThingEntities(level, table, false, sectorAt, report, diagnostics);
  ASSERT_EQ(entities.size(), 4u);
  EXPECT_EQ(Key(entities[0], "classname"), "info_player_start");
  EXPECT_EQ(Key(entities[0], "origin"), "15 15 -21");  // floor -16 plus the lift of 2, times 1.5
  EXPECT_EQ(Key(entities[0], "angle"), "270");
  EXPECT_EQ(Key(entities[0], "not_easy"), "");  // a player start is no skill's to leave out
  EXPECT_EQ(Key(entities[1], "classname"), "doom_imp");
  EXPECT_EQ(Key(entities[1], "origin"), "300 15 60");
  EXPECT_EQ(Key(entities[1], "not_easy"), "1");
  EXPECT_EQ(Key(entities[1], "not_medium"), "");
  EXPECT_EQ(Key(entities[1], "not_hard"), "");
  EXPECT_EQ(Key(entities[2], "not_medium"), "1");
  EXPECT_EQ(Key(entities[2], "not_hard"), "1");
  EXPECT_EQ(Key(entities[2], "ambush"), "1");
  EXPECT_EQ(Key(entities[3], "classname"), "info_player_deathmatch");
  EXPECT_EQ(report.unknownTypes, 1);
  EXPECT_EQ(report.outside, 1);
  ASSERT_EQ(diagnostics.warnings.size(), 1u);
  EXPECT_NE(diagnostics.warnings[0].find("(-500, 0)"), std::string::npos);

  zaro3::ThingReport startsOnly;
  const auto starts = zaro3::BuildThingEntities(level, ThingTable(), true, sectorAt, startsOnly, diagnostics);
  ASSERT_EQ(starts.size(), 2u);
  EXPECT_EQ(starts[0].Text("origin"), "10 10 -14");  // in DOOM units until written
}

// DOOM spawns the player at every player 1 start in turn; only the last one keeps the player.
TEST(ThingEntities, ThePlayerStartsAtTheLastPlayerOneStartAndEarlierOnesAreLeftOut) {
  wad::Level level;
  level.sectors = {wad::Sector{}};
  level.things = {Thing(10, 10, 1, 0, 0), Thing(20, 20, 1, 0, 90), Thing(30, 30, 2, 0, 0), Thing(40, 40, 1, 0, 180)};
  zaro3::ThingReport report;
  Diagnostics diagnostics;
  const auto entities = zaro3::BuildThingEntities(level, ThingTable(), true, [](double, double) { return 0; }, report,
                                                  diagnostics);
  ASSERT_EQ(entities.size(), 2u);
  EXPECT_EQ(entities[0].Text("classname"), "info_player_deathmatch");
  EXPECT_EQ(entities[1].Text("classname"), "info_player_start");
  EXPECT_EQ(entities[1].Text("origin"), "40 40 2");
  EXPECT_EQ(entities[1].Text("angle"), "180");
  EXPECT_EQ(report.voodooDolls, 2);
}
