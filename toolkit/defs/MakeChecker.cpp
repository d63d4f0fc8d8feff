// Writes the placeholder image for missing textures: a 64x64 magenta and black
// checker of 8-pixel squares, opaque, through the kit's own TGA writer.
// Build-time helper; the image is never kept in the sources.
#include <cstdio>

#include "Image.h"
#include "OutputFile.h"
#include "Tga.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_checker <output.tga>\n");
    return 1;
  }
  constexpr int kSize = 64;
  constexpr int kSquare = 8;
  image::Image checker(kSize, kSize);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const uint8_t lit = ((x / kSquare) + (y / kSquare)) % 2 == 0 ? 255 : 0;
      uint8_t* pixel = checker.At(x, y);
      pixel[0] = lit;
      pixel[1] = 0;
      pixel[2] = lit;
      pixel[3] = 255;
    }
  }
  try {
    image::WriteFileReplacing(argv[1], image::EncodeTga(checker));
  } catch (const image::ImageError& e) {
    std::fprintf(stderr, "make_checker: %s\n", e.what());
    return 3;
  }
  return 0;
}
