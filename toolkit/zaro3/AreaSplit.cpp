#include "AreaSplit.h"

#include <algorithm>
#include <numeric>

#include "DisjointSets.h"

namespace zaro3 {

namespace {

// Groups of sectors with their summed weight.
class Groups {
public:
  explicit Groups(const std::vector<double>& weight) : m_sets(weight.size()), m_weight(weight) {}
  int Find(int x) { return m_sets.Find(x); }
  void Join(int x, int y) {
    const double joined = Weight(x) + Weight(y);
    if (m_sets.Join(x, y)) m_weight[Find(x)] = joined;
  }
  double Weight(int x) { return m_weight[Find(x)]; }

private:
  DisjointSets m_sets;
  std::vector<double> m_weight;
};

}  // namespace

AreaSplitResult SplitAreas(const std::vector<double>& weight, const std::vector<Opening>& openings, double cap) {
  AreaSplitResult result;
  result.cut.assign(openings.size(), false);
  Groups groups(weight);
  for (const Opening& o : openings) {
    if (o.kind == OpeningKind::Joined) groups.Join(o.a, o.b);
  }
  // Doors whose sides are joined already cannot be kept apart.
  std::vector<const Opening*> doors;
  for (const Opening& o : openings) {
    if (o.kind != OpeningKind::Door) continue;
    if (groups.Find(o.a) == groups.Find(o.b)) ++result.doorsLost;
    else doors.push_back(&o);
  }
  auto keepsDoorsApart = [&](int x, int y) {
    for (const Opening* door : doors) {
      const int p = groups.Find(door->a), q = groups.Find(door->b);
      if ((p == x && q == y) || (p == y && q == x)) return false;
    }
    return true;
  };

  const double total = std::accumulate(weight.begin(), weight.end(), 0.0);
  std::vector<std::size_t> order;
  for (std::size_t i = 0; i < openings.size(); ++i) {
    if (openings[i].kind == OpeningKind::Free) order.push_back(i);
  }
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t x, std::size_t y) { return openings[x].joinFirst > openings[y].joinFirst; });
  for (const std::size_t i : order) {
    const int x = groups.Find(openings[i].a), y = groups.Find(openings[i].b);
    if (x == y || groups.Weight(x) + groups.Weight(y) > cap * total || !keepsDoorsApart(x, y)) continue;
    groups.Join(x, y);
  }

  for (std::size_t i = 0; i < openings.size(); ++i) {
    const Opening& o = openings[i];
    result.cut[i] = o.kind != OpeningKind::Joined && groups.Find(o.a) != groups.Find(o.b);
    if (o.kind == OpeningKind::Door && result.cut[i]) ++result.doorsKept;
  }
  for (std::size_t s = 0; s < weight.size(); ++s) result.groupOf.push_back(groups.Find(static_cast<int>(s)));
  // Nodes without weight or openings (a number nothing uses) make no area.
  std::vector<char> used(weight.size(), 0);
  for (std::size_t s = 0; s < weight.size(); ++s) used[s] = weight[s] > 0;
  for (const Opening& o : openings) used[o.a] = used[o.b] = 1;
  std::vector<char> seen(weight.size(), 0);
  double largest = 0;
  for (std::size_t s = 0; s < weight.size(); ++s) {
    const int g = groups.Find(static_cast<int>(s));
    if (!used[s] || seen[g]) continue;
    seen[g] = 1;
    ++result.areas;
    largest = std::max(largest, groups.Weight(g));
  }
  result.largestShare = total > 0 ? largest / total : 0;
  return result;
}

}  // namespace zaro3
