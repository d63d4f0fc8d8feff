// Canvas: an RGB drawing surface at a multiple of the final size, so that
// shapes drawn with hard edges come out antialiased when Downsample averages
// each block of samples. Convex polygons are filled by the pixel-centre rule
// (shared edges neither gap nor overlap); lines, discs and arrows are built on
// that. Coordinates are canvas samples, y downwards; anything outside is clipped.
// The canvas owns its samples.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "Picture.h"
#include "Vec.h"

namespace mappreview {

struct Rgb {
  double r = 0;
  double g = 0;
  double b = 0;
};

class Canvas {
public:
  Canvas(int width, int height, Rgb background);

  int Width() const { return m_width; }
  int Height() const { return m_height; }
  // Mixes `colour` over sample (x, y) with weight `alpha` in [0, 1].
  void Blend(int x, int y, Rgb colour, double alpha);

  // Calls span(y, x0, x1) for every row of samples whose centres lie inside
  // the convex polygon, covering samples x0 .. x1-1, clipped to the canvas.
  template <class Span>
  void ForEachSpan(const std::vector<Vec2>& polygon, Span span) const;

  void FillConvex(const std::vector<Vec2>& polygon, Rgb colour, double alpha);
  void Line(Vec2 a, Vec2 b, double halfWidth, Rgb colour, double alpha);
  void Disc(Vec2 centre, double radius, Rgb colour, double alpha);

  // The picture `factor` times smaller, each pixel the mean of its block.
  Picture Downsample(int factor) const;

private:
  int m_width;
  int m_height;
  std::vector<uint8_t> m_samples;  // r, g, b per sample
};

template <class Span>
void Canvas::ForEachSpan(const std::vector<Vec2>& polygon, Span span) const {
  if (polygon.size() < 3) return;
  double top = polygon[0].y, bottom = polygon[0].y;
  for (const Vec2& p : polygon) {
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
  }
  int firstRow = std::max(0, static_cast<int>(std::ceil(top - 0.5)));
  int lastRow = std::min(m_height - 1, static_cast<int>(std::ceil(bottom - 0.5)) - 1);
  for (int y = firstRow; y <= lastRow; ++y) {
    double centre = y + 0.5;
    double left = 1e300, right = -1e300;
    for (std::size_t i = 0; i < polygon.size(); ++i) {
      Vec2 a = polygon[i];
      Vec2 b = polygon[(i + 1) % polygon.size()];
      if ((a.y <= centre && centre < b.y) || (b.y <= centre && centre < a.y)) {
        double x = a.x + (centre - a.y) * (b.x - a.x) / (b.y - a.y);
        left = std::min(left, x);
        right = std::max(right, x);
      }
    }
    if (left > right) continue;
    int x0 = std::max(0, static_cast<int>(std::ceil(left - 0.5)));
    int x1 = std::min(m_width, static_cast<int>(std::ceil(right - 0.5)));
    if (x0 < x1) span(y, x0, x1);
  }
}

}  // namespace mappreview
