#include "ActionEntities.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "Converter.h"
#include "CraftedRooms.h"
#include "MapWriter.h"

using zaro3::MapEntity;
using zaro3test::MakeRooms;
using zaro3test::Room;
using zaro3test::RoomSpec;

namespace {

struct Converted {
  zaro3::Conversion conversion;
  zaro3::Diagnostics diagnostics;

  const MapEntity* Named(const std::string& name) const {
    for (const MapEntity& e : conversion.model.entities) {
      if (e.Text("name") == name) return &e;
    }
    return nullptr;
  }
  std::vector<const MapEntity*> OfClass(const std::string& classname) const {
    std::vector<const MapEntity*> found;
    for (const MapEntity& e : conversion.model.entities) {
      if (e.Text("classname") == classname) found.push_back(&e);
    }
    return found;
  }
  // A key as written at the dialog's scale 1.5.
  std::string Written(const std::string& name, const std::string& key) const {
    const MapEntity* e = Named(name);
    const zaro3::KeyValue* kv = e ? e->Find(key) : nullptr;
    return kv ? zaro3::FormatValue(*kv, zaro3::Scale{15, 1}) : "";
  }
  bool Warned(const std::string& text) const {
    return std::any_of(diagnostics.warnings.begin(), diagnostics.warnings.end(),
                       [&](const std::string& w) { return w.find(text) != std::string::npos; });
  }
};

// Three rooms: 0 and 2 open, 1 between them (where specials act), converted whole.
zaro3test::CraftedLevel Rooms(int floor1 = 0, int ceiling1 = 0) {
  return MakeRooms({Room(0, 128, 0, 128), Room(128, 256, floor1, ceiling1), Room(256, 384, 0, 128)});
}

Converted Convert(const wad::Level& level) {
  Converted out;
  zaro3::Options options;
  options.scale = zaro3::Scale{15, 1};
  const zaro3::MaterialCatalog catalog;
  const zaro3::ThingTable table;
  out.conversion = zaro3::ConvertLevel(level, options, catalog, table, out.diagnostics);
  return out;
}

void Tagged(wad::Level& level, int line, int special, int sector = 1) {
  level.sectors[sector].tag = 5;
  level.linedefs[line].special = static_cast<uint16_t>(special);
  level.linedefs[line].tag = 5;
}

}  // namespace

TEST(SpecialEntities, PlainDoorsOpenByTouchAndKeyedOnesAskForTheKeyOfTheirColour) {
  auto plain = Rooms();
  plain.level.linedefs[plain.sharedLines[2]].special = 1;
  const Converted open = Convert(plain.level);
  const MapEntity* door = open.Named("door_1");
  ASSERT_NE(door, nullptr);
  EXPECT_EQ(door->Text("classname"), "func_door");
  EXPECT_EQ(door->Text("model"), "door_1");
  EXPECT_EQ(door->Text("no_touch"), "");
  EXPECT_EQ(door->Text("lip"), "2");  // the door travels exactly its height
  EXPECT_EQ(open.Written("door_1", "speed"), "105");  // 70 units a second, times 1.5
  EXPECT_EQ(open.Named("trigger_" + std::to_string(plain.sharedLines[2])), nullptr);

  auto keyed = Rooms();
  keyed.level.linedefs[keyed.sharedLines[2]].special = 26;  // DR, blue
  const Converted blue = Convert(keyed.level);
  // The line's trigger in front of it opens it for a player with a blue card or skull,
  // through the door's gate, which lets nothing send the door back while it opens.
  EXPECT_EQ(blue.Named("door_1")->Text("no_touch"), "1");
  const MapEntity* byHand = blue.Named("trigger_" + std::to_string(keyed.sharedLines[2]));
  ASSERT_NE(byHand, nullptr);
  EXPECT_EQ(byHand->Text("requires"), "Blue key");
  EXPECT_EQ(byHand->Text("anyTouch"), "");
  EXPECT_EQ(byHand->Text("target"), "doorgate_1");
  const MapEntity* gate = blue.Named("doorgate_1");
  ASSERT_NE(gate, nullptr);
  EXPECT_EQ(gate->Text("classname"), "trigger_relay");
  EXPECT_EQ(gate->Text("target"), "door_1");
  EXPECT_NEAR(std::stod(gate->Text("wait")), 124.0 / 70.0, 0.01);  // its opening time at 70 units a second

  Tagged(keyed.level, keyed.sharedLines[2], 133);  // S1 blazing open, blue: a switch
  const Converted blueSwitch = Convert(keyed.level);
  const MapEntity* trigger = blueSwitch.Named("trigger_" + std::to_string(keyed.sharedLines[2]));
  ASSERT_NE(trigger, nullptr);
  EXPECT_EQ(trigger->Text("requires"), "Blue key");
  EXPECT_EQ(trigger->Text("doom_special"), "133");
  EXPECT_EQ(trigger->Text("anyTouch"), "");  // players only

  // Boom's locked doors: any key (one trigger per colour) and every key (a chain).
  keyed.level.linedefs[keyed.sharedLines[2]].special = 0x3800 | 6;  // D1, any key
  const Converted any = Convert(keyed.level);
  const std::string line = "trigger_" + std::to_string(keyed.sharedLines[2]);
  EXPECT_EQ(any.Named(line)->Text("requires"), "Red key");
  EXPECT_EQ(any.Named(line + "_1")->Text("requires"), "Blue key");
  EXPECT_EQ(any.Named(line + "_2")->Text("requires"), "Yellow key");
  keyed.level.linedefs[keyed.sharedLines[2]].special = 0x3800 | 6 | (7 << 6);  // D1, every key
  const Converted all = Convert(keyed.level);
  EXPECT_EQ(all.Named(line)->Text("target"), line + "_blue");
  EXPECT_EQ(all.Named(line + "_blue")->Text("noTouch"), "1");
  EXPECT_EQ(all.Named(line + "_blue")->Text("target"), line + "_yellow");
  EXPECT_EQ(all.Named(line + "_yellow")->Text("requires"), "Yellow key");
  EXPECT_EQ(all.Named(line + "_yellow")->Text("target"), "doorgate_1");
}

TEST(SpecialEntities, EachActivationGetsItsVolume) {
  auto walked = Rooms(64, 128);
  Tagged(walked.level, walked.sharedLines[1], 38);  // W1 across the line between rooms 0 and 1
  const Converted c = Convert(walked.level);
  const std::string walk = "trigger_" + std::to_string(walked.sharedLines[1]);
  ASSERT_NE(c.Named(walk), nullptr);
  EXPECT_EQ(c.Named(walk)->Text("classname"), "trigger_once");
  EXPECT_EQ(c.Named(walk)->Text("target"), "floor_1");
  EXPECT_EQ(c.Named("floor_1")->Text("classname"), "func_plat");
  EXPECT_EQ(c.Written("floor_1", "height"), "-96");  // rests 64 above where it is written, times 1.5
  // The walk-over volume lies astride its line (x = 128).
  const zaro3::Prism& slab = c.Named(walk)->brushes.at(0);
  int64_t minX = 1 << 20, maxX = -(1 << 20);
  for (const auto& side : slab.sides) {
    minX = std::min(minX, side.a.x);
    maxX = std::max(maxX, side.a.x);
  }
  EXPECT_LT(minX, 128);
  EXPECT_GT(maxX, 128);

  auto lifted = Rooms(64, 128);
  Tagged(lifted.level, lifted.sharedLines[1], 88);  // WR lift: monsters use it too
  const Converted lift = Convert(lifted.level);
  const MapEntity* repeat = lift.Named(walk);
  EXPECT_EQ(repeat->Text("classname"), "trigger_multiple");
  EXPECT_EQ(repeat->Text("anyTouch"), "1");
  EXPECT_GT(std::stod(repeat->Text("wait")), 3.0);  // never reverses the lift mid-way

  auto pushed = Rooms(64, 128);
  Tagged(pushed.level, 0, 23);  // S1 on room 0's wall: a volume in front of it, inside room 0
  const Converted push = Convert(pushed.level);
  for (const auto& side : push.Named("trigger_0")->brushes.at(0).sides) EXPECT_GE(side.a.y, 0);
  // A player who starts in front of it does not press it as he appears: it stops short of him.
  wad::Thing start;
  start.x = 64;
  start.y = 20;
  start.type = 1;
  pushed.level.things.push_back(start);
  const Converted beside = Convert(pushed.level);
  ASSERT_NE(beside.Named("trigger_0"), nullptr);
  for (const auto& side : beside.Named("trigger_0")->brushes.at(0).sides) {
    EXPECT_GE(side.a.y, 0);
    EXPECT_LE(side.a.y, 20 - 16 / 1.5);
  }
  pushed.level.things.clear();
  Tagged(pushed.level, 0, 24);  // G1: a shootable panel
  EXPECT_EQ(Convert(pushed.level).Named("trigger_0")->Text("classname"), "func_damagable");

  // A second move of the same floor is warned about with its type.
  Tagged(walked.level, 0, 140);  // S1 up by 512, first in line order
  const Converted both = Convert(walked.level);
  EXPECT_TRUE(both.Warned("special 38"));
  EXPECT_EQ(both.conversion.summary.specials.LinesFound(), 2);
  EXPECT_EQ(both.conversion.summary.specials.LinesReproduced(), 1);
}

TEST(SpecialEntities, ExitsNameTheNextLevelAndTakeTheKeysAway) {
  auto rooms = Rooms(0, 128);
  rooms.level.linedefs[0].special = 11;
  rooms.level.linedefs[1].special = 51;
  rooms.level.name = "MAP15";
  const Converted c = Convert(rooms.level);
  EXPECT_EQ(c.Named("endlevel_next")->Text("nextMap"), "MAP16");
  EXPECT_EQ(c.Named("endlevel_secret")->Text("nextMap"), "MAP31");
  const MapEntity* exit = c.Named("trigger_0");
  ASSERT_NE(exit, nullptr);
  EXPECT_EQ(exit->Text("classname"), "trigger_once");
  EXPECT_EQ(exit->Text("target"), "endlevel_next");
  EXPECT_EQ(c.OfClass("func_itemremove").size(), 6u);
  EXPECT_EQ(c.Named("keyremove_blue_2")->Text("remove"), "Blue key");

  rooms.level.name = "E1M8";
  EXPECT_EQ(Convert(rooms.level).Named("endlevel_next")->Text("endOfGame"), "1");
}

TEST(SpecialEntities, TeleportsArmInFrontAndFireBehindToTheirDestination) {
  auto rooms = Rooms(0, 128);
  wad::Level& level = rooms.level;
  level.sectors[2].tag = 3;
  wad::Thing destination;
  destination.type = 14;
  destination.x = 320;
  destination.y = 64;
  destination.angle = 90;
  level.things = {destination};
  const int line = rooms.sharedLines[1];
  level.linedefs[line].special = 97;
  level.linedefs[line].tag = 3;
  const Converted c = Convert(level);
  const std::string fire = "trigger_" + std::to_string(line);
  ASSERT_NE(c.Named(fire), nullptr);
  ASSERT_NE(c.Named(fire + "_arm"), nullptr);
  EXPECT_EQ(c.Named(fire)->Text("target"), "teleporter_0");
  EXPECT_EQ(c.Named(fire)->Text("target1"), fire + "_arm");
  EXPECT_EQ(c.Named(fire)->Text("triggerFirst"), "1");
  EXPECT_EQ(c.Named(fire + "_arm")->Text("target"), fire);
  EXPECT_EQ(c.Named(fire)->Text("anyTouch"), "1");
  EXPECT_EQ(c.Written("teleporter_0", "origin"), "480 96 0");
  EXPECT_EQ(c.Named("teleporter_0")->Text("angle"), "90");
  // Neither slab touches the line: nobody 32 wide stands in both.
  for (const std::string& name : {fire, fire + "_arm"}) {
    for (const auto& side : c.Named(name)->brushes.at(0).sides) EXPECT_NE(side.a.x, 128) << name;
  }

  level.things.clear();
  const Converted nowhere = Convert(level);
  EXPECT_EQ(nowhere.Named(fire), nullptr);
  EXPECT_TRUE(nowhere.Warned("no teleport destination"));
}

TEST(SpecialEntities, SectorsHurtRevealSecretsAndTimeTheirDoors) {
  auto rooms = Rooms(0, 128);
  rooms.level.sectors[0].special = 7;
  rooms.level.sectors[2].special = 9;
  rooms.level.sectors[1].special = 10;  // open now, shuts after 30 s
  const Converted c = Convert(rooms.level);
  EXPECT_EQ(c.Named("hurt_0")->Text("def_damage"), "doom_damage_5");
  EXPECT_EQ(c.Named("hurt_0")->Text("classname"), "trigger_hurt");
  EXPECT_EQ(c.Named("secret_2")->Text("target"), "secretmsg_2");
  EXPECT_EQ(c.Named("secretmsg_2")->Text("classname"), "doom_secret");
  EXPECT_EQ(c.Named("timer_1")->Text("delay"), "30");
  EXPECT_EQ(c.Named("timer_1")->Text("target"), "door_1");
  EXPECT_EQ(c.Named("door_1")->Text("start_open"), "1");

  rooms.level.sectors[0].special = 11;  // the end of an episode: hurt until the level ends
  const Converted end = Convert(rooms.level);
  EXPECT_EQ(end.Named("hurt_0")->Text("target"), "dying_0");
  EXPECT_EQ(end.Named("dying_0")->Text("target"), "endlevel_next");
}

TEST(SpecialEntities, LightChangesSetTheTaggedSectorsLights) {
  auto rooms = Rooms(0, 128);
  rooms.level.sectors[1].light = 96;
  Tagged(rooms.level, 0, 13);  // W1 on a one-sided wall: skipped; a switch one works
  rooms.level.linedefs[0].special = 138;
  const Converted c = Convert(rooms.level);
  const MapEntity* set = c.Named("lightset_0_1");
  ASSERT_NE(set, nullptr);
  EXPECT_EQ(set->Text("_color"), "1 1 1");
  EXPECT_EQ(set->Text("target"), "light_1_0");
  ASSERT_NE(c.Named("light_1_0"), nullptr);
  EXPECT_EQ(c.Named("light_1_0")->Text("texture"), "lights/zdoom_sector");
}

TEST(SpecialEntities, SwitchesShowTheirThrownTextureOnAPanelAndRepeatableOnesTurnBack) {
  auto rooms = Rooms(64, 128);
  const int wall = 0;  // room 0's wall, facing into room 0 (y >= 0)
  rooms.level.sidedefs[rooms.level.linedefs[wall].front].middle = "SW1BRCOM";
  const std::string panel = "switch_" + std::to_string(wall);

  Tagged(rooms.level, wall, 23);  // S1: thrown once, stays thrown
  const Converted once = Convert(rooms.level);
  ASSERT_NE(once.Named(panel), nullptr);
  EXPECT_EQ(once.Named(panel)->Text("classname"), "func_static");
  EXPECT_EQ(once.Named(panel)->Text("model"), panel);
  EXPECT_EQ(once.Named(panel)->Text("doom_line"), std::to_string(wall));
  int shown = 0;
  for (const zaro3::PrismSide& side : once.Named(panel)->brushes.at(0).sides) {
    if (!side.face.switchFace) continue;
    ++shown;
    EXPECT_EQ(side.face.texture, "SW1BRCOM");
    EXPECT_EQ(side.face.part, zaro3::WallPart::Middle);
    EXPECT_EQ(side.face.linedef, wall);
    EXPECT_GT(std::min(side.a.y, side.b.y), 0);  // out in the room, off the wall's own face
  }
  EXPECT_EQ(shown, 1);
  const MapEntity* trigger = once.Named("trigger_0");
  ASSERT_NE(trigger, nullptr);
  EXPECT_EQ(trigger->Text("target1"), panel + "_on");
  EXPECT_EQ(once.Named(panel + "_on")->Text("shaderParm7"), "1");
  EXPECT_EQ(once.Named(panel + "_on")->Text("target"), panel);
  EXPECT_EQ(once.Named(panel + "_back"), nullptr);

  Tagged(rooms.level, wall, 62);  // SR lift: the switch turns back after DOOM's second
  const Converted repeat = Convert(rooms.level);
  ASSERT_NE(repeat.Named(panel + "_back"), nullptr);
  EXPECT_EQ(repeat.Named(panel + "_back")->Text("classname"), "trigger_relay");
  EXPECT_EQ(repeat.Named(panel + "_back")->Text("delay"), "1");
  EXPECT_EQ(repeat.Named(panel + "_back")->Text("target"), panel + "_off");
  EXPECT_EQ(repeat.Named(panel + "_off")->Text("shaderParm7"), "0");

  Tagged(rooms.level, wall, 24);  // G1: the shootable slab stands before the panel
  const Converted shot = Convert(rooms.level);
  ASSERT_NE(shot.Named(panel), nullptr);
  for (const zaro3::PrismSide& side : shot.Named("trigger_0")->brushes.at(0).sides) EXPECT_GE(side.a.y, 1);

  rooms.level.sidedefs[rooms.level.linedefs[wall].front].middle = "WALL";  // no switch texture, no panel
  Tagged(rooms.level, wall, 23);
  const Converted plain = Convert(rooms.level);
  EXPECT_EQ(plain.Named(panel), nullptr);
  EXPECT_EQ(plain.Named("trigger_0")->Text("target1"), "");
}
