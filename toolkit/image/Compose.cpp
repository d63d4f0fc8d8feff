#include "Compose.h"

#include <algorithm>

#include "Namespaces.h"

namespace image {

namespace {
void PutColour(uint8_t* dst, const wad::Rgb& colour) {
  dst[0] = colour.r;
  dst[1] = colour.g;
  dst[2] = colour.b;
  dst[3] = 255;
}
}  // namespace

Image PictureToImage(const wad::Picture& picture, const wad::Palette& palette) {
  Image img(picture.width, picture.height);
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      if (picture.Covered(x, y)) PutColour(img.At(x, y), palette[picture.Index(x, y)]);
    }
  }
  return img;
}

Image FlatToImage(std::string_view flat, const wad::Palette& palette) {
  if (flat.size() != wad::kFlatBytes) throw ImageError("a flat must be 4096 bytes, not " + std::to_string(flat.size()));
  Image img(wad::kFlatSide, wad::kFlatSide);
  for (std::size_t i = 0; i < flat.size(); ++i) PutColour(img.rgba.data() + i * 4, palette[static_cast<uint8_t>(flat[i])]);
  return img;
}

Image ComposeTexture(int width, int height, const std::vector<PlacedPatch>& patches, const wad::Palette& palette) {
  Image img(width, height);
  for (const PlacedPatch& placed : patches) {
    const wad::Picture& patch = *placed.picture;
    const int x0 = std::max(0, placed.originX);
    const int x1 = std::min(width, placed.originX + patch.width);
    const int y0 = std::max(0, placed.originY);
    const int y1 = std::min(height, placed.originY + patch.height);
    for (int y = y0; y < y1; ++y) {
      const int py = y - placed.originY;
      for (int x = x0; x < x1; ++x) {
        const int px = x - placed.originX;
        if (patch.Covered(px, py)) PutColour(img.At(x, y), palette[patch.Index(px, py)]);
      }
    }
  }
  return img;
}

}  // namespace image
