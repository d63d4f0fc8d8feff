// MoverPlan: which floors and ceilings move in the game, how each is built, and
// the heights the world geometry keeps for every sector.
//
// A mover is one moving plane (the floor or the ceiling) of one sector: a slab
// of brushes whose visible face is the plane. Every height is DOOM's, in DOOM
// units: `rest` where DOOM has the plane when the level starts, `low` and
// `high` the lowest and highest heights it takes in play, `placed` where the
// brush is written (DOOM 3's plats are written at their destination and rest
// elsewhere). The slab is as thick as the plane's travel, so whatever height
// it is at, it meets the world brush behind it: the world keeps a moving floor
// at its lowest height and a moving ceiling at its highest. The plan holds
// plain values; the specials planner fills it.
#pragma once

#include <cstdint>
#include <vector>

namespace zaro3 {

enum class Plane { Floor, Ceiling };

// How a moving plane is built from DOOM 3's stock movers.
enum class MoverBuild {
  Door,           // func_door written shut, rising when opened
  ClosingDoor,    // func_door written shut, resting open, closing when set off
  ToggleDoor,     // func_door that stays at each end until set off again
  Crusher,        // func_door in the ceiling, crushing down and back while started
  Plat,           // func_plat written at its destination, resting where DOOM has it
  Lift,           // func_plat written at the bottom, resting at the top; lowers, waits, returns
  PerpetualLift,  // func_plat going up and down while started
  Riser,          // func_riser: the same step at every activation
};

struct Mover {
  MoverBuild build = MoverBuild::Plat;
  Plane plane = Plane::Floor;
  int sector = -1;
  int64_t rest = 0;
  int64_t low = 0;
  int64_t high = 0;       // high > low
  int64_t placed = 0;
  int speed = 0;          // eighths of a unit per tic
  int waitTics = -1;      // how long it stays before returning; -1: it stays
  bool touchable = false; // a door that opens when walked into (players and monsters)
  int riserStep = 0;      // Riser: units per activation
  std::vector<int> lines; // the lines that set it off, in line order

  int64_t Thickness() const { return high - low; }
  // The slab where it is written: a floor's top or a ceiling's bottom is the plane.
  int64_t SlabLow() const { return plane == Plane::Floor ? placed - Thickness() : placed; }
  int64_t SlabHigh() const { return SlabLow() + Thickness(); }
  // How far the brush moves from where it is written to where it rests.
  int64_t RestShift() const { return rest - placed; }
  bool IsDoorEntity() const { return build == MoverBuild::Door || build == MoverBuild::ClosingDoor ||
                                     build == MoverBuild::ToggleDoor || build == MoverBuild::Crusher; }
};

struct MoverPlan {
  std::vector<int64_t> floor;    // per sector: the world floor brush's top
  std::vector<int64_t> ceiling;  // per sector: the world ceiling brush's bottom
  std::vector<int> floorMover;   // per sector: index into movers, or -1
  std::vector<int> ceilingMover;
  std::vector<Mover> movers;

  // Whether some part of `sector` (its floor or its ceiling) moves in the game.
  bool Moves(int sector) const { return floorMover[sector] >= 0 || ceilingMover[sector] >= 0; }
  bool FloorMoves(int sector) const { return floorMover[sector] >= 0; }
  bool CeilingMoves(int sector) const { return ceilingMover[sector] >= 0; }
  // Whether `sector` is a door: a func_door that closes the first visportal its bounds touch while shut.
  bool IsDoor(int sector) const {
    const int m = ceilingMover[sector];
    return m >= 0 && movers[m].build != MoverBuild::Crusher && movers[m].IsDoorEntity();
  }
};

// The plan with nothing moving: every sector keeps its own heights (ceilings
// below floors clamped to the floor).
MoverPlan StaticPlan(const std::vector<int64_t>& floors, const std::vector<int64_t>& ceilings);

}  // namespace zaro3
