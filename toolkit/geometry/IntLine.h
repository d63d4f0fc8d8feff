// IntLine: an oriented line through two integer points, in exact integer form.
//
// The line keeps one integer point on it and its direction reduced by the gcd,
// and the normal form a*x + b*y = c with (a, b) = (-dy, dx), the left normal,
// so that equal oriented lines have equal (a, b, c) whatever points made them.
// Side tests are exact: positive on the left of the direction, negative on the
// right, zero on the line. Coordinates are expected within DOOM's 16-bit range
// plus a margin (|x|, |y| below 2^16), so every product here fits 64 bits and
// every product with a rational point fits __int128; nothing checks this.
#pragma once

#include <cstddef>
#include <cstdint>

namespace geo {

struct IntVec {
  int64_t x = 0;
  int64_t y = 0;
  friend bool operator==(const IntVec& p, const IntVec& q) { return p.x == q.x && p.y == q.y; }
  friend bool operator!=(const IntVec& p, const IntVec& q) { return !(p == q); }
};

inline int64_t Cross(const IntVec& u, const IntVec& v) { return u.x * v.y - u.y * v.x; }
inline int64_t Dot(const IntVec& u, const IntVec& v) { return u.x * v.x + u.y * v.y; }

class IntLine {
public:
  IntLine() = default;
  // The line from p towards q; p != q is the caller's to ensure (a zero direction gives a null line).
  static IntLine Through(IntVec p, IntVec q);
  // The line through p with direction d (reduced here).
  static IntLine FromPointDirection(IntVec p, IntVec d);

  bool IsNull() const { return m_dir.x == 0 && m_dir.y == 0; }
  IntLine Reversed() const;
  // a*x + b*y - c: positive left of the line, negative right.
  int64_t SideValue(IntVec p) const { return m_a * p.x + m_b * p.y - m_c; }
  int Side(IntVec p) const;

  IntVec Point() const { return m_point; }          // an integer point on the line
  IntVec Direction() const { return m_dir; }        // gcd-reduced
  IntVec PointAhead() const { return {m_point.x + m_dir.x, m_point.y + m_dir.y}; }
  int64_t A() const { return m_a; }
  int64_t B() const { return m_b; }
  int64_t C() const { return m_c; }

  // Same oriented line.
  friend bool operator==(const IntLine& l, const IntLine& m) {
    return l.m_a == m.m_a && l.m_b == m.m_b && l.m_c == m.m_c;
  }
  friend bool operator!=(const IntLine& l, const IntLine& m) { return !(l == m); }
  // Same set of points, either orientation.
  bool SameCarrier(const IntLine& m) const { return *this == m || *this == m.Reversed(); }
  // The orientation shared by both directions of this carrier (for lookups).
  IntLine Canonical() const;

private:
  IntVec m_point;
  IntVec m_dir;
  int64_t m_a = 0, m_b = 0, m_c = 0;
};

struct IntLineHash {
  std::size_t operator()(const IntLine& l) const;
};

}  // namespace geo
