// RationalPoint: the exact crossing of two integer lines, (X/D, Y/D) with D > 0.
//
// The fraction is reduced by the gcd of X, Y and D, so equal points have equal
// members (usable as hash keys). With coordinates below 2^16 (line directions
// below 2^17), D stays below 2^36 and X, Y below 2^53; side tests and
// comparisons along a line are done in __int128. Parallel lines have no crossing: Intersect reports that, and
// callers decide; nothing here rounds.
#pragma once

#include <cstddef>
#include <cstdint>

#include "IntLine.h"

namespace geo {

struct RationalPoint {
  int64_t x = 0;  // numerators
  int64_t y = 0;
  int64_t d = 1;  // common denominator, positive

  static RationalPoint FromInt(IntVec p) { return {p.x, p.y, 1}; }
  double X() const { return static_cast<double>(x) / static_cast<double>(d); }
  double Y() const { return static_cast<double>(y) / static_cast<double>(d); }
  bool IsInteger() const { return d == 1; }

  friend bool operator==(const RationalPoint& p, const RationalPoint& q) {
    return p.x == q.x && p.y == q.y && p.d == q.d;
  }
  friend bool operator!=(const RationalPoint& p, const RationalPoint& q) { return !(p == q); }
};

struct RationalPointHash {
  std::size_t operator()(const RationalPoint& p) const;
};

// The crossing of l and m; false when they are parallel (or either is null).
bool Intersect(const IntLine& l, const IntLine& m, RationalPoint& out);

// The exact side of p: +1 left of the line, -1 right, 0 on it.
int SideOf(const IntLine& line, const RationalPoint& p);

// The position of p along direction dir, compared exactly: sign of dir.p - dir.q.
int CompareAlong(IntVec dir, const RationalPoint& p, const RationalPoint& q);

// Sign of dir.p - t for an integer value t (a position along dir of an integer point).
int CompareAlong(IntVec dir, const RationalPoint& p, int64_t t);

}  // namespace geo
