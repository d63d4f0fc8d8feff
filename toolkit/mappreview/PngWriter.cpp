#include "PngWriter.h"

#include <zlib.h>

#include <string_view>

#include "PreviewError.h"
#include "ReplaceFile.h"

namespace mappreview {
namespace {

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v >> 24));
  out.push_back(static_cast<uint8_t>(v >> 16));
  out.push_back(static_cast<uint8_t>(v >> 8));
  out.push_back(static_cast<uint8_t>(v));
}

void PutChunk(std::vector<uint8_t>& out, const char type[4], const std::vector<uint8_t>& data) {
  PutU32(out, static_cast<uint32_t>(data.size()));
  std::size_t typeAt = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  uLong crc = crc32(0L, Z_NULL, 0);
  crc = crc32(crc, &out[typeAt], static_cast<uInt>(4 + data.size()));
  PutU32(out, static_cast<uint32_t>(crc));
}

int Paeth(int a, int b, int c) {
  int p = a + b - c;
  int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return a;
  return pb <= pc ? b : c;
}

// Filters one row with each of the five PNG filters and keeps the one whose
// bytes, read as signed, sum smallest: the usual guess at what deflates best.
void AppendFilteredRow(std::vector<uint8_t>& out, const uint8_t* row, const uint8_t* above, std::size_t length) {
  constexpr int kBytesPerPixel = 3;
  std::vector<uint8_t> best, trial(length);
  long bestScore = -1;
  for (int filter = 0; filter < 5; ++filter) {
    long score = 0;
    for (std::size_t i = 0; i < length; ++i) {
      int a = i >= kBytesPerPixel ? row[i - kBytesPerPixel] : 0;
      int b = above ? above[i] : 0;
      int c = above && i >= kBytesPerPixel ? above[i - kBytesPerPixel] : 0;
      int predictor = filter == 0 ? 0 : filter == 1 ? a : filter == 2 ? b : filter == 3 ? (a + b) / 2 : Paeth(a, b, c);
      trial[i] = static_cast<uint8_t>(row[i] - predictor);
      score += std::abs(static_cast<int8_t>(trial[i]));
    }
    if (bestScore < 0 || score < bestScore) {
      bestScore = score;
      best = trial;
      best.insert(best.begin(), static_cast<uint8_t>(filter));
    }
  }
  out.insert(out.end(), best.begin(), best.end());
}

}  // namespace

std::vector<uint8_t> EncodePng(const Picture& picture) {
  std::size_t rowLength = static_cast<std::size_t>(picture.width) * 3;
  std::vector<uint8_t> raw;
  raw.reserve((rowLength + 1) * picture.height);
  std::vector<uint8_t> row(rowLength), above(rowLength);
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x)
      for (int c = 0; c < 3; ++c) row[x * 3 + c] = picture.At(x, y)[c];
    AppendFilteredRow(raw, row.data(), y > 0 ? above.data() : nullptr, rowLength);
    std::swap(row, above);
  }
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  std::vector<uint8_t> packed(packedSize);
  if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 9) != Z_OK)
    throw PreviewError(ExitCode::CannotWrite, "cannot compress the picture");
  packed.resize(packedSize);

  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> header;
  PutU32(header, static_cast<uint32_t>(picture.width));
  PutU32(header, static_cast<uint32_t>(picture.height));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, adaptive filters, no interlace
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", packed);
  PutChunk(png, "IEND", {});
  return png;
}

void WriteFileReplacing(const std::string& path, const std::vector<uint8_t>& bytes) {
  try {
    fileio::WriteFileReplacing(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  } catch (const fileio::FileError&) {
    throw PreviewError(ExitCode::CannotWrite, "cannot write " + path);
  }
}

}  // namespace mappreview
