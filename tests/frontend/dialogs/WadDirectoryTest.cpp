#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "WadDialogsTestSetup.h"
#include "dialogs/WadDirectory.h"

using waddialogs::MakeWad;
using waddialogs::PutUInt32;

namespace {

class WadFile : public ::testing::Test {
protected:
    CString Write(const std::string& bytes)
    {
        char folder[MAX_PATH];
        ::GetTempPathA(MAX_PATH, folder);
        char path[MAX_PATH];
        ::GetTempFileNameA(folder, "wad", 0, path);
        m_paths.push_back(path);
        std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return CString(path);
    }

    void TearDown() override
    {
        for (const std::string& path : m_paths)
            ::DeleteFileA(path.c_str());
    }

    std::vector<CString> levels { "stale" };

private:
    std::vector<std::string> m_paths;
};

std::vector<std::string> AsStrings(const std::vector<CString>& levels)
{
    std::vector<std::string> result;
    for (const CString& level : levels)
        result.push_back(level.str());
    return result;
}

} // namespace

TEST(LevelNameList, OnlyWholeNamesAreLevels)
{
    EXPECT_TRUE(IsLevelName("E1M1"));
    EXPECT_TRUE(IsLevelName("E4M9"));
    EXPECT_TRUE(IsLevelName("MAP01"));
    EXPECT_TRUE(IsLevelName("MAP32"));
    for (const char* fragment : { "", "E1", "MAP", "M1", "1\nE1M2", "MAP33", "E5M1", "MAP1", "E1M10" })
        EXPECT_FALSE(IsLevelName(fragment)) << fragment;
}

TEST_F(WadFile, ListsLevelLumpsInDirectoryOrderUpperCasedWithRepeats)
{
    const CString path = Write(MakeWad({ "MAP02", "THINGS", "e1m1", "MAP02", "PLAYPAL", "Map10" }));
    ASSERT_TRUE(ReadWadLevels(path, levels));
    EXPECT_EQ(AsStrings(levels), (std::vector<std::string> { "MAP02", "E1M1", "MAP02", "MAP10" }));
}

TEST_F(WadFile, NameFragmentsAndEmptyNamesAreNotLevels)
{
    const CString path = Write(MakeWad({ "E1", "MAP", "", "M1", "E1M1" }));
    ASSERT_TRUE(ReadWadLevels(path, levels));
    EXPECT_EQ(AsStrings(levels), (std::vector<std::string> { "E1M1" }));
}

TEST_F(WadFile, EightCharacterNamesWithoutTerminatorAreReadWhole)
{
    // "MAP01XYZ" fills all eight bytes; the next entry's offset must not leak in.
    const CString path = Write(MakeWad({ "MAP01XYZ", "E2M3" }));
    ASSERT_TRUE(ReadWadLevels(path, levels));
    EXPECT_EQ(AsStrings(levels), (std::vector<std::string> { "E2M3" }));
}

TEST_F(WadFile, EmptyDirectoryGivesNoLevels)
{
    ASSERT_TRUE(ReadWadLevels(Write(MakeWad({})), levels));
    EXPECT_TRUE(levels.empty());
}

TEST_F(WadFile, BrokenFilesGiveFalseAndNoLevels)
{
    std::string pastEnd = MakeWad({ "E1M1" });
    pastEnd.replace(8, 4, std::string("\x00\x10\x00\x00", 4));
    std::string countTooLarge = MakeWad({ "E1M1", "E1M2" });
    countTooLarge[4] = 3;
    std::string hugeCount = MakeWad({ "E1M1" });
    hugeCount.replace(4, 4, std::string("\xFF\xFF\xFF\xFF", 4));
    std::string offsetHighBit = MakeWad({ "E1M1" });
    offsetHighBit.replace(8, 4, std::string("\x0C\x00\x00\x80", 4));

    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        { "empty file", "" },
        { "shorter than the header", "PWAD\x01\x00\x00\x00\x0C\x00" },
        { "directory offset past the end", pastEnd },
        { "lump count larger than the directory", countTooLarge },
        { "huge lump count with a short file", hugeCount },
        { "offset with the high bit set", offsetHighBit },
    };
    for (const auto& test : cases) {
        levels = { "stale" };
        EXPECT_FALSE(ReadWadLevels(Write(test.bytes), levels)) << test.what;
        EXPECT_TRUE(levels.empty()) << test.what;
    }
}

TEST_F(WadFile, MissingFileGivesFalse)
{
    EXPECT_FALSE(ReadWadLevels("C:\\no\\such\\folder\\x.wad", levels));
    EXPECT_TRUE(levels.empty());
}

TEST_F(WadFile, DirectoryAnywhereInTheFileIsFound)
{
    std::string bytes = "IWAD";
    PutUInt32(bytes, 1);
    PutUInt32(bytes, 20);
    bytes += "lumpdata";
    PutUInt32(bytes, 12);
    PutUInt32(bytes, 8);
    bytes += std::string("E3M7\0\0\0\0", 8);
    ASSERT_TRUE(ReadWadLevels(Write(bytes), levels));
    EXPECT_EQ(AsStrings(levels), (std::vector<std::string> { "E3M7" }));
}

TEST(FreedoomWads, EpisodeWadHoldsThirtySixLevels)
{
    const char* path = "Z:\\usr\\share\\games\\doom\\freedoom1.wad";
    if (::GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "freedoom is not installed";
    std::vector<CString> levels;
    ASSERT_TRUE(ReadWadLevels(path, levels));
    ASSERT_EQ(levels.size(), 36u);
    std::vector<std::string> expected;
    for (int episode = 1; episode <= 4; ++episode) {
        for (int map = 1; map <= 9; ++map)
            expected.push_back("E" + std::to_string(episode) + "M" + std::to_string(map));
    }
    EXPECT_EQ(AsStrings(levels), expected);
}

TEST(FreedoomWads, MapWadHoldsThirtyTwoLevels)
{
    const char* path = "Z:\\usr\\share\\games\\doom\\freedoom2.wad";
    if (::GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "freedoom is not installed";
    std::vector<CString> levels;
    ASSERT_TRUE(ReadWadLevels(path, levels));
    ASSERT_EQ(levels.size(), 32u);
    EXPECT_EQ(levels.front(), "MAP01");
    EXPECT_EQ(levels.back(), "MAP32");
}
