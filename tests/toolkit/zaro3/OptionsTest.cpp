#include "Options.h"

#include <gtest/gtest.h>

using zaro3::Options;
using zaro3::ParseOptions;
using zaro3::ParseScale;
using zaro3::TextureSet;
using zaro3::UsageError;

TEST(ParseScale, KeepsTheFrontEndsDecimalExactAndNormalised) {
  const zaro3::Scale s = ParseScale("1.500000");
  EXPECT_EQ(s.mantissa, 15);
  EXPECT_EQ(s.decimals, 1);
  EXPECT_EQ(ParseScale("2").mantissa, 2);
  EXPECT_EQ(ParseScale("2").decimals, 0);
  EXPECT_EQ(ParseScale("0.125").mantissa, 125);
  EXPECT_EQ(ParseScale("0.125").decimals, 3);
  EXPECT_EQ(ParseScale("64.000000").mantissa, 64);
  EXPECT_EQ(ParseScale(".5").mantissa, 5);
}

TEST(ParseScale, RejectsZeroNegativeHugeAndNonDecimals) {
  for (const char* bad : {"0", "0.000000", "-1.5", "65", "1e3", "abc", "", ".", "1.2.3", "1,5", "0.0000000001", "nan"}) {
    EXPECT_THROW(ParseScale(bad), UsageError) << bad;
  }
}

TEST(ParseOptions, ReadsEveryFlagAndKeepsTextureSetsInPrecedenceOrder) {
  const Options o = ParseOptions({"doom2.wad", "map01", "-nowall", "-noceil", "-nofloor", "-nomove", "-noent",
                                  "-bound", "-direct", "-scale", "1.500000", "-custom", "-doom2", "-doom", "-doom2"});
  EXPECT_EQ(o.wadPath, "doom2.wad");
  EXPECT_EQ(o.levelName, "map01");
  EXPECT_TRUE(o.noWall && o.noCeiling && o.noFloor && o.noMove && o.noEntities && o.bound && o.direct);
  EXPECT_EQ(o.scale.mantissa, 15);
  EXPECT_EQ(o.textureSets, (std::vector<TextureSet>{TextureSet::Doom, TextureSet::Doom2, TextureSet::Custom}));

  const Options plain = ParseOptions({"a.wad", "E1M1"});
  EXPECT_FALSE(plain.noWall || plain.bound || plain.direct);
  EXPECT_EQ(plain.scale.mantissa, 1);
  EXPECT_TRUE(plain.textureSets.empty());
}

TEST(ParseOptions, UnknownOptionsMissingArgumentsAndExtraWordsAreUsageErrors) {
  EXPECT_THROW(ParseOptions({"a.wad", "MAP01", "-fast"}), UsageError);
  EXPECT_THROW(ParseOptions({"a.wad", "MAP01", "-scale"}), UsageError);
  EXPECT_THROW(ParseOptions({"a.wad", "MAP01", "-scale", "-bound"}), UsageError);
  EXPECT_THROW(ParseOptions({"a.wad"}), UsageError);
  EXPECT_THROW(ParseOptions({}), UsageError);
  EXPECT_THROW(ParseOptions({"a.wad", "MAP01", "MAP02"}), UsageError);
}
