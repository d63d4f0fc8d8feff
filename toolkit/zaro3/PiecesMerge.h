// PiecesMerge: joins neighbouring cells of one sector (or of the void) into
// larger convex pieces and turns them into the published Piece values.
//
// Two pieces merge across an edge they share exactly (same two end points)
// when neither side of it lies on a linedef, both carry the same label, and
// the union stays convex at both ends of the edge; where the union continues
// straight, the two collinear edges become one and must carry the same
// linedef side (or none), or sides that look alike and that `join` lets share
// a face. All tests are on integer directions, hence exact.
// Greedy, largest piece first: each piece absorbs neighbours until none fits.
//
// A layer merge (floors, or ceilings) joins more: cells whose sectors share a
// group, across the linedefs between them, and two collinear edges run on as
// one where the layer's face on both is hidden. Void cells take no part.
#pragma once

#include <functional>
#include <vector>

#include "PiecesEdges.h"

namespace zaro3 {

// Merged pieces; `merge` false gives the cells one piece each.
std::vector<Piece> MergePieces(const wad::Level& level, const std::vector<LabelledCell>& cells, bool merge,
                               const FacesJoin& join = {});

struct LayerRule {
  std::vector<int> groupOfSector;  // sectors of one group merge freely
  // Whether a brush of `sector`'s group shows nothing on this linedef side (the side facing it).
  std::function<bool(int sector, int linedef, int side)> hidden;
  FacesJoin facesJoin;  // as for MergePieces
};

// Pieces of the layer; each carries one sector of its group.
std::vector<Piece> MergeLayer(const wad::Level& level, const std::vector<LabelledCell>& cells, const LayerRule& rule);

}  // namespace zaro3
