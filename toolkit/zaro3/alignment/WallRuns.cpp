#include "WallRuns.h"

#include <cmath>
#include <vector>

#include "DoomWallRules.h"

namespace zaro3 {

namespace {

constexpr uint16_t kPegging = wad::kLineUpperUnpegged | wad::kLineLowerUnpegged;

bool HasTexture(const std::string& name) { return !name.empty() && name != "-"; }

}  // namespace

WallRuns::WallRuns(const wad::Level& level, const MaterialCatalog& catalog)
    : m_level(level), m_catalog(catalog), m_scrolls(FindWallScrolls(level)) {}

bool WallRuns::Continuous(int linedefA, int sideA, int linedefB, int sideB) const {
  const wad::Linedef& a = m_level.linedefs[linedefA];
  const wad::Linedef& b = m_level.linedefs[linedefB];
  const int shownA = 1 - sideA, shownB = 1 - sideB;
  const int sidedefA = shownA == 0 ? a.front : a.back;
  const int sidedefB = shownB == 0 ? b.front : b.back;
  if (sidedefA < 0 || sidedefB < 0) return sidedefA == sidedefB;
  const wad::Sidedef& sa = m_level.sidedefs[sidedefA];
  const wad::Sidedef& sb = m_level.sidedefs[sidedefB];
  // The widths of the textures shown that the lists know: no other face is aligned.
  std::vector<int64_t> widths;
  for (const std::string* texture : {&sa.upper, &sa.lower, &sa.middle}) {
    const MaterialEntry* entry = HasTexture(*texture) ? m_catalog.FindTexture(*texture) : nullptr;
    if (entry) widths.push_back(entry->width);
  }
  if (widths.empty()) return true;
  if ((a.flags & kPegging) != (b.flags & kPegging) || sa.yOffset != sb.yOffset) return false;
  const auto scrollA = m_scrolls.find(sidedefA), scrollB = m_scrolls.find(sidedefB);
  const bool movesA = scrollA != m_scrolls.end(), movesB = scrollB != m_scrolls.end();
  if (movesA != movesB || (movesA && (scrollA->second.columns != scrollB->second.columns ||
                                      scrollA->second.rows != scrollB->second.rows))) {
    return false;
  }
  const int64_t columnA = std::llround(ColumnAtOrigin(m_level, linedefA, shownA) * kPhaseSteps);
  const int64_t columnB = std::llround(ColumnAtOrigin(m_level, linedefB, shownB) * kPhaseSteps);
  for (const int64_t width : widths) {
    if ((columnA - columnB) % (width * kPhaseSteps) != 0) return false;
  }
  return true;
}

}  // namespace zaro3
