#include "PngWriter.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "PreviewError.h"
#include "PreviewTestFiles.h"

namespace mappreview {
namespace {

uint32_t Be32(const std::vector<uint8_t>& b, std::size_t at) {
  return (uint32_t(b[at]) << 24) | (uint32_t(b[at + 1]) << 16) | (uint32_t(b[at + 2]) << 8) | b[at + 3];
}

struct Chunk {
  std::string type;
  std::vector<uint8_t> data;
};

// Splits a PNG into chunks, checking each CRC on the way.
std::vector<Chunk> ReadChunks(const std::vector<uint8_t>& png) {
  std::vector<Chunk> chunks;
  std::size_t at = 8;
  while (at + 12 <= png.size()) {
    uint32_t length = Be32(png, at);
    Chunk chunk{std::string(png.begin() + at + 4, png.begin() + at + 8),
                std::vector<uint8_t>(png.begin() + at + 8, png.begin() + at + 8 + length)};
    uint32_t crc = static_cast<uint32_t>(crc32(crc32(0L, Z_NULL, 0), &png[at + 4], length + 4));
    EXPECT_EQ(crc, Be32(png, at + 8 + length)) << chunk.type;
    chunks.push_back(chunk);
    at += 12 + length;
  }
  EXPECT_EQ(at, png.size());
  return chunks;
}

// Undoes the per-row filters of an 8-bit RGB image.
std::vector<uint8_t> Unfilter(const std::vector<uint8_t>& raw, int width, int height) {
  std::size_t stride = static_cast<std::size_t>(width) * 3;
  std::vector<uint8_t> out(stride * height);
  for (int y = 0; y < height; ++y) {
    int filter = raw[y * (stride + 1)];
    for (std::size_t i = 0; i < stride; ++i) {
      int a = i >= 3 ? out[y * stride + i - 3] : 0;
      int b = y > 0 ? out[(y - 1) * stride + i] : 0;
      int c = y > 0 && i >= 3 ? out[(y - 1) * stride + i - 3] : 0;
      int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
      int paeth = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
      int predictor = filter == 0 ? 0 : filter == 1 ? a : filter == 2 ? b : filter == 3 ? (a + b) / 2 : paeth;
      out[y * stride + i] = static_cast<uint8_t>(raw[y * (stride + 1) + 1 + i] + predictor);
    }
  }
  return out;
}

TEST(PngWriter, ReadsBackAsTheSamePixels) {
  Picture picture;
  picture.width = 37;
  picture.height = 11;
  picture.rgba.resize(picture.width * picture.height * 4);
  for (std::size_t i = 0; i < picture.rgba.size(); ++i) picture.rgba[i] = static_cast<uint8_t>((i * 7) ^ (i >> 5));
  std::vector<uint8_t> png = EncodePng(picture);

  const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  ASSERT_GT(png.size(), 8u);
  EXPECT_TRUE(std::equal(signature, signature + 8, png.begin()));
  std::vector<Chunk> chunks = ReadChunks(png);
  ASSERT_EQ(chunks.size(), 3u);
  EXPECT_EQ(chunks[0].type, "IHDR");
  EXPECT_EQ(chunks[1].type, "IDAT");
  EXPECT_EQ(chunks[2].type, "IEND");
  ASSERT_EQ(chunks[0].data.size(), 13u);
  EXPECT_EQ(Be32(chunks[0].data, 0), 37u);
  EXPECT_EQ(Be32(chunks[0].data, 4), 11u);
  EXPECT_EQ(chunks[0].data[8], 8);  // bits
  EXPECT_EQ(chunks[0].data[9], 2);  // RGB

  std::vector<uint8_t> raw((37 * 3 + 1) * 11);
  uLongf rawSize = static_cast<uLongf>(raw.size());
  ASSERT_EQ(uncompress(raw.data(), &rawSize, chunks[1].data.data(), static_cast<uLong>(chunks[1].data.size())), Z_OK);
  ASSERT_EQ(rawSize, raw.size());
  std::vector<uint8_t> rgb = Unfilter(raw, 37, 11);
  for (int i = 0; i < 37 * 11; ++i)
    for (int c = 0; c < 3; ++c) ASSERT_EQ(rgb[i * 3 + c], picture.rgba[i * 4 + c]) << "pixel " << i;
}

TEST(PngWriter, ReplacesTheFileWholeAndLeavesNoTemporary) {
  previewtest::ScratchFolder folder;
  std::filesystem::path target = folder / "out.png";
  previewtest::WriteText(target, "old");
  WriteFileReplacing(target.string(), {1, 2, 3});
  EXPECT_EQ(std::filesystem::file_size(target), 3u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
  try {
    WriteFileReplacing((folder / "no/such/folder.png").string(), {1});
    FAIL();
  } catch (const PreviewError& e) {
    EXPECT_EQ(e.Code(), ExitCode::CannotWrite);
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
}

}  // namespace
}  // namespace mappreview
