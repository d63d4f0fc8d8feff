#include "SectorHeights.h"

#include <algorithm>
#include <limits>

namespace zaro3 {

namespace {

// DOOM starts its search for the highest neighbouring floor here.
constexpr int64_t kHighestFloorStart = -500;

}  // namespace

SectorHeights::SectorHeights(const wad::Level& level, TextureHeight textureHeight)
    : m_level(level), m_textureHeight(std::move(textureHeight)), m_lines(level.sectors.size()) {
  for (std::size_t l = 0; l < level.linedefs.size(); ++l) {
    const wad::Linedef& line = level.linedefs[l];
    const int front = line.front >= 0 ? level.sidedefs[line.front].sector : -1;
    const int back = line.back >= 0 ? level.sidedefs[line.back].sector : -1;
    if (front >= 0) m_lines[front].push_back(static_cast<int>(l));
    if (back >= 0 && back != front) m_lines[back].push_back(static_cast<int>(l));
  }
}

int SectorHeights::Across(int line, int sector) const {
  const wad::Linedef& l = m_level.linedefs[line];
  if (!(l.flags & wad::kLineTwoSided) || l.front < 0 || l.back < 0) return -1;
  const int front = m_level.sidedefs[l.front].sector;
  const int back = m_level.sidedefs[l.back].sector;
  return front == sector ? back : front;
}

int64_t SectorHeights::LowestFloor(int sector) const {
  int64_t lowest = m_level.sectors[sector].floorHeight;
  for (int line : m_lines[sector]) {
    const int other = Across(line, sector);
    if (other >= 0) lowest = std::min<int64_t>(lowest, m_level.sectors[other].floorHeight);
  }
  return lowest;
}

int64_t SectorHeights::HighestFloor(int sector) const {
  int64_t highest = kHighestFloorStart;
  for (int line : m_lines[sector]) {
    const int other = Across(line, sector);
    if (other >= 0) highest = std::max<int64_t>(highest, m_level.sectors[other].floorHeight);
  }
  return highest;
}

std::optional<int64_t> SectorHeights::HighestNeighbourFloor(int sector) const {
  std::optional<int64_t> highest;
  for (int line : m_lines[sector]) {
    const int other = Across(line, sector);
    if (other >= 0 && (!highest || m_level.sectors[other].floorHeight > *highest)) {
      highest = m_level.sectors[other].floorHeight;
    }
  }
  return highest;
}

std::optional<int64_t> SectorHeights::NextFloor(int sector, int64_t height, int direction) const {
  std::optional<int64_t> next;
  for (int line : m_lines[sector]) {
    const int other = Across(line, sector);
    if (other < 0) continue;
    const int64_t h = m_level.sectors[other].floorHeight;
    if (direction > 0 ? h > height && (!next || h < *next) : h < height && (!next || h > *next)) next = h;
  }
  return next;
}

std::optional<int64_t> SectorHeights::LowestCeiling(int sector) const {
  std::optional<int64_t> lowest;
  for (int line : m_lines[sector]) {
    const int other = Across(line, sector);
    if (other >= 0 && (!lowest || m_level.sectors[other].ceilingHeight < *lowest)) {
      lowest = m_level.sectors[other].ceilingHeight;
    }
  }
  return lowest;
}

std::optional<int64_t> SectorHeights::HighestCeiling(int sector) const {
  std::optional<int64_t> highest;
  for (int line : m_lines[sector]) {
    const int other = Across(line, sector);
    if (other >= 0 && (!highest || m_level.sectors[other].ceilingHeight > *highest)) {
      highest = m_level.sectors[other].ceilingHeight;
    }
  }
  return highest;
}

std::optional<int64_t> SectorHeights::NextCeiling(int sector, int64_t height, int direction) const {
  std::optional<int64_t> next;
  for (int line : m_lines[sector]) {
    const int other = Across(line, sector);
    if (other < 0) continue;
    const int64_t h = m_level.sectors[other].ceilingHeight;
    if (direction > 0 ? h > height && (!next || h < *next) : h < height && (!next || h > *next)) next = h;
  }
  return next;
}

std::optional<int> SectorHeights::ShortestTexture(int sector, bool lower) const {
  std::optional<int> shortest;
  for (int line : m_lines[sector]) {
    const wad::Linedef& l = m_level.linedefs[line];
    if (!(l.flags & wad::kLineTwoSided)) continue;
    for (int side : {l.front, l.back}) {
      if (side < 0) continue;
      const std::string& name = lower ? m_level.sidedefs[side].lower : m_level.sidedefs[side].upper;
      if (name.empty() || name == "-") continue;
      const int height = m_textureHeight ? m_textureHeight(name) : 0;
      if (height > 0 && (!shortest || height < *shortest)) shortest = height;
    }
  }
  return shortest;
}

std::optional<int64_t> SectorHeights::Destination(int sector, const LineSpecial& special, bool floor) const {
  const wad::Sector& s = m_level.sectors[sector];
  const int64_t start = floor ? s.floorHeight : s.ceilingHeight;
  switch (special.target) {
    case HeightTarget::LowestFloor: return LowestFloor(sector);
    case HeightTarget::HighestFloor:
      if (floor) return HighestFloor(sector);
      // A ceiling never goes below its own floor.
      return std::max<int64_t>(HighestNeighbourFloor(sector).value_or(s.floorHeight), s.floorHeight);
    case HeightTarget::HighestFloorPlus8: {
      const int64_t highest = HighestFloor(sector);
      // DOOM adds the 8 only when the floor actually moves.
      return highest != s.floorHeight ? highest + 8 : highest;
    }
    case HeightTarget::NextFloor: return NextFloor(sector, start, special.direction);
    case HeightTarget::LowestCeiling: {
      const std::optional<int64_t> lowest = LowestCeiling(sector);
      if (!floor) return lowest;
      // A floor never rises above its own ceiling.
      return std::min<int64_t>(lowest.value_or(s.ceilingHeight), s.ceilingHeight);
    }
    case HeightTarget::LowestCeilingMinus8:
      return std::min<int64_t>(LowestCeiling(sector).value_or(s.ceilingHeight), s.ceilingHeight) - 8;
    case HeightTarget::HighestCeiling: return HighestCeiling(sector);
    case HeightTarget::NextCeiling: return NextCeiling(sector, start, special.direction);
    case HeightTarget::OwnCeiling: return s.ceilingHeight;
    case HeightTarget::OwnFloor: return s.floorHeight;
    case HeightTarget::OwnFloorPlus8: return s.floorHeight + 8;
    case HeightTarget::ShortestLowerTexture:
    case HeightTarget::ShortestUpperTexture: {
      const std::optional<int> by = ShortestTexture(sector, special.target == HeightTarget::ShortestLowerTexture);
      if (!by) return std::nullopt;
      return start + special.direction * *by;
    }
    case HeightTarget::ByAmount: return start + special.direction * special.amount;
  }
  return std::nullopt;
}

int SectorHeights::BrightestNeighbourLight(int sector) const {
  int brightest = -1;
  for (int line : m_lines[sector]) {
    const int other = Across(line, sector);
    if (other >= 0) brightest = std::max<int>(brightest, m_level.sectors[other].light);
  }
  return brightest < 0 ? m_level.sectors[sector].light : brightest;
}

int SectorHeights::DimmestNeighbourLight(int sector) const {
  int dimmest = m_level.sectors[sector].light;
  for (int line : m_lines[sector]) {
    const int other = Across(line, sector);
    if (other >= 0) dimmest = std::min<int>(dimmest, m_level.sectors[other].light);
  }
  return dimmest;
}

}  // namespace zaro3
