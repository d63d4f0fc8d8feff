// Materials, the texture source list, and a whole extraction of freedoom2.wad
// checked against the texture tables and an independent patch decoder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "Catalog.h"
#include "Extract.h"
#include "Namespaces.h"
#include "Palette.h"
#include "SafeName.h"
#include "TextureDefs.h"
#include "Tga.h"
#include "WallTextures.h"

namespace fs = std::filesystem;
using doomtex::CatalogEntry;
using doomtex::Kind;

namespace {

const char* kFreedoom2 = "/usr/share/games/doom/freedoom2.wad";

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

struct TempFolder {
  fs::path path = fs::temp_directory_path() / ("doomtex-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" + std::to_string(reinterpret_cast<uintptr_t>(this)));
  ~TempFolder() {
    std::error_code ignored;
    fs::remove_all(path, ignored);
  }
};

}  // namespace

TEST(Catalog, StageScaleIsOneTexelPerUnitAtScaleOneAndAHalf) {
  EXPECT_EQ(doomtex::StageScale(64), "0.333333");
  EXPECT_EQ(doomtex::StageScale(128), "0.166667");
  EXPECT_EQ(doomtex::StageScale(256), "0.083333");
  EXPECT_EQ(doomtex::StageScale(32), "0.666667");
  EXPECT_EQ(doomtex::StageScale(16), "1.333333");
}

TEST(Catalog, OnlyTransparentImagesAreAlphaTestedAndTwoSided) {
  const std::string text = doomtex::MaterialText(
      "doom2", {{Kind::Texture, "STARTAN3", 128, 64, false}, {Kind::Flat, "FLOOR0_1", 64, 64, false},
                {Kind::Texture, "MIDGRATE", 128, 128, true}});
  const std::string opaque = text.substr(0, text.find("textures/doom2/MIDGRATE\n"));
  const std::string masked = text.substr(opaque.size());
  EXPECT_EQ(opaque.find("alphaTest"), std::string::npos);
  EXPECT_EQ(opaque.find("twoSided"), std::string::npos);
  EXPECT_NE(opaque.find("textures/doom2/STARTAN3\n{\n\tqer_editorimage textures/doom2/STARTAN3.tga\n"
                        "\t{\n\t\tblend diffusemap\n\t\tmap textures/doom2/STARTAN3.tga\n\t\tscale 0.166667, 0.333333\n"),
            std::string::npos);
  EXPECT_NE(opaque.find("textures/doom2/flats/FLOOR0_1\n{\n\tqer_editorimage textures/doom2/flats/FLOOR0_1.tga\n"),
            std::string::npos);
  EXPECT_NE(masked.find("\ttwoSided\n"), std::string::npos);
  EXPECT_NE(masked.find("\t\talphaTest 0.5\n"), std::string::npos);
}

TEST(Catalog, SourceListSortsByKindThenNameWithSafeMaterialNames) {
  const std::string list = doomtex::SourceListText(
      "my.wad", "custom",
      {{Kind::Flat, "STEP1", 64, 64, false}, {Kind::Texture, "STEP1", 32, 16, false},
       {Kind::Texture, "A-B\\C", 8, 8, true}, {Kind::Flat, "ABC", 64, 64, false}});
  EXPECT_EQ(list,
            "# textures and flats of my.wad\n"
            "texture A-B\\C 8 8 custom/A_2DB_5CC\n"
            "texture STEP1 32 16 custom/STEP1\n"
            "flat ABC 64 64 custom/flats/ABC\n"
            "flat STEP1 64 64 custom/flats/STEP1\n");
}

TEST(Extract, Freedoom2EveryTextureAndFlatWithItsTableSize) {
  if (!fs::exists(kFreedoom2)) GTEST_SKIP() << "freedoom2.wad not installed";
  const wad::WadFile wad = wad::WadFile::Load(kFreedoom2);
  const wad::Palette palette = wad::ReadPalette(wad);
  TempFolder out;
  const doomtex::ExtractResult result = doomtex::ExtractImages(wad, palette, "doom2", out.path.string());
  EXPECT_TRUE(result.problems.empty()) << result.problems.front();

  image::WallTextures walls(wad, palette);
  ASSERT_GT(walls.Defs().size(), 100u);
  EXPECT_EQ(result.textures, static_cast<int>(walls.Defs().size()));
  for (const wad::TextureDef& def : walls.Defs()) {
    const fs::path file = out.path / "textures" / "doom2" / (image::SafeName(def.name) + ".tga");
    const std::string tga = ReadAll(file);
    ASSERT_GE(tga.size(), 18u) << file;
    const image::Image img = image::DecodeTga(tga);
    EXPECT_EQ(img.width, def.width) << def.name;
    EXPECT_EQ(img.height, def.height) << def.name;
  }
  EXPECT_EQ(result.flats, static_cast<int>(wad::FlatLumps(wad).size()));
  EXPECT_TRUE(fs::exists(out.path / "textures" / "doom2" / "flats" / "FLOOR0_1.tga"));
  // Freedoom has a texture and a flat both named STEP1: they must not overwrite each other.
  EXPECT_EQ(image::DecodeTga(ReadAll(out.path / "textures" / "doom2" / "flats" / "STEP1.tga")).width, 64);
}

// A straightforward decoder of one patch, written apart from the kit's: every
// post read with plain byte arithmetic, drawn at its origin.
static void DrawPatchDirectly(std::string_view lump, int originX, int originY, int texWidth, int texHeight,
                              const wad::Palette& palette, std::vector<uint8_t>& rgba) {
  auto u8 = [&](std::size_t i) { return static_cast<unsigned>(static_cast<uint8_t>(lump[i])); };
  const int width = static_cast<int>(u8(0) | (u8(1) << 8));
  for (int x = 0; x < width; ++x) {
    std::size_t at = u8(8 + 4 * x) | (u8(9 + 4 * x) << 8) | (u8(10 + 4 * x) << 16) | (u8(11 + 4 * x) << 24);
    int top = -1;
    while (u8(at) != 0xFF) {
      const int delta = static_cast<int>(u8(at));
      top = delta <= top ? top + delta : delta;
      const int length = static_cast<int>(u8(at + 1));
      for (int i = 0; i < length; ++i) {
        const int tx = originX + x;
        const int ty = originY + top + i;
        if (tx < 0 || ty < 0 || tx >= texWidth || ty >= texHeight) continue;
        const wad::Rgb c = palette[u8(at + 3 + i)];
        uint8_t* p = &rgba[(static_cast<std::size_t>(ty) * texWidth + tx) * 4];
        p[0] = c.r, p[1] = c.g, p[2] = c.b, p[3] = 255;
      }
      at += 4 + length;
    }
  }
}

TEST(Extract, Freedoom2TexturesMatchAnIndependentDecoding) {
  if (!fs::exists(kFreedoom2)) GTEST_SKIP() << "freedoom2.wad not installed";
  const wad::WadFile wad = wad::WadFile::Load(kFreedoom2);
  const wad::Palette palette = wad::ReadPalette(wad);
  const std::vector<std::string> names = wad::DecodePatchNames(wad.Data(wad.FindLast("PNAMES")));
  const wad::PatchDirectory directory(wad);
  image::WallTextures walls(wad, palette);
  int checked = 0;
  for (const char* name : {"STARTAN3", "MIDGRATE", "BIGDOOR1", "SKY1", "SW1BRCOM"}) {
    const wad::TextureDef* def = walls.Find(name);
    if (!def) continue;
    std::vector<uint8_t> expected(static_cast<std::size_t>(def->width) * def->height * 4, 0);
    for (const wad::PatchPlacement& p : def->patches) {
      DrawPatchDirectly(wad.Data(directory.Find(names[p.patch])), p.originX, p.originY, def->width, def->height,
                        palette, expected);
    }
    std::vector<std::string> problems;
    EXPECT_EQ(walls.Build(*def, problems).rgba, expected) << name;
    EXPECT_TRUE(problems.empty());
    ++checked;
  }
  EXPECT_GE(checked, 3);
}
