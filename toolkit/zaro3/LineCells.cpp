#include "LineCells.h"

#include <algorithm>
#include <cmath>

namespace zaro3 {

int64_t LineCells::Cell(double v) { return static_cast<int64_t>(std::floor(v / kCell)); }

LineCells::LineCells(const wad::Level& level) : m_level(level), m_seen(level.linedefs.size(), 0) {
  for (std::size_t l = 0; l < level.linedefs.size(); ++l) {
    const wad::Vertex& p = level.vertices[level.linedefs[l].v1];
    const wad::Vertex& q = level.vertices[level.linedefs[l].v2];
    for (int64_t cx = Cell(std::min(p.x, q.x)); cx <= Cell(std::max(p.x, q.x)); ++cx) {
      for (int64_t cy = Cell(std::min(p.y, q.y)); cy <= Cell(std::max(p.y, q.y)); ++cy) {
        m_cells[Key(cx, cy)].push_back(static_cast<int>(l));
      }
    }
  }
}

double LineCells::FreeRun(double x, double y, double dx, double dy, double limit) const {
  const double ex = x + dx * limit, ey = y + dy * limit;
  double best = limit;
  ForEachNear(std::min(x, ex), std::min(y, ey), std::max(x, ex), std::max(y, ey), [&](int l) {
    const wad::Vertex& p = m_level.vertices[m_level.linedefs[l].v1];
    const wad::Vertex& q = m_level.vertices[m_level.linedefs[l].v2];
    const double sx = q.x - p.x, sy = q.y - p.y;
    const double denominator = dx * sy - dy * sx;
    if (denominator == 0) return;
    const double t = ((p.x - x) * sy - (p.y - y) * sx) / denominator;  // along the ray
    const double u = ((p.x - x) * dy - (p.y - y) * dx) / denominator;  // along the line
    if (t > 1e-6 && u >= 0 && u <= 1) best = std::min(best, t);
  });
  return best;
}

}  // namespace zaro3
