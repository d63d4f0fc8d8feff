// DoorPortal: the visportal brush across the middle of a door, so that the door straddles it.
//
// DOOM 3 draws an entity in the areas its bounds reach: a door whose portal lay
// on the door's edge would sit wholly in the area beyond and, shut, vanish from
// the near side. So a door's portal crosses the door's sector half way through,
// parallel to the run the door opens onto (a PortalSite of the door), from the
// door's floor to its open top. That seals only where the door's part is
// convex (its lines bound exactly its area) and its cross-section there runs
// from wall to wall; elsewhere there is no such brush. A door sector in
// separate parts (one DOOM door opening two passages) gets a cut in each convex
// part. Values in, a prism out; nothing is kept.
#pragma once

#include <vector>

#include "BrushBounds.h"
#include "ConvexPolygon.h"
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

// The separate parts of the door's sector that are convex, each the polygon its lines
// enclose, every edge tagged with its line.
std::vector<geo::ConvexPolygon> ConvexDoorParts(const wad::Level& level, int door, const std::vector<Piece>& pieces);

// The cut across the door part `part` parallel to `site`, or false. `door` is the door's sector.
bool DoorMiddlePortal(const wad::Level& level, const MoverPlan& plan, int door, const geo::ConvexPolygon& part,
                      const PortalSite& site, DoorCut& cut);

}  // namespace zaro3
