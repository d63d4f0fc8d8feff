// PrismShapes: small prism builders and the footprint check every brush passes.
//
// FootprintIsSound checks what the map compiler needs of a prism: at least
// three sides, each of non-zero length, every turn to the left (convex,
// counter-clockwise) and no two sides on one line, using exact integer
// arithmetic. LineSlab builds the thin parallelogram along a DOOM line used
// for masked middle textures and trigger lines: integer corners only, so its
// planes stay exact. Box builds an axis-aligned prism.
#pragma once

#include "MapModel.h"

namespace zaro3 {

bool FootprintIsSound(const Prism& prism);

// A parallelogram on the line v1->v2, `thickness` units wide along the minor
// axis, towards the line's front (right) side when `towardsFront`, else its back.
// Long faces show `face`, the two ends and top and bottom `end`.
Prism LineSlab(IntPoint v1, IntPoint v2, int64_t thickness, bool towardsFront, int64_t zLow, int64_t zHigh,
               const Surface& face, const Surface& end);

// The parallelogram between the line v1->v2 moved `from` and `to` units along
// the minor axis towards its front (right) side, or its back; `from` may be
// negative, so a slab can straddle its line. Long faces show `face`, the rest `end`.
Prism OffsetSlab(IntPoint v1, IntPoint v2, int64_t from, int64_t to, bool towardsFront, int64_t zLow, int64_t zHigh,
                 const Surface& face, const Surface& end);

// How far the line v1->v2 moves away from itself, at right angles, for each unit of
// the minor-axis offset OffsetSlab uses (1 for lines along an axis, less for diagonals).
double OffsetSpread(IntPoint v1, IntPoint v2);

Prism Box(int64_t x0, int64_t y0, int64_t x1, int64_t y1, int64_t z0, int64_t z1, const Surface& surface);

}  // namespace zaro3
