// EntityStyle: how an entity's class shows as a mark in the picture.
// The converter copies the thing table's `doom_kind` hint onto each thing;
// without it the class name decides (the engine's player, light and monster
// classes, our doom_* names). An unknown class is a small grey dot.
#pragma once

#include <string>

#include "Canvas.h"

namespace mappreview {

struct MarkStyle {
  enum Shape { Arrow, Dot } shape = Dot;
  Rgb colour;
  double size = 1;  // relative to the picture's mark unit
  double alpha = 1;
  bool outlined = true;
};

enum class EntityKind { PlayerStart, OtherStart, Monster, Light, Key, Weapon, Health, Armor, Ammo, Powerup, Other };

// The kind from a lower-case class name and its `doom_kind` value (may be empty).
EntityKind KindOf(const std::string& classname, const std::string& doomKind);
MarkStyle StyleOf(EntityKind kind);

}  // namespace mappreview
