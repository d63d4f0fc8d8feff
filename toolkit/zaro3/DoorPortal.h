// DoorPortal: the visportal brush across the middle of a door, so that the door straddles it.
//
// DOOM 3 draws an entity in the areas its bounds reach: a door whose portal lay
// on the door's edge would sit wholly in the area beyond and, shut, vanish from
// the near side. So a door's portal crosses the door's sector part way through,
// parallel to the run the door opens onto (a PortalSite of the door), from the
// door's floor to its open top: as near the middle as the door's shape allows
// a cut that meets its outline at exactly two walls (an L-shaped or notched door
// is cut in the arm the run opens into). Elsewhere there is no such brush. A
// door sector in separate parts (one DOOM door opening two passages) gets a cut
// in each part. A part no straight cut seals, bent round a corner or a closet (its
// runs to one side in a chain, walls at both ends), may take a bent cut: one brush
// per arm at the arm's middle, neighbours meeting at a mitre, each with one visportal
// face (the map compiler reads one visportal face per brush). Values in, prisms out;
// nothing is kept.
#pragma once

#include <vector>

#include "BrushBounds.h"
#include "IntLine.h"
#include "Level.h"
#include "MapModel.h"
#include "MoverPlan.h"
#include "PortalSites.h"

namespace zaro3 {

struct DoorCut {
  Prism slab;
  Box3 face;          // the box around the visportal face
  geo::IntLine line;  // the face's line: the run's half of the door on its right, the other on its left
};

// The lines between a door's sector and the rest, in one group per separate part of the
// sector (lines that meet end to end).
struct DoorOutline {
  std::vector<std::vector<int>> parts;
};

DoorOutline DoorOutlineOf(const wad::Level& level, int door);

// Whether the site's run lies along the lines of the outline's part `part`.
bool RunsAlong(const wad::Level& level, const DoorOutline& outline, std::size_t part, const PortalSite& site);

// The cut across part `part` of the door parallel to `site`, or false. `door` is the door's sector.
bool DoorMiddlePortal(const wad::Level& level, const MoverPlan& plan, int door, const DoorOutline& outline,
                      std::size_t part, const PortalSite& site, DoorCut& cut);

// The bent cut of part `part` of the door along `outer`, the part's runs to one side, which
// must follow each other end to end from a wall to a wall; `inner`, the part's runs to the
// other side, give each arm its depth (the nearest one parallel to it). One cut per arm, in
// order, or false.
bool DoorBentPortal(const wad::Level& level, const MoverPlan& plan, int door, const DoorOutline& outline,
                    std::size_t part, const std::vector<PortalSite>& outer, const std::vector<PortalSite>& inner,
                    std::vector<DoorCut>& cuts);

}  // namespace zaro3
