// MoverEntities: each moving floor or ceiling of the plan as a DOOM 3 mover entity.
//
// The build decides the class and keys (see MoverPlan.h): doors, closing and
// toggling doors and crushers are func_door, floors, ceilings and lifts
// func_plat, repeated raises func_riser. Every one carries DOOM's speed and
// wait, the travel its slab makes exactly, a name (MoverName) with a "model"
// equal to it and "doom_sector". Speeds and heights stay in DOOM units; the
// map writer scales them. The slabs come from the world geometry stage.
#pragma once

#include <string>
#include <vector>

#include "MapModel.h"
#include "MoverPlan.h"

namespace zaro3 {

// door_<sector>, crusher_<sector>, ceiling_<sector>, lift_<sector> or floor_<sector>.
std::string MoverName(const Mover& mover);

// Seconds a mover needs to come back to rest after it is set off (0 when it never returns).
double MoverCycleSeconds(const Mover& mover);

// Seconds a mover needs to travel from one end to the other.
double MoverTravelSeconds(const Mover& mover);

// A speed in eighths of a unit per tic as DOOM units per second.
DoomMeasure SpeedPerSecond(int eighthsPerTic);

// Seconds as a short decimal ("4.2857", "3", "-1" for never).
std::string Seconds(double seconds);

MapEntity MoverEntity(const Mover& mover, std::vector<Prism> slabs);

}  // namespace zaro3
