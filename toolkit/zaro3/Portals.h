// Portals: visportal brushes in doors, doorways and narrow openings, so DOOM 3's renderer culls by areas.
//
// Every opening between two sectors (a PortalSite) may carry a visportal: a
// thin brush on one side of the run from the higher floor to the lower ceiling,
// so its face on the run seals the opening exactly; that face is DOOM 3's
// editor/visportal, the others draw nothing and are not solid. A door between
// two sectors gets one across its middle (DoorPortal), so that the door straddles
// it, or a bent one along the middle of a strip bent round a corner or a closet; a
// door no such cut seals (in a niche of a wall, blocked) gets one on its only
// opening to a neighbour, on the door's side: a func_door closes the first portal its bounds touch, so no other
// portal comes within a unit of any func_door's bounds (crushers too), none
// comes near any other mover, and none crosses a visible brush entity (a grate);
// triggers draw nothing and may be crossed. Which other openings carry one is a
// graph cut (AreaSplit): openings that narrow the way first, then, in areas that
// still hold much of a large level, wide ones. Not checked here: that the world
// really seals each opening (the brush stages own that; the map compiler ignores
// a portal that divides nothing). The result is worldspawn prisms in DOOM units;
// the inputs are borrowed.
#pragma once

#include <vector>

#include "Level.h"
#include "MapModel.h"
#include "MaterialCatalog.h"
#include "MoverPlan.h"
#include "Pieces.h"
#include "PortalSites.h"

namespace zaro3 {

// DOOM 3's own material for the face across the opening (its editor materials define it).
inline const char* const kVisportalMaterial = "editor/visportal";
// The portal brush's other faces.
inline const char* const kPortalSideMaterial = kNoDrawMaterial;

struct PortalReport {
  int portals = 0;
  int doors = 0;            // door sectors
  int doorsWithPortal = 0;  // of those, doors that close a portal
  int doorsHidingNothing = 0;  // of the others, pillars that open, with one sector all round
  int doorsUnsealable = 0;     // of the others, doors no portal seals (too thin, bent at odd angles)
  int areas = 0;            // as the cut plans them
  double largestShare = 0;  // of the level's drawn faces, in the largest planned area (an estimate)
};

// `sites`: FindPortalSites of the level and plan; `entities`: the whole model so far
// (worldspawn first), for the brush entities' bounds.
std::vector<Prism> BuildPortals(const wad::Level& level, const std::vector<Piece>& pieces, const MoverPlan& plan,
                                const std::vector<PortalSite>& sites, const std::vector<MapEntity>& entities,
                                const Scale& scale, PortalReport& report);

}  // namespace zaro3
