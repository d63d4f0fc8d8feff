#include "PortalSites.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include "IntLine.h"
#include "LineCells.h"

namespace zaro3 {

namespace {

// A wall going on beyond a run's end is at most this far off the run's direction (cosine).
constexpr double kAlongCosine = 0.85;
// A run narrows the way when a sector beside it is this many times as wide along it.
constexpr double kWiderBeside = 1.6;

// Each sector's vertices (with repeats), for its width along a direction.
std::vector<std::vector<int>> SectorVertices(const wad::Level& level) {
  std::vector<std::vector<int>> vertices(level.sectors.size());
  for (const wad::Linedef& line : level.linedefs) {
    for (const int side : {line.front, line.back}) {
      if (side < 0) continue;
      vertices[level.sidedefs[side].sector].push_back(line.v1);
      vertices[level.sidedefs[side].sector].push_back(line.v2);
    }
  }
  return vertices;
}

// How far a run's middle looks into either side.
constexpr double kDepthLook = 256;

double WidthAlong(const wad::Level& level, const std::vector<int>& vertices, double dx, double dy) {
  double lo = 0, hi = 0;
  bool first = true;
  for (const int v : vertices) {
    const double t = level.vertices[v].x * dx + level.vertices[v].y * dy;
    lo = first ? t : std::min(lo, t);
    hi = first ? t : std::max(hi, t);
    first = false;
  }
  return hi - lo;
}

// Whether air meets air across the line in the world (doors open).
bool Open(const wad::Level& level, const MoverPlan& plan, const wad::Linedef& line) {
  if (line.front < 0 || line.back < 0) return false;
  const int front = level.sidedefs[line.front].sector, back = level.sidedefs[line.back].sector;
  return std::min(plan.ceiling[front], plan.ceiling[back]) > std::max(plan.floor[front], plan.floor[back]);
}

// The walls at each vertex (lines with no air across them), as the vertex at their other end.
std::vector<std::vector<int>> WallsAt(const wad::Level& level, const MoverPlan& plan) {
  std::vector<std::vector<int>> walls(level.vertices.size());
  for (const wad::Linedef& line : level.linedefs) {
    if (Open(level, plan, line)) continue;
    walls[line.v1].push_back(line.v2);
    walls[line.v2].push_back(line.v1);
  }
  return walls;
}

// Whether a wall leaves vertex `at` in about the direction `away`.
bool WallGoesOn(const wad::Level& level, const std::vector<std::vector<int>>& walls, int at, double awayX,
                double awayY) {
  const wad::Vertex& v = level.vertices[at];
  for (const int other : walls[at]) {
    const double dx = level.vertices[other].x - v.x, dy = level.vertices[other].y - v.y;
    const double lengths = std::hypot(dx, dy) * std::hypot(awayX, awayY);
    if (lengths > 0 && (dx * awayX + dy * awayY) >= kAlongCosine * lengths) return true;
  }
  return false;
}

struct Piece {
  int64_t start = 0, end = 0;  // positions along the carrier's direction
  int v1 = 0, v2 = 0;          // vertices at start and end
  int linedef = -1;
};

}  // namespace

std::vector<PortalSite> FindPortalSites(const wad::Level& level, const MoverPlan& plan) {
  // Lines grouped by (front sector, back sector, oriented carrier).
  std::map<std::tuple<int, int, int64_t, int64_t, int64_t>, std::vector<Piece>> runs;
  for (std::size_t l = 0; l < level.linedefs.size(); ++l) {
    const wad::Linedef& line = level.linedefs[l];
    if (line.front < 0 || line.back < 0) continue;
    int front = level.sidedefs[line.front].sector;
    int back = level.sidedefs[line.back].sector;
    if (front == back || !Open(level, plan, line)) continue;
    // Lines drawn either way along one carrier join: each is taken in the carrier's own direction.
    int v1 = line.v1, v2 = line.v2;
    geo::IntLine carrier = geo::IntLine::Through({level.vertices[v1].x, level.vertices[v1].y},
                                                 {level.vertices[v2].x, level.vertices[v2].y});
    if (carrier != carrier.Canonical()) {
      std::swap(v1, v2);
      std::swap(front, back);
      carrier = carrier.Canonical();
    }
    const wad::Vertex& a = level.vertices[v1];
    const wad::Vertex& b = level.vertices[v2];
    const geo::IntVec d = carrier.Direction();
    Piece piece{d.x * a.x + d.y * a.y, d.x * b.x + d.y * b.y, v1, v2, static_cast<int>(l)};
    runs[{front, back, carrier.A(), carrier.B(), carrier.C()}].push_back(piece);
  }
  const std::vector<std::vector<int>> walls = WallsAt(level, plan);
  const std::vector<std::vector<int>> sectorVertices = SectorVertices(level);
  const LineCells cells(level);
  std::vector<PortalSite> sites;
  for (auto& [key, pieces] : runs) {
    std::sort(pieces.begin(), pieces.end(), [](const Piece& p, const Piece& q) { return p.start < q.start; });
    for (std::size_t i = 0; i < pieces.size();) {
      std::size_t j = i;
      while (j + 1 < pieces.size() && pieces[j + 1].start == pieces[j].end) ++j;
      PortalSite site;
      const wad::Vertex& a = level.vertices[pieces[i].v1];
      const wad::Vertex& b = level.vertices[pieces[j].v2];
      site.from = {a.x, a.y};
      site.to = {b.x, b.y};
      site.front = std::get<0>(key);
      site.back = std::get<1>(key);
      site.low = std::max(plan.floor[site.front], plan.floor[site.back]);
      site.high = std::min(plan.ceiling[site.front], plan.ceiling[site.back]);
      site.betweenWalls = !walls[pieces[i].v1].empty() && !walls[pieces[j].v2].empty();
      const double dx = static_cast<double>(b.x - a.x), dy = static_cast<double>(b.y - a.y);
      const double length = std::hypot(dx, dy);
      const double wider = std::max(WidthAlong(level, sectorVertices[site.front], dx / length, dy / length),
                                    WidthAlong(level, sectorVertices[site.back], dx / length, dy / length));
      // The front lies right of from -> to.
      const double mx = (a.x + b.x) / 2.0, my = (a.y + b.y) / 2.0;
      site.frontRoom = cells.FreeRun(mx, my, dy / length, -dx / length, kDepthLook);
      site.backRoom = cells.FreeRun(mx, my, -dy / length, dx / length, kDepthLook);
      site.narrows = site.betweenWalls &&
                     ((WallGoesOn(level, walls, pieces[i].v1, -dx, -dy) && WallGoesOn(level, walls, pieces[j].v2, dx, dy)) ||
                      wider >= kWiderBeside * length);
      for (std::size_t k = i; k <= j; ++k) site.linedefs.push_back(pieces[k].linedef);
      sites.push_back(std::move(site));
      i = j + 1;
    }
  }
  return sites;
}

}  // namespace zaro3
