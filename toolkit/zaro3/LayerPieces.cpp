#include "LayerPieces.h"

#include <map>
#include <tuple>

#include "PiecesEdges.h"
#include "PiecesMerge.h"

namespace zaro3 {

namespace {

// Groups sectors by (height, flat); movers get a group each.
std::vector<int> GroupSectors(const wad::Level& level, const MoverPlan& plan, bool floors) {
  std::map<std::pair<int64_t, std::string>, int> groups;
  std::vector<int> groupOf(level.sectors.size());
  int next = 0;
  for (std::size_t s = 0; s < level.sectors.size(); ++s) {
    if (floors ? plan.FloorMoves(static_cast<int>(s)) : plan.CeilingMoves(static_cast<int>(s))) {
      groupOf[s] = next++;
      continue;
    }
    const wad::Sector& sector = level.sectors[s];
    const auto key = floors ? std::make_pair(plan.floor[s], sector.floorFlat)
                            : std::make_pair(plan.ceiling[s], sector.ceilingFlat);
    const auto found = groups.emplace(key, next);
    if (found.second) ++next;
    groupOf[s] = found.first->second;
  }
  return groupOf;
}

// The sector beyond a linedef side, seen from the side facing the piece.
int SectorAcross(const wad::Level& level, int linedef, int side) { return FacingSector(level, linedef, 1 - side); }

}  // namespace

bool LowerStepShows(const MoverPlan& plan, int sector, int across) {
  return across >= 0 && plan.floor[across] < plan.floor[sector];
}

bool UpperStepShows(const MoverPlan& plan, int sector, int across) {
  return across >= 0 && plan.ceiling[across] > plan.ceiling[sector];
}

LayerPieces BuildLayerPieces(const wad::Level& level, const std::vector<LabelledCell>& cells, const MoverPlan& plan,
                             const FacesJoin& join) {
  LayerRule floors{GroupSectors(level, plan, true),
                   [&](int sector, int linedef, int side) {
                     return !LowerStepShows(plan, sector, SectorAcross(level, linedef, side));
                   },
                   join};
  LayerRule ceilings{GroupSectors(level, plan, false),
                     [&](int sector, int linedef, int side) {
                       return !UpperStepShows(plan, sector, SectorAcross(level, linedef, side));
                     },
                     join};
  return {MergeLayer(level, cells, floors), MergeLayer(level, cells, ceilings)};
}

}  // namespace zaro3
