#include "TgaDecoder.h"

#include <gtest/gtest.h>

#include "PreviewError.h"
#include "PreviewTestFiles.h"

namespace mappreview {
namespace {

// 2x2: red, green / blue, half-transparent white; rows from the top.
const std::vector<uint8_t> kPixels = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 128};

TEST(TgaDecoder, EitherRowOrderDecodesTopFirst) {
  for (bool topFirst : {true, false}) {
    Picture picture = DecodeTga(previewtest::MakeTga(2, 2, kPixels, topFirst));
    ASSERT_EQ(picture.width, 2);
    ASSERT_EQ(picture.height, 2);
    EXPECT_EQ(picture.rgba, kPixels) << "top first: " << topFirst;
  }
}

TEST(TgaDecoder, TwentyFourBitIsOpaque) {
  Picture picture = DecodeTga(previewtest::MakeTga(2, 2, kPixels, false, 24));
  EXPECT_EQ(picture.At(1, 1)[0], 255);
  EXPECT_EQ(picture.At(1, 1)[3], 255);
  EXPECT_EQ(picture.At(0, 1)[2], 255);
}

TEST(TgaDecoder, RunLengthPacketsExpand) {
  // 3x1, bottom-first: one run of two blue pixels, then one literal red pixel.
  std::vector<uint8_t> tga(18, 0);
  tga[2] = 10;
  tga[12] = 3;
  tga[14] = 1;
  tga[16] = 24;
  tga.insert(tga.end(), {0x81, 255, 0, 0, 0x00, 0, 0, 255});
  Picture picture = DecodeTga(tga);
  EXPECT_EQ(picture.At(1, 0)[2], 255);
  EXPECT_EQ(picture.At(2, 0)[0], 255);
  EXPECT_EQ(picture.At(2, 0)[2], 0);
}

TEST(TgaDecoder, TruncatedOrUnsupportedFilesThrow) {
  std::vector<uint8_t> whole = previewtest::MakeTga(2, 2, kPixels, true);
  std::vector<uint8_t> truncated(whole.begin(), whole.end() - 1);
  EXPECT_THROW(DecodeTga(truncated), PreviewError);
  EXPECT_THROW(DecodeTga(std::vector<uint8_t>(10, 0)), PreviewError);
  std::vector<uint8_t> mapped = whole;
  mapped[1] = 1;  // colour-mapped
  EXPECT_THROW(DecodeTga(mapped), PreviewError);
  std::vector<uint8_t> sixteen = whole;
  sixteen[16] = 16;
  EXPECT_THROW(DecodeTga(sixteen), PreviewError);
}

}  // namespace
}  // namespace mappreview
