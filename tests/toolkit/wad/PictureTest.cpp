// The picture format, the texture tables and the marker namespaces.
#include <gtest/gtest.h>

#include "../image/WadBuilder.h"
#include "Namespaces.h"
#include "Palette.h"
#include "Picture.h"
#include "TextureDefs.h"

using namespace testwad;

TEST(Picture, PostsDrawTheirRowsAndLeaveGapsTransparent) {
  const std::string lump = BuildPicture(2, 6, {{{1, "ab"}, {4, "c"}}, {}});
  const wad::DecodedPicture decoded = wad::DecodePicture(lump);
  const wad::Picture& p = decoded.picture;
  EXPECT_EQ(decoded.badColumns, 0);
  ASSERT_EQ(p.width, 2);
  ASSERT_EQ(p.height, 6);
  EXPECT_FALSE(p.Covered(0, 0));
  EXPECT_TRUE(p.Covered(0, 1));
  EXPECT_EQ(p.Index(0, 1), 'a');
  EXPECT_EQ(p.Index(0, 2), 'b');
  EXPECT_FALSE(p.Covered(0, 3));
  EXPECT_EQ(p.Index(0, 4), 'c');
  for (int y = 0; y < 6; ++y) EXPECT_FALSE(p.Covered(1, y)) << "empty column row " << y;
}

TEST(Picture, TallPatchDeltaNotAboveThePreviousIsRelative) {
  // Posts at 200, then delta 100 (<= 200) means 300, then 50 means 350.
  const std::string lump = BuildPicture(1, 400, {{{200, "x"}, {100, "y"}, {50, "z"}}});
  const wad::Picture p = wad::DecodePicture(lump).picture;
  EXPECT_EQ(p.Index(0, 200), 'x');
  EXPECT_EQ(p.Index(0, 300), 'y');
  EXPECT_EQ(p.Index(0, 350), 'z');
  EXPECT_FALSE(p.Covered(0, 100));
  EXPECT_FALSE(p.Covered(0, 50));
}

TEST(Picture, PostsBelowTheHeightAreCutOff) {
  const wad::Picture p = wad::DecodePicture(BuildPicture(1, 2, {{{1, "abc"}}})).picture;
  EXPECT_EQ(p.Index(0, 1), 'a');
  EXPECT_FALSE(p.Covered(0, 0));
}

TEST(Picture, ColumnOutsideTheLumpIsSkippedAndCounted) {
  std::string lump = BuildPicture(3, 2, {{{0, "ab"}}, {{0, "cd"}}, {{0, "ef"}}});
  lump[12] = '\x7F';  // second column's offset far past the end
  lump[13] = '\x7F';
  const wad::DecodedPicture decoded = wad::DecodePicture(lump);
  EXPECT_EQ(decoded.badColumns, 1);
  EXPECT_TRUE(decoded.picture.Covered(0, 0));
  EXPECT_FALSE(decoded.picture.Covered(1, 0));
  EXPECT_EQ(decoded.picture.Index(2, 1), 'f');

  // A post that runs past the end: the whole column is dropped, not half drawn.
  std::string cut = BuildPicture(1, 8, {{{0, "abcdefgh"}}});
  cut.resize(cut.size() - 6);
  const wad::DecodedPicture truncated = wad::DecodePicture(cut);
  EXPECT_EQ(truncated.badColumns, 1);
  EXPECT_FALSE(truncated.picture.Covered(0, 0));
}

TEST(Picture, HeadersThatCannotBePicturesAreErrors) {
  EXPECT_THROW(wad::DecodePicture("abc"), wad::WadError);
  EXPECT_THROW(wad::DecodePicture(std::string(8, '\0')), wad::WadError);  // zero size
  std::string noTable;
  PutU16(noTable, 100);
  PutU16(noTable, 10);
  PutU32(noTable, 0);
  EXPECT_THROW(wad::DecodePicture(noTable), wad::WadError);
  std::string huge;
  PutU16(huge, 0x7FFF);
  PutU16(huge, 0x7FFF);
  PutU32(huge, 0);
  huge += std::string(4 * 0x7FFF, '\0');
  EXPECT_THROW(wad::DecodePicture(huge), wad::WadError);
}

TEST(Palette, FirstPaletteIsReadAndShortOnesRejected) {
  const wad::Palette p = wad::DecodePalette(BuildPalette() + std::string(768, '\x01'));
  EXPECT_EQ(p[10].r, 10);
  EXPECT_EQ(p[10].g, 245);
  EXPECT_EQ(p[255].b, 127);
  EXPECT_THROW(wad::DecodePalette(std::string(767, '\0')), wad::WadError);
  const wad::WadFile noPalette = wad::WadFile::FromBytes(BuildWad({{"PNAMES", ""}}));
  EXPECT_THROW(wad::ReadPalette(noPalette), wad::WadError);
}

TEST(TextureDefs, TablesDecodeAndBadEntriesAreReported) {
  const std::string table = BuildTextures({{"wall", 64, 32, {{-8, 4, 1}, {0, 0, 7}}}, {"EMPTY", 0, 16, {}}});
  std::vector<std::string> problems;
  const std::vector<wad::TextureDef> defs = wad::DecodeTextureDefs(table, 2, problems);
  ASSERT_EQ(defs.size(), 1u);
  EXPECT_EQ(defs[0].name, "WALL");
  EXPECT_EQ(defs[0].width, 64);
  ASSERT_EQ(defs[0].patches.size(), 1u);  // patch 7 is not in a two-name PNAMES
  EXPECT_EQ(defs[0].patches[0].originX, -8);
  EXPECT_EQ(defs[0].patches[0].originY, 4);
  EXPECT_EQ(problems.size(), 2u);

  std::string badCount;
  PutU32(badCount, 1000);
  EXPECT_THROW(wad::DecodeTextureDefs(badCount, 0, problems), wad::WadError);
  EXPECT_THROW(wad::DecodePatchNames(badCount), wad::WadError);
  EXPECT_EQ(wad::DecodePatchNames(BuildPatchNames({"wall1", "SW1"})), (std::vector<std::string>{"WALL1", "SW1"}));
}

TEST(Namespaces, FlatsBetweenMarkersLastOfANameWinsSubMarkersSkipped) {
  const std::string flat(4096, '\0');
  const wad::WadFile wad = wad::WadFile::FromBytes(BuildWad({{"FLOOR", "x"},
                                                            {"F_START", ""},
                                                            {"F1_START", ""},
                                                            {"FLOOR", flat},
                                                            {"CEIL", flat},
                                                            {"F1_END", ""},
                                                            {"F_END", ""},
                                                            {"FF_START", ""},
                                                            {"FLOOR", flat},
                                                            {"F_END", ""},
                                                            {"AFTER", flat}}));
  EXPECT_EQ(wad::FlatLumps(wad), (std::vector<int>{4, 8}));
  EXPECT_TRUE(wad::IsFlatLump(wad, 3));
  EXPECT_FALSE(wad::IsFlatLump(wad, 0));
  EXPECT_FALSE(wad::IsFlatLump(wad, 10));
}

TEST(Namespaces, PatchesInsideMarkersWinOverOtherLumpsOfTheName) {
  const wad::WadFile wad = wad::WadFile::FromBytes(
      BuildWad({{"P_START", ""}, {"WALL", "a"}, {"P_END", ""}, {"WALL", "b"}, {"DOOR", "c"}, {"DOOR", "d"}}));
  const wad::PatchDirectory directory(wad);
  EXPECT_EQ(directory.Find("WALL"), 1);
  EXPECT_EQ(directory.Find("DOOR"), 5);
  EXPECT_EQ(directory.Find("NONE"), -1);
}
