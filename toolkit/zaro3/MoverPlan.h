// MoverPlan: which sectors move (DOOM doors and lifts) and the heights the
// world geometry keeps for every sector.
//
// A door is a sector whose ceiling a door special raises: the manual door
// specials act on the back sector of their line, the remote ones on the
// sectors tagged like the line. It opens to its lowest neighbouring ceiling
// minus 4, as DOOM does; a sector already open (nothing to raise) stays
// static. A lift is a tagged sector of a lift special that lowers to its
// lowest neighbouring floor. The world keeps a door's ceiling at the open
// height and a lift's floor at its low height; the moving slab fills the rest.
// Without movers every height is the sector's own (ceilings below floors are
// clamped to the floor). The plan holds plain values; it owns nothing else.
#pragma once

#include <cstdint>
#include <vector>

#include "Level.h"

namespace zaro3 {

enum class MoverKind { Door, Lift };

struct Mover {
  MoverKind kind = MoverKind::Door;
  int sector = -1;
  int64_t low = 0;      // the slab's bottom
  int64_t high = 0;     // the slab's top (high > low)
  bool remote = false;  // opened by trigger lines, not by touching it
  bool fast = false;    // DOOM's blazing doors
  bool stayOpen = false;
};

// A line that sets movers going: one trigger per line, naming each mover.
struct MoverTrigger {
  int linedef = -1;
  std::vector<int> movers;  // indices into MoverPlan::movers
};

struct MoverPlan {
  std::vector<int64_t> floor;    // per sector: the world floor brush's top
  std::vector<int64_t> ceiling;  // per sector: the world ceiling brush's bottom
  std::vector<int> moverOfSector;  // per sector: index into movers, or -1
  std::vector<Mover> movers;
  std::vector<MoverTrigger> triggers;

  // Whether some part of `sector` (its floor or its ceiling) moves in the game.
  bool Moves(int sector) const { return moverOfSector[sector] >= 0; }
  bool FloorMoves(int sector) const { return Moves(sector) && movers[moverOfSector[sector]].kind != MoverKind::Door; }
  // Whether `sector` is a door: a func_door that closes the first visportal its bounds touch while shut.
  bool IsDoor(int sector) const { return Moves(sector) && movers[moverOfSector[sector]].kind == MoverKind::Door; }
};

// The plan for `level`; with `withMovers` false, no movers and the plain heights.
MoverPlan PlanMovers(const wad::Level& level, bool withMovers);

bool IsManualDoorSpecial(int special);
bool IsRemoteDoorSpecial(int special);
bool IsLiftSpecial(int special);

}  // namespace zaro3
