#include "PrismShapes.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace zaro3 {

namespace {

__int128 Cross(const IntPoint& o, const IntPoint& a, const IntPoint& b) {
  return static_cast<__int128>(a.x - o.x) * (b.y - o.y) - static_cast<__int128>(a.y - o.y) * (b.x - o.x);
}

__int128 CrossDirections(const PrismSide& s, const PrismSide& t) {
  return static_cast<__int128>(s.b.x - s.a.x) * (t.b.y - t.a.y) - static_cast<__int128>(s.b.y - s.a.y) * (t.b.x - t.a.x);
}

}  // namespace

bool FootprintIsSound(const Prism& prism) {
  const std::size_t n = prism.sides.size();
  if (n < 3 || prism.zHigh <= prism.zLow) return false;
  for (std::size_t i = 0; i < n; ++i) {
    const PrismSide& s = prism.sides[i];
    if (s.a == s.b) return false;
    if (CrossDirections(s, prism.sides[(i + 1) % n]) <= 0) return false;
    for (std::size_t j = i + 1; j < n; ++j) {
      const PrismSide& t = prism.sides[j];
      if (Cross(s.a, s.b, t.a) == 0 && Cross(s.a, s.b, t.b) == 0) return false;
    }
  }
  return true;
}

namespace {

// The unit step along the minor axis towards the front (right) side of v1->v2, or its back.
IntPoint MinorStep(IntPoint v1, IntPoint v2, bool towardsFront) {
  const int64_t dx = v2.x - v1.x;
  const int64_t dy = v2.y - v1.y;
  if (std::llabs(dx) >= std::llabs(dy)) {
    // The front (right) normal of v1->v2 is (dy, -dx): its y part has the sign of -dx.
    const int64_t frontSign = dx > 0 ? -1 : 1;
    return {0, towardsFront ? frontSign : -frontSign};
  }
  const int64_t frontSign = dy > 0 ? 1 : -1;
  return {towardsFront ? frontSign : -frontSign, 0};
}

}  // namespace

Prism OffsetSlab(IntPoint v1, IntPoint v2, int64_t from, int64_t to, bool towardsFront, int64_t zLow, int64_t zHigh,
                 const Surface& face, const Surface& end) {
  const IntPoint step = MinorStep(v1, v2, towardsFront);
  const IntPoint a1{v1.x + step.x * from, v1.y + step.y * from}, a2{v2.x + step.x * from, v2.y + step.y * from};
  const IntPoint b1{v1.x + step.x * to, v1.y + step.y * to}, b2{v2.x + step.x * to, v2.y + step.y * to};
  Prism prism;
  prism.zLow = zLow;
  prism.zHigh = zHigh;
  prism.top = end;
  prism.bottom = end;
  if (Cross(a1, a2, b2) > 0) {
    prism.sides = {{a1, a2, face}, {a2, b2, end}, {b2, b1, face}, {b1, a1, end}};
  } else {
    prism.sides = {{b1, b2, face}, {b2, a2, end}, {a2, a1, face}, {a1, b1, end}};
  }
  return prism;
}

double OffsetSpread(IntPoint v1, IntPoint v2) {
  const double dx = static_cast<double>(v2.x - v1.x), dy = static_cast<double>(v2.y - v1.y);
  const double length = std::hypot(dx, dy);
  return length > 0 ? std::max(std::fabs(dx), std::fabs(dy)) / length : 1.0;
}

Prism LineSlab(IntPoint v1, IntPoint v2, int64_t thickness, bool towardsFront, int64_t zLow, int64_t zHigh,
               const Surface& face, const Surface& end) {
  return OffsetSlab(v1, v2, 0, thickness, towardsFront, zLow, zHigh, face, end);
}

Prism Box(int64_t x0, int64_t y0, int64_t x1, int64_t y1, int64_t z0, int64_t z1, const Surface& surface) {
  Prism prism;
  prism.zLow = z0;
  prism.zHigh = z1;
  prism.top = surface;
  prism.bottom = surface;
  const IntPoint p00{x0, y0}, p10{x1, y0}, p11{x1, y1}, p01{x0, y1};
  prism.sides = {{p00, p10, surface}, {p10, p11, surface}, {p11, p01, surface}, {p01, p00, surface}};
  return prism;
}

}  // namespace zaro3
