#include "TgaDecoder.h"

#include <string>

#include "PreviewError.h"

namespace mappreview {
namespace {

constexpr std::size_t kHeaderSize = 18;
constexpr int kMaxSide = 8192;

[[noreturn]] void Fail(const std::string& what) { throw PreviewError(ExitCode::BadInput, "TGA: " + what); }

// Reads pixels in file order, undoing the run-length packets when present.
class PixelStream {
public:
  PixelStream(const std::vector<uint8_t>& bytes, std::size_t at, int bytesPerPixel, bool runLength)
      : m_bytes(bytes), m_at(at), m_size(bytesPerPixel), m_runLength(runLength) {}

  const uint8_t* Next() {
    if (!m_runLength) return Take();
    if (m_left == 0) {
      if (m_at >= m_bytes.size()) Fail("truncated pixel data");
      uint8_t packet = m_bytes[m_at++];
      m_left = (packet & 0x7F) + 1;
      m_repeat = (packet & 0x80) != 0;
      if (m_repeat) m_repeated = Take();
    }
    --m_left;
    return m_repeat ? m_repeated : Take();
  }

private:
  const uint8_t* Take() {
    if (m_at + m_size > m_bytes.size()) Fail("truncated pixel data");
    const uint8_t* p = &m_bytes[m_at];
    m_at += m_size;
    return p;
  }

  const std::vector<uint8_t>& m_bytes;
  std::size_t m_at;
  std::size_t m_size;
  bool m_runLength;
  int m_left = 0;
  bool m_repeat = false;
  const uint8_t* m_repeated = nullptr;
};

}  // namespace

Picture DecodeTga(const std::vector<uint8_t>& bytes) {
  if (bytes.size() < kHeaderSize) Fail("too short for a header");
  int idLength = bytes[0];
  int colourMapType = bytes[1];
  int imageType = bytes[2];
  int width = bytes[12] | (bytes[13] << 8);
  int height = bytes[14] | (bytes[15] << 8);
  int bits = bytes[16];
  int descriptor = bytes[17];
  if (colourMapType != 0) Fail("colour-mapped images are not supported");
  bool runLength = imageType == 10 || imageType == 11;
  bool grey = imageType == 3 || imageType == 11;
  if (imageType != 2 && imageType != 10 && !grey) Fail("unsupported image type " + std::to_string(imageType));
  if (grey ? bits != 8 : bits != 24 && bits != 32) Fail("unsupported depth of " + std::to_string(bits) + " bits");
  if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide) Fail("bad size");

  Picture picture;
  picture.width = width;
  picture.height = height;
  picture.rgba.resize(static_cast<std::size_t>(width) * height * 4);
  bool topFirst = (descriptor & 0x20) != 0;
  bool rightFirst = (descriptor & 0x10) != 0;
  PixelStream pixels(bytes, kHeaderSize + idLength, bits / 8, runLength);
  for (int row = 0; row < height; ++row) {
    int y = topFirst ? row : height - 1 - row;
    for (int column = 0; column < width; ++column) {
      int x = rightFirst ? width - 1 - column : column;
      const uint8_t* p = pixels.Next();
      uint8_t* out = picture.At(x, y);
      if (grey) {
        out[0] = out[1] = out[2] = p[0];
        out[3] = 255;
      } else {
        out[0] = p[2];
        out[1] = p[1];
        out[2] = p[0];
        out[3] = bits == 32 ? p[3] : 255;
      }
    }
  }
  return picture;
}

}  // namespace mappreview
