// Palette: the wad's first colour table (the first 768 bytes of PLAYPAL).
//
// Only the first of PLAYPAL's palettes is read: the others are the pain and
// pickup tints, which a still image never uses. Colormaps (light levels) are
// not applied either: images keep full brightness, the engine lights them.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "WadFile.h"

namespace wad {

struct Rgb {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
};

using Palette = std::array<Rgb, 256>;

// The first palette of a PLAYPAL lump's bytes; WadError when shorter than 768 bytes.
Palette DecodePalette(std::string_view lump);
// The wad's first palette (the last PLAYPAL, as a PWAD overrides); WadError when missing or short.
Palette ReadPalette(const WadFile& wad);

}  // namespace wad
