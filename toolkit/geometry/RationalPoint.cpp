#include "RationalPoint.h"

#include <cstdlib>
#include <numeric>

namespace geo {

namespace {
using Wide = __int128;
int Sign(Wide v) { return (v > 0) - (v < 0); }
}  // namespace

std::size_t RationalPointHash::operator()(const RationalPoint& p) const {
  uint64_t h = static_cast<uint64_t>(p.x) * 0x9E3779B97F4A7C15ull;
  h ^= static_cast<uint64_t>(p.y) + 0x7F4A7C159E3779B9ull + (h << 6) + (h >> 2);
  h ^= static_cast<uint64_t>(p.d) + 0x94D049BB133111EBull + (h << 6) + (h >> 2);
  return static_cast<std::size_t>(h);
}

bool Intersect(const IntLine& l, const IntLine& m, RationalPoint& out) {
  int64_t d = l.A() * m.B() - m.A() * l.B();
  if (d == 0 || l.IsNull() || m.IsNull()) return false;
  int64_t x = l.C() * m.B() - m.C() * l.B();
  int64_t y = l.A() * m.C() - m.A() * l.C();
  if (d < 0) {
    d = -d;
    x = -x;
    y = -y;
  }
  const int64_t g = std::gcd(std::gcd(std::llabs(x), std::llabs(y)), d);
  out = {x / g, y / g, d / g};
  return true;
}

int SideOf(const IntLine& line, const RationalPoint& p) {
  return Sign(Wide(line.A()) * p.x + Wide(line.B()) * p.y - Wide(line.C()) * p.d);
}

int CompareAlong(IntVec dir, const RationalPoint& p, const RationalPoint& q) {
  const Wide dp = Wide(dir.x) * p.x + Wide(dir.y) * p.y;
  const Wide dq = Wide(dir.x) * q.x + Wide(dir.y) * q.y;
  return Sign(dp * q.d - dq * p.d);
}

int CompareAlong(IntVec dir, const RationalPoint& p, int64_t t) {
  const Wide dp = Wide(dir.x) * p.x + Wide(dir.y) * p.y;
  return Sign(dp - Wide(t) * p.d);
}

}  // namespace geo
