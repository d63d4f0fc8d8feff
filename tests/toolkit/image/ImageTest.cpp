// TGA files, texture composition and the wall texture set of a crafted wad.
#include <gtest/gtest.h>

#include "Compose.h"
#include "Tga.h"
#include "WadBuilder.h"
#include "WallTextures.h"

using namespace testwad;

namespace {

wad::Palette TestPalette() { return wad::DecodePalette(BuildPalette()); }

// A solid patch of one palette index.
wad::Picture Solid(int width, int height, uint8_t index) {
  wad::Picture p;
  p.width = width;
  p.height = height;
  p.index.assign(static_cast<std::size_t>(width) * height, index);
  p.covered.assign(p.index.size(), 1);
  return p;
}

int RedAt(const image::Image& img, int x, int y) { return img.At(x, y)[3] == 0 ? -1 : img.At(x, y)[0]; }

}  // namespace

TEST(Tga, HeaderFieldsTopRowFirstAndRoundTrip) {
  image::Image img(3, 2);
  img.At(0, 0)[0] = 10;  // red of the top-left pixel
  img.At(0, 0)[3] = 255;
  img.At(2, 1)[2] = 30;  // blue of the bottom-right pixel, alpha 0
  const std::string tga = image::EncodeTga(img);
  ASSERT_EQ(tga.size(), 18u + 3 * 2 * 4);
  EXPECT_EQ(tga[2], 2);       // uncompressed true colour
  EXPECT_EQ(tga[12], 3);      // width
  EXPECT_EQ(tga[14], 2);      // height
  EXPECT_EQ(tga[16], 32);     // bits per pixel
  EXPECT_EQ(tga[17], 0x28);   // 8 alpha bits, top-left origin
  EXPECT_EQ(tga[18 + 2], 10);  // first stored pixel is the top-left one, in BGRA
  EXPECT_EQ(static_cast<uint8_t>(tga[18 + 3]), 255);
  const image::Image back = image::DecodeTga(tga);
  EXPECT_EQ(back.width, 3);
  EXPECT_EQ(back.rgba, img.rgba);

  // A bottom-up file (as many editors write) reads the same way up.
  std::string bottomUp = tga;
  bottomUp[17] = 8;
  for (int x = 0; x < 12; ++x) std::swap(bottomUp[18 + x], bottomUp[18 + 12 + x]);
  EXPECT_EQ(image::DecodeTga(bottomUp).rgba, img.rgba);
}

TEST(Tga, BadFilesAndSizesAreImageErrors) {
  EXPECT_THROW(image::DecodeTga("short"), image::ImageError);
  std::string tga = image::EncodeTga(image::Image(4, 4));
  EXPECT_THROW(image::DecodeTga(tga.substr(0, tga.size() - 1)), image::ImageError);
  tga[2] = 10;  // run-length coded
  EXPECT_THROW(image::DecodeTga(tga), image::ImageError);
  EXPECT_THROW(image::EncodeTga(image::Image(70000, 1)), image::ImageError);
}

TEST(Compose, LaterPatchesCoverEarlierOnesAndUncoveredStaysTransparent) {
  const wad::Palette palette = TestPalette();
  const wad::Picture a = Solid(4, 4, 1);
  const wad::Picture b = Solid(2, 2, 2);
  const image::Image img = image::ComposeTexture(6, 4, {{&a, 0, 0}, {&b, 3, 1}}, palette);
  EXPECT_EQ(RedAt(img, 0, 0), 1);
  EXPECT_EQ(RedAt(img, 3, 1), 2);  // b drawn over a
  EXPECT_EQ(RedAt(img, 4, 2), 2);
  EXPECT_EQ(RedAt(img, 5, 0), -1);  // nothing there
  EXPECT_EQ(RedAt(img, 4, 3), -1);
  EXPECT_TRUE(img.HasTransparency());
}

TEST(Compose, PatchesHangingOverEdgesOrAtNegativeOffsetsAreClipped) {
  const wad::Palette palette = TestPalette();
  wad::Picture p = Solid(4, 4, 0);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) p.index[y * 4 + x] = static_cast<uint8_t>(10 * y + x);
  }
  const image::Image img = image::ComposeTexture(3, 3, {{&p, -2, -1}, {&p, 2, 2}}, palette);
  EXPECT_EQ(RedAt(img, 0, 0), 12);  // patch pixel (2, 1)
  EXPECT_EQ(RedAt(img, 1, 2), 33);
  EXPECT_EQ(RedAt(img, 2, 2), 0);   // the second copy's first pixel, the rest clipped
  EXPECT_EQ(RedAt(img, 2, 0), -1);
}

TEST(Compose, FlatsNeedExactly4096Bytes) {
  const image::Image flat = image::FlatToImage(std::string(4096, '\x05'), TestPalette());
  EXPECT_EQ(flat.width, 64);
  EXPECT_FALSE(flat.HasTransparency());
  EXPECT_EQ(flat.At(63, 63)[1], 250);
  EXPECT_THROW(image::FlatToImage(std::string(4000, '\0'), TestPalette()), image::ImageError);
}

TEST(WallTextures, MissingAndBrokenPatchesAreReportedTheRestBuilt) {
  std::string broken = BuildPicture(1, 1, {{{0, "q"}}});
  broken[8] = '\x70';  // its only column points past the lump
  const std::vector<uint8_t> bytes = BuildWad({
      {"PLAYPAL", BuildPalette()},
      {"PNAMES", BuildPatchNames({"GOOD", "GONE", "BROKEN"})},
      {"TEXTURE1", BuildTextures({{"MIXED", 2, 2, {{0, 0, 0}, {1, 0, 1}, {1, 1, 2}}}, {"DUP", 1, 1, {}}})},
      {"TEXTURE2", BuildTextures({{"DUP", 8, 8, {}}})},
      {"P_START", ""},
      {"GOOD", BuildPicture(1, 2, {{{0, "\x07\x08"}}})},
      {"BROKEN", broken},
      {"P_END", ""},
  });
  const wad::WadFile wad = wad::WadFile::FromBytes(bytes);
  image::WallTextures walls(wad, wad::ReadPalette(wad));
  EXPECT_TRUE(walls.Problems().empty());
  ASSERT_EQ(walls.Defs().size(), 2u);
  EXPECT_EQ(walls.Find("DUP")->width, 1);  // TEXTURE1's definition wins
  std::vector<std::string> problems;
  const image::Image img = walls.Build(*walls.Find("MIXED"), problems);
  EXPECT_EQ(RedAt(img, 0, 0), 7);
  EXPECT_EQ(RedAt(img, 0, 1), 8);
  EXPECT_EQ(RedAt(img, 1, 0), -1);
  ASSERT_EQ(problems.size(), 2u);
  EXPECT_NE(problems[0].find("GONE"), std::string::npos);
  EXPECT_NE(problems[1].find("BROKEN"), std::string::npos);

  const wad::WadFile noTables = wad::WadFile::FromBytes(BuildWad({{"PLAYPAL", BuildPalette()}}));
  image::WallTextures none(noTables, wad::ReadPalette(noTables));
  EXPECT_TRUE(none.Defs().empty());
  EXPECT_EQ(none.Problems().size(), 1u);
}
