#include "WallScrolls.h"

#include <iterator>

namespace zaro3 {

namespace {

constexpr int kScrollLeft = 48;
constexpr int kScrollRight = 85;
constexpr int kScrollByOffsets = 255;

}  // namespace

std::map<int, ScrollRate> FindWallScrolls(const wad::Level& level) {
  std::map<int, ScrollRate> scrolls;
  for (const wad::Linedef& line : level.linedefs) {
    if (line.front < 0) continue;
    const wad::Sidedef& side = level.sidedefs[line.front];
    ScrollRate rate;
    switch (line.special) {
      case kScrollLeft: rate.columns = 1; break;
      case kScrollRight: rate.columns = -1; break;
      case kScrollByOffsets:
        rate.columns = -side.xOffset;
        rate.rows = side.yOffset;
        break;
      default: continue;
    }
    ScrollRate& total = scrolls[line.front];
    total.columns += rate.columns;
    total.rows += rate.rows;
  }
  for (auto it = scrolls.begin(); it != scrolls.end();) {
    it = it->second.columns == 0 && it->second.rows == 0 ? scrolls.erase(it) : std::next(it);
  }
  return scrolls;
}

}  // namespace zaro3
