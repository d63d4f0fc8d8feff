#include "tools/Launch.h"

#include <gtest/gtest.h>

#include <string>

#include "DialogDriver.h"
#include "StandinLog.h"
#include "Standins.h"
#include "TestFiles.h"
#include "TestGlobals.h"

using testsupport::ScopedCurrentFolder;
using testsupport::TempFolder;

namespace {

// A program folder with the stand-ins in it and a log of their runs kept
// outside it (a tool's working folder gets no stray files from the test).
class LaunchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_programFolder = m_root.MakeFolder("program");
        m_otherFolder = m_root.MakeFolder("elsewhere");
        m_logPath = m_root.Join("standins.log");
        ASSERT_TRUE(InstallStandins(m_programFolder));
        testsupport::SetProgramFolder(m_programFolder);
    }

    std::string Tool(const std::string& name) const { return m_programFolder + "\\" + name; }
    std::string Quoted(const std::string& path) const { return "\"" + path + "\""; }
    std::vector<StandinLogEntry> Log() const { return ReadStandinLog(m_logPath); }

    // Waits for a tool started without waiting to log its run, so that it has
    // ended before the folders are removed. False when it never logs.
    bool WaitForLogEntries(size_t count) const
    {
        for (int attempt = 0; attempt < 600; ++attempt) {
            if (Log().size() >= count)
                return true;
            ::Sleep(50);
        }
        return false;
    }

    TempFolder m_root;
    std::string m_programFolder;
    std::string m_otherFolder;
    std::string m_logPath;
    ScopedEnvironmentVariable m_log {KOLVANTA_STANDIN_LOG_VARIABLE, m_root.Join("standins.log")};
};

TEST_F(LaunchTest, EmptyApplicationTakesTheProgramFromTheCommandLine)
{
    std::string commandLine = Quoted(Tool("doom3.exe")) + " +com_allowConsole 1 +exec brask_compile.cfg";

    ASSERT_TRUE(LaunchProcess("", commandLine.c_str(), m_otherFolder.c_str(), true));

    auto log = Log();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].tool, "doom3.exe");
    EXPECT_EQ(log[0].commandLine, commandLine);
    EXPECT_EQ(log[0].folder, m_otherFolder);
}

TEST_F(LaunchTest, ApplicationIsTheProgramWhileTheCommandLineGoesThroughWhole)
{
    // The first token names no program at all: only the application can have
    // been started, and the command line must arrive untouched.
    std::string commandLine = "game.exe  +set  \"a b\"";

    ASSERT_TRUE(LaunchProcess(Tool("doom3.exe").c_str(), commandLine.c_str(), m_otherFolder.c_str(), true));

    auto log = Log();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].tool, "doom3.exe");
    EXPECT_EQ(log[0].commandLine, commandLine);
}

TEST_F(LaunchTest, WaitingReturnsOnlyAfterTheProgramEnded)
{
    ScopedEnvironmentVariable slow(KOLVANTA_STANDIN_SLEEP_VARIABLE, "700");

    ASSERT_TRUE(LaunchProcess("", Quoted(Tool("doom3.exe")).c_str(), m_otherFolder.c_str(), true));

    EXPECT_EQ(Log().size(), 1u);
}

TEST_F(LaunchTest, NotWaitingReturnsWhileTheProgramStillRuns)
{
    ScopedEnvironmentVariable slow(KOLVANTA_STANDIN_SLEEP_VARIABLE, "3000");

    ASSERT_TRUE(LaunchProcess("", Quoted(Tool("doom3.exe")).c_str(), m_otherFolder.c_str(), false));

    EXPECT_TRUE(Log().empty());
    EXPECT_TRUE(WaitForLogEntries(1));
}

TEST_F(LaunchTest, MissingProgramGivesFalseAndNoMessage)
{
    testsupport::DialogDriver driver;
    std::string missing = Quoted(m_programFolder + "\\scorvel.exe") + " \"x.map\"";

    EXPECT_FALSE(LaunchProcess("", missing.c_str(), m_otherFolder.c_str(), true));
    EXPECT_FALSE(LaunchProcess((m_programFolder + "\\scorvel.exe").c_str(), "scorvel.exe", m_otherFolder.c_str(), true));
    EXPECT_FALSE(LaunchInToolFolder("", "no-such-tool-anywhere.exe", true));

    EXPECT_TRUE(driver.MessageBoxes().empty());
    EXPECT_TRUE(Log().empty());
}

TEST_F(LaunchTest, MissingWorkingFolderGivesFalse)
{
    std::string missingFolder = m_root.Join("not-there");

    EXPECT_FALSE(LaunchProcess("", Quoted(Tool("doom3.exe")).c_str(), missingFolder.c_str(), true));
    EXPECT_TRUE(Log().empty());
}

TEST_F(LaunchTest, EmptyWorkingFolderRunsInTheCallersFolder)
{
    ScopedCurrentFolder current(m_otherFolder);

    ASSERT_TRUE(LaunchProcess("", Quoted(Tool("doom3.exe")).c_str(), "", true));

    auto log = Log();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].folder, m_otherFolder);
}

TEST_F(LaunchTest, ToolRunsInTheProgramFolderAndLeavesItsMapThere)
{
    ScopedCurrentFolder current(m_otherFolder);
    std::string commandLine = Quoted(Tool("ZarO3.exe")) + "  doom2.wad MAP01 -bound -scale 1.500000 -doom2";

    ASSERT_TRUE(LaunchInToolFolder("", commandLine.c_str(), true));

    auto log = Log();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].tool, "ZarO3.exe");
    EXPECT_EQ(log[0].commandLine, commandLine);
    EXPECT_EQ(log[0].folder, m_programFolder);
    EXPECT_TRUE(testsupport::FileExists(m_programFolder + "\\MAP01.map"));
    EXPECT_FALSE(testsupport::FileExists(m_otherFolder + "\\MAP01.map"));
}

TEST_F(LaunchTest, BareToolNameIsFoundBesideTheCaller)
{
    // The front-end lies in the program folder, so a bare "ZarO3.exe" is found
    // there; a test program lies elsewhere and stands in the folder instead.
    ScopedCurrentFolder current(m_programFolder);

    ASSERT_TRUE(LaunchInToolFolder("", "ZarO3.exe  doom2.wad E1M1 -bound", true));

    auto log = Log();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].commandLine, "ZarO3.exe  doom2.wad E1M1 -bound");
    EXPECT_TRUE(testsupport::FileExists(m_programFolder + "\\E1M1.map"));
}

TEST_F(LaunchTest, BatchFileRunsInTheGivenFolder)
{
    ScopedCurrentFolder current(m_programFolder);

    ASSERT_TRUE(LaunchInToolFolder("", "xtract.bat \"my doom.wad\"", true));

    auto log = Log();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].tool, "xtract.bat");
    EXPECT_EQ(log[0].folder, m_programFolder);
    EXPECT_EQ(log[0].firstArgument, "\"my doom.wad\"");
}

TEST_F(LaunchTest, BatchFileNamedByFullPathRunsInTheToolFolder)
{
    ScopedCurrentFolder current(m_otherFolder);

    ASSERT_TRUE(LaunchInToolFolder("", (Quoted(Tool("xtract.bat")) + " \"DOOM2.WAD\"").c_str(), true));

    auto log = Log();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].folder, m_programFolder);
    EXPECT_EQ(log[0].firstArgument, "\"DOOM2.WAD\"");
}

TEST_F(LaunchTest, FailingToolStillCountsAsLaunched)
{
    ScopedEnvironmentVariable failing(KOLVANTA_STANDIN_FAIL_VARIABLE, "1");

    EXPECT_TRUE(LaunchInToolFolder("", Quoted(Tool("ZarO3.exe")).c_str(), true));
    EXPECT_TRUE(LaunchInToolFolder("", (Quoted(Tool("xtract.bat")) + " a.wad").c_str(), true));
    EXPECT_EQ(Log().size(), 2u);
}

} // namespace
