#include "PiecesMerge.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <unordered_map>

namespace zaro3 {

namespace {

using geo::IntLine;
using geo::RationalPoint;

// Edges shorter than this (DOOM units) mark a sliver, merged before anything else.
constexpr double kShortEdge = 1.0;

struct MergeEdge {
  IntLine line;
  int linedef = -1;
  int side = 0;
  int from = 0;  // vertex id; the edge ends where the next one starts
};

struct MergePiece {
  int sector = -1;
  int group = -1;
  std::vector<MergeEdge> edges;
  double area = 0;
  bool alive = true;
};

uint64_t EdgeKey(int from, int to) { return (static_cast<uint64_t>(from) << 32) | static_cast<uint32_t>(to); }

class Merger {
public:
  // Without a layer rule, cells group by sector and linedefs are barriers.
  Merger(const wad::Level& level, const std::vector<LabelledCell>& cells, const LayerRule* layer, const FacesJoin& join)
      : m_level(level), m_layer(layer), m_join(join) {
    for (const LabelledCell& cell : cells) {
      if (layer && cell.sector < 0) continue;
      MergePiece piece;
      piece.sector = cell.sector;
      piece.group = layer ? layer->groupOfSector[cell.sector] : cell.sector;
      piece.area = cell.polygon.Area();
      for (std::size_t i = 0; i < cell.polygon.Size(); ++i) {
        const geo::PolygonEdge& e = cell.polygon.Edge(i);
        piece.edges.push_back({e.line, e.tag, e.side, VertexId(cell.polygon.Vertex(i))});
      }
      m_pieces.push_back(std::move(piece));
    }
    for (std::size_t p = 0; p < m_pieces.size(); ++p) Register(static_cast<int>(p));
  }

  void MergeAll() {
    std::vector<int> order(m_pieces.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return m_pieces[a].area > m_pieces[b].area; });
    // A sliver left alone makes a brush the map compiler calls degenerate (it clips
    // faces shorter than its epsilon away): let each join a neighbour first.
    for (std::size_t p = 0; p < m_pieces.size(); ++p) {
      if (m_pieces[p].alive && HasShortEdge(m_pieces[p])) AbsorbOne(static_cast<int>(p));
    }
    // Merging can line up edges that did not match before: repeat until stable.
    for (bool merged = true; merged;) {
      merged = false;
      for (int p : order) {
        if (!m_pieces[p].alive) continue;
        while (AbsorbOne(p)) merged = true;
      }
    }
  }

  std::vector<Piece> Result() const {
    std::vector<Piece> result;
    for (const MergePiece& m : m_pieces) {
      if (!m.alive) continue;
      Piece piece;
      piece.sector = m.sector;
      piece.area = m.area;
      const std::size_t n = m.edges.size();
      for (std::size_t i = 0; i < n; ++i) {
        const MergeEdge& e = m.edges[i];
        const RationalPoint& from = m_vertices[e.from];
        const RationalPoint& to = m_vertices[m.edges[(i + 1) % n].from];
        PieceEdge out;
        out.fromX = from.X();
        out.fromY = from.Y();
        out.toX = to.X();
        out.toY = to.Y();
        out.lineA = {e.line.Point().x, e.line.Point().y};
        out.lineB = {e.line.PointAhead().x, e.line.PointAhead().y};
        out.linedef = e.linedef;
        out.side = e.side;
        piece.edges.push_back(out);
      }
      result.push_back(std::move(piece));
    }
    return result;
  }

private:
  int VertexId(const RationalPoint& p) {
    const auto found = m_ids.find(p);
    if (found != m_ids.end()) return found->second;
    const int id = static_cast<int>(m_vertices.size());
    m_vertices.push_back(p);
    m_ids.emplace(p, id);
    return id;
  }

  bool HasShortEdge(const MergePiece& piece) const {
    for (std::size_t i = 0; i < piece.edges.size(); ++i) {
      const RationalPoint& a = m_vertices[piece.edges[i].from];
      const RationalPoint& b = m_vertices[EndOf(piece, i)];
      if (std::hypot(a.X() - b.X(), a.Y() - b.Y()) < kShortEdge) return true;
    }
    return false;
  }

  int EndOf(const MergePiece& piece, std::size_t i) const { return piece.edges[(i + 1) % piece.edges.size()].from; }

  void Register(int p) {
    const MergePiece& piece = m_pieces[p];
    for (std::size_t i = 0; i < piece.edges.size(); ++i) m_owner[EdgeKey(piece.edges[i].from, EndOf(piece, i))] = p;
  }

  void Unregister(int p) {
    const MergePiece& piece = m_pieces[p];
    for (std::size_t i = 0; i < piece.edges.size(); ++i) m_owner.erase(EdgeKey(piece.edges[i].from, EndOf(piece, i)));
  }

  // Where a's edge meets b's edge at a corner of the union: convex (1),
  // straight and joinable into one edge (0), or not allowed (-1).
  int Joint(int sector, const MergeEdge& a, const MergeEdge& b) const {
    const geo::IntVec u = a.line.Direction(), v = b.line.Direction();
    const int64_t cross = geo::Cross(u, v);
    if (cross > 0) return 1;
    if (cross < 0 || geo::Dot(u, v) <= 0) return -1;
    if (SameAppearance(m_level, a.linedef, a.side, b.linedef, b.side) &&
        (!m_join || a.linedef < 0 || a.linedef == b.linedef || m_join(a.linedef, a.side, b.linedef, b.side))) {
      return 0;
    }
    return m_layer && Hidden(sector, a) && Hidden(sector, b) ? 0 : -1;
  }

  // A layer's face on an edge off every linedef shows nothing (the brush builders agree).
  bool Hidden(int sector, const MergeEdge& e) const {
    return e.linedef < 0 || m_layer->hidden(sector, e.linedef, e.side);
  }

  bool AbsorbOne(int p) {
    MergePiece& a = m_pieces[p];
    for (std::size_t i = 0; i < a.edges.size(); ++i) {
      if (a.edges[i].linedef >= 0 && !m_layer) continue;
      const int from = a.edges[i].from, to = EndOf(a, i);
      const auto found = m_owner.find(EdgeKey(to, from));
      if (found == m_owner.end() || found->second == p) continue;
      const int q = found->second;
      MergePiece& b = m_pieces[q];
      if (b.group != a.group) continue;
      std::size_t j = 0;
      while (j < b.edges.size() && !(b.edges[j].from == to && EndOf(b, j) == from)) ++j;
      if (j == b.edges.size() || (b.edges[j].linedef >= 0 && !m_layer)) continue;
      const std::size_t n = a.edges.size(), m = b.edges.size();
      const MergeEdge& aBefore = a.edges[(i + n - 1) % n];
      const MergeEdge& aAfter = a.edges[(i + 1) % n];
      const MergeEdge& bBefore = b.edges[(j + m - 1) % m];
      const MergeEdge& bAfter = b.edges[(j + 1) % m];
      const int atFrom = Joint(a.sector, aBefore, bAfter);  // at `from`: a's edge into it, then b's out of it
      const int atTo = Joint(a.sector, bBefore, aAfter);
      if (atFrom < 0 || atTo < 0) continue;
      // The union's boundary from `to`: a's other edges, then b's other edges;
      // a straight joint drops the second edge so the first runs on through it.
      std::vector<MergeEdge> merged;
      for (std::size_t k = 1; k < n; ++k) {
        if (k == 1 && atTo == 0) continue;
        merged.push_back(a.edges[(i + k) % n]);
      }
      for (std::size_t k = 1; k < m; ++k) {
        if (k == 1 && atFrom == 0) continue;
        merged.push_back(b.edges[(j + k) % m]);
      }
      Unregister(p);
      Unregister(q);
      a.edges = std::move(merged);
      a.area += b.area;
      b.alive = false;
      b.edges.clear();
      Register(p);
      return true;
    }
    return false;
  }

  const wad::Level& m_level;
  const LayerRule* m_layer;
  const FacesJoin& m_join;
  std::vector<MergePiece> m_pieces;
  std::vector<RationalPoint> m_vertices;
  std::unordered_map<RationalPoint, int, geo::RationalPointHash> m_ids;
  std::unordered_map<uint64_t, int> m_owner;
};

}  // namespace

std::vector<Piece> MergePieces(const wad::Level& level, const std::vector<LabelledCell>& cells, bool merge,
                               const FacesJoin& join) {
  Merger merger(level, cells, nullptr, join);
  if (merge) merger.MergeAll();
  return merger.Result();
}

std::vector<Piece> MergeLayer(const wad::Level& level, const std::vector<LabelledCell>& cells, const LayerRule& rule) {
  Merger merger(level, cells, &rule, rule.facesJoin);
  merger.MergeAll();
  return merger.Result();
}

}  // namespace zaro3
