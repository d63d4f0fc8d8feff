// Picture: the DOOM picture format (patches, sprites, menu graphics) decoded
// into a grid of palette indices with a coverage mask.
//
// Layout: width, height, left and top offsets (16-bit each), one 32-bit column
// offset per column, and per column a run of posts (top delta, length, pad
// byte, pixels, pad byte) ended by 0xFF. A top delta not above the previous
// post's is taken as relative to it, so patches taller than 255 rows work.
// A column whose offset or posts leave the lump is skipped (left uncovered)
// and counted; the rest of the picture is kept. Pixels below the declared
// height are cut off. The grid is row-major and owned by the Picture.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "WadFile.h"

namespace wad {

struct Picture {
  int width = 0;
  int height = 0;
  int leftOffset = 0;
  int topOffset = 0;
  std::vector<uint8_t> index;    // palette index per pixel, row-major
  std::vector<uint8_t> covered;  // 1 where a post draws the pixel, 0 where transparent

  bool Covered(int x, int y) const { return covered[static_cast<std::size_t>(y) * width + x] != 0; }
  uint8_t Index(int x, int y) const { return index[static_cast<std::size_t>(y) * width + x]; }
};

struct DecodedPicture {
  Picture picture;
  int badColumns = 0;  // columns whose data left the lump, left transparent
};

// Decodes a picture lump; WadError when the header cannot be a picture's
// (too short, size not positive, column table outside the lump, absurdly large).
DecodedPicture DecodePicture(std::string_view lump);

}  // namespace wad
