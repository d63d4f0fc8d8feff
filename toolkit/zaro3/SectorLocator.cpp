// Point location by a ray towards +x: the first linedef it meets decides, by
// the side of that linedef facing the point. Linedefs are binned in horizontal
// bands so a query reads only the lines that span its height.
#include <algorithm>
#include <cmath>
#include <limits>

#include "Pieces.h"

namespace zaro3 {

namespace {
// Band height in DOOM units: small enough that a band holds few lines, large
// enough that long lines are not copied into many bands.
constexpr int kBandHeight = 64;
}  // namespace

struct SectorLocator::Grid {
  int64_t y0 = 0;
  std::vector<std::vector<int>> bands;  // linedef indices per band
};

SectorLocator::SectorLocator(const wad::Level& level) : m_level(level), m_grid(std::make_unique<Grid>()) {
  if (level.vertices.empty()) return;
  int64_t y0 = level.vertices[0].y, y1 = y0;
  for (const wad::Vertex& v : level.vertices) {
    y0 = std::min<int64_t>(y0, v.y);
    y1 = std::max<int64_t>(y1, v.y);
  }
  m_grid->y0 = y0;
  m_grid->bands.resize(static_cast<std::size_t>((y1 - y0) / kBandHeight + 1));
  for (std::size_t i = 0; i < level.linedefs.size(); ++i) {
    const wad::Vertex& a = level.vertices[level.linedefs[i].v1];
    const wad::Vertex& b = level.vertices[level.linedefs[i].v2];
    if (a.y == b.y) continue;  // a horizontal ray never crosses a horizontal line
    const int64_t first = (std::min(a.y, b.y) - y0) / kBandHeight;
    const int64_t last = (std::max(a.y, b.y) - y0) / kBandHeight;
    for (int64_t band = first; band <= last; ++band) m_grid->bands[band].push_back(static_cast<int>(i));
  }
}

SectorLocator::~SectorLocator() = default;

int SectorLocator::SectorAt(double x, double y) const {
  if (m_grid->bands.empty() || !std::isfinite(x) || !std::isfinite(y)) return -1;
  const double band = std::floor((y - static_cast<double>(m_grid->y0)) / kBandHeight);
  if (band < 0 || band >= static_cast<double>(m_grid->bands.size())) return -1;
  double nearest = std::numeric_limits<double>::infinity();
  double nearestInverseSlope = 0;
  int hitLine = -1;
  for (int i : m_grid->bands[static_cast<std::size_t>(band)]) {
    const wad::Linedef& line = m_level.linedefs[i];
    const wad::Vertex& a = m_level.vertices[line.v1];
    const wad::Vertex& b = m_level.vertices[line.v2];
    const double lowY = std::min(a.y, b.y), highY = std::max(a.y, b.y);
    if (y < lowY || y >= highY) continue;  // half-open: a shared end counts once
    const double inverseSlope = (static_cast<double>(b.x) - a.x) / (static_cast<double>(b.y) - a.y);
    const double hitX = a.x + (y - a.y) * inverseSlope;
    if (hitX < x || hitX > nearest) continue;
    // Lines meeting at a vertex on the ray tie: decide as for a ray a hair
    // higher (the half-open rule above already counts that way), where the
    // line leaning further left is met first.
    if (hitX == nearest && inverseSlope >= nearestInverseSlope) continue;
    nearest = hitX;
    nearestInverseSlope = inverseSlope;
    hitLine = i;
  }
  if (hitLine < 0) return -1;
  const wad::Linedef& line = m_level.linedefs[hitLine];
  // The point lies left (towards -x) of the crossing: an upward line shows it
  // its left (back) side, a downward one its right (front) side.
  const bool upward = m_level.vertices[line.v2].y > m_level.vertices[line.v1].y;
  const int sidedef = upward ? line.back : line.front;
  return sidedef < 0 ? -1 : m_level.sidedefs[sidedef].sector;
}

}  // namespace zaro3
