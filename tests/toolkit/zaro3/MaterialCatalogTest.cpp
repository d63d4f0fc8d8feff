#include "MaterialCatalog.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

using zaro3::Diagnostics;
using zaro3::MaterialCatalog;
using zaro3::MaterialPicker;

TEST(MaterialCatalog, ReadsEntriesSkipsCommentsAndWarnsOnceAboutBadLines) {
  std::istringstream list(
      "# doom2 textures\n"
      "texture STARTAN3 128 128 doom2/STARTAN3   # a wall\n"
      "flat FLOOR0_1 64 64 doom2/flats/FLOOR0_1\n"
      "texture STEP1 32 8 doom2/STEP1\n"
      "flat STEP1 64 64 doom2/flats/STEP1\n"
      "\n"
      "texture BROKEN 0 64 doom2/BROKEN\n"
      "sprite TROOA1 41 57 doom2/TROOA1\n"
      "texture SHORT 64\n");
  MaterialCatalog catalog;
  Diagnostics diagnostics;
  catalog.AddList(list, "DOOM2.TEX", diagnostics);
  ASSERT_NE(catalog.FindTexture("startan3"), nullptr);
  EXPECT_EQ(catalog.FindTexture("STARTAN3")->material, "doom2/STARTAN3");
  EXPECT_EQ(catalog.FindTexture("STEP1")->height, 8);
  EXPECT_EQ(catalog.FindFlat("step1")->material, "doom2/flats/STEP1");  // two name spaces
  EXPECT_EQ(catalog.FindFlat("STARTAN3"), nullptr);
  EXPECT_EQ(catalog.FindTexture("BROKEN"), nullptr);
  ASSERT_EQ(diagnostics.warnings.size(), 2u);
  EXPECT_NE(diagnostics.warnings[0].find("DOOM2.TEX line 7"), std::string::npos);
  EXPECT_NE(diagnostics.warnings[1].find("3 bad lines"), std::string::npos);
}

TEST(MaterialCatalog, LaterListsWinAndAbsentListsAskForTheExtraction) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "zaro3_catalog_test";
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "DOOM2.TEX") << "texture SW1 64 128 doom2/SW1\ntexture ONLY2 64 64 doom2/ONLY2\n";
  std::ofstream(folder / "CUSTOM.TEX") << "texture sw1 64 128 custom/SW1\n";
  Diagnostics diagnostics;
  const MaterialCatalog catalog = MaterialCatalog::Load(
      folder.string(), {zaro3::TextureSet::Doom2, zaro3::TextureSet::Tnt, zaro3::TextureSet::Custom}, diagnostics);
  std::filesystem::remove_all(folder);
  EXPECT_EQ(catalog.FindTexture("SW1")->material, "custom/SW1");
  EXPECT_EQ(catalog.FindTexture("ONLY2")->material, "doom2/ONLY2");
  ASSERT_EQ(diagnostics.warnings.size(), 1u);
  EXPECT_NE(diagnostics.warnings[0].find("TNT.TEX"), std::string::npos);
  EXPECT_NE(diagnostics.warnings[0].find("xtract.bat \"tnt\""), std::string::npos);
}

TEST(MaterialPicker, CountsUntexturedFacesAndMissingNamesAndKnowsTheSky) {
  std::istringstream list("texture WALL 64 64 doom2/WALL\nflat FLAT 64 64 doom2/flats/FLAT\n");
  MaterialCatalog catalog;
  Diagnostics diagnostics;
  catalog.AddList(list, "DOOM2.TEX", diagnostics);
  MaterialPicker picker(catalog, "zdoom/sky2");
  EXPECT_EQ(picker.Wall("wall"), "doom2/WALL");
  EXPECT_EQ(picker.Wall("-"), zaro3::kMissingMaterial);
  EXPECT_EQ(picker.Wall(""), zaro3::kMissingMaterial);
  EXPECT_EQ(picker.Wall("NOPE"), zaro3::kMissingMaterial);
  EXPECT_EQ(picker.Wall("nope"), zaro3::kMissingMaterial);
  EXPECT_EQ(picker.Flat("FLAT"), "doom2/flats/FLAT");
  EXPECT_EQ(picker.Flat("f_sky1"), "zdoom/sky2");
  EXPECT_EQ(picker.Flat("WALL"), zaro3::kMissingMaterial);
  EXPECT_EQ(picker.untextured, 2);
  EXPECT_EQ(picker.missingNames, (std::set<std::string>{"texture NOPE", "flat WALL"}));
}

TEST(SkyMaterialFor, FollowsTheEpisodesAndTheMapRanges) {
  EXPECT_EQ(zaro3::SkyMaterialFor("E1M1"), "zdoom/sky1");
  EXPECT_EQ(zaro3::SkyMaterialFor("e3m9"), "zdoom/sky3");
  EXPECT_EQ(zaro3::SkyMaterialFor("E4M2"), "zdoom/sky4");
  EXPECT_EQ(zaro3::SkyMaterialFor("MAP11"), "zdoom/sky1");
  EXPECT_EQ(zaro3::SkyMaterialFor("MAP12"), "zdoom/sky2");
  EXPECT_EQ(zaro3::SkyMaterialFor("MAP20"), "zdoom/sky2");
  EXPECT_EQ(zaro3::SkyMaterialFor("MAP21"), "zdoom/sky3");
  EXPECT_EQ(zaro3::SkyMaterialFor("MAP32"), "zdoom/sky3");
  EXPECT_EQ(zaro3::SkyMaterialFor("START"), "zdoom/sky1");
}
