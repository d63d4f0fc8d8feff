// LevelBuilder: small wad::Level values for tests, built from sector outlines.
//
// Each outline is walked with its sector on the left (counter-clockwise for a
// room, clockwise for a hole or pillar). An edge that an earlier outline
// already walked the other way becomes that linedef's back side, so rooms
// drawn side by side share two-sided lines. BuildNodes makes a plain node
// tree from the linedefs' own lines (no segs), optionally stopping early so
// its leaves still hold lines. Nothing is validated: tests may build bad data.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "Level.h"

namespace zaro3test {

using Outline = std::vector<std::pair<int, int>>;

class LevelBuilder {
public:
  int AddSector(int floor, int ceiling) {
    wad::Sector sector;
    sector.floorHeight = floor;
    sector.ceilingHeight = ceiling;
    sector.floorFlat = "FLOOR0_1";
    sector.ceilingFlat = "CEIL1_1";
    m_level.sectors.push_back(sector);
    return static_cast<int>(m_level.sectors.size()) - 1;
  }

  // The outline's edges, the sector on their left; returns the linedefs used.
  std::vector<int> AddOutline(const Outline& points, int sector) {
    std::vector<int> used;
    for (std::size_t i = 0; i < points.size(); ++i) {
      used.push_back(AddEdge(points[i], points[(i + 1) % points.size()], sector));
    }
    return used;
  }

  // A one-sided line p->q whose front (right) side faces `sector`, added as is.
  int AddLine(std::pair<int, int> p, std::pair<int, int> q, int frontSector, int backSector = -1) {
    wad::Linedef line;
    line.v1 = Vertex(p);
    line.v2 = Vertex(q);
    line.front = frontSector < 0 ? -1 : Sidedef(frontSector);
    line.back = backSector < 0 ? -1 : Sidedef(backSector);
    if (line.back >= 0) line.flags |= wad::kLineTwoSided;
    m_level.linedefs.push_back(line);
    return static_cast<int>(m_level.linedefs.size()) - 1;
  }

  void BuildNodes(int maxDepth = 1 << 20) {
    m_level.nodes.clear();
    m_level.subsectors.clear();
    std::vector<int> all;
    for (std::size_t i = 0; i < m_level.linedefs.size(); ++i) all.push_back(static_cast<int>(i));
    const Child root = Build(all, maxDepth);
    if (root.leaf) {  // a level needs at least one node: split anywhere
      m_level.nodes.push_back(wad::Node{0, 0, 1, 0, {root.index, root.index}, {true, true}});
    }
    m_level.nodesUsable = true;
  }

  wad::Level& Level() { return m_level; }

private:
  struct Child {
    bool leaf = true;
    int index = 0;
  };

  int Vertex(std::pair<int, int> p) {
    const auto found = m_vertices.find(p);
    if (found != m_vertices.end()) return found->second;
    m_level.vertices.push_back({p.first, p.second});
    const int id = static_cast<int>(m_level.vertices.size()) - 1;
    m_vertices[p] = id;
    return id;
  }

  int Sidedef(int sector) {
    wad::Sidedef side;
    side.middle = "STARTAN3";
    side.sector = sector;
    m_level.sidedefs.push_back(side);
    return static_cast<int>(m_level.sidedefs.size()) - 1;
  }

  int AddEdge(std::pair<int, int> p, std::pair<int, int> q, int sector) {
    const int a = Vertex(p), b = Vertex(q);
    for (std::size_t i = 0; i < m_level.linedefs.size(); ++i) {
      wad::Linedef& line = m_level.linedefs[i];
      if (line.v1 == a && line.v2 == b && line.back < 0) {  // walked the other way before
        line.back = Sidedef(sector);
        line.flags |= wad::kLineTwoSided;
        return static_cast<int>(i);
      }
    }
    return AddLine(q, p, sector);  // front faces right of v1->v2, the outline's left
  }

  int64_t Side(const wad::Node& n, int vertex) const {
    const wad::Vertex& v = m_level.vertices[vertex];
    return static_cast<int64_t>(v.x - n.x) * n.dy - static_cast<int64_t>(v.y - n.y) * n.dx;  // > 0: right
  }

  Child Build(const std::vector<int>& lines, int depth) {
    if (lines.empty() || depth == 0) {
      m_level.subsectors.push_back(wad::Subsector{});
      return {true, static_cast<int>(m_level.subsectors.size()) - 1};
    }
    const wad::Linedef& first = m_level.linedefs[lines[0]];
    const wad::Vertex& a = m_level.vertices[first.v1];
    const wad::Vertex& b = m_level.vertices[first.v2];
    wad::Node node{a.x, a.y, b.x - a.x, b.y - a.y, {0, 0}, {true, true}};
    std::vector<int> front, back;
    for (int i : lines) {
      const int64_t s1 = Side(node, m_level.linedefs[i].v1), s2 = Side(node, m_level.linedefs[i].v2);
      if (s1 == 0 && s2 == 0) continue;
      if (s1 > 0 || s2 > 0) front.push_back(i);
      if (s1 < 0 || s2 < 0) back.push_back(i);
    }
    const Child f = Build(front, depth - 1), k = Build(back, depth - 1);
    node.child[0] = f.index;
    node.isLeaf[0] = f.leaf;
    node.child[1] = k.index;
    node.isLeaf[1] = k.leaf;
    m_level.nodes.push_back(node);
    return {false, static_cast<int>(m_level.nodes.size()) - 1};
  }

  wad::Level m_level;
  std::map<std::pair<int, int>, int> m_vertices;
};

}  // namespace zaro3test
