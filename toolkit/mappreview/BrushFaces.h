// BrushFaces: the face polygons of a convex brush given by its planes.
//
// Each plane's points give an outward normal in the engine's way (the normal
// of (p0 - p1) x (p2 - p1)); a face is a large square on its plane clipped by
// every other plane. Planes whose face clips away (duplicates, planes that do
// not touch the brush) give no face. A brush whose planes enclose nothing gives
// no faces at all. Faces are values; nothing refers back to the brush.
#pragma once

#include <string>
#include <vector>

#include "MapReader.h"
#include "Vec.h"

namespace mappreview {

struct BrushFace {
  Vec3 normal;                // unit, pointing out of the brush
  std::vector<Vec3> points;   // at least three, in order around the face
  std::string material;
};

// The faces of `brush`; empty when the planes enclose no volume.
std::vector<BrushFace> BuildBrushFaces(const MapBrush& brush);

}  // namespace mappreview
