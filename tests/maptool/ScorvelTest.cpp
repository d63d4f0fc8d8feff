// The tool as its callers see it: the real scorvel program, its exit code, its
// standard error and the file on disk afterwards.
#include "support/RunProcess.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

using Names = std::vector<std::string>;

const std::string kBanner = TextLines("Scorvel Rev.0\n");

ProcessResult Scorvel(const std::vector<std::string>& args)
{
    return RunProcess(ScorvelProgram(), args);
}

class ScorvelTest : public testing::Test {
protected:
    // Runs the tool on a file holding `bytes` and checks that it failed with
    // nCode, printed only the banner, and left the file exactly as it was.
    void ExpectFailureLeavesFile(const std::string& bytes, int nCode)
    {
        const std::string strPath = folder.File("a.map");
        WriteBytes(strPath, bytes);
        const ProcessResult result = Scorvel({strPath});
        EXPECT_EQ(nCode, result.nExitCode);
        EXPECT_EQ(kBanner, result.err);
        EXPECT_EQ("", result.out);
        EXPECT_EQ(bytes, ReadBytes(strPath));
        EXPECT_EQ(Names{"a.map"}, folder.List());
    }

    CTempFolder folder;
};

TEST_F(ScorvelTest, WithoutArgumentPrintsUsage)
{
    const ProcessResult result = Scorvel({});
    EXPECT_EQ(1, result.nExitCode);
    EXPECT_EQ(TextLines("Scorvel Rev.0\nUsage: Scorvel <.map file>\n\n"), result.err);
    EXPECT_EQ("", result.out);
}

TEST_F(ScorvelTest, RewritesTheMapAndEndsWithOk)
{
    const std::string strPath = folder.File("room.map");
    WriteBytes(strPath, R"({
"origin" "0 0 0"
"classname" "info_player_start"
}
{
  "classname" "worldspawn"
  {
    ( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) base/floor 0 0 0 0.5 0.5
  }
}
)");
    // The second argument is ignored.
    const ProcessResult result = Scorvel({strPath, "ignored.map"});
    EXPECT_EQ(0, result.nExitCode);
    EXPECT_EQ(kBanner + "OK", result.err);
    EXPECT_EQ("", result.out);
    const std::string expected = TextLines(R"({
 "classname" "info_player_start"
 "name" "noname0"
 "origin" "0 0 0"
}
{
 "classname" "worldspawn"
 "name" "noname1"
 {
  ( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) base/floor 0 0 0 0.5 0.5
 }
}
)");
    EXPECT_EQ(expected, ReadBytes(strPath));
    EXPECT_EQ(Names{"room.map"}, folder.List());

    EXPECT_EQ(0, Scorvel({strPath}).nExitCode);
    EXPECT_EQ(expected, ReadBytes(strPath)) << "a second run changes nothing";
}

TEST_F(ScorvelTest, WhiteSpaceOnlyFileIsRewrittenEmpty)
{
    const std::string strPath = folder.File("blank.map");
    WriteBytes(strPath, " \t\r\n\n ");
    const ProcessResult result = Scorvel({strPath});
    EXPECT_EQ(0, result.nExitCode);
    EXPECT_EQ(kBanner + "OK", result.err);
    EXPECT_EQ("", ReadBytes(strPath));
}

TEST_F(ScorvelTest, MissingFileIsExitCodeTwo)
{
    const ProcessResult result = Scorvel({folder.File("missing.map")});
    EXPECT_EQ(2, result.nExitCode);
    EXPECT_EQ(kBanner, result.err);
    EXPECT_EQ(Names{}, folder.List());
}

TEST_F(ScorvelTest, ZeroByteFileIsExitCodeTwo)
{
    ExpectFailureLeavesFile("", 2);
}

TEST_F(ScorvelTest, SyntaxErrorIsExitCodeThree)
{
    ExpectFailureLeavesFile("Version 2\n{\n}\n", 3);
    ExpectFailureLeavesFile("{\n\"classname\" \"light\"\n", 3);
    ExpectFailureLeavesFile("{\n}\nx", 3);
}

TEST_F(ScorvelTest, ReadOnlyFileIsExitCodeTwo)
{
    const std::string bytes = "{\n\"classname\" \"light\"\n}\n";
    const std::string strPath = folder.File("a.map");
    WriteBytes(strPath, bytes);
    SetReadOnly(strPath, true);
    const ProcessResult result = Scorvel({strPath});
    EXPECT_EQ(2, result.nExitCode);
    EXPECT_EQ(kBanner, result.err);
    EXPECT_EQ(bytes, ReadBytes(strPath));
    EXPECT_EQ(Names{"a.map"}, folder.List());
}

#ifndef _WIN32

TEST_F(ScorvelTest, FailedWriteIsExitCodeTwoAndKeepsTheFile)
{
    // A file size limit of one block makes the rewrite's writes fail (EFBIG).
    std::string bytes;
    for (int i = 0; i < 100; ++i)
        bytes += "{\n\"classname\" \"light\"\n}\n";
    const std::string strPath = folder.File("a.map");
    WriteBytes(strPath, bytes);
    const ProcessResult result =
        RunProcess("/bin/sh", {"-c", "trap '' XFSZ; ulimit -f 1; exec \"$0\" \"$1\"", ScorvelProgram(), strPath});
    EXPECT_EQ(2, result.nExitCode);
    EXPECT_EQ(kBanner, result.err);
    EXPECT_EQ(bytes, ReadBytes(strPath));
    EXPECT_EQ(Names{"a.map"}, folder.List());
}

#else

TEST_F(ScorvelTest, FileLockedByAnotherProgramIsExitCodeTwo)
{
    const std::string bytes = "{\n}\n";
    const std::string strPath = folder.File("a.map");
    WriteBytes(strPath, bytes);
    // Shared for reading only: the tool can read the map but not write it.
    HANDLE hReader = ::CreateFileA(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hReader);
    const ProcessResult readable = Scorvel({strPath});
    // Not shared at all: the tool cannot even read it.
    HANDLE hExclusive = INVALID_HANDLE_VALUE;
    ::CloseHandle(hReader);
    hExclusive = ::CreateFileA(strPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                               nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hExclusive);
    const ProcessResult unreadable = Scorvel({strPath});
    ::CloseHandle(hExclusive);

    EXPECT_EQ(2, readable.nExitCode);
    EXPECT_EQ(kBanner, readable.err);
    EXPECT_EQ(2, unreadable.nExitCode);
    EXPECT_EQ(bytes, ReadBytes(strPath));
    EXPECT_EQ(Names{"a.map"}, folder.List());
}

#endif

} // namespace
