// Compose: palette pictures, flats and wall textures turned into RGBA images.
//
// Wall textures are built as the DOOM renderer builds its composites: each
// patch placed at its origin within the texture (its own picture offsets play
// no part), clipped to the texture, later patches drawn over earlier ones,
// and every pixel no patch covers left transparent (alpha 0). Patches are
// looked up by the caller; a missing one is simply not in the list.
#pragma once

#include <string_view>
#include <vector>

#include "Image.h"
#include "Palette.h"
#include "Picture.h"

namespace image {

struct PlacedPatch {
  const wad::Picture* picture = nullptr;  // not owned; must outlive the call
  int originX = 0;
  int originY = 0;
};

// The picture in full colour, uncovered pixels transparent.
Image PictureToImage(const wad::Picture& picture, const wad::Palette& palette);
// A 64x64 flat (exactly wad::kFlatBytes of palette indices), fully opaque.
Image FlatToImage(std::string_view flat, const wad::Palette& palette);
// A wall texture of the given size from its patches in drawing order.
Image ComposeTexture(int width, int height, const std::vector<PlacedPatch>& patches, const wad::Palette& palette);

}  // namespace image
