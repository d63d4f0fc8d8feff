// Point location by a ray towards +x: the first linedef it meets decides, by
// the side of that linedef facing the point. Linedefs are binned in horizontal
// bands so a query reads only the lines that span its height.
//
// A line with one sector on both sides (round a floor sunk or raised with no wall
// drawn, or a walk-over trigger) bounds nothing for the ray; the game puts a point
// in such a sector only where its node tree says so. Without usable nodes the
// first line met decides.
#include <algorithm>
#include <cmath>
#include <limits>

#include "Pieces.h"
#include "PiecesEdges.h"

namespace zaro3 {

namespace {
// Band height in DOOM units: small enough that a band holds few lines, large
// enough that long lines are not copied into many bands.
constexpr int kBandHeight = 64;
}  // namespace

struct SectorLocator::Grid {
  int64_t y0 = 0;
  std::vector<std::vector<int>> bands;  // linedef indices per band
  std::vector<bool> selfReferencing;    // per sector: has a line with it on both sides
  std::vector<bool> sameBothSides;      // per linedef
};

namespace {

int SectorOfSubsector(const wad::Level& level, int subsector) {
  const wad::Subsector& sub = level.subsectors[static_cast<std::size_t>(subsector)];
  if (sub.segCount <= 0) return -1;
  const wad::Seg& seg = level.segs[static_cast<std::size_t>(sub.firstSeg)];
  return FacingSector(level, seg.linedef, seg.side);
}

// The sector of the subsector the game's node tree puts (x, y) in: the one of its first seg.
int SectorByNodes(const wad::Level& level, double x, double y) {
  if (level.nodes.empty()) return level.subsectors.size() == 1 ? SectorOfSubsector(level, 0) : -1;
  int node = static_cast<int>(level.nodes.size()) - 1;
  for (std::size_t depth = 0; depth <= level.nodes.size(); ++depth) {
    const wad::Node& n = level.nodes[static_cast<std::size_t>(node)];
    // The game's side test: the front (child 0) only strictly right of the partition.
    const int c = (y - n.y) * n.dx < n.dy * (x - n.x) ? 0 : 1;
    if (n.isLeaf[c]) return SectorOfSubsector(level, n.child[c]);
    node = n.child[c];
  }
  return -1;
}

}  // namespace

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
  m_grid->selfReferencing.assign(level.sectors.size(), false);
  m_grid->sameBothSides.assign(level.linedefs.size(), false);
  if (!level.nodesUsable) return;
  for (std::size_t i = 0; i < level.linedefs.size(); ++i) {
    if (!SameSectorBothSides(level, static_cast<int>(i))) continue;
    m_grid->sameBothSides[i] = true;
    m_grid->selfReferencing[static_cast<std::size_t>(FacingSector(level, static_cast<int>(i), 0))] = true;
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
  bool crossesSameSided = false;  // a line with one sector on both sides lies on the ray
  for (int i : m_grid->bands[static_cast<std::size_t>(band)]) {
    const wad::Linedef& line = m_level.linedefs[i];
    const wad::Vertex& a = m_level.vertices[line.v1];
    const wad::Vertex& b = m_level.vertices[line.v2];
    const double lowY = std::min(a.y, b.y), highY = std::max(a.y, b.y);
    if (y < lowY || y >= highY) continue;  // half-open: a shared end counts once
    const double inverseSlope = (static_cast<double>(b.x) - a.x) / (static_cast<double>(b.y) - a.y);
    const double hitX = a.x + (y - a.y) * inverseSlope;
    if (m_grid->sameBothSides[static_cast<std::size_t>(i)]) {
      crossesSameSided = crossesSameSided || hitX >= x;
      continue;
    }
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
  const int sector = FacingSector(m_level, hitLine, upward ? 1 : 0);
  // A point inside such a sector's lines has one on its ray: only then can the tree differ.
  if (sector < 0 || !crossesSameSided) return sector;
  const int byNodes = SectorByNodes(m_level, x, y);
  return byNodes >= 0 && m_grid->selfReferencing[static_cast<std::size_t>(byNodes)] ? byNodes : sector;
}

}  // namespace zaro3
