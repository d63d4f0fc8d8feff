#include "Picture.h"

namespace wad {

namespace {

constexpr std::size_t kHeaderSize = 8;
// Larger than any picture a DOOM port draws; stops a crafted header from
// asking for gigabytes.
constexpr long long kMaxPixels = 16LL * 1024 * 1024;

// Draws one column into the picture; false (and nothing drawn) when the
// column's posts leave the lump.
bool DecodeColumn(std::string_view lump, std::size_t at, int x, Picture& picture) {
  struct Run {
    int top;
    std::size_t pixels;
    int length;
  };
  std::vector<Run> runs;
  int previousTop = -1;
  for (;;) {
    if (at >= lump.size()) return false;
    const int delta = static_cast<uint8_t>(lump[at]);
    if (delta == 0xFF) break;
    if (at + 3 > lump.size()) return false;
    const int length = static_cast<uint8_t>(lump[at + 1]);
    if (at + 3 + length > lump.size()) return false;
    const int top = delta <= previousTop ? previousTop + delta : delta;
    runs.push_back({top, at + 3, length});
    previousTop = top;
    at += 4 + static_cast<std::size_t>(length);
  }
  for (const Run& run : runs) {
    for (int i = 0; i < run.length; ++i) {
      const int y = run.top + i;
      if (y >= picture.height) break;
      const std::size_t pixel = static_cast<std::size_t>(y) * picture.width + x;
      picture.index[pixel] = static_cast<uint8_t>(lump[run.pixels + i]);
      picture.covered[pixel] = 1;
    }
  }
  return true;
}

}  // namespace

DecodedPicture DecodePicture(std::string_view lump) {
  if (lump.size() < kHeaderSize) throw WadError("too short for a picture");
  DecodedPicture result;
  Picture& picture = result.picture;
  picture.width = ReadI16(lump, 0);
  picture.height = ReadI16(lump, 2);
  picture.leftOffset = ReadI16(lump, 4);
  picture.topOffset = ReadI16(lump, 6);
  if (picture.width <= 0 || picture.height <= 0) throw WadError("not a picture (size not positive)");
  if (static_cast<long long>(picture.width) * picture.height > kMaxPixels) throw WadError("not a picture (too large)");
  if (kHeaderSize + 4 * static_cast<std::size_t>(picture.width) > lump.size()) {
    throw WadError("not a picture (column table does not fit)");
  }
  const std::size_t pixels = static_cast<std::size_t>(picture.width) * picture.height;
  picture.index.assign(pixels, 0);
  picture.covered.assign(pixels, 0);
  for (int x = 0; x < picture.width; ++x) {
    const uint32_t offset = ReadU32(lump, kHeaderSize + 4 * static_cast<std::size_t>(x));
    if (!DecodeColumn(lump, offset, x, picture)) ++result.badColumns;
  }
  return result;
}

}  // namespace wad
