#include "PrismShapes.h"

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

Prism LineSlab(IntPoint v1, IntPoint v2, int64_t thickness, bool towardsFront, int64_t zLow, int64_t zHigh,
               const Surface& face, const Surface& end) {
  const int64_t dx = v2.x - v1.x;
  const int64_t dy = v2.y - v1.y;
  IntPoint offset;
  if (std::llabs(dx) >= std::llabs(dy)) {
    // The front (right) normal of v1->v2 is (dy, -dx): its y part has the sign of -dx.
    const int64_t frontSign = dx > 0 ? -1 : 1;
    offset = {0, (towardsFront ? frontSign : -frontSign) * thickness};
  } else {
    const int64_t frontSign = dy > 0 ? 1 : -1;
    offset = {(towardsFront ? frontSign : -frontSign) * thickness, 0};
  }
  const IntPoint w1{v1.x + offset.x, v1.y + offset.y};
  const IntPoint w2{v2.x + offset.x, v2.y + offset.y};
  Prism prism;
  prism.zLow = zLow;
  prism.zHigh = zHigh;
  prism.top = end;
  prism.bottom = end;
  if (Cross(v1, v2, w2) > 0) {
    prism.sides = {{v1, v2, face}, {v2, w2, end}, {w2, w1, face}, {w1, v1, end}};
  } else {
    prism.sides = {{w1, w2, face}, {w2, v2, end}, {v2, v1, face}, {v1, w1, end}};
  }
  return prism;
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
