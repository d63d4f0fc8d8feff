#include "PiecesPartition.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace zaro3 {

namespace {

using geo::ConvexPolygon;
using geo::IntLine;
using geo::IntVec;
using geo::RationalPoint;

// Deepest node path we follow; real trees stay far below it, cycles or
// degenerate trees hit it and send the level to the direct partition.
constexpr int kMaxNodeDepth = 512;
// Candidate lines scored per cell: enough for good choices, bounded so the
// cost per cell stays linear in its segment count.
constexpr std::size_t kCandidates = 24;

struct Segment {
  int linedef = 0;
  RationalPoint a, b;  // in the linedef's own direction
};

struct Job {
  ConvexPolygon cell;
  std::vector<Segment> segments;
};

// How far a node's partition may stray from a linedef and still be taken for it.
// Node builders store a split seg's rounded vertex as the partition's origin, so
// a partition made from a linedef can miss it by up to a unit; cutting by that
// stray line leaves slivers a fraction of a unit wide that the map compiler
// drops as degenerate. Two real lines this close and this parallel would be
// the same wall.
constexpr double kSnapDistance = 1.0;

double DistanceFrom(const IntLine& line, IntVec p) {
  const IntVec d = line.Direction();
  return std::abs(static_cast<double>(line.SideValue(p))) / std::hypot(static_cast<double>(d.x), static_cast<double>(d.y));
}

// The linedef line a partition was made from, when one of the cell's segments
// lies on nearly the same line; otherwise the partition itself.
IntLine SnapToLinedef(const IntLine& partition, IntVec origin, IntVec ahead, const std::vector<Segment>& segments,
                      const std::vector<IntLine>& lines) {
  for (const Segment& s : segments) {
    const IntLine& line = lines[s.linedef];
    if (line.IsNull() || line.SameCarrier(partition)) continue;
    if (DistanceFrom(line, origin) > kSnapDistance || DistanceFrom(line, ahead) > kSnapDistance) continue;
    const IntVec u = partition.Direction(), v = line.Direction();
    const double sine = std::abs(static_cast<double>(geo::Cross(u, v))) /
                        (std::hypot(double(u.x), double(u.y)) * std::hypot(double(v.x), double(v.y)));
    if (sine > 0.01) continue;
    return geo::Dot(u, v) > 0 ? line : line.Reversed();
  }
  return partition;
}

// Sends each segment to the side(s) of `line` it lies on; a segment on the line is dropped.
void Distribute(const std::vector<Segment>& segments, const std::vector<IntLine>& lines, const IntLine& line,
                std::vector<Segment>& left, std::vector<Segment>& right) {
  for (const Segment& s : segments) {
    const int sa = geo::SideOf(line, s.a);
    const int sb = geo::SideOf(line, s.b);
    if (sa == 0 && sb == 0) continue;
    if (sa >= 0 && sb >= 0) {
      left.push_back(s);
    } else if (sa <= 0 && sb <= 0) {
      right.push_back(s);
    } else {
      RationalPoint m;
      if (!geo::Intersect(lines[s.linedef], line, m)) continue;  // cannot happen: ends on both sides
      Segment first{s.linedef, s.a, m}, second{s.linedef, m, s.b};
      (sa > 0 ? left : right).push_back(first);
      (sa > 0 ? right : left).push_back(second);
    }
  }
}

// A segment line that splits few others and balances the two sides.
IntLine ChooseSplit(const std::vector<Segment>& segments, const std::vector<IntLine>& lines) {
  const std::size_t n = segments.size();
  const std::size_t count = std::min(n, kCandidates);
  long best = -1;
  IntLine bestLine = lines[segments[0].linedef];
  for (std::size_t k = 0; k < count; ++k) {
    const IntLine& candidate = lines[segments[k * n / count].linedef];
    long left = 0, right = 0, splits = 0;
    for (const Segment& s : segments) {
      const int sa = geo::SideOf(candidate, s.a);
      const int sb = geo::SideOf(candidate, s.b);
      if (sa == 0 && sb == 0) continue;
      if (sa >= 0 && sb >= 0) {
        ++left;
      } else if (sa <= 0 && sb <= 0) {
        ++right;
      } else {
        ++splits;
      }
    }
    const long score = 4 * splits + std::labs(left - right);
    if (best < 0 || score < best) {
      best = score;
      bestLine = candidate;
    }
  }
  return bestLine;
}

// Cuts every job until no segment is left in a cell.
void CutUntilClean(std::vector<Job> stack, const std::vector<IntLine>& lines, std::vector<ConvexPolygon>& cells) {
  while (!stack.empty()) {
    Job job = std::move(stack.back());
    stack.pop_back();
    if (job.segments.empty()) {
      cells.push_back(std::move(job.cell));
      continue;
    }
    const IntLine split = ChooseSplit(job.segments, lines);
    Job left, right;
    job.cell.Split(split, left.cell, right.cell);
    Distribute(job.segments, lines, split, left.segments, right.segments);
    // A side without area holds no segment in sane data; whatever is there is dropped.
    if (!left.cell.Empty()) stack.push_back(std::move(left));
    if (!right.cell.Empty()) stack.push_back(std::move(right));
  }
}

std::vector<Segment> AllSegments(const wad::Level& level, const std::vector<IntLine>& lines) {
  std::vector<Segment> segments;
  segments.reserve(level.linedefs.size());
  for (std::size_t i = 0; i < level.linedefs.size(); ++i) {
    if (lines[i].IsNull()) continue;
    const wad::Vertex& v1 = level.vertices[level.linedefs[i].v1];
    const wad::Vertex& v2 = level.vertices[level.linedefs[i].v2];
    segments.push_back({static_cast<int>(i), RationalPoint::FromInt({v1.x, v1.y}),
                        RationalPoint::FromInt({v2.x, v2.y})});
  }
  return segments;
}

}  // namespace

std::vector<IntLine> LinedefLines(const wad::Level& level) {
  std::vector<IntLine> lines;
  lines.reserve(level.linedefs.size());
  for (const wad::Linedef& l : level.linedefs) {
    const wad::Vertex& v1 = level.vertices[l.v1];
    const wad::Vertex& v2 = level.vertices[l.v2];
    lines.push_back(IntLine::Through({v1.x, v1.y}, {v2.x, v2.y}));
  }
  return lines;
}

ConvexPolygon LevelBox(const wad::Level& level, int margin) {
  const int64_t grow = std::max(margin, 1);
  if (level.vertices.empty()) return ConvexPolygon::Box(-grow, -grow, grow, grow);
  int64_t x0 = level.vertices[0].x, x1 = x0, y0 = level.vertices[0].y, y1 = y0;
  for (const wad::Vertex& v : level.vertices) {
    x0 = std::min<int64_t>(x0, v.x);
    x1 = std::max<int64_t>(x1, v.x);
    y0 = std::min<int64_t>(y0, v.y);
    y1 = std::max<int64_t>(y1, v.y);
  }
  return ConvexPolygon::Box(x0 - grow, y0 - grow, x1 + grow, y1 + grow);
}

std::vector<ConvexPolygon> PartitionDirect(const wad::Level& level, const std::vector<IntLine>& lines,
                                           const ConvexPolygon& box) {
  std::vector<ConvexPolygon> cells;
  std::vector<Job> stack;
  stack.push_back({box, AllSegments(level, lines)});
  CutUntilClean(std::move(stack), lines, cells);
  return cells;
}

bool PartitionByNodes(const wad::Level& level, const std::vector<IntLine>& lines, const ConvexPolygon& box,
                      std::vector<ConvexPolygon>& cells, std::string& reason) {
  cells.clear();
  if (level.nodes.empty()) {
    reason = "the level has no nodes";
    return false;
  }
  struct NodeJob {
    Job job;
    int node;
    int depth;
  };
  std::vector<char> visited(level.nodes.size(), 0);
  std::vector<NodeJob> stack;
  std::vector<Job> leaves;
  stack.push_back({{box, AllSegments(level, lines)}, static_cast<int>(level.nodes.size()) - 1, 0});
  while (!stack.empty()) {
    NodeJob current = std::move(stack.back());
    stack.pop_back();
    if (current.depth > kMaxNodeDepth) {
      reason = "the node tree is too deep";
      return false;
    }
    if (visited[current.node]) {
      reason = "a node is reached twice";
      return false;
    }
    visited[current.node] = 1;
    const wad::Node& node = level.nodes[current.node];
    const IntLine stated = IntLine::FromPointDirection({node.x, node.y}, {node.dx, node.dy});
    if (stated.IsNull()) {
      reason = "a node has a partition line of no length";
      return false;
    }
    const IntLine partition = SnapToLinedef(stated, {node.x, node.y}, {node.x + node.dx, node.y + node.dy},
                                            current.job.segments, lines);
    Job sides[2];  // 0: front (right of the partition), 1: back
    current.job.cell.Split(partition, sides[1].cell, sides[0].cell);
    Distribute(current.job.segments, lines, partition, sides[1].segments, sides[0].segments);
    for (int c = 0; c < 2; ++c) {
      const int child = node.child[c];
      if (node.isLeaf[c]) {
        if (!sides[c].cell.Empty()) leaves.push_back(std::move(sides[c]));
        continue;
      }
      if (child < 0 || static_cast<std::size_t>(child) >= level.nodes.size()) {
        reason = "a node points nowhere";
        return false;
      }
      // A partition that misses its cell leaves one child nothing: that subtree is skipped.
      if (!sides[c].cell.Empty()) stack.push_back({std::move(sides[c]), child, current.depth + 1});
    }
  }
  CutUntilClean(std::move(leaves), lines, cells);
  return true;
}

}  // namespace zaro3
