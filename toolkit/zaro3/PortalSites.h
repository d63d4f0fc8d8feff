// PortalSites: the openings between sectors where a visportal could stand, one per straight run.
//
// An opening is a two-sided line between two different sectors with room between
// the world's floors and ceilings there. DOOM levels often split one doorway into
// several lines; lines on one carrier, end to end, between the same two sectors
// (the same one in front) make one site, so that one portal face covers the whole
// run and a door has a single portal on that side. A run between walls narrows
// the way where the walls go on beyond both of its ends along it (a doorway in a
// wall, a corridor's mouth in a room's wall), or where a sector on either side
// reaches well beyond it along its direction (a cave's neck); a line across a
// room, a corridor or a staircase does not. Values only.
#pragma once

#include <vector>

#include "Level.h"
#include "MapModel.h"
#include "MoverPlan.h"

namespace zaro3 {

struct PortalSite {
  IntPoint from, to;          // the run's ends; the front sector lies right of from -> to
  int front = -1, back = -1;  // sectors
  int64_t low = 0, high = 0;  // the opening between the world's floors and ceilings
  bool betweenWalls = false;  // a wall (one-sided line) ends at both ends
  bool narrows = false;       // narrower than the space on one side: a doorway, a window, a mouth
  double frontRoom = 0;       // how far the front sector reaches across the run from its middle (up to 256)
  double backRoom = 0;        // and the back sector
  std::vector<int> linedefs;
};

std::vector<PortalSite> FindPortalSites(const wad::Level& level, const MoverPlan& plan);

}  // namespace zaro3
