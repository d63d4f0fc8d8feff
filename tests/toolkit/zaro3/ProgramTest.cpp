#include "Program.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "MapChecker.h"
#include "PackageUpdate.h"

namespace fs = std::filesystem;

namespace {

// Runs the converter in a fresh folder of its own, as the front-end does.
class ProgramTest : public ::testing::Test {
protected:
  void SetUp() override {
    m_old = fs::current_path();
    m_folder = fs::temp_directory_path() / ("zaro3_program_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(m_folder);
    fs::create_directories(m_folder);
    fs::current_path(m_folder);
  }
  void TearDown() override {
    fs::current_path(m_old);
    fs::remove_all(m_folder);
  }
  int Run(const std::vector<std::string>& args) {
    out.str("");
    err.str("");
    return zaro3::RunZaro3(args, out, err);
  }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  std::size_t FileCount() const { return static_cast<std::size_t>(std::distance(fs::directory_iterator(m_folder), fs::directory_iterator())); }

  std::ostringstream out, err;
  fs::path m_folder, m_old;
};

void Put16(std::string& b, int v) {
  b += static_cast<char>(v & 0xff);
  b += static_cast<char>((v >> 8) & 0xff);
}
void Put32(std::string& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b += static_cast<char>((v >> (8 * i)) & 0xff);
}
void PutName(std::string& b, const std::string& name) {
  std::string n = name.substr(0, 8);
  n.resize(8, '\0');
  b += n;
}

std::string Wad(const std::vector<std::pair<std::string, std::string>>& lumps) {
  std::string data;
  std::string directory;
  uint32_t offset = 12;
  for (const auto& lump : lumps) {
    Put32(directory, offset);
    Put32(directory, static_cast<uint32_t>(lump.second.size()));
    PutName(directory, lump.first);
    data += lump.second;
    offset += static_cast<uint32_t>(lump.second.size());
  }
  std::string wad = "PWAD";
  Put32(wad, static_cast<uint32_t>(lumps.size()));
  Put32(wad, offset);
  return wad + data + directory;
}

// A 256 x 256 room with a player start and no nodes; `extra` lumps follow its own.
std::string RoomWad(const std::vector<std::pair<std::string, std::string>>& extra = {}, bool truncate = false) {
  std::string things, lines, sides, vertices, sectors;
  Put16(things, 64), Put16(things, 64), Put16(things, 90), Put16(things, 1), Put16(things, 7);
  const int xs[4] = {0, 0, 256, 256}, ys[4] = {0, 256, 256, 0};
  for (int i = 0; i < 4; ++i) {
    Put16(vertices, xs[i]), Put16(vertices, ys[i]);
    // Clockwise around the room: the front side faces in.
    Put16(lines, i), Put16(lines, (i + 1) % 4), Put16(lines, 1), Put16(lines, 0), Put16(lines, 0), Put16(lines, i),
        Put16(lines, 0xffff);
    Put16(sides, 0), Put16(sides, 0), PutName(sides, "-"), PutName(sides, "-"), PutName(sides, "STARTAN3"),
        Put16(sides, 0);
  }
  Put16(sectors, 0), Put16(sectors, 128), PutName(sectors, "FLOOR0_1"), PutName(sectors, "F_SKY1"),
      Put16(sectors, 160), Put16(sectors, 0), Put16(sectors, 0);
  if (truncate) lines.pop_back();
  std::vector<std::pair<std::string, std::string>> lumps = {
      {"MAP01", ""}, {"THINGS", things}, {"LINEDEFS", lines}, {"SIDEDEFS", sides}, {"VERTEXES", vertices}, {"SECTORS", sectors}};
  for (const auto& e : extra) lumps.push_back(e);
  return Wad(lumps);
}

void WriteFile(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

// A texture package as xtract leaves it: an image and the base materials.
void WriteTexturePackage(const std::string& path) {
  std::string empty = "PK\x05\x06";
  empty.resize(22, '\0');
  WriteFile(path, empty);
  pk4::ReplacePackageEntries(path, {{"textures/doom2/STARTAN3.tga", std::string(64, 'i')},
                                    {"materials/doom2.mtr", "textures/doom2/STARTAN3\n{\n}\n"}});
}

const char* const kRoomList = "texture STARTAN3 128 128 doom2/STARTAN3\nflat FLOOR0_1 64 64 doom2/flats/FLOOR0_1\n";

}  // namespace

TEST_F(ProgramTest, ConvertsARoomToASoundMapNamedAfterTheLevel) {
  WriteFile("room.wad", RoomWad());
  WriteFile("D2D3_OBJ.TXT", "1 info_player_start\n");
  WriteFile("DOOM2.TEX", "texture STARTAN3 128 128 doom2/STARTAN3\nflat FLOOR0_1 64 64 doom2/flats/FLOOR0_1\n");
  ASSERT_EQ(Run({"room.wad", "map01", "-doom2", "-bound", "-scale", "1.500000"}), 0) << err.str();
  const zaro3test::MapCheck check = zaro3test::CheckMapText(Read("MAP01.map"));
  ASSERT_TRUE(check.parsed) << check.parseError;
  EXPECT_EQ(check.badBrushes, 0) << check.firstProblem;
  ASSERT_GE(check.entities.size(), 3u);  // world, start, light
  EXPECT_EQ(check.entities[0].Value("classname"), "worldspawn");
  EXPECT_EQ(check.entities[1].Value("origin"), "96 96 3");
  EXPECT_NE(Read("MAP01.map").find("zdoom/sky1"), std::string::npos);
  EXPECT_NE(Read("MAP01.map").find("doom2/STARTAN3"), std::string::npos);
  EXPECT_NE(out.str().find("written: MAP01.map"), std::string::npos);
  EXPECT_FALSE(fs::exists("MAP01.map.tmp"));
}

TEST_F(ProgramTest, BadCommandLinesAndBadInputsWriteNothingAndExitWithTheirCode) {
  WriteFile("room.wad", RoomWad());
  WriteFile("text.wad", "this is not a wad at all");
  WriteFile("hexen.wad", RoomWad({{"BEHAVIOR", std::string(16, '\0')}}));
  WriteFile("udmf.wad", Wad({{"MAP01", ""}, {"TEXTMAP", "namespace=\"doom\";"}, {"ENDMAP", ""}}));
  const std::size_t before = FileCount();
  EXPECT_EQ(Run({"room.wad", "MAP01", "-quick"}), 1);
  EXPECT_NE(err.str().find("-quick"), std::string::npos);
  EXPECT_EQ(Run({"room.wad", "MAP01", "-scale", "0"}), 1);
  EXPECT_EQ(Run({"room.wad"}), 1);
  EXPECT_EQ(Run({"absent.wad", "MAP01"}), 2);
  EXPECT_EQ(Run({"text.wad", "MAP01"}), 2);
  EXPECT_EQ(Run({"room.wad", "MAP02"}), 2);
  EXPECT_EQ(Run({"hexen.wad", "MAP01"}), 2);
  EXPECT_EQ(Run({"udmf.wad", "MAP01"}), 2);
  EXPECT_EQ(err.str().find('\n'), err.str().size() - 1) << "one line: " << err.str();
  EXPECT_EQ(FileCount(), before);
}

TEST_F(ProgramTest, TruncatedLumpsStillConvertWithAWarning) {
  WriteFile("cut.wad", RoomWad({}, true));
  EXPECT_EQ(Run({"cut.wad", "MAP01"}), 0) << err.str();
  EXPECT_NE(err.str().find("warning"), std::string::npos);
}

TEST_F(ProgramTest, AnUnwritableMapIsExitThreeAndLeavesNoTemporaryFile) {
  WriteFile("room.wad", RoomWad());
  fs::create_directories("MAP01.map/occupied");
  EXPECT_EQ(Run({"room.wad", "MAP01"}), 3);
  EXPECT_FALSE(fs::exists("MAP01.map.tmp"));
}

TEST_F(ProgramTest, VariantsJoinTheWadsTexturePackageAndASecondRunChangesNothing) {
  WriteFile("room.wad", RoomWad());
  WriteFile("DOOM2.TEX", kRoomList);
  WriteTexturePackage("zroomtex.pk4");
  ASSERT_EQ(Run({"room.wad", "MAP01", "-doom2", "-bound", "-scale", "1.5"}), 0) << err.str();
  EXPECT_EQ(err.str().find("texture package"), std::string::npos) << err.str();
  const std::string map = Read("MAP01.map");
  // Every wall runs along an axis from a corner on the grid: phase 0 columns, rows from the ceiling.
  EXPECT_NE(map.find(" doom2/STARTAN3/k1_5w0_0 "), std::string::npos);
  EXPECT_NE(map.find(" doom2/flats/FLOOR0_1/k1_5f "), std::string::npos);
  EXPECT_EQ(map.find(" doom2/STARTAN3 "), std::string::npos);
  // One file per image.
  const auto walls = pk4::ReadPackageEntry("zroomtex.pk4", "materials/doom2_variants_zroomtex_STARTAN3.mtr");
  const auto flats = pk4::ReadPackageEntry("zroomtex.pk4", "materials/doom2_variants_zroomtex_flats_FLOOR0_1.mtr");
  ASSERT_TRUE(walls.has_value() && flats.has_value());
  EXPECT_NE(walls->find("textures/doom2/STARTAN3/k1_5w0_0\n{"), std::string::npos);
  EXPECT_EQ(walls->find("FLOOR0_1"), std::string::npos);
  EXPECT_NE(flats->find("textures/doom2/flats/FLOOR0_1/k1_5f\n{"), std::string::npos);
  // What the package held is still there.
  EXPECT_EQ(pk4::ReadPackageEntry("zroomtex.pk4", "textures/doom2/STARTAN3.tga"), std::string(64, 'i'));
  EXPECT_NE(out.str().find("aligned faces: 5 (2 variants, 2 new in zroomtex.pk4)"), std::string::npos) << out.str();

  const std::string package = Read("zroomtex.pk4");
  const auto stamp = fs::last_write_time("zroomtex.pk4");
  ASSERT_EQ(Run({"room.wad", "MAP01", "-doom2", "-bound", "-scale", "1.5"}), 0) << err.str();
  EXPECT_EQ(Read("zroomtex.pk4"), package);
  EXPECT_EQ(fs::last_write_time("zroomtex.pk4"), stamp);
  EXPECT_EQ(Read("MAP01.map"), map);

  // Another scale is another variant; the first ones stay.
  ASSERT_EQ(Run({"room.wad", "MAP01", "-doom2", "-scale", "2"}), 0) << err.str();
  const auto both = pk4::ReadPackageEntry("zroomtex.pk4", "materials/doom2_variants_zroomtex_STARTAN3.mtr");
  EXPECT_NE(both->find("textures/doom2/STARTAN3/k1_5w0_0\n"), std::string::npos);
  EXPECT_NE(both->find("textures/doom2/STARTAN3/k2w0_0\n"), std::string::npos);
}

TEST_F(ProgramTest, WithoutAUsablePackageTheMapKeepsItsBaseMaterialsAndSaysWhy) {
  WriteFile("room.wad", RoomWad());
  WriteFile("DOOM2.TEX", kRoomList);
  ASSERT_EQ(Run({"room.wad", "MAP01", "-doom2"}), 0) << err.str();
  EXPECT_NE(err.str().find("no texture package"), std::string::npos) << err.str();
  EXPECT_NE(Read("MAP01.map").find(" doom2/STARTAN3 "), std::string::npos);

  WriteFile("zroomtex.pk4", "not a package");
  ASSERT_EQ(Run({"room.wad", "MAP01", "-doom2"}), 0) << err.str();
  EXPECT_NE(err.str().find("zroomtex.pk4: not a zip package"), std::string::npos) << err.str();
  EXPECT_NE(Read("MAP01.map").find(" doom2/STARTAN3 "), std::string::npos);
  EXPECT_EQ(Read("zroomtex.pk4"), "not a package");

  // Without the wad's own package the variants go to the package of the texture set in use.
  fs::remove("zroomtex.pk4");
  WriteTexturePackage("zdoom2tex.pk4");
  ASSERT_EQ(Run({"room.wad", "MAP01", "-doom2"}), 0) << err.str();
  EXPECT_TRUE(pk4::ReadPackageEntry("zdoom2tex.pk4", "materials/doom2_variants_zdoom2tex_STARTAN3.mtr").has_value());
}

TEST_F(ProgramTest, ASetsSingleVariantFileOfAnEarlierKitMovesIntoTheImagesFilesOnce) {
  WriteFile("room.wad", RoomWad());
  WriteFile("DOOM2.TEX", kRoomList);
  WriteTexturePackage("zroomtex.pk4");
  const std::string older = "textures/doom2/STARTAN3/k9w1_2\n{\n}\n\ntextures/doom2/BROWN1/k9w0_0\n{\n}\n";
  pk4::ReplacePackageEntries("zroomtex.pk4", {{"materials/doom2_variants_zroomtex.mtr", older}});
  ASSERT_EQ(Run({"room.wad", "MAP01", "-doom2", "-scale", "1.5"}), 0) << err.str();
  const auto walls = pk4::ReadPackageEntry("zroomtex.pk4", "materials/doom2_variants_zroomtex_STARTAN3.mtr");
  const auto brown = pk4::ReadPackageEntry("zroomtex.pk4", "materials/doom2_variants_zroomtex_BROWN1.mtr");
  ASSERT_TRUE(walls.has_value() && brown.has_value());
  EXPECT_NE(walls->find("textures/doom2/STARTAN3/k9w1_2\n"), std::string::npos);
  EXPECT_NE(walls->find("textures/doom2/STARTAN3/k1_5w0_0\n"), std::string::npos);
  EXPECT_NE(brown->find("textures/doom2/BROWN1/k9w0_0\n"), std::string::npos);
  // No variant is declared twice, and the moved ones do not count as the level's new ones.
  EXPECT_EQ(pk4::ReadPackageEntry("zroomtex.pk4", "materials/doom2_variants_zroomtex.mtr")->find("textures/"),
            std::string::npos);
  EXPECT_NE(out.str().find("2 new in zroomtex.pk4"), std::string::npos) << out.str();
  const std::string package = Read("zroomtex.pk4");
  ASSERT_EQ(Run({"room.wad", "MAP01", "-doom2", "-scale", "1.5"}), 0) << err.str();
  EXPECT_EQ(Read("zroomtex.pk4"), package);
}
