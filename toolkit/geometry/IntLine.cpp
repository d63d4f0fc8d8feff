#include "IntLine.h"

#include <cstdlib>
#include <numeric>

namespace geo {

IntLine IntLine::FromPointDirection(IntVec p, IntVec d) {
  IntLine line;
  const int64_t g = std::gcd(std::llabs(d.x), std::llabs(d.y));
  if (g == 0) return line;
  line.m_point = p;
  line.m_dir = {d.x / g, d.y / g};
  line.m_a = -line.m_dir.y;
  line.m_b = line.m_dir.x;
  line.m_c = line.m_a * p.x + line.m_b * p.y;
  return line;
}

IntLine IntLine::Through(IntVec p, IntVec q) { return FromPointDirection(p, {q.x - p.x, q.y - p.y}); }

IntLine IntLine::Reversed() const { return FromPointDirection(m_point, {-m_dir.x, -m_dir.y}); }

int IntLine::Side(IntVec p) const {
  const int64_t v = SideValue(p);
  return (v > 0) - (v < 0);
}

IntLine IntLine::Canonical() const {
  const bool keep = m_dir.x > 0 || (m_dir.x == 0 && m_dir.y > 0);
  return keep ? *this : Reversed();
}

std::size_t IntLineHash::operator()(const IntLine& l) const {
  uint64_t h = static_cast<uint64_t>(l.A()) * 0x9E3779B97F4A7C15ull;
  h ^= static_cast<uint64_t>(l.B()) + 0x7F4A7C159E3779B9ull + (h << 6) + (h >> 2);
  h ^= static_cast<uint64_t>(l.C()) + 0x94D049BB133111EBull + (h << 6) + (h >> 2);
  return static_cast<std::size_t>(h);
}

}  // namespace geo
