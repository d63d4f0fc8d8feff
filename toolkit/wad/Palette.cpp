#include "Palette.h"

namespace wad {

Palette DecodePalette(std::string_view lump) {
  if (lump.size() < 768) throw WadError("PLAYPAL is too short for a palette (" + std::to_string(lump.size()) + " bytes)");
  Palette palette;
  for (std::size_t i = 0; i < palette.size(); ++i) {
    palette[i].r = static_cast<uint8_t>(lump[i * 3]);
    palette[i].g = static_cast<uint8_t>(lump[i * 3 + 1]);
    palette[i].b = static_cast<uint8_t>(lump[i * 3 + 2]);
  }
  return palette;
}

Palette ReadPalette(const WadFile& wad) {
  const int index = wad.FindLast("PLAYPAL");
  if (index < 0) throw WadError("the wad has no palette (PLAYPAL)");
  return DecodePalette(wad.Data(index));
}

}  // namespace wad
