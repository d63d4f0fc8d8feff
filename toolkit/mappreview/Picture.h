// Picture: an 8-bit RGBA image in memory, rows from the top, four bytes a pixel.
// A plain value; whoever holds it owns its pixels.
#pragma once

#include <cstdint>
#include <vector>

namespace mappreview {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;  // width * height * 4, row 0 at the top

  const uint8_t* At(int x, int y) const { return &rgba[(static_cast<std::size_t>(y) * width + x) * 4]; }
  uint8_t* At(int x, int y) { return &rgba[(static_cast<std::size_t>(y) * width + x) * 4]; }
};

}  // namespace mappreview
