// Image: an RGBA picture in memory, 8 bits per channel, row-major from the top row.
//
// A plain value type; it owns its pixels. Alpha 0 means transparent. Images
// never hold a palette: palette lookups happen when they are made (Compose.h).
#pragma once

#include <cstdint>
#include <stdexcept>
#include <vector>

namespace image {

// The one exception type of the image module (bad TGA data, a file that cannot be written).
class ImageError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

struct Image {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;  // width * height * 4 bytes

  Image() = default;
  Image(int w, int h) : width(w), height(h), rgba(static_cast<std::size_t>(w) * h * 4, 0) {}

  uint8_t* At(int x, int y) { return rgba.data() + (static_cast<std::size_t>(y) * width + x) * 4; }
  const uint8_t* At(int x, int y) const { return rgba.data() + (static_cast<std::size_t>(y) * width + x) * 4; }
  // Whether any pixel is not fully opaque (masked textures need alpha testing).
  bool HasTransparency() const {
    for (std::size_t i = 3; i < rgba.size(); i += 4) {
      if (rgba[i] != 255) return true;
    }
    return false;
  }
};

}  // namespace image
