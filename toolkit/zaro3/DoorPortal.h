// DoorPortal: the visportal brush across the middle of a door, so that the door straddles it.
//
// DOOM 3 draws an entity in the areas its bounds reach: a door whose portal lay
// on the door's edge would sit wholly in the area beyond and, shut, vanish from
// the near side. So a door's portal crosses the door's sector half way through,
// parallel to the run the door opens onto (a PortalSite of the door), from the
// door's floor to its open top. That seals only where the door's sector is
// convex (its lines bound exactly its area) and its cross-section there runs
// from wall to wall; elsewhere there is no such brush. Values in, a prism out;
// nothing is kept.
#pragma once

#include "BrushBounds.h"
#include "IntLine.h"
#include "Level.h"
#include "MapModel.h"
#include "MoverPlan.h"
#include "Pieces.h"
#include "PortalSites.h"

namespace zaro3 {

struct DoorCut {
  Prism slab;
  Box3 face;          // the box around the visportal face
  geo::IntLine line;  // the face's line: the run's half of the door on its right, the other on its left
};

// The cut across the door parallel to `site`, or false. `door` is the door's sector,
// `area` the area of its pieces (square DOOM units).
bool DoorMiddlePortal(const wad::Level& level, const MoverPlan& plan, int door, double area, const PortalSite& site,
                      DoorCut& cut);

}  // namespace zaro3
