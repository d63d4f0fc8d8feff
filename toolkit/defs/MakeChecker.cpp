// Writes the placeholder image for missing textures: a 64x64 magenta and black
// checker of 8-pixel squares as an uncompressed 24-bit TGA, through a
// temporary file. Build-time helper; the image is never kept in the sources.
#include <cstdio>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_checker <output.tga>\n");
    return 1;
  }
  const std::string target = argv[1];
  const std::string temporary = target + ".tmp";
  constexpr int kSize = 64;
  constexpr int kSquare = 8;
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    // TGA header: no id, no palette, type 2 (true colour), 24 bits, origin top-left.
    const unsigned char header[18] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, kSize, 0, kSize, 0, 24, 0x20};
    out.write(reinterpret_cast<const char*>(header), sizeof header);
    for (int y = 0; y < kSize; ++y) {
      for (int x = 0; x < kSize; ++x) {
        const bool lit = ((x / kSquare) + (y / kSquare)) % 2 == 0;
        const char bgr[3] = {static_cast<char>(lit ? 255 : 0), 0, static_cast<char>(lit ? 255 : 0)};
        out.write(bgr, 3);
      }
    }
    if (!out) {
      std::fprintf(stderr, "make_checker: cannot write %s\n", target.c_str());
      std::remove(temporary.c_str());
      return 3;
    }
  }
  if (std::rename(temporary.c_str(), target.c_str()) != 0) {
    std::remove(target.c_str());
    if (std::rename(temporary.c_str(), target.c_str()) != 0) {
      std::fprintf(stderr, "make_checker: cannot write %s\n", target.c_str());
      std::remove(temporary.c_str());
      return 3;
    }
  }
  return 0;
}
