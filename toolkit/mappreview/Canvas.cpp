#include "Canvas.h"

namespace mappreview {
namespace {

uint8_t ToByte(double value) { return static_cast<uint8_t>(std::clamp(value + 0.5, 0.0, 255.0)); }

}  // namespace

Canvas::Canvas(int width, int height, Rgb background)
    : m_width(width), m_height(height), m_samples(static_cast<std::size_t>(width) * height * 3) {
  for (std::size_t i = 0; i < m_samples.size(); i += 3) {
    m_samples[i] = ToByte(background.r);
    m_samples[i + 1] = ToByte(background.g);
    m_samples[i + 2] = ToByte(background.b);
  }
}

void Canvas::Blend(int x, int y, Rgb colour, double alpha) {
  uint8_t* s = &m_samples[(static_cast<std::size_t>(y) * m_width + x) * 3];
  s[0] = ToByte(s[0] + (colour.r - s[0]) * alpha);
  s[1] = ToByte(s[1] + (colour.g - s[1]) * alpha);
  s[2] = ToByte(s[2] + (colour.b - s[2]) * alpha);
}

void Canvas::FillConvex(const std::vector<Vec2>& polygon, Rgb colour, double alpha) {
  ForEachSpan(polygon, [&](int y, int x0, int x1) {
    for (int x = x0; x < x1; ++x) Blend(x, y, colour, alpha);
  });
}

void Canvas::Line(Vec2 a, Vec2 b, double halfWidth, Rgb colour, double alpha) {
  double dx = b.x - a.x, dy = b.y - a.y;
  double length = std::sqrt(dx * dx + dy * dy);
  if (length < 1e-9) {
    Disc(a, halfWidth, colour, alpha);
    return;
  }
  // Square caps half a width long, so lines meeting at a corner close it.
  double ux = dx / length * halfWidth, uy = dy / length * halfWidth;
  FillConvex({{a.x - ux - uy, a.y - uy + ux},
              {b.x + ux - uy, b.y + uy + ux},
              {b.x + ux + uy, b.y + uy - ux},
              {a.x - ux + uy, a.y - uy - ux}},
             colour, alpha);
}

void Canvas::Disc(Vec2 centre, double radius, Rgb colour, double alpha) {
  int y0 = std::max(0, static_cast<int>(std::floor(centre.y - radius)));
  int y1 = std::min(m_height - 1, static_cast<int>(std::ceil(centre.y + radius)));
  int x0 = std::max(0, static_cast<int>(std::floor(centre.x - radius)));
  int x1 = std::min(m_width - 1, static_cast<int>(std::ceil(centre.x + radius)));
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) {
      double ex = x + 0.5 - centre.x, ey = y + 0.5 - centre.y;
      if (ex * ex + ey * ey <= radius * radius) Blend(x, y, colour, alpha);
    }
}

Picture Canvas::Downsample(int factor) const {
  Picture picture;
  picture.width = m_width / factor;
  picture.height = m_height / factor;
  picture.rgba.assign(static_cast<std::size_t>(picture.width) * picture.height * 4, 255);
  double weight = 1.0 / (factor * factor);
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x) {
      double sum[3] = {0, 0, 0};
      for (int sy = 0; sy < factor; ++sy) {
        const uint8_t* s = &m_samples[(static_cast<std::size_t>(y * factor + sy) * m_width + x * factor) * 3];
        for (int sx = 0; sx < factor; ++sx, s += 3) {
          sum[0] += s[0];
          sum[1] += s[1];
          sum[2] += s[2];
        }
      }
      uint8_t* out = picture.At(x, y);
      for (int c = 0; c < 3; ++c) out[c] = ToByte(sum[c] * weight);
    }
  return picture;
}

}  // namespace mappreview
