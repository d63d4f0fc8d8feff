#include "PreviewTool.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "PreviewRenderer.h"
#include "PreviewTestFiles.h"
#include "TextureLibrary.h"
#include "TextureMatrix.h"

namespace mappreview {
namespace {

using previewtest::BoxBrush;

const std::string kRoomMap = "{\n\"classname\" \"worldspawn\"\n" +
                             BoxBrush(0, 0, -16, 192, 96, 0, "set/flats/ORANGE") +
                             BoxBrush(192, 0, -16, 384, 96, 0, "set/flats/NOIMAGE") + "}\n" +
                             "{\n\"classname\" \"info_player_start\"\n\"origin\" \"20 20 0\"\n}\n";

std::vector<uint8_t> SolidTga(uint8_t r, uint8_t g, uint8_t b) {
  std::vector<uint8_t> pixels;
  for (int i = 0; i < 4; ++i) pixels.insert(pixels.end(), {r, g, b, 255});
  return previewtest::MakeTga(2, 2, pixels, false);
}

struct ToolRun {
  int code;
  std::string out;
  std::string err;
};

ToolRun RunTool(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  int code = RunPreviewTool(args, out, err);
  return {code, out.str(), err.str()};
}

TEST(PreviewRenderer, FloorsShowTheirImageOrTheNameColour) {
  previewtest::ScratchFolder folder;
  previewtest::WriteBytes(folder / "tex.pk4",
                          previewtest::MakeZip({{"textures/set/flats/ORANGE.tga", SolidTga(220, 120, 40), true}}));
  Pk4Archive archive((folder / "tex.pk4").string());
  TextureLibrary textures({&archive});
  Scene scene = SelectScene(ParseMap(kRoomMap));
  Picture picture = RenderPreview(scene, textures, {400, 1.5});
  EXPECT_EQ(std::max(picture.width, picture.height), 400);
  EXPECT_EQ(textures.MissingCount(), 1);

  auto pixelAt = [&](double fx, double fy) {
    return picture.At(static_cast<int>(picture.width * fx), static_cast<int>(picture.height * fy));
  };
  const uint8_t* orange = pixelAt(0.3, 0.5);
  EXPECT_NEAR(orange[0], 220, 2);
  EXPECT_NEAR(orange[1], 120, 2);
  EXPECT_NEAR(orange[2], 40, 2);
  Rgb expected = ColourOfName("set/flats/NOIMAGE");
  const uint8_t* named = pixelAt(0.7, 0.5);
  EXPECT_NEAR(named[0], expected.r, 2);
  EXPECT_NEAR(named[1], expected.g, 2);
  EXPECT_NEAR(named[2], expected.b, 2);
  const uint8_t* margin = pixelAt(0.005, 0.5);
  EXPECT_LT(margin[0] + margin[1] + margin[2], 100);  // dark background
}

TEST(PreviewTool, WritesThePictureAndASummary) {
  previewtest::ScratchFolder folder;
  previewtest::WriteText(folder / "room.map", kRoomMap);
  previewtest::WriteBytes(folder / "tex.pk4",
                          previewtest::MakeZip({{"textures/set/flats/ORANGE.tga", SolidTga(220, 120, 40), false}}));
  ToolRun run = RunTool({(folder / "room.map").string(), (folder / "tex.pk4").string(), "-o",
                     (folder / "room.png").string(), "-size", "300"});
  EXPECT_EQ(run.code, 0) << run.err;
  EXPECT_TRUE(run.err.empty());
  EXPECT_NE(run.out.find("300x"), std::string::npos) << run.out;
  EXPECT_GT(std::filesystem::file_size(folder / "room.png"), 100u);
}

TEST(PreviewTool, BadInputGivesOneLineAndNoPicture) {
  previewtest::ScratchFolder folder;
  previewtest::WriteText(folder / "room.map", kRoomMap);
  previewtest::WriteText(folder / "notamap.map", "PWAD garbage");
  previewtest::WriteText(folder / "empty.map", "{\n\"classname\" \"worldspawn\"\n}\n");
  std::vector<uint8_t> corrupt = previewtest::MakeZip({{"textures/x.tga", SolidTga(1, 2, 3), true}});
  corrupt.resize(corrupt.size() - 3);  // end record cut short
  previewtest::WriteBytes(folder / "corrupt.pk4", corrupt);
  std::string map = (folder / "room.map").string();
  std::string png = (folder / "out.png").string();

  struct Case {
    std::vector<std::string> args;
    int code;
  } cases[] = {
      {{}, 1},
      {{map}, 1},                                          // no output
      {{map, "-o"}, 1},
      {{map, "-o", png, "-size", "12"}, 1},
      {{map, "-o", png, "-scale", "zero"}, 1},
      {{map, "-o", png, "-fast"}, 1},
      {{(folder / "absent.map").string(), "-o", png}, 2},
      {{(folder / "notamap.map").string(), "-o", png}, 2},
      {{(folder / "empty.map").string(), "-o", png}, 2},   // nothing to draw
      {{map, (folder / "absent.pk4").string(), "-o", png}, 2},
      {{map, (folder / "corrupt.pk4").string(), "-o", png}, 2},
      {{map, "-o", (folder / "no/folder/out.png").string()}, 3},
  };
  for (const Case& c : cases) {
    ToolRun run = RunTool(c.args);
    std::string shown = c.args.empty() ? "(none)" : c.args.back();
    EXPECT_EQ(run.code, c.code) << shown << ": " << run.err;
    ASSERT_FALSE(run.err.empty()) << shown;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
    EXPECT_TRUE(run.out.empty());
    // Nothing but the inputs is left in the folder: no picture, no temporary.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 4) << shown;
  }
}


// A 2 x 2 image, one colour a texel: red (0, 0), green (1, 0), blue (0, 1), white (1, 1).
std::vector<uint8_t> QuadTga() {
  return previewtest::MakeTga(2, 2, {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 255}, false);
}

// A material of that image whose one stage has `matrix`, written with the engine's keywords.
std::string QuadMaterial(const std::string& name, const material::TextureMatrix& matrix) {
  std::string text = "textures/" + name + "\n{\n\t{\n\t\tblend diffusemap\n\t\tmap textures/set/QUAD.tga\n";
  const auto keywords = material::KeywordsFor(matrix);
  for (const material::MatrixKeyword& k : *keywords) {
    text += std::string("\t\t") + material::KeywordName(k.kind) + " " + std::to_string(k.a) + ", " + std::to_string(k.b) + "\n";
  }
  return text + "\t}\n}\n";
}

TEST(PreviewRenderer, FloorsWithAMaterialShowItsStageMatrixOverDoom3sProjection) {
  previewtest::ScratchFolder folder;
  // At map scale 1.5 one texel a DOOM unit: DOOM's flat layout (column x, row -y) and the
  // plain scale DOOM 3 gives an unaligned flat (column y, row x).
  const double a = 32 / (1.5 * 2);
  material::TextureMatrix doomLayout, plainScale;
  doomLayout.m[0][0] = 0, doomLayout.m[0][1] = a, doomLayout.m[1][0] = -a, doomLayout.m[1][1] = 0;
  plainScale.m[0][0] = a, plainScale.m[1][1] = a;
  previewtest::WriteBytes(folder / "tex.pk4",
                          previewtest::MakeZip({{"textures/set/QUAD.tga", QuadTga(), true},
                                                {"materials/set.mtr", [&] {
                                                   const std::string text = QuadMaterial("set/ALIGNED", doomLayout) +
                                                                            QuadMaterial("set/PLAIN", plainScale);
                                                   return std::vector<uint8_t>(text.begin(), text.end());
                                                 }(), true}}));
  Pk4Archive archive((folder / "tex.pk4").string());
  TextureLibrary textures({&archive});
  // Two DOOM units square (3 map units), from the world origin up and to the right.
  for (const char* name : {"set/ALIGNED", "set/PLAIN"}) {
    const std::string map = "{\n\"classname\" \"worldspawn\"\n" + previewtest::BoxBrush(0, 0, -16, 3, 3, 0, name) + "}\n";
    const Picture picture = RenderPreview(SelectScene(ParseMap(map)), textures, {400, 1.5});
    // The quarter of the floor at DOOM point (0.5, 1.5) (left, top of the picture) and at (1.5, 0.5).
    auto at = [&](double fx, double fy) {
      const int margin = 400 / 28;
      const double inside = picture.width - 2 * margin;
      return picture.At(margin + static_cast<int>(inside * fx), margin + static_cast<int>(inside * fy));
    };
    // DOOM: column floor(x), row floor(-y), mod 2. Unaligned DOOM 3: column floor(y), row floor(x).
    const bool aligned = std::string(name) == "set/ALIGNED";
    const Rgb red{255, 0, 0}, green{0, 255, 0}, blue{0, 0, 255}, white{255, 255, 255};
    const struct {
      double fx, fy;  // (0.5, 1.5), (1.5, 1.5), (0.5, 0.5), (1.5, 0.5) in DOOM units
      Rgb doom, unaligned;
    } quarters[] = {{0.25, 0.25, red, green}, {0.75, 0.25, green, white}, {0.25, 0.75, blue, red}, {0.75, 0.75, white, blue}};
    for (const auto& q : quarters) {
      const uint8_t* pixel = at(q.fx, q.fy);
      const Rgb want = aligned ? q.doom : q.unaligned;
      EXPECT_NEAR(pixel[0], want.r, 3) << name << " at " << q.fx << ", " << q.fy;
      EXPECT_NEAR(pixel[1], want.g, 3) << name << " at " << q.fx << ", " << q.fy;
      EXPECT_NEAR(pixel[2], want.b, 3) << name << " at " << q.fx << ", " << q.fy;
    }
  }
}

}  // namespace
}  // namespace mappreview
