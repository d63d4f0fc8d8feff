// PiecesPartition: cuts a level's box into convex cells that no linedef crosses.
//
// The linedefs travel down as exact sub-segments of their own integer lines.
// A cell is final once no segment is left inside it; a segment lying on a
// splitting line is dropped there, because it now lies on the two children's
// shared boundary (edge attribution finds it again by its line). The level's
// node tree, when used, only chooses the first cuts: every leaf is then cut
// further by the linedefs' own lines, so the result is exact whatever the
// node builder rounded. Work is kept on an explicit stack, so no input can
// exhaust the call stack; nodes are checked for cycles and depth as they are
// walked. Cells are returned by value; nothing refers back to the level.
#pragma once

#include <string>
#include <vector>

#include "ConvexPolygon.h"
#include "Level.h"

namespace zaro3 {

// The linedefs' lines, one per linedef (a null line for a linedef with no length).
std::vector<geo::IntLine> LinedefLines(const wad::Level& level);

// The box around every vertex grown by `margin` (at least one unit).
geo::ConvexPolygon LevelBox(const wad::Level& level, int margin);

// Cells by the lines alone.
std::vector<geo::ConvexPolygon> PartitionDirect(const wad::Level& level, const std::vector<geo::IntLine>& lines,
                                                const geo::ConvexPolygon& box);

// Cells following the level's node tree first; false with `reason` when the
// tree cannot be walked (cells is then empty).
bool PartitionByNodes(const wad::Level& level, const std::vector<geo::IntLine>& lines,
                      const geo::ConvexPolygon& box, std::vector<geo::ConvexPolygon>& cells, std::string& reason);

}  // namespace zaro3
