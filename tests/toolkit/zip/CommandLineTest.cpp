// The archiver's command line and path rules: combined flags, the usage
// errors, and the archive names derived from what the user typed.
#include "CommandLine.h"
#include "InputCollector.h"
#include "ZipError.h"

#include <gtest/gtest.h>

namespace {

int UsageCode(const std::vector<std::string>& args) {
  try {
    zip::ParseCommandLine(args);
  } catch (const zip::ZipError& error) {
    return error.exitCode();
  }
  return 0;
}

TEST(ZipCommandLine, CombinedFlagsAndOptionsAnywhere) {
  const zip::CommandLine line = zip::ParseCommandLine({"-rq9", "out.pk4", "textures", "-0", "env"});
  EXPECT_TRUE(line.recurse);
  EXPECT_TRUE(line.quiet);
  EXPECT_EQ(line.level, 0);  // the last level given wins
  EXPECT_EQ(line.archive, "out.pk4");
  EXPECT_EQ(line.inputs, (std::vector<std::string>{"textures", "env"}));
  EXPECT_EQ(zip::ParseCommandLine({"--", "a.zip", "-r"}).inputs, std::vector<std::string>{"-r"});
}

TEST(ZipCommandLine, UsageErrors) {
  EXPECT_EQ(UsageCode({}), 1);
  EXPECT_EQ(UsageCode({"a.zip"}), 1);
  EXPECT_EQ(UsageCode({"-x", "a.zip", "b"}), 1);
  EXPECT_EQ(UsageCode({"--recurse", "a.zip", "b"}), 1);
  EXPECT_TRUE(zip::ParseCommandLine({"--help"}).help);
}

TEST(ZipArchiveNames, NormalisedToForwardSlashes) {
  EXPECT_EQ(zip::ArchiveNameFor("textures\\doom2\\A.tga"), "textures/doom2/A.tga");
  EXPECT_EQ(zip::ArchiveNameFor("./env//sky_up.tga"), "env/sky_up.tga");
  EXPECT_EQ(zip::ArchiveNameFor("materials/"), "materials");
  EXPECT_EQ(zip::ArchiveNameFor("."), "");
  EXPECT_EQ(zip::ArchiveNameFor("a..b/c"), "a..b/c");  // only a whole ".." part climbs
}

TEST(ZipArchiveNames, AbsoluteAndClimbingPathsRefused) {
  for (const char* bad : {"/etc/passwd", "\\share\\x", "C:\\x.txt", "c:x", "../x", "a/../../b", "a\\..\\b", ""}) {
    try {
      zip::ArchiveNameFor(bad);
      ADD_FAILURE() << bad << " was accepted";
    } catch (const zip::ZipError& error) {
      EXPECT_EQ(error.exitCode(), 1) << bad;
    }
  }
}

}  // namespace
