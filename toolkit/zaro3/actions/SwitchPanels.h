// SwitchPanels: a DOOM switch that shows it has been thrown.
//
// DOOM swaps a used switch's texture for its partner (SW1... <-> SW2...) on
// the first of the front side's upper, middle and lower textures that its
// switch list names; a repeatable switch swaps back after a second. A face
// of the world cannot change its picture in DOOM 3, but an entity's material
// can, by shader parm 7. So the switch's part of the wall gets a panel: a
// func_static one unit thick on the front of the line, whose face shows the
// wall's texture (aligned like the wall, as its face runs parallel to it) and
// is marked as a switch face, so that its material shows the partner while
// parm 7 is 1. The line's trigger also fires a target_setshaderparm that sets
// parm 7; a repeatable switch fires a relay too, which sets it back after
// DOOM's second. No panel where the part's height changes in play (a moving
// floor or ceiling on either side), under sky, or on a two-sided middle.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Level.h"
#include "MapModel.h"
#include "MoverPlan.h"

namespace zaro3 {

// Whether DOOM's switch list (or the wad's own) names a texture.
using IsSwitchTexture = std::function<bool(const std::string& name)>;

// The part of `line`'s front side whose texture DOOM swaps when the line is used.
std::optional<WallPart> SwitchPart(const wad::Level& level, int line, const IsSwitchTexture& isSwitch);

struct SwitchPanel {
  std::vector<MapEntity> entities;   // the panel, then what its line's trigger sets off
  std::vector<std::string> targets;  // the names that trigger must fire
};

// The panel of switch line `line` showing `face` (the wall surface of its switch part).
// Empty when the part has no fixed height span on the front of the line.
SwitchPanel BuildSwitchPanel(const wad::Level& level, const MoverPlan& plan, int line, int special,
                             bool repeatable, const Surface& face);

}  // namespace zaro3
