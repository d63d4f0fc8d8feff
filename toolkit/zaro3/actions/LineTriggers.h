// LineTriggers: the volumes that set a DOOM special line off in the game.
//
// DOOM 3 has no use key and no line crossing, so each activation becomes a
// trigger volume by the line (the choice is explained in the user's guide):
//  - walk-over: a thin slab astride the line, fired by whoever DOOM lets
//    cross it (players; monsters too, or monsters only, where DOOM says so);
//  - teleport lines: DOOM teleports only who crosses from the front, so a
//    slab in front arms a slab behind, which fires and disarms; each lies a
//    little more than half the player's width away from the line, so that
//    nobody stands in both;
//  - switches and doors opened by hand: a slab in front of the line, as deep
//    as half DOOM's use range, fired by players;
//  - gun lines: a thin shootable panel (func_damagable) on the line's front.
// Keys become "requires" on the trigger: one colour as one key item name;
// any key as one trigger per colour; all keys as a chain of three. Every
// entity carries "doom_line" and "doom_special"; brush entities a name and
// a "model". Heights are the world's (MoverPlan); sizes that must fit DOOM
// 3's player are worked out at the map's scale.
#pragma once

#include <string>
#include <vector>

#include "Level.h"
#include "LineActions.h"
#include "MapModel.h"
#include "MoverPlan.h"

namespace zaro3 {

struct LineTrigger {
  int line = -1;
  LineSpecial special;
  std::vector<std::string> targets;
  double waitSeconds = -1;  // how long before it can fire again; -1: once
  double scale = 1;         // the map's scale
  bool beforePanel = false; // a switch panel stands on the line's front: a gun line's target goes before it
};

// The key item name a DOOM key of that colour gives in the game ("Blue key").
std::string KeyItemName(KeyLock colour);

// The trigger entities of one line; the first is named trigger_<line>.
std::vector<MapEntity> BuildLineTriggers(const wad::Level& level, const MoverPlan& plan, const LineTrigger& trigger);

}  // namespace zaro3
