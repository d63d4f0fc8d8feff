// DisjointSets: numbered items joined into groups, each named by one of its items.
//
// Path halving keeps a chain short; joining keeps the first item's root. Used by
// the portal graph's areas and by the sectors' outlines. A value.
#pragma once

#include <numeric>
#include <vector>

namespace zaro3 {

class DisjointSets {
public:
  explicit DisjointSets(std::size_t count = 0) : m_parent(count) { std::iota(m_parent.begin(), m_parent.end(), 0); }

  // A new item in a group of its own; returns its number.
  int Add() {
    m_parent.push_back(static_cast<int>(m_parent.size()));
    return m_parent.back();
  }
  int Find(int x) {
    while (m_parent[x] != x) x = m_parent[x] = m_parent[m_parent[x]];
    return x;
  }
  // Joins the groups of x and y under x's root; returns false when they were one already.
  bool Join(int x, int y) {
    x = Find(x);
    y = Find(y);
    if (x == y) return false;
    m_parent[y] = x;
    return true;
  }
  std::size_t Size() const { return m_parent.size(); }

private:
  std::vector<int> m_parent;
};

}  // namespace zaro3
