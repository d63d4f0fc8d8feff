// Portals: visportal brushes in doorways and narrow openings, so DOOM 3's renderer culls by areas.
//
// Every opening between two sectors (a two-sided line with room between the
// world's floors and ceilings there) may carry a visportal: a thin brush on one
// side of the line from the higher floor to the lower ceiling, so its face on
// the line seals the opening exactly; that face is DOOM 3's editor/visportal,
// the others draw nothing and are not solid. Each door gets one on a line of
// its own sector: a func_door closes the first portal its bounds touch, so no
// other portal comes near a door's bounds, none touches any other mover's, and
// none crosses a brush entity other than its own door. Which other openings
// carry one is a graph cut (AreaSplit): doorway-like openings (short, between
// walls) are kept before wide ones, until no area holds much of the level.
// Not checked here: that the world really seals each opening (the brush stages
// own that); the map compiler ignores a portal that does not divide space.
// The result is worldspawn prisms in DOOM units; the inputs are borrowed.
#pragma once

#include <vector>

#include "Level.h"
#include "MapModel.h"
#include "MoverPlan.h"
#include "Pieces.h"
#include "PortalSites.h"

namespace zaro3 {

// DOOM 3's own material for the face across the opening (its editor materials define it).
inline const char* const kVisportalMaterial = "editor/visportal";
// The portal brush's other faces (toolkit/defs/materials/zdoom.mtr).
inline const char* const kPortalSideMaterial = "zdoom/nodraw";

struct PortalReport {
  int portals = 0;
  int doors = 0;            // door sectors
  int doorsBetween = 0;     // of those, doors between two different sectors (the others hide nothing)
  int doorsWithPortal = 0;  // of those, doors that close their portal
  int areas = 0;            // as the cut plans them
  double largestShare = 0;  // of the level's drawn faces, in the largest planned area (an estimate)
};

// `sites`: FindPortalSites of the level and plan; `entities`: the whole model so far
// (worldspawn first), for the brush entities' bounds.
std::vector<Prism> BuildPortals(const wad::Level& level, const std::vector<Piece>& pieces, const MoverPlan& plan,
                                const std::vector<PortalSite>& sites, const std::vector<MapEntity>& entities,
                                const Scale& scale, PortalReport& report);

}  // namespace zaro3
