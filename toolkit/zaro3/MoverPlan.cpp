#include "MoverPlan.h"

#include <algorithm>

namespace zaro3 {

MoverPlan StaticPlan(const std::vector<int64_t>& floors, const std::vector<int64_t>& ceilings) {
  MoverPlan plan;
  plan.floor = floors;
  plan.ceiling.resize(ceilings.size());
  for (std::size_t s = 0; s < ceilings.size(); ++s) plan.ceiling[s] = std::max(floors[s], ceilings[s]);
  plan.floorMover.assign(floors.size(), -1);
  plan.ceilingMover.assign(floors.size(), -1);
  return plan;
}

}  // namespace zaro3
