// Writes the images of the converted levels' light material: a soft-edged
// square projection (DOOM lights a sector evenly; DOOM 3's own default light is
// a square too) and its falloff, through the kit's own TGA writer. 128 texels
// keep the engine's texture compression from showing bands on walls.
// Build-time helper; the images are never kept in the sources.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "Image.h"
#include "OutputFile.h"
#include "Tga.h"

namespace {

constexpr int kSize = 128;
constexpr double kSoftEdge = 0.15;  // the share of each side over which the light fades out

// 1 inside, easing to 0 at both ends of [0, 1].
double Edge(double t) {
  double d = std::min(t, 1.0 - t) / kSoftEdge;
  d = std::clamp(d, 0.0, 1.0);
  return d * d * (3.0 - 2.0 * d);
}

image::Image Grey(int width, int height, double (*value)(double u, double v)) {
  image::Image picture(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const double v = value((x + 0.5) / width, (y + 0.5) / height);
      const uint8_t level = static_cast<uint8_t>(std::lround(255.0 * v));
      uint8_t* pixel = picture.At(x, y);
      pixel[0] = pixel[1] = pixel[2] = level;
      pixel[3] = 255;
    }
  }
  return picture;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_light_images <square.tga> <falloff.tga>\n");
    return 1;
  }
  try {
    image::WriteFileReplacing(argv[1], image::EncodeTga(Grey(kSize, kSize, [](double u, double v) {
                                return Edge(u) * Edge(v);
                              })));
    // Four rows: one whole compression block, sampled in its middle.
    image::WriteFileReplacing(argv[2], image::EncodeTga(Grey(kSize, 4, [](double u, double) { return Edge(u); })));
  } catch (const image::ImageError& e) {
    std::fprintf(stderr, "make_light_images: %s\n", e.what());
    return 3;
  }
  return 0;
}
