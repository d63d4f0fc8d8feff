// LineActions: DOOM's line specials as data (type -> what it does, how it is set off).
//
// One table holds every vanilla type (1-141) and Boom's extended types; Boom's
// generalized types (0x2F80 and up) are decoded from their bit fields into the
// same record, so later stages never switch on a type number. Speeds are kept
// in eighths of a DOOM unit per tic (DOOM's stairs move a quarter unit a tic),
// waits in tics (35 a second), as DOOM keeps them. Nothing here looks at a level.
#pragma once

#include <optional>

namespace zaro3 {

// How a line is set off: walked over, pushed (a switch on its front side), shot,
// or pushed as a door of its own (the sector behind the line moves).
enum class Activation { Walk, Switch, Gun, Manual };

enum class SpecialKind {
  Door,           // a ceiling opens and/or closes
  Floor,          // a floor moves to a height and stays
  Ceiling,        // a ceiling moves to a height and stays
  Lift,           // a floor lowers, waits and returns
  PerpetualLift,  // a lift that keeps going until stopped
  StopLift,
  Crusher,        // a ceiling that keeps crushing until stopped
  StopCrusher,
  Stairs,
  Donut,
  Elevator,       // floor and ceiling move together
  Exit,
  Teleport,
  LineTeleport,   // to the line with the same tag (Boom)
  Light,
  Scroll,         // a texture effect: handled by the materials, not by entities
  Effect,         // other effects (light transfer, friction, wind, ...): no entity
};

enum class DoorKind { OpenWaitClose, OpenStay, CloseStay, CloseWaitOpen };

// Keys a door asks for; DOOM accepts the card or the skull of the colour (Boom may not).
enum class KeyLock { None, Any, Red, Blue, Yellow, All };

// Where a moving floor or ceiling stops, by DOOM's rules (computed per sector).
enum class HeightTarget {
  LowestFloor,          // lowest neighbouring floor, the sector's own included
  HighestFloor,         // highest neighbouring floor, own excluded
  HighestFloorPlus8,
  NextFloor,            // next neighbouring floor in the move's direction
  LowestCeiling,        // lowest neighbouring ceiling (floors: own ceiling included)
  LowestCeilingMinus8,
  HighestCeiling,       // highest neighbouring ceiling, own excluded
  NextCeiling,
  OwnCeiling,           // a floor up to its sector's ceiling
  OwnFloor,             // a ceiling down to its sector's floor
  OwnFloorPlus8,
  ShortestLowerTexture, // by the height of the shortest lower texture around
  ShortestUpperTexture,
  ByAmount,             // by `amount` units in the move's direction
};

enum class LightTarget { Level, BrightestNeighbour, DimmestNeighbour, Blink };

struct LineSpecial {
  int type = 0;
  SpecialKind kind = SpecialKind::Effect;
  Activation activation = Activation::Walk;
  bool repeatable = false;
  bool monsters = false;      // monsters set it off too
  bool monstersOnly = false;
  int speed = 0;              // eighths of a unit per tic
  int waitTics = 0;           // doors and lifts: how long they stay before returning
  // Doors
  DoorKind door = DoorKind::OpenWaitClose;
  KeyLock key = KeyLock::None;
  // Floors, ceilings, lifts, stairs
  HeightTarget target = HeightTarget::LowestFloor;
  int direction = 0;          // +1 up, -1 down (floors, ceilings, stairs)
  int amount = 0;             // ByAmount; stairs: the step
  bool crush = false;
  bool changesTexture = false;  // DOOM also changes the flat (not carried over)
  bool ignoreTexture = false;   // stairs that go on across other flats
  // Lights
  LightTarget light = LightTarget::Level;
  int lightLevel = 0;
  // Exits
  bool secret = false;
};

// The meaning of `type`, or nothing when DOOM gives it none.
std::optional<LineSpecial> DecodeLineSpecial(int type);

// The category's name for reports ("door", "floor", ...).
const char* CategoryName(SpecialKind kind);

// The activation's letters as DOOM's editors write them (W1, WR, S1, SR, G1, GR, D1, DR).
const char* ActivationName(const LineSpecial& special);

}  // namespace zaro3
