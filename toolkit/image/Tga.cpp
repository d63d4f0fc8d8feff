#include "Tga.h"

namespace image {

namespace {
constexpr std::size_t kHeaderSize = 18;
constexpr uint8_t kTrueColour = 2;
constexpr uint8_t kTopLeftOrigin = 0x20;
constexpr uint8_t kAlphaBits = 8;

void PutU16(std::string& out, std::size_t at, int value) {
  out[at] = static_cast<char>(value & 0xFF);
  out[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

int GetU16(std::string_view b, std::size_t at) {
  return static_cast<uint8_t>(b[at]) | (static_cast<uint8_t>(b[at + 1]) << 8);
}
}  // namespace

std::string EncodeTga(const Image& img) {
  if (img.width <= 0 || img.height <= 0 || img.width > 0xFFFF || img.height > 0xFFFF) {
    throw ImageError("image size " + std::to_string(img.width) + "x" + std::to_string(img.height) +
                     " cannot be stored in a TGA file");
  }
  const std::size_t pixels = static_cast<std::size_t>(img.width) * img.height;
  std::string out(kHeaderSize + pixels * 4, '\0');
  out[2] = static_cast<char>(kTrueColour);
  PutU16(out, 12, img.width);
  PutU16(out, 14, img.height);
  out[16] = 32;
  out[17] = static_cast<char>(kTopLeftOrigin | kAlphaBits);
  char* dst = out.data() + kHeaderSize;
  const uint8_t* src = img.rgba.data();
  for (std::size_t i = 0; i < pixels; ++i, src += 4, dst += 4) {
    dst[0] = static_cast<char>(src[2]);
    dst[1] = static_cast<char>(src[1]);
    dst[2] = static_cast<char>(src[0]);
    dst[3] = static_cast<char>(src[3]);
  }
  return out;
}

Image DecodeTga(std::string_view bytes) {
  if (bytes.size() < kHeaderSize) throw ImageError("too short for a TGA image");
  const std::size_t idLength = static_cast<uint8_t>(bytes[0]);
  if (bytes[1] != 0 || static_cast<uint8_t>(bytes[2]) != kTrueColour) {
    throw ImageError("not an uncompressed true-colour TGA image");
  }
  const int width = GetU16(bytes, 12);
  const int height = GetU16(bytes, 14);
  const int bits = static_cast<uint8_t>(bytes[16]);
  const uint8_t descriptor = static_cast<uint8_t>(bytes[17]);
  if (bits != 24 && bits != 32) throw ImageError("TGA image has " + std::to_string(bits) + " bits per pixel");
  if (width == 0 || height == 0) throw ImageError("TGA image has no pixels");
  const std::size_t step = static_cast<std::size_t>(bits / 8);
  const std::size_t start = kHeaderSize + idLength;
  const std::size_t pixels = static_cast<std::size_t>(width) * height;
  if (start + pixels * step > bytes.size()) throw ImageError("TGA pixel data is cut short");
  const bool topFirst = (descriptor & kTopLeftOrigin) != 0;
  const bool rightFirst = (descriptor & 0x10) != 0;
  Image img(width, height);
  const char* src = bytes.data() + start;
  for (int row = 0; row < height; ++row) {
    const int y = topFirst ? row : height - 1 - row;
    for (int column = 0; column < width; ++column, src += step) {
      const int x = rightFirst ? width - 1 - column : column;
      uint8_t* dst = img.At(x, y);
      dst[0] = static_cast<uint8_t>(src[2]);
      dst[1] = static_cast<uint8_t>(src[1]);
      dst[2] = static_cast<uint8_t>(src[0]);
      dst[3] = step == 4 ? static_cast<uint8_t>(src[3]) : 255;
    }
  }
  return img;
}

}  // namespace image
