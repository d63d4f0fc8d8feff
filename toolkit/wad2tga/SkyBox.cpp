#include "SkyBox.h"

#include <algorithm>
#include <cmath>

namespace wad2tga {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kColumnsPerTurn = 1024;
constexpr double kHorizonRow = 100.0;
constexpr double kRowsPerTangent = 160.0;
constexpr int kAveragedRows = 8;

struct Colour {
  uint8_t r, g, b;
};

Colour AverageRows(const image::Image& sky, int firstRow, int rows) {
  unsigned long long sum[3] = {0, 0, 0};
  unsigned long long count = 0;
  for (int y = std::max(0, firstRow); y < std::min(sky.height, firstRow + rows); ++y) {
    for (int x = 0; x < sky.width; ++x, ++count) {
      for (int c = 0; c < 3; ++c) sum[c] += sky.At(x, y)[c];
    }
  }
  if (count == 0) return {0, 0, 0};
  return {static_cast<uint8_t>(sum[0] / count), static_cast<uint8_t>(sum[1] / count),
          static_cast<uint8_t>(sum[2] / count)};
}

void Put(uint8_t* dst, uint8_t r, uint8_t g, uint8_t b) {
  dst[0] = r;
  dst[1] = g;
  dst[2] = b;
  dst[3] = 255;
}

image::Image Plain(Colour colour) {
  image::Image face(kSkyFaceSize, kSkyFaceSize);
  for (int y = 0; y < kSkyFaceSize; ++y) {
    for (int x = 0; x < kSkyFaceSize; ++x) Put(face.At(x, y), colour.r, colour.g, colour.b);
  }
  return face;
}

// The side looking at `faceAngle` (radians, counter-clockwise from +x seen from above).
image::Image Side(const image::Image& sky, double faceAngle, Colour top, Colour bottom) {
  image::Image face(kSkyFaceSize, kSkyFaceSize);
  for (int x = 0; x < kSkyFaceSize; ++x) {
    const double right = 2.0 * (x + 0.5) / kSkyFaceSize - 1.0;  // tangent to the right of the face centre
    double angle = std::fmod(faceAngle - std::atan(right), 2 * kPi);
    if (angle < 0) angle += 2 * kPi;
    const int turnColumn = static_cast<int>(angle / (2 * kPi) * kColumnsPerTurn) % kColumnsPerTurn;
    const int column = turnColumn % sky.width;
    const double distance = std::sqrt(1.0 + right * right);
    for (int y = 0; y < kSkyFaceSize; ++y) {
      const double up = 1.0 - 2.0 * (y + 0.5) / kSkyFaceSize;
      const double row = std::floor(kHorizonRow - up / distance * kRowsPerTangent);
      uint8_t* dst = face.At(x, y);
      if (row < 0) {
        Put(dst, top.r, top.g, top.b);
      } else if (row >= sky.height) {
        Put(dst, bottom.r, bottom.g, bottom.b);
      } else {
        const uint8_t* src = sky.At(column, static_cast<int>(row));
        Put(dst, src[0], src[1], src[2]);
      }
    }
  }
  return face;
}

}  // namespace

std::array<SkyFace, 6> MakeSkyBox(const image::Image& sky) {
  const Colour top = AverageRows(sky, 0, kAveragedRows);
  const Colour bottom = AverageRows(sky, sky.height - kAveragedRows, kAveragedRows);
  return {SkyFace{"_forward", Side(sky, 0, top, bottom)}, SkyFace{"_back", Side(sky, kPi, top, bottom)},
          SkyFace{"_left", Side(sky, kPi / 2, top, bottom)}, SkyFace{"_right", Side(sky, 3 * kPi / 2, top, bottom)},
          SkyFace{"_up", Plain(top)}, SkyFace{"_down", Plain(bottom)}};
}

}  // namespace wad2tga
