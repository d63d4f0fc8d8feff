// The wad directory and level reader on crafted wads built here, and on both Freedoom wads.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "Level.h"
#include "WadFile.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& b, int v) {
  b.push_back(static_cast<uint8_t>(v & 0xFF));
  b.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}
void Put32(Bytes& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>((v >> (8 * i)) & 0xFF));
}
void PutName(Bytes& b, const std::string& name) {
  for (std::size_t i = 0; i < 8; ++i) b.push_back(i < name.size() ? static_cast<uint8_t>(name[i]) : 0);
}

// A PWAD from (name, bytes) lumps: header, lump data, directory at the end.
Bytes MakeWad(const std::vector<std::pair<std::string, Bytes>>& lumps) {
  Bytes data;
  std::vector<uint32_t> offsets;
  for (const auto& lump : lumps) {
    offsets.push_back(static_cast<uint32_t>(12 + data.size()));
    data.insert(data.end(), lump.second.begin(), lump.second.end());
  }
  Bytes wad = {'P', 'W', 'A', 'D'};
  Put32(wad, static_cast<uint32_t>(lumps.size()));
  Put32(wad, static_cast<uint32_t>(12 + data.size()));
  wad.insert(wad.end(), data.begin(), data.end());
  for (std::size_t i = 0; i < lumps.size(); ++i) {
    Put32(wad, offsets[i]);
    Put32(wad, static_cast<uint32_t>(lumps[i].second.size()));
    PutName(wad, lumps[i].first);
  }
  return wad;
}

// A square sector, 128 units wide, four one-sided lines, one player start, and a node
// tree of one subsector; the fields are public so each test breaks one thing.
struct SquareLevel {
  std::vector<std::pair<int, int>> vertices = {{0, 0}, {0, 128}, {128, 128}, {128, 0}};
  std::vector<std::vector<int>> lines = {{0, 1, 0}, {1, 2, 1}, {2, 3, 2}, {3, 0, 3}};  // v1, v2, front side
  int sideSector = 0;
  int sectorCount = 1;
  std::vector<int> nodeChildren;  // empty: no NODES record (one subsector needs none)
  Bytes extraSides;               // appended to SIDEDEFS
  std::string nodesMagic;

  std::vector<std::pair<std::string, Bytes>> Lumps(const std::string& marker = "MAP01") const {
    Bytes things, linedefs, sidedefs, vertexes, segs, ssectors, nodes, sectors;
    Put16(things, 64), Put16(things, 64), Put16(things, 90), Put16(things, 1), Put16(things, 7);
    for (const auto& l : lines) {
      Put16(linedefs, l[0]), Put16(linedefs, l[1]), Put16(linedefs, 1), Put16(linedefs, 0), Put16(linedefs, 0);
      Put16(linedefs, l[2]), Put16(linedefs, 0xFFFF);
      Put16(sidedefs, 0), Put16(sidedefs, 0), PutName(sidedefs, "-"), PutName(sidedefs, "-");
      PutName(sidedefs, "startan3"), Put16(sidedefs, sideSector);
    }
    sidedefs.insert(sidedefs.end(), extraSides.begin(), extraSides.end());
    for (const auto& v : vertices) Put16(vertexes, v.first), Put16(vertexes, v.second);
    for (std::size_t i = 0; i < lines.size(); ++i) {
      Put16(segs, lines[i][0]), Put16(segs, lines[i][1]), Put16(segs, 0), Put16(segs, static_cast<int>(i));
      Put16(segs, 0), Put16(segs, 0);
    }
    Put16(ssectors, static_cast<int>(lines.size())), Put16(ssectors, 0);
    if (!nodesMagic.empty()) nodes.insert(nodes.end(), nodesMagic.begin(), nodesMagic.end());
    if (!nodeChildren.empty()) {
      Put16(nodes, 64), Put16(nodes, 0), Put16(nodes, 0), Put16(nodes, 128);
      for (int i = 0; i < 8; ++i) Put16(nodes, 0);
      Put16(nodes, nodeChildren[0]), Put16(nodes, nodeChildren[1]);
    }
    for (int s = 0; s < sectorCount; ++s) {
      Put16(sectors, 0), Put16(sectors, 128), PutName(sectors, "floor0_1"), PutName(sectors, "ceil1_1");
      Put16(sectors, 160), Put16(sectors, 0), Put16(sectors, 0);
    }
    return {{marker, {}},  {"THINGS", things}, {"LINEDEFS", linedefs}, {"SIDEDEFS", sidedefs},
            {"VERTEXES", vertexes}, {"SEGS", segs}, {"SSECTORS", ssectors}, {"NODES", nodes},
            {"SECTORS", sectors}};
  }
  wad::Level Load() const { return wad::LoadLevel(wad::WadFile::FromBytes(MakeWad(Lumps())), "map01"); }
};

std::string ErrorOf(const Bytes& bytes) {
  try {
    wad::WadFile::FromBytes(bytes);
  } catch (const wad::WadError& e) {
    return e.what();
  }
  return "";
}

TEST(WadFileTest, RefusesBrokenFilesWithOneMessage) {
  EXPECT_NE(ErrorOf({'J', 'U', 'N', 'K', 0, 0, 0, 0, 12, 0, 0, 0}).find("not a wad"), std::string::npos);
  EXPECT_NE(ErrorOf({'P', 'W', 'A', 'D', 0, 0}).find("too short"), std::string::npos);

  Bytes outside = MakeWad({{"A", {1, 2}}});
  outside[8] = 0xF0;  // directory offset beyond the end
  EXPECT_NE(ErrorOf(outside).find("directory"), std::string::npos);

  Bytes hugeCount = MakeWad({{"A", {1, 2}}});
  hugeCount[4] = hugeCount[5] = hugeCount[6] = hugeCount[7] = 0xFF;
  EXPECT_NE(ErrorOf(hugeCount).find("directory"), std::string::npos);

  Bytes lumpOutside = MakeWad({{"A", {1, 2}}});
  lumpOutside[lumpOutside.size() - 12] = 0xFF;  // the lump's size
  EXPECT_NE(ErrorOf(lumpOutside).find("outside the file"), std::string::npos);
}

// The same bytes read from a file through a filter that keeps nothing.
std::string FilteredErrorOf(const Bytes& bytes) {
  const std::string path = ::testing::TempDir() + "filtered.wad";
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  try {
    wad::WadFile::Load(path, [](const std::vector<wad::Lump>&, int) { return false; });
  } catch (const wad::WadError& e) {
    return e.what();
  }
  return "";
}

TEST(WadFileTest, AFilteredLoadChecksTheFileAsAWholeLoadDoes) {
  Bytes outside = MakeWad({{"A", {1, 2}}});
  outside[8] = 0xF0;
  Bytes hugeCount = MakeWad({{"A", {1, 2}}});
  hugeCount[4] = hugeCount[5] = hugeCount[6] = hugeCount[7] = 0xFF;
  Bytes lumpOutside = MakeWad({{"A", {1, 2}}});
  lumpOutside[lumpOutside.size() - 12] = 0xFF;
  for (const Bytes& bytes : {Bytes{'J', 'U', 'N', 'K', 0, 0, 0, 0, 12, 0, 0, 0}, Bytes{'P', 'W', 'A', 'D', 0, 0}, outside,
                             hugeCount, lumpOutside}) {
    const std::string whole = ErrorOf(bytes);
    const std::string filtered = FilteredErrorOf(bytes);
    ASSERT_FALSE(whole.empty());
    EXPECT_NE(filtered.find(whole), std::string::npos) << filtered;
  }
  EXPECT_EQ(FilteredErrorOf(MakeWad({{"A", {1, 2}}})), "");
}

TEST(WadFileTest, NamesAreUpperCasedAndEmptyMarkersMayPointAnywhere) {
  Bytes bytes = MakeWad({{"e1m1", {}}, {"Things", {9}}});
  bytes[bytes.size() - 32] = 0xFF;  // the empty marker's offset, far outside the file
  const wad::WadFile file = wad::WadFile::FromBytes(bytes);
  ASSERT_EQ(file.LumpCount(), 2u);
  EXPECT_EQ(file.Lumps()[0].name, "E1M1");
  EXPECT_EQ(file.Find("THINGS"), 1);
  EXPECT_EQ(file.Data(1), std::string_view("\x09", 1));
  EXPECT_TRUE(file.Data(0).empty());
  EXPECT_THROW(wad::WadFile::Load("/nonexistent/none.wad"), wad::WadError);
}

TEST(LevelTest, LoadsACleanLevelWithUsableNodes) {
  const wad::Level level = SquareLevel().Load();
  EXPECT_EQ(level.name, "MAP01");
  EXPECT_EQ(level.linedefs.size(), 4u);
  EXPECT_EQ(level.sectors.size(), 1u);
  EXPECT_EQ(level.sectors[0].floorFlat, "FLOOR0_1");
  EXPECT_EQ(level.sidedefs[0].middle, "STARTAN3");
  ASSERT_EQ(level.things.size(), 1u);
  EXPECT_EQ(level.things[0].type, 1);
  EXPECT_TRUE(level.nodesUsable) << level.nodesProblem;
  EXPECT_EQ(level.problems.Total(), 0);
}

TEST(LevelTest, RefusesLevelsItCannotRead) {
  const SquareLevel square;
  const wad::WadFile plain = wad::WadFile::FromBytes(MakeWad(square.Lumps()));
  EXPECT_THROW(wad::LoadLevel(plain, "MAP02"), wad::WadError);

  auto hexen = square.Lumps();
  hexen.push_back({"BEHAVIOR", {0}});
  EXPECT_THROW(wad::LoadLevel(wad::WadFile::FromBytes(MakeWad(hexen)), "MAP01"), wad::WadError);

  const Bytes udmf = MakeWad({{"MAP01", {}}, {"TEXTMAP", {'x'}}, {"ENDMAP", {}}});
  EXPECT_THROW(wad::LoadLevel(wad::WadFile::FromBytes(udmf), "MAP01"), wad::WadError);

  auto noSectors = square.Lumps();
  noSectors.pop_back();
  EXPECT_THROW(wad::LoadLevel(wad::WadFile::FromBytes(MakeWad(noSectors)), "MAP01"), wad::WadError);
}

TEST(LevelTest, BrokenRecordsAreDroppedOrUnlinkedAndCounted) {
  SquareLevel level;
  level.lines.push_back({0, 9, 0});  // vertex out of range
  level.lines.push_back({2, 2, 0});  // zero length
  level.lines.push_back({1, 3, 40});  // sidedef out of range, so no side at all
  level.extraSides = {1, 2, 3};       // a truncated record
  const wad::Level loaded = level.Load();
  EXPECT_EQ(loaded.linedefs.size(), 4u);
  EXPECT_EQ(loaded.problems.badVertexIndex, 1);
  EXPECT_EQ(loaded.problems.zeroLength, 1);
  EXPECT_EQ(loaded.problems.badSidedefIndex, 1);
  EXPECT_EQ(loaded.problems.noSides, 1);
  EXPECT_EQ(loaded.problems.truncatedLumps, 1);
  // Segs name linedefs by record number, so dropped lines make the nodes unusable.
  EXPECT_FALSE(loaded.nodesUsable);

  SquareLevel badSector;
  badSector.sideSector = 5;
  EXPECT_THROW(badSector.Load(), wad::WadError);  // every line loses its only side
}

TEST(LevelTest, NodesThatCannotBeTrustedAreNotUsable) {
  SquareLevel nowhere;
  nowhere.nodeChildren = {0x8000, 0x8005};  // a subsector that does not exist
  EXPECT_FALSE(nowhere.Load().nodesUsable);

  SquareLevel loop;
  loop.nodeChildren = {0x8000, 0};  // the root names itself: walking it would never end
  EXPECT_FALSE(loop.Load().nodesUsable);

  SquareLevel extended;
  extended.nodesMagic = "XNOD";
  const wad::Level loaded = extended.Load();
  EXPECT_FALSE(loaded.nodesUsable);
  EXPECT_NE(loaded.nodesProblem.find("extended"), std::string::npos);
  EXPECT_EQ(loaded.linedefs.size(), 4u);
}

TEST(LevelTest, ListsLevelsAndTheLastMarkerWins) {
  SquareLevel first;
  SquareLevel second;
  second.vertices[2] = {256, 256};
  auto lumps = first.Lumps("MAP01");
  const auto more = second.Lumps("MAP01");
  lumps.insert(lumps.end(), more.begin(), more.end());
  const auto udmf = std::vector<std::pair<std::string, Bytes>>{{"MAP07", {}}, {"TEXTMAP", {'x'}}};
  lumps.insert(lumps.end(), udmf.begin(), udmf.end());
  const wad::WadFile file = wad::WadFile::FromBytes(MakeWad(lumps));
  EXPECT_EQ(wad::ListLevels(file), (std::vector<std::string>{"MAP01", "MAP01", "MAP07"}));
  EXPECT_EQ(wad::LoadLevel(file, "map01").vertices[2].x, 256);
}

void ExpectEveryLevelLoads(const char* path, std::size_t count) {
  if (!std::ifstream(path)) GTEST_SKIP() << path << " is not installed";
  const wad::WadFile file = wad::WadFile::Load(path);
  const auto names = wad::ListLevels(file);
  EXPECT_EQ(names.size(), count);
  for (const auto& name : names) {
    const wad::Level level = wad::LoadLevel(file, name);
    EXPECT_TRUE(level.nodesUsable) << name << ": " << level.nodesProblem;
    EXPECT_FALSE(level.things.empty()) << name;
  }
}

TEST(FreedoomTest, ALevelReadAloneIsTheLevelReadFromTheWholeWad) {
  const char* path = "/usr/share/games/doom/freedoom2.wad";
  if (!std::ifstream(path)) GTEST_SKIP() << path << " is not installed";
  const wad::WadFile whole = wad::WadFile::Load(path);
  for (const char* name : {"MAP01", "map09", "MAP32"}) {
    const wad::WadFile alone = wad::WadFile::Load(path, wad::LevelLumpsOnly(name));
    const wad::Level a = wad::LoadLevel(alone, name);
    const wad::Level b = wad::LoadLevel(whole, name);
    EXPECT_EQ(a.linedefs.size(), b.linedefs.size()) << name;
    EXPECT_EQ(a.segs.size(), b.segs.size()) << name;
    EXPECT_EQ(a.things.size(), b.things.size()) << name;
    EXPECT_EQ(a.vertices.back().x, b.vertices.back().x) << name;
    EXPECT_TRUE(a.nodesUsable) << name;
  }
  const wad::WadFile alone = wad::WadFile::Load(path, wad::LevelLumpsOnly("MAP01"));
  EXPECT_EQ(alone.LumpCount(), whole.LumpCount());
  EXPECT_THROW(alone.Data(alone.Find("PLAYPAL")), wad::WadError);
  EXPECT_THROW(wad::LoadLevel(alone, "MAP02"), wad::WadError);
}

TEST(FreedoomTest, EveryLevelOfBothWadsLoadsWithUsableNodes) {
  ExpectEveryLevelLoads("/usr/share/games/doom/freedoom1.wad", 36);
  ExpectEveryLevelLoads("/usr/share/games/doom/freedoom2.wad", 32);
}

}  // namespace
