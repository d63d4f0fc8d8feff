// LineCells: the level's lines bucketed in square cells, to find the lines near a box fast.
//
// Each line is listed in every cell its box covers. ForEachNear visits each line
// whose cell meets the box once (a line's own box may still miss the query box:
// callers test the geometry). FreeRun measures how far a ray goes before a line.
// The cells borrow the level, which must outlive them.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "Level.h"

namespace zaro3 {

class LineCells {
public:
  explicit LineCells(const wad::Level& level);

  template <typename Visit>
  void ForEachNear(double x0, double y0, double x1, double y1, Visit visit) const {
    ++m_stamp;
    for (int64_t cx = Cell(x0); cx <= Cell(x1); ++cx) {
      for (int64_t cy = Cell(y0); cy <= Cell(y1); ++cy) {
        const auto found = m_cells.find(Key(cx, cy));
        if (found == m_cells.end()) continue;
        for (const int l : found->second) {
          if (m_seen[l] == m_stamp) continue;
          m_seen[l] = m_stamp;
          visit(l);
        }
      }
    }
  }

  // How far the ray from (x, y) along the unit (dx, dy) runs before it meets a line, up to `limit`.
  double FreeRun(double x, double y, double dx, double dy, double limit) const;

private:
  static constexpr double kCell = 128;
  static int64_t Cell(double v);
  static int64_t Key(int64_t cx, int64_t cy) { return (cx << 32) ^ (cy & 0xFFFFFFFF); }

  const wad::Level& m_level;
  std::unordered_map<int64_t, std::vector<int>> m_cells;
  mutable std::vector<uint32_t> m_seen;  // per line: the last visit that listed it
  mutable uint32_t m_stamp = 0;
};

}  // namespace zaro3
