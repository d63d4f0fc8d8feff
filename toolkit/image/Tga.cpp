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

// Image types read: true colour and greyscale, each plain or run-length coded.
constexpr uint8_t kGrey = 3;
constexpr uint8_t kTrueColourRunLength = 10;
constexpr uint8_t kGreyRunLength = 11;
// Bounds the allocation a header can ask for.
constexpr int kMaxSide = 8192;

// Reads pixels in file order, undoing run-length packets when present.
class PixelStream {
public:
  PixelStream(std::string_view bytes, std::size_t at, std::size_t bytesPerPixel, bool runLength)
      : m_bytes(bytes), m_at(at), m_size(bytesPerPixel), m_runLength(runLength) {}

  const uint8_t* Next() {
    if (!m_runLength) return Take();
    if (m_left == 0) {
      if (m_at >= m_bytes.size()) throw ImageError("TGA pixel data is cut short");
      const uint8_t packet = static_cast<uint8_t>(m_bytes[m_at++]);
      m_left = (packet & 0x7F) + 1;
      m_repeat = (packet & 0x80) != 0;
      if (m_repeat) m_repeated = Take();
    }
    --m_left;
    return m_repeat ? m_repeated : Take();
  }

private:
  const uint8_t* Take() {
    if (m_at + m_size > m_bytes.size()) throw ImageError("TGA pixel data is cut short");
    const uint8_t* p = reinterpret_cast<const uint8_t*>(m_bytes.data()) + m_at;
    m_at += m_size;
    return p;
  }

  std::string_view m_bytes;
  std::size_t m_at;
  std::size_t m_size;
  bool m_runLength;
  int m_left = 0;
  bool m_repeat = false;
  const uint8_t* m_repeated = nullptr;
};
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
  if (bytes[1] != 0) throw ImageError("colour-mapped TGA images are not supported");
  const uint8_t type = static_cast<uint8_t>(bytes[2]);
  const bool grey = type == kGrey || type == kGreyRunLength;
  const bool runLength = type == kTrueColourRunLength || type == kGreyRunLength;
  if (type != kTrueColour && type != kTrueColourRunLength && !grey) {
    throw ImageError("unsupported TGA image type " + std::to_string(type));
  }
  const int width = GetU16(bytes, 12);
  const int height = GetU16(bytes, 14);
  const int bits = static_cast<uint8_t>(bytes[16]);
  const uint8_t descriptor = static_cast<uint8_t>(bytes[17]);
  if (grey ? bits != 8 : bits != 24 && bits != 32) {
    throw ImageError("TGA image has " + std::to_string(bits) + " bits per pixel");
  }
  if (width == 0 || height == 0) throw ImageError("TGA image has no pixels");
  if (width > kMaxSide || height > kMaxSide) throw ImageError("TGA image is too large");
  const bool topFirst = (descriptor & kTopLeftOrigin) != 0;
  const bool rightFirst = (descriptor & 0x10) != 0;
  Image img(width, height);
  PixelStream pixels(bytes, kHeaderSize + idLength, static_cast<std::size_t>(bits / 8), runLength);
  for (int row = 0; row < height; ++row) {
    const int y = topFirst ? row : height - 1 - row;
    for (int column = 0; column < width; ++column) {
      const int x = rightFirst ? width - 1 - column : column;
      const uint8_t* src = pixels.Next();
      uint8_t* dst = img.At(x, y);
      if (grey) {
        dst[0] = dst[1] = dst[2] = src[0];
        dst[3] = 255;
      } else {
        dst[0] = src[2];
        dst[1] = src[1];
        dst[2] = src[0];
        dst[3] = bits == 32 ? src[3] : 255;
      }
    }
  }
  return img;
}

}  // namespace image
