// PreviewRenderer: the scene drawn from above into a picture.
//
// The picture fits the level's extent with a margin, `longSide` pixels on its
// longer side, north up. Floors are painted lowest first with their textures in
// world space (one texel per DOOM unit, i.e. per `mapScale` map units, flats
// aligned to the world grid as DOOM aligns them), darker the lower they lie;
// then door and lift footprints, wall and step lines, and the entity marks.
// Everything is drawn at a higher resolution and averaged down for clean edges.
#pragma once

#include "Picture.h"
#include "SceneSelection.h"
#include "TextureLibrary.h"

namespace mappreview {

struct RenderOptions {
  int longSide = 1600;
  double mapScale = 1.5;
};

// Draws `scene`, which must hold at least one floor or wall; textures come from `textures`.
Picture RenderPreview(const Scene& scene, TextureLibrary& textures, const RenderOptions& options);

}  // namespace mappreview
