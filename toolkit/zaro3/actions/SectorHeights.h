// SectorHeights: DOOM's rules for where a moving floor or ceiling stops, and
// the light levels around a sector, computed on the level as it starts.
//
// A sector's lines are kept in linedef order, as DOOM groups them, because
// DOOM's stair builder and donut pick "the first" line in that order. A
// neighbour is the sector across a line flagged two-sided. Each rule returns
// nothing where DOOM would not move; the quirks of DOOM's own code are kept
// (the highest neighbouring floor never lies below -500). The texture heights
// come from a lookup the caller gives (0: unknown texture).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Level.h"
#include "LineActions.h"

namespace zaro3 {

using TextureHeight = std::function<int(const std::string& name)>;

class SectorHeights {
public:
  SectorHeights(const wad::Level& level, TextureHeight textureHeight);

  // The sector's lines, in linedef order.
  const std::vector<int>& Lines(int sector) const { return m_lines[sector]; }
  // The sector across `line` from `sector`, or -1 (one-sided, or not flagged two-sided).
  int Across(int line, int sector) const;

  int64_t LowestFloor(int sector) const;   // own floor included
  int64_t HighestFloor(int sector) const;  // own excluded; -500 when every neighbour is lower
  std::optional<int64_t> NextFloor(int sector, int64_t height, int direction) const;
  std::optional<int64_t> LowestCeiling(int sector) const;   // own excluded
  std::optional<int64_t> HighestCeiling(int sector) const;  // own excluded
  std::optional<int64_t> NextCeiling(int sector, int64_t height, int direction) const;
  std::optional<int64_t> HighestNeighbourFloor(int sector) const;  // own excluded, no floor value
  std::optional<int> ShortestTexture(int sector, bool lower) const;

  // Where a floor (`floor` true) or ceiling of `sector` moved by `special` ends, or nothing.
  std::optional<int64_t> Destination(int sector, const LineSpecial& special, bool floor) const;

  int BrightestNeighbourLight(int sector) const;  // own level when it has no neighbour
  int DimmestNeighbourLight(int sector) const;

private:
  const wad::Level& m_level;
  TextureHeight m_textureHeight;
  std::vector<std::vector<int>> m_lines;
};

}  // namespace zaro3
