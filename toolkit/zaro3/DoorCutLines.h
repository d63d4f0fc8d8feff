// DoorCutLines: what the door's cuts read of the lines round a door, and the brush they make,
// shared by the straight cut (DoorPortal.cpp) and the bent one (DoorBentPortal.cpp).
#pragma once

#include <cstdint>

#include "ConvexPolygon.h"
#include "DoorPortal.h"
#include "IntLine.h"
#include "Level.h"
#include "MoverPlan.h"
#include "PortalSites.h"

namespace zaro3::doorcut {

// Whether a line is a wall: one-sided, or with no air across it.
bool IsWall(const wad::Level& level, const MoverPlan& plan, int linedef);

inline geo::IntVec Plus(geo::IntVec p, geo::IntVec d, int64_t k) { return {p.x + d.x * k, p.y + d.y * k}; }

inline geo::IntVec At(const wad::Level& level, int vertex) {
  return {level.vertices[vertex].x, level.vertices[vertex].y};
}

// The run's ends walked with the door on its left (the front lies right of from -> to).
void RunWithDoorOnLeft(const PortalSite& site, int door, geo::IntVec& a, geo::IntVec& b);

// The line with the door on its left.
geo::IntLine DoorSideLine(const wad::Level& level, int door, int linedef);

// The cut's brush: the polygon from zLow to zHigh, its edge on `faceLine` the visportal face,
// the other faces drawing nothing; false without such an edge or height.
bool CutSlab(const geo::ConvexPolygon& polygon, const geo::IntLine& faceLine, int64_t zLow, int64_t zHigh,
             DoorCut& cut);

}  // namespace zaro3::doorcut
