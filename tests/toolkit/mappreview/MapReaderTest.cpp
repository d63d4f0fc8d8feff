#include "MapReader.h"

#include <gtest/gtest.h>

#include "BrushFaces.h"
#include "PreviewError.h"
#include "PreviewTestFiles.h"

namespace mappreview {
namespace {

TEST(MapReader, ReadsEntitiesKeysBrushesAndPlanes) {
  std::string text = "// converted\n{\n\"classname\" \"worldspawn\"\n" +
                     previewtest::BoxBrush(0, 0, -8, 64, 32, 0, "doom2/flats/FLOOR0_1") +
                     "}\n{\n\"classname\" \"light\"\n\"origin\" \"1.5 -3 4\"\n}\n";
  MapFile map = ParseMap(text);
  ASSERT_EQ(map.entities.size(), 2u);
  EXPECT_EQ(map.entities[0].Value("CLASSNAME"), "worldspawn");
  ASSERT_EQ(map.entities[0].brushes.size(), 1u);
  const MapBrush& brush = map.entities[0].brushes[0];
  ASSERT_EQ(brush.planes.size(), 6u);
  EXPECT_EQ(brush.planes[0].material, "doom2/flats/FLOOR0_1");
  EXPECT_DOUBLE_EQ(brush.planes[0].points[0].x, 1);
  EXPECT_EQ(map.entities[1].Value("origin"), "1.5 -3 4");
  EXPECT_EQ(map.entities[1].Value("angle"), "");
}

TEST(MapReader, BoxBrushGivesSixQuadFacesWithOutwardNormals) {
  MapFile map = ParseMap("{\n" + previewtest::BoxBrush(0, 0, 0, 10, 20, 30, "a/top") + "}\n");
  std::vector<BrushFace> faces = BuildBrushFaces(map.entities[0].brushes[0]);
  ASSERT_EQ(faces.size(), 6u);
  EXPECT_EQ(faces[0].material, "a/top");
  EXPECT_NEAR(faces[0].normal.z, 1, 1e-12);
  EXPECT_NEAR(faces[1].normal.z, -1, 1e-12);
  for (const BrushFace& face : faces) {
    EXPECT_EQ(face.points.size(), 4u);
    for (const Vec3& p : face.points) {
      EXPECT_NEAR(std::min({std::fabs(p.x), std::fabs(p.x - 10)}), 0, 1e-6);
      EXPECT_NEAR(std::min({std::fabs(p.z), std::fabs(p.z - 30)}), 0, 1e-6);
    }
  }
}

TEST(MapReader, OpenOrEmptyBrushGivesNoFaces) {
  // Only the four sides: nothing closes it above or below.
  std::string box = previewtest::BoxBrush(0, 0, 0, 10, 10, 10, "a/top");
  std::string sides = box.substr(box.find('\n', box.find('\n', 2) + 1) + 1);
  MapFile open = ParseMap("{\n{\n" + sides + "}\n");
  EXPECT_TRUE(BuildBrushFaces(open.entities[0].brushes[0]).empty());
}

TEST(MapReader, MalformedTextIsABadInputNamingTheLine) {
  const char* bad[] = {
      "",                                              // no entities
      "PK\x03\x04 binary",                             // not a map at all
      "{\n\"classname\" \"worldspawn\"\n",             // entity not closed
      "{\n{\n( 0 0 0 ) ( 1 0 0 ) ( 0 1 x ) a 0 0 0 1 1\n}\n}\n",  // bad number
      "{\n{\n( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 )\n}\n}\n",   // no material
      "{\n{\nbrushDef3\n{\n}\n}\n}\n",                 // another brush form
      "{\n\"key\"\n}\n",                               // key without value
      "{\n\"unterminated\n}\n",
  };
  for (const char* text : bad) {
    try {
      ParseMap(text, "t.map");
      ADD_FAILURE() << "accepted: " << text;
    } catch (const PreviewError& e) {
      EXPECT_EQ(e.Code(), ExitCode::BadInput);
      EXPECT_EQ(std::string(e.what()).find('\n'), std::string::npos);
      EXPECT_EQ(std::string(e.what()).rfind("t.map", 0), 0u) << e.what();
    }
  }
}

TEST(MapReader, FaultLineIsCounted) {
  try {
    ParseMap("{\n\"classname\" \"worldspawn\"\n{\n( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) a ) 0\n}\n}\n", "m");
    FAIL();
  } catch (const PreviewError& e) {
    EXPECT_NE(std::string(e.what()).find("line 4"), std::string::npos) << e.what();
  }
}

}  // namespace
}  // namespace mappreview
