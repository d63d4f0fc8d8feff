#include "LineActions.h"

#include <gtest/gtest.h>

#include "NextLevel.h"
#include "SectorActions.h"

using zaro3::Activation;
using zaro3::DecodeLineSpecial;
using zaro3::DoorKind;
using zaro3::HeightTarget;
using zaro3::KeyLock;
using zaro3::SpecialKind;

TEST(LineSpecials, VanillaTypesCarryTheirCategoryActivationAndParameters) {
  const auto door = DecodeLineSpecial(1);
  ASSERT_TRUE(door);
  EXPECT_EQ(door->kind, SpecialKind::Door);
  EXPECT_EQ(door->activation, Activation::Manual);
  EXPECT_TRUE(door->repeatable);
  EXPECT_TRUE(door->monsters);       // DOOM lets monsters open plain doors by hand
  EXPECT_EQ(door->speed, 16);        // 2 units a tic
  EXPECT_EQ(door->waitTics, 150);

  EXPECT_EQ(DecodeLineSpecial(26)->key, KeyLock::Blue);
  EXPECT_FALSE(DecodeLineSpecial(26)->monsters);
  EXPECT_EQ(DecodeLineSpecial(16)->door, DoorKind::CloseWaitOpen);
  EXPECT_EQ(DecodeLineSpecial(16)->waitTics, 1050);
  EXPECT_EQ(DecodeLineSpecial(117)->speed, 64);  // blazing: 8 units a tic

  const auto lift = DecodeLineSpecial(62);
  EXPECT_EQ(lift->kind, SpecialKind::Lift);
  EXPECT_EQ(lift->activation, Activation::Switch);
  EXPECT_TRUE(lift->repeatable);
  EXPECT_EQ(lift->waitTics, 105);
  EXPECT_TRUE(DecodeLineSpecial(88)->monsters);

  EXPECT_EQ(DecodeLineSpecial(38)->target, HeightTarget::LowestFloor);
  EXPECT_EQ(DecodeLineSpecial(36)->target, HeightTarget::HighestFloorPlus8);
  EXPECT_EQ(DecodeLineSpecial(58)->amount, 24);
  EXPECT_EQ(DecodeLineSpecial(40)->kind, SpecialKind::Ceiling);  // its floor half never runs in DOOM
  EXPECT_EQ(DecodeLineSpecial(8)->speed, 2);  // stairs: a quarter unit a tic
  EXPECT_EQ(DecodeLineSpecial(100)->amount, 16);

  EXPECT_TRUE(DecodeLineSpecial(97)->monsters);
  EXPECT_FALSE(DecodeLineSpecial(97)->monstersOnly);
  EXPECT_TRUE(DecodeLineSpecial(126)->monstersOnly);
  EXPECT_TRUE(DecodeLineSpecial(124)->secret);
  EXPECT_EQ(DecodeLineSpecial(197)->activation, Activation::Gun);
  EXPECT_EQ(DecodeLineSpecial(48)->kind, SpecialKind::Scroll);
  EXPECT_EQ(DecodeLineSpecial(244)->kind, SpecialKind::LineTeleport);

  EXPECT_FALSE(DecodeLineSpecial(0));
  EXPECT_FALSE(DecodeLineSpecial(500));
  EXPECT_FALSE(DecodeLineSpecial(0x8000));
}

TEST(LineSpecials, BoomGeneralizedTypesDecodeFromTheirBitFields) {
  // Floor: WR, fast, up, to the next neighbouring floor, crushing.
  const auto floor = DecodeLineSpecial(0x6000 | 1 | (2 << 3) | 0x40 | (2 << 7) | 0x1000);
  EXPECT_EQ(floor->kind, SpecialKind::Floor);
  EXPECT_EQ(floor->activation, Activation::Walk);
  EXPECT_TRUE(floor->repeatable);
  EXPECT_EQ(floor->speed, 32);
  EXPECT_EQ(floor->direction, 1);
  EXPECT_EQ(floor->target, HeightTarget::NextFloor);
  EXPECT_TRUE(floor->crush);
  // Ceiling: S1, down by 32.
  const auto ceiling = DecodeLineSpecial(0x4000 | 2 | (7 << 7));
  EXPECT_EQ(ceiling->kind, SpecialKind::Ceiling);
  EXPECT_EQ(ceiling->activation, Activation::Switch);
  EXPECT_EQ(ceiling->direction, -1);
  EXPECT_EQ(ceiling->amount, 32);
  // Door: S1, normal speed, close-wait-open, monsters, 30 s.
  const auto door = DecodeLineSpecial(0x3C00 | 2 | (1 << 3) | (2 << 5) | 0x80 | (3 << 8));
  EXPECT_EQ(door->kind, SpecialKind::Door);
  EXPECT_EQ(door->door, DoorKind::CloseWaitOpen);
  EXPECT_EQ(door->speed, 32);
  EXPECT_TRUE(door->monsters);
  EXPECT_EQ(door->waitTics, 1050);
  // Locked door: DR, open and stay, blue card; all keys.
  const auto locked = DecodeLineSpecial(0x3800 | 7 | 0x20 | (2 << 6));
  EXPECT_EQ(locked->activation, Activation::Manual);
  EXPECT_EQ(locked->door, DoorKind::OpenStay);
  EXPECT_EQ(locked->key, KeyLock::Blue);
  EXPECT_EQ(DecodeLineSpecial(0x3800 | (7 << 6))->key, KeyLock::All);
  EXPECT_EQ(DecodeLineSpecial(0x3800)->key, KeyLock::Any);
  // Lift: W1, turbo, perpetual, 10 s; and a plain one to the next lower floor.
  const auto perpetual = DecodeLineSpecial(0x3400 | (3 << 3) | 0x20 | (3 << 6) | (3 << 8));
  EXPECT_EQ(perpetual->kind, SpecialKind::PerpetualLift);
  EXPECT_EQ(perpetual->waitTics, 350);
  EXPECT_EQ(DecodeLineSpecial(0x3400 | (1 << 8))->target, HeightTarget::NextFloor);
  // Stairs: SR, up, 24, ignoring textures.
  const auto stairs = DecodeLineSpecial(0x3000 | 3 | 0x100 | (3 << 6) | 0x200);
  EXPECT_EQ(stairs->kind, SpecialKind::Stairs);
  EXPECT_EQ(stairs->amount, 24);
  EXPECT_EQ(stairs->direction, 1);
  EXPECT_TRUE(stairs->ignoreTexture);
  // Crusher: GR.
  const auto crusher = DecodeLineSpecial(0x2F80 | 5);
  EXPECT_EQ(crusher->kind, SpecialKind::Crusher);
  EXPECT_EQ(crusher->activation, Activation::Gun);
}

TEST(SectorActions, VanillaAndGeneralizedTypes) {
  EXPECT_EQ(zaro3::DecodeSectorSpecial(7).damage, 5);
  EXPECT_EQ(zaro3::DecodeSectorSpecial(5).damage, 10);
  EXPECT_EQ(zaro3::DecodeSectorSpecial(16).damage, 20);
  const auto strobeHurt = zaro3::DecodeSectorSpecial(4);
  EXPECT_EQ(strobeHurt.damage, 20);
  EXPECT_EQ(strobeHurt.light, zaro3::LightEffect::FastStrobe);
  EXPECT_TRUE(zaro3::DecodeSectorSpecial(11).exitWhenDying);
  EXPECT_TRUE(zaro3::DecodeSectorSpecial(9).secret);
  EXPECT_EQ(zaro3::DecodeSectorSpecial(14).door, zaro3::TimedDoor::OpenAfter5Minutes);
  EXPECT_EQ(zaro3::DecodeSectorSpecial(17).light, zaro3::LightEffect::FireFlicker);
  EXPECT_FALSE(zaro3::DecodeSectorSpecial(6).known);
  const auto boom = zaro3::DecodeSectorSpecial(8 | (2 << 5) | 128);  // glow, 10 damage, secret
  EXPECT_EQ(boom.light, zaro3::LightEffect::Glow);
  EXPECT_EQ(boom.damage, 10);
  EXPECT_TRUE(boom.secret);
}

TEST(NextLevel, FollowsDoomsOrderOfLevelsAndSecretExits) {
  using zaro3::NextLevel;
  EXPECT_EQ(NextLevel("E1M1", false).level, "E1M2");
  EXPECT_TRUE(NextLevel("E1M8", false).endOfGame);
  EXPECT_EQ(NextLevel("E1M3", true).level, "E1M9");
  EXPECT_EQ(NextLevel("E1M9", false).level, "E1M4");
  EXPECT_EQ(NextLevel("E2M9", false).level, "E2M6");
  EXPECT_EQ(NextLevel("E3M9", false).level, "E3M7");
  EXPECT_EQ(NextLevel("e4m9", false).level, "E4M3");
  EXPECT_EQ(NextLevel("MAP07", false).level, "MAP08");
  EXPECT_EQ(NextLevel("map01", false).level, "MAP02");
  EXPECT_EQ(NextLevel("MAP15", true).level, "MAP31");
  EXPECT_EQ(NextLevel("MAP31", true).level, "MAP32");
  EXPECT_EQ(NextLevel("MAP31", false).level, "MAP16");
  EXPECT_EQ(NextLevel("MAP32", false).level, "MAP16");
  EXPECT_EQ(NextLevel("MAP05", true).level, "MAP06");  // elsewhere a secret exit is a plain one
  EXPECT_TRUE(NextLevel("MAP30", false).endOfGame);
  EXPECT_TRUE(NextLevel("START", false).endOfGame);
}
