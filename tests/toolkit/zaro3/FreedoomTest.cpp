#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "MapChecker.h"
#include "Program.h"
#include "WadFile.h"
#include "Level.h"

namespace fs = std::filesystem;

namespace {

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The game builds a brush entity's render and clip model only from its "model" key,
// which must equal its name; names must be unique for targets to work.
void ExpectBrushEntitiesExistInTheGame(const zaro3test::MapCheck& check, const std::string& level) {
  std::set<std::string> names;
  for (std::size_t i = 1; i < check.entities.size(); ++i) {
    const auto& entity = check.entities[i];
    const std::string name = entity.Value("name");
    if (!name.empty()) {
      EXPECT_TRUE(names.insert(name).second) << level << ": two entities named " << name;
    }
    if (entity.brushes.empty()) continue;
    EXPECT_FALSE(name.empty()) << level << ": brush entity " << i << " has no name";
    EXPECT_EQ(entity.Value("model"), name) << level << ": brush entity " << i;
  }
}

// Every level of a Freedoom wad converts and every brush of every map is sound.
void ConvertEveryLevel(const std::string& wadName) {
  const fs::path wadPath = fs::path("/usr/share/games/doom") / wadName;
  if (!fs::exists(wadPath)) GTEST_SKIP() << wadPath << " is not installed";
  const fs::path folder = fs::temp_directory_path() / ("zaro3_freedoom_" + wadName);
  fs::remove_all(folder);
  fs::create_directories(folder);
  const fs::path old = fs::current_path();
  fs::current_path(folder);
  fs::copy_file(wadPath, wadName);
  const auto levels = wad::ListLevels(wad::WadFile::Load(wadName));
  for (const std::string& level : levels) {
    std::ostringstream out, err;
    ASSERT_EQ(zaro3::RunZaro3({wadName, level, "-bound", "-scale", "1.500000"}, out, err), 0) << level << ": " << err.str();
    const zaro3test::MapCheck check = zaro3test::CheckMapText(Read(level + ".map"));
    EXPECT_TRUE(check.parsed) << level << ": " << check.parseError;
    EXPECT_EQ(check.badBrushes, 0) << level << ": " << check.firstProblem;
    EXPECT_GT(check.brushes, 0) << level;
    ExpectBrushEntitiesExistInTheGame(check, level);
    fs::remove(level + ".map");
  }
  fs::current_path(old);
  fs::remove_all(folder);
}

}  // namespace

TEST(Freedoom, EveryLevelOfFreedoomOneConvertsWithSoundBrushes) { ConvertEveryLevel("freedoom1.wad"); }
TEST(Freedoom, EveryLevelOfFreedoomTwoConvertsWithSoundBrushes) { ConvertEveryLevel("freedoom2.wad"); }

#ifdef ZARO3_TEST_SCORVEL
// Every target names an entity of the map, before and after the map tool has named the rest.
TEST(Freedoom, EveryTargetNamesAnEntityAfterTheMapToolHasNamedThem) {
  const fs::path wadPath = "/usr/share/games/doom/freedoom2.wad";
  if (!fs::exists(wadPath)) GTEST_SKIP();
  const fs::path folder = fs::temp_directory_path() / "zaro3_freedoom_scorvel";
  fs::remove_all(folder);
  fs::create_directories(folder);
  const fs::path old = fs::current_path();
  fs::current_path(folder);
  fs::copy_file(wadPath, "freedoom2.wad");
  std::ostringstream out, err;
  ASSERT_EQ(zaro3::RunZaro3({"freedoom2.wad", "MAP01", "-scale", "1.500000"}, out, err), 0) << err.str();
  const std::string command = std::string("\"") + ZARO3_TEST_SCORVEL + "\" MAP01.map >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0);
  const zaro3test::MapCheck check = zaro3test::CheckMapText(Read("MAP01.map"));
  ASSERT_TRUE(check.parsed);
  std::set<std::string> names;
  for (const auto& entity : check.entities) names.insert(entity.Value("name"));
  int targets = 0;
  for (const auto& entity : check.entities) {
    for (const auto& [key, value] : entity.keys) {
      if (key.rfind("target", 0) != 0) continue;
      ++targets;
      EXPECT_TRUE(names.count(value)) << entity.Value("name") << " targets " << value;
    }
  }
  EXPECT_GT(targets, 20);
  fs::current_path(old);
  fs::remove_all(folder);
}
#endif
