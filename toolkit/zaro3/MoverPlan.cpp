#include "MoverPlan.h"

#include <algorithm>
#include <limits>

namespace zaro3 {

namespace {

// DOOM stops a rising door this far below the lowest neighbouring ceiling.
constexpr int64_t kDoorLip = 4;

bool IsFastDoorSpecial(int special) {
  return special == 117 || special == 118 || (special >= 105 && special <= 116) || (special >= 133 && special <= 137);
}

// Door specials that open and stay open (no return after the wait).
bool IsStayOpenDoorSpecial(int special) {
  switch (special) {
    case 2: case 31: case 32: case 33: case 34: case 46: case 61: case 86: case 103:
    case 106: case 109: case 112: case 115: case 118: case 133: case 135: case 137:
      return true;
    default:
      return false;
  }
}

struct Neighbours {
  std::vector<int64_t> lowestCeiling;
  std::vector<int64_t> lowestFloor;
};

Neighbours FindNeighbours(const wad::Level& level) {
  const std::size_t count = level.sectors.size();
  Neighbours n{std::vector<int64_t>(count, std::numeric_limits<int64_t>::max()),
               std::vector<int64_t>(count, std::numeric_limits<int64_t>::max())};
  for (const wad::Linedef& line : level.linedefs) {
    if (line.front < 0 || line.back < 0) continue;
    const int a = level.sidedefs[line.front].sector;
    const int b = level.sidedefs[line.back].sector;
    if (a == b) continue;
    for (auto [self, other] : {std::pair<int, int>{a, b}, std::pair<int, int>{b, a}}) {
      n.lowestCeiling[self] = std::min<int64_t>(n.lowestCeiling[self], level.sectors[other].ceilingHeight);
      n.lowestFloor[self] = std::min<int64_t>(n.lowestFloor[self], level.sectors[other].floorHeight);
    }
  }
  return n;
}

}  // namespace

bool IsManualDoorSpecial(int special) {
  switch (special) {
    case 1: case 26: case 27: case 28: case 31: case 32: case 33: case 34: case 117: case 118:
      return true;
    default:
      return false;
  }
}

bool IsRemoteDoorSpecial(int special) {
  switch (special) {
    case 2: case 3: case 4: case 16: case 29: case 42: case 46: case 50: case 61: case 63:
    case 75: case 76: case 86: case 90: case 103: case 99: case 133: case 134: case 135:
    case 136: case 137:
      return true;
    default:
      return special >= 105 && special <= 116;
  }
}

bool IsLiftSpecial(int special) {
  return special == 10 || special == 21 || special == 62 || special == 88 || (special >= 120 && special <= 123);
}

MoverPlan PlanMovers(const wad::Level& level, bool withMovers) {
  MoverPlan plan;
  const std::size_t count = level.sectors.size();
  plan.moverOfSector.assign(count, -1);
  for (const wad::Sector& sector : level.sectors) {
    plan.floor.push_back(sector.floorHeight);
    plan.ceiling.push_back(std::max(sector.floorHeight, sector.ceilingHeight));
  }
  if (!withMovers) return plan;

  const Neighbours neighbours = FindNeighbours(level);
  std::vector<std::vector<int>> taggedSectors;  // by tag, built on first use
  auto sectorsTagged = [&](int tag) -> const std::vector<int>& {
    if (taggedSectors.empty()) {
      taggedSectors.resize(65536);
      for (std::size_t s = 0; s < count; ++s) taggedSectors[level.sectors[s].tag].push_back(static_cast<int>(s));
    }
    return taggedSectors[tag];
  };

  // Makes `sector` a mover of `kind` once; returns its index or -1 when it cannot move.
  auto makeMover = [&](int sector, MoverKind kind, int special, bool remote) -> int {
    if (plan.moverOfSector[sector] >= 0) {
      const Mover& existing = plan.movers[plan.moverOfSector[sector]];
      return existing.kind == kind ? plan.moverOfSector[sector] : -1;
    }
    Mover mover;
    mover.kind = kind;
    mover.sector = sector;
    mover.remote = remote;
    mover.fast = IsFastDoorSpecial(special);
    mover.stayOpen = IsStayOpenDoorSpecial(special);
    if (kind == MoverKind::Door) {
      if (neighbours.lowestCeiling[sector] == std::numeric_limits<int64_t>::max()) return -1;
      mover.low = plan.ceiling[sector];
      mover.high = neighbours.lowestCeiling[sector] - kDoorLip;
    } else {
      if (neighbours.lowestFloor[sector] == std::numeric_limits<int64_t>::max()) return -1;
      mover.low = neighbours.lowestFloor[sector];
      mover.high = plan.floor[sector];
    }
    if (mover.high <= mover.low) return -1;
    if (kind == MoverKind::Door) plan.ceiling[sector] = mover.high;
    else plan.floor[sector] = mover.low;
    plan.moverOfSector[sector] = static_cast<int>(plan.movers.size());
    plan.movers.push_back(mover);
    return plan.moverOfSector[sector];
  };

  for (std::size_t l = 0; l < level.linedefs.size(); ++l) {
    const wad::Linedef& line = level.linedefs[l];
    if (IsManualDoorSpecial(line.special)) {
      if (line.back < 0) continue;
      const int mover = makeMover(level.sidedefs[line.back].sector, MoverKind::Door, line.special, false);
      // Opened by hand too: it must keep its own touch trigger.
      if (mover >= 0) plan.movers[mover].remote = false;
      continue;
    }
    const bool door = IsRemoteDoorSpecial(line.special);
    if ((!door && !IsLiftSpecial(line.special)) || line.tag == 0) continue;
    MoverTrigger trigger;
    trigger.linedef = static_cast<int>(l);
    for (int sector : sectorsTagged(line.tag)) {
      const int mover = makeMover(sector, door ? MoverKind::Door : MoverKind::Lift, line.special, true);
      if (mover >= 0 && std::find(trigger.movers.begin(), trigger.movers.end(), mover) == trigger.movers.end()) {
        trigger.movers.push_back(mover);
      }
    }
    if (!trigger.movers.empty()) plan.triggers.push_back(std::move(trigger));
  }
  return plan;
}

}  // namespace zaro3
