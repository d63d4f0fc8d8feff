// PiecesEdges: which linedef side each cell edge lies on, and each cell's sector.
//
// An edge is matched to the linedefs on its own line. Where an edge spans the
// end of a linedef (two collinear linedefs, or a linedef and a gap), the cell
// is cut there by the line through that end vertex perpendicular to the edge,
// so every edge ends up on at most one linedef side. Tags on the returned
// polygons' edges hold the linedef (or -1) and the side facing the polygon
// (0 front, 1 back). A cell takes the sector its linedef edges face (by vote,
// for broken data where they disagree); a line with one sector on both sides
// bounds nothing and has no vote. A cell with no voting edge is located by
// point. Overlapping duplicate linedefs are not reported here.
#pragma once

#include <vector>

#include "ConvexPolygon.h"
#include "Level.h"
#include "Pieces.h"

namespace zaro3 {

// The sector of the linedef's side `side` (0 front, 1 back), or -1 where it has none.
int FacingSector(const wad::Level& level, int linedef, int side);

// Whether a linedef has one sector on both sides: it bounds nothing (mappers run such lines
// through other sectors as walk-over triggers, or round a floor sunk with no wall drawn).
bool SameSectorBothSides(const wad::Level& level, int linedef);

// Whether two linedef sides look the same from a piece beside them: the same
// sector faces them and the sidedefs across show the same textures and sector.
bool SameAppearance(const wad::Level& level, int linedefA, int sideA, int linedefB, int sideB);

// Attributes edges (cutting cells at linedef ends) and labels every cell.
std::vector<LabelledCell> AttributeAndLabel(const wad::Level& level, const std::vector<geo::IntLine>& lines,
                                            std::vector<geo::ConvexPolygon> cells, const SectorLocator& locator);

}  // namespace zaro3
