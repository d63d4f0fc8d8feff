#include <gtest/gtest.h>

#include "dialogs/CnRTexts.h"

TEST(CnRTexts, WorkedExampleWithEveryBoxTicked)
{
    const CnRPaths paths = MakeCnRPaths("C:\\Doom3", "base", "E1M1.map");
    EXPECT_EQ(FormatMapToolCommandLine(paths.mapCopy), "scorvel.exe \"C:\\Doom3\\base\\maps\\E1M1.map\"");
    EXPECT_EQ(FormatDoom3CommandLine(paths.doom3Program, true, true),
              "\"C:\\Doom3\\doom3.exe\" +com_allowConsole 1 +exec brask_compile.cfg +exec brask_runmap.cfg");
    EXPECT_EQ(FormatCompileScript("E1M1.map"), "dmap noflood E1M1.map\r\n");
    EXPECT_EQ(FormatRunScript("E1M1.map"), "map E1M1.map\r\n");
}

TEST(CnRTexts, OptionsExecOnlyTheTickedScripts)
{
    EXPECT_EQ(FormatDoom3Options(false, true), " +com_allowConsole 1 +exec brask_runmap.cfg");
    EXPECT_EQ(FormatDoom3Options(true, false), " +com_allowConsole 1 +exec brask_compile.cfg");
    EXPECT_EQ(FormatDoom3Options(false, false), " +com_allowConsole 1");
    EXPECT_EQ(FormatDoom3CommandLine("D:\\G\\doom3.exe", false, false), "\"D:\\G\\doom3.exe\" +com_allowConsole 1");
}

TEST(CnRTexts, FolderWithOrWithoutTrailingBackslashGivesTheSamePaths)
{
    const CnRPaths plain = MakeCnRPaths("C:\\Doom3", "base", "E1M1.map");
    const CnRPaths slashed = MakeCnRPaths("C:\\Doom3\\", "base", "E1M1.map");
    EXPECT_EQ(plain.modFolder, "C:\\Doom3\\base");
    EXPECT_EQ(plain.mapsFolder, "C:\\Doom3\\base\\maps");
    EXPECT_EQ(plain.compileScript, "C:\\Doom3\\base\\brask_compile.cfg");
    EXPECT_EQ(plain.runScript, "C:\\Doom3\\base\\brask_runmap.cfg");
    EXPECT_EQ(plain.doom3Program, "C:\\Doom3\\doom3.exe");
    EXPECT_EQ(slashed.mapCopy, plain.mapCopy);
    EXPECT_EQ(slashed.compileScript, plain.compileScript);
    EXPECT_EQ(slashed.doom3Program, plain.doom3Program);
}

TEST(CnRTexts, PercentSignsInNamesAreNotFormatDirectives)
{
    EXPECT_EQ(FormatRunScript("100%s.map"), "map 100%s.map\r\n");
    EXPECT_EQ(FormatMapToolCommandLine("C:\\a%d\\b.map"), "scorvel.exe \"C:\\a%d\\b.map\"");
}
