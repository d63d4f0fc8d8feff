// SectorActions: DOOM's sector specials as data (light effects, damage, secrets, timed doors).
//
// Vanilla types 0-17 and Boom's generalized sector types (light in bits 0-4,
// damage in bits 5-6, secret in bit 7) decode into one record. Nothing here
// looks at a level.
#pragma once

namespace zaro3 {

enum class LightEffect {
  None,
  RandomOff,     // 1: flickers off at random
  FastStrobe,    // 2, 4: bright 5 tics, dark 15, each light at its own phase
  SlowStrobe,    // 3: bright 5 tics, dark 35
  Glow,          // 8: between the dimmest neighbour and the sector's level, 8 levels a tic
  SyncSlowStrobe,  // 12
  SyncFastStrobe,  // 13
  FireFlicker,   // 17
};

enum class TimedDoor { None, CloseAfter30Seconds, OpenAfter5Minutes };

struct SectorSpecial {
  LightEffect light = LightEffect::None;
  int damage = 0;           // hit points every 32 tics
  bool secret = false;
  bool exitWhenDying = false;  // 11: the level ends when the player's health falls to 10
  TimedDoor door = TimedDoor::None;
  bool known = true;        // false: a type DOOM does not define
};

SectorSpecial DecodeSectorSpecial(int special);

}  // namespace zaro3
