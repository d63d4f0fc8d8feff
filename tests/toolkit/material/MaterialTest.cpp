#include <gtest/gtest.h>

#include <cmath>

#include "MaterialDecls.h"
#include "TextureMatrix.h"

using material::KeywordKind;
using material::MatrixKeyword;
using material::TextureMatrix;

namespace {

TextureMatrix Rows(double a, double b, double c, double d, double e, double f) {
  TextureMatrix m;
  m.m[0][0] = a, m.m[0][1] = b, m.m[0][2] = c, m.m[1][0] = d, m.m[1][1] = e, m.m[1][2] = f;
  return m;
}

void ExpectNear(const TextureMatrix& a, const TextureMatrix& b) {
  for (int r = 0; r < 2; ++r)
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(a.m[r][c], b.m[r][c], 1e-12) << r << "," << c;
}

// The keywords written out as a material stage, read back and composed as the engine does.
TextureMatrix ThroughMaterialText(const std::vector<MatrixKeyword>& keywords) {
  std::string text = "textures/t\n{\n\t{\n\t\tblend diffusemap\n\t\tmap textures/t.tga\n";
  for (const MatrixKeyword& k : keywords) {
    text += std::string("\t\t") + material::KeywordName(k.kind) + " " + std::to_string(k.a) + ", " + std::to_string(k.b) + "\n";
  }
  text += "\t}\n}\n";
  material::MaterialDecls decls;
  decls.Add(text);
  return decls.Find("textures/t")->stages.at(0).Matrix({});
}

}  // namespace

TEST(TextureMatrix, TheKeywordWrittenLastActsFirst) {
  // scale then translate: (A (s + a), B (t + b)); translate then scale: (A s + a, B t + b).
  const TextureMatrix scaleFirst = material::Compose({{KeywordKind::Scale, 2, 3}, {KeywordKind::Translate, 0.5, 0.25}});
  ExpectNear(scaleFirst, Rows(2, 0, 1, 0, 3, 0.75));
  const TextureMatrix translateFirst = material::Compose({{KeywordKind::Translate, 0.5, 0.25}, {KeywordKind::Scale, 2, 3}});
  ExpectNear(translateFirst, Rows(2, 0, 0.5, 0, 3, 0.25));
  // A shear carries its centre offset.
  ExpectNear(material::KeywordMatrix({KeywordKind::Shear, -1, 0}), Rows(1, -1, 0.5, 0, 1, 0));
}

TEST(TextureMatrix, QuarterTurnsAndReflectionsBecomeScaleShearAndTranslateWithoutRotate) {
  const double a = 32 / (1.5 * 64), b = 32 / (1.5 * 128);
  const TextureMatrix targets[] = {
      Rows(a, 0, 0.25, 0, b, 0.5),     Rows(-a, 0, 0.125, 0, b, 0),   // walls, a face against its side
      Rows(0, a, 0, -b, 0, 0),         Rows(0, -a, 0, -b, 0, 0),      // floor, ceiling
      Rows(0, -a, 0.3, b, 0, -0.7),    Rows(0, a, 0.9, b, 0, 0.1),    // the other quarter turn, the diagonal mirror
  };
  for (const TextureMatrix& target : targets) {
    const auto keywords = material::KeywordsFor(target);
    ASSERT_TRUE(keywords.has_value());
    for (const MatrixKeyword& k : *keywords) EXPECT_NE(k.kind, KeywordKind::Rotate);
    ExpectNear(material::Compose(*keywords), target);
    const TextureMatrix read = ThroughMaterialText(*keywords);
    for (int r = 0; r < 2; ++r)
      for (int c = 0; c < 3; ++c) EXPECT_NEAR(read.m[r][c], target.m[r][c], 1e-5);
  }
  EXPECT_FALSE(material::KeywordsFor(Rows(1, 0.5, 0, 0, 1, 0)).has_value());
}

TEST(MaterialDecls, ExpressionsGroupToTheRightAndModuloTruncatesAsTheEngineDoes) {
  material::MaterialDecls decls;
  decls.Add("textures/e\n{\n\t{\n\t\tif ( time * 4.375 + 2 ) % 3 == 1\n\t\tblend diffusemap\n\t\tmap textures/e.tga\n"
            "\t\ttranslate 8 - 2 - 1, parm7 * -0.5 + time\n\t}\n}\n");
  const material::StageDecl& stage = decls.Find("TEXTURES/E.tga")->stages.at(0);
  material::ExpressionInputs in;
  EXPECT_FALSE(stage.Active(in));  // (0 + 2) % 3 == 2
  in.time = 8.5 / 35;              // one frame on: (1.06 + 2) truncates to 3, % 3 == 0
  EXPECT_FALSE(stage.Active(in));
  in.time = 30.0 / 35;             // 3.75 + 2 truncates to 5, % 3 == 2
  EXPECT_FALSE(stage.Active(in));
  in.time = 16.5 / 35;             // 2.06 + 2 -> 4, % 3 == 1
  EXPECT_TRUE(stage.Active(in));
  in.time = 0;
  in.parms[7] = 1;
  const TextureMatrix m = stage.Matrix(in);
  EXPECT_DOUBLE_EQ(m.m[0][2], 7);  // 8 - (2 - 1)
  EXPECT_DOUBLE_EQ(m.m[1][2], -0.5);
}

TEST(MaterialDecls, TheFirstDefinitionWinsAndOtherDeclarationsAreSkipped) {
  material::MaterialDecls decls;
  EXPECT_EQ(decls.Add("table sinTable { { 0, 1, 0, -1 } }\n// comment { }\n"
                      "textures/a\n{\n\tqer_editorimage textures/x.tga\n\tdiffusemap textures/a.tga\n}\n"
                      "material textures/b { { blend diffusemap map textures/b.tga alphaTest 0.5 } }\n"
                      "textures/bad\n{\n\t{\n\t\tscale foo[ time ], 1\n\t}\n}\n"),
            3);
  EXPECT_EQ(decls.Add("textures/A\n{\n\tdiffusemap textures/other.tga\n}\n"), 0);
  EXPECT_EQ(decls.Find("textures/a")->stages.at(0).image, "textures/a");
  EXPECT_TRUE(decls.Find("textures/b")->stages.at(0).alphaTest);
  EXPECT_TRUE(decls.Find("textures/bad")->broken);
  EXPECT_EQ(decls.Find("textures/none"), nullptr);
  EXPECT_EQ(decls.Count(), 3u);
}
