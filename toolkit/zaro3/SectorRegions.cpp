#include "SectorRegions.h"

#include <cstdint>
#include <numeric>
#include <unordered_map>

#include "DisjointSets.h"

namespace zaro3 {

namespace {

// One side of a line as its sector sees it: the sector lies right of from -> to.
struct SideEdge {
  std::size_t line = 0;
  bool front = true;
  int sector = -1;
  int from = -1, to = -1;        // vertices
  int fromKey = -1, toKey = -1;  // their ends in the sector's loops
  int loop = -1;                 // the group of edges meeting end to end
};

// The loops' ends: one item per sector and vertex, so two sectors meeting at a vertex stay apart.
class LoopEnds {
public:
  int Key(int sector, int vertex) {
    const uint64_t key = (static_cast<uint64_t>(static_cast<uint32_t>(sector)) << 32) | static_cast<uint32_t>(vertex);
    const auto [it, added] = m_keys.emplace(key, static_cast<int>(sets.Size()));
    if (added) sets.Add();
    return it->second;
  }
  DisjointSets sets;

private:
  std::unordered_map<uint64_t, int> m_keys;
};

struct LoopShape {
  int sector = -1;
  int64_t twiceArea = 0;  // counter-clockwise positive: an outline has the sector inside, so it is negative
  bool closed = true;     // every vertex has as many edges in as out
  int anyVertex = -1;
  std::vector<std::size_t> edges;
  int region = -1;
};

std::vector<SideEdge> SideEdgesOf(const wad::Level& level) {
  std::vector<SideEdge> edges;
  const auto validSector = [&](int sidedef) {
    return sidedef >= 0 && sidedef < static_cast<int>(level.sidedefs.size()) &&
           level.sidedefs[sidedef].sector >= 0 &&
           level.sidedefs[sidedef].sector < static_cast<int>(level.sectors.size());
  };
  for (std::size_t i = 0; i < level.linedefs.size(); ++i) {
    const wad::Linedef& line = level.linedefs[i];
    if (validSector(line.front)) edges.push_back({i, true, level.sidedefs[line.front].sector, line.v1, line.v2});
    if (validSector(line.back)) edges.push_back({i, false, level.sidedefs[line.back].sector, line.v2, line.v1});
  }
  return edges;
}

// Whether `p` lies inside the loop (crossings to its right, counted exactly).
bool Inside(const wad::Level& level, const std::vector<SideEdge>& edges, const LoopShape& loop, const wad::Vertex& p) {
  bool inside = false;
  for (const std::size_t e : loop.edges) {
    const wad::Vertex& a = level.vertices[edges[e].from];
    const wad::Vertex& b = level.vertices[edges[e].to];
    if ((a.y > p.y) == (b.y > p.y)) continue;
    const int64_t t = static_cast<int64_t>(p.y - a.y) * (b.x - a.x) - static_cast<int64_t>(p.x - a.x) * (b.y - a.y);
    if (b.y > a.y ? t > 0 : t < 0) inside = !inside;
  }
  return inside;
}

}  // namespace

SectorRegions FindSectorRegions(const wad::Level& level, const std::vector<bool>& keepWhole) {
  SectorRegions regions;
  regions.ofFront.assign(level.linedefs.size(), -1);
  regions.ofBack.assign(level.linedefs.size(), -1);
  regions.sectorOf.resize(level.sectors.size());
  std::iota(regions.sectorOf.begin(), regions.sectorOf.end(), 0);
  std::vector<SideEdge> edges = SideEdgesOf(level);
  LoopEnds ends;
  for (SideEdge& e : edges) {
    e.fromKey = ends.Key(e.sector, e.from);
    e.toKey = ends.Key(e.sector, e.to);
    ends.sets.Join(e.fromKey, e.toKey);
  }

  std::vector<int> shapeOfRoot(ends.sets.Size(), -1);
  std::vector<LoopShape> shapes;
  std::vector<int> balance(ends.sets.Size(), 0);  // per end: edges out minus edges in
  for (std::size_t i = 0; i < edges.size(); ++i) {
    SideEdge& e = edges[i];
    int& shapeIndex = shapeOfRoot[ends.sets.Find(e.fromKey)];
    if (shapeIndex < 0) {
      shapeIndex = static_cast<int>(shapes.size());
      shapes.push_back({e.sector, 0, true, e.from, {}, -1});
    }
    e.loop = shapeIndex;
    LoopShape& shape = shapes[shapeIndex];
    const wad::Vertex& a = level.vertices[e.from];
    const wad::Vertex& b = level.vertices[e.to];
    shape.twiceArea += static_cast<int64_t>(a.x) * b.y - static_cast<int64_t>(b.x) * a.y;
    shape.edges.push_back(i);
    ++balance[e.fromKey];
    --balance[e.toKey];
  }
  for (const SideEdge& e : edges) {
    if (balance[e.fromKey] != 0) shapes[e.loop].closed = false;
  }

  std::vector<std::vector<std::size_t>> shapesOf(level.sectors.size());
  for (std::size_t k = 0; k < shapes.size(); ++k) shapesOf[shapes[k].sector].push_back(k);
  int next = static_cast<int>(level.sectors.size());
  for (std::size_t sector = 0; sector < shapesOf.size(); ++sector) {
    std::vector<std::size_t> outlines, holes;
    bool allClosed = true;
    for (const std::size_t k : shapesOf[sector]) {
      allClosed = allClosed && shapes[k].closed;
      (shapes[k].twiceArea < 0 ? outlines : holes).push_back(k);
    }
    if ((sector < keepWhole.size() && keepWhole[sector]) || !allClosed || outlines.size() < 2) {
      for (const std::size_t k : shapesOf[sector]) shapes[k].region = static_cast<int>(sector);
      continue;
    }
    std::size_t largest = outlines.front();
    for (std::size_t n = 0; n < outlines.size(); ++n) {
      const std::size_t k = outlines[n];
      shapes[k].region = n == 0 ? static_cast<int>(sector) : next++;
      if (n > 0) regions.sectorOf.push_back(static_cast<int>(sector));
      if (-shapes[k].twiceArea > -shapes[largest].twiceArea) largest = k;
    }
    // A hole belongs to the smallest outline round it.
    for (const std::size_t h : holes) {
      const wad::Vertex& p = level.vertices[shapes[h].anyVertex];
      std::size_t owner = largest;
      int64_t ownerArea = -1;
      for (const std::size_t k : outlines) {
        const int64_t area = -shapes[k].twiceArea;
        if ((ownerArea < 0 || area < ownerArea) && Inside(level, edges, shapes[k], p)) {
          owner = k;
          ownerArea = area;
        }
      }
      shapes[h].region = shapes[owner].region;
    }
  }
  for (const SideEdge& e : edges) (e.front ? regions.ofFront : regions.ofBack)[e.line] = shapes[e.loop].region;
  return regions;
}

}  // namespace zaro3
