#include "PiecesCheck.h"

#include <cmath>
#include <map>

#include "PiecesEdges.h"

namespace zaro3 {

namespace {
// The pieces' areas come from rational corners rounded to doubles; their sum
// over a sector differs from the exact area by far less than this share.
constexpr double kRelativeAreaTolerance = 1e-7;
constexpr double kAbsoluteAreaTolerance = 1e-3;  // square units, for tiny sectors
}  // namespace

std::vector<SectorArea> TrueSectorAreas(const wad::Level& level) {
  std::vector<SectorArea> result(level.sectors.size());
  std::vector<int64_t> twice(level.sectors.size(), 0);
  std::vector<std::map<int, int>> balance(level.sectors.size());  // vertex -> leaving minus arriving
  auto walk = [&](int sidedef, int from, int to) {
    if (sidedef < 0) return;
    const int sector = level.sidedefs[sidedef].sector;
    const wad::Vertex& a = level.vertices[from];
    const wad::Vertex& b = level.vertices[to];
    twice[sector] += static_cast<int64_t>(a.x) * b.y - static_cast<int64_t>(b.x) * a.y;
    ++balance[sector][from];
    --balance[sector][to];
  };
  for (std::size_t l = 0; l < level.linedefs.size(); ++l) {
    const wad::Linedef& line = level.linedefs[l];
    if (SameSectorBothSides(level, static_cast<int>(l))) {
      result[level.sidedefs[line.front].sector].selfReferencing = true;
    }
    walk(line.front, line.v2, line.v1);  // the front lies right of v1->v2, so left of v2->v1
    walk(line.back, line.v1, line.v2);
  }
  for (std::size_t s = 0; s < result.size(); ++s) {
    for (const auto& [vertex, count] : balance[s]) {
      if (count != 0) result[s].closed = false;
    }
    result[s].area = static_cast<double>(twice[s]) / 2;
  }
  return result;
}

std::vector<int> MismatchedSectors(const std::vector<SectorArea>& truth, const std::vector<Piece>& pieces) {
  std::vector<double> sum(truth.size(), 0);
  for (const Piece& p : pieces) {
    if (p.sector >= 0 && static_cast<std::size_t>(p.sector) < sum.size()) sum[p.sector] += p.area;
  }
  std::vector<int> mismatched;
  for (std::size_t s = 0; s < truth.size(); ++s) {
    if (!truth[s].closed || truth[s].selfReferencing) continue;
    const double tolerance = kAbsoluteAreaTolerance + kRelativeAreaTolerance * std::fabs(truth[s].area);
    if (std::fabs(sum[s] - truth[s].area) > tolerance) mismatched.push_back(static_cast<int>(s));
  }
  return mismatched;
}

}  // namespace zaro3
