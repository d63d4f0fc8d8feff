#include "tools/TextFile.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "TestFiles.h"

using testsupport::ReadFileBytes;
using testsupport::TempFolder;

namespace {

TEST(WriteTextFileTest, ReplacesTheWholeOfAnExistingFile)
{
    TempFolder folder;
    std::string path = folder.MakeFile("brask_compile.cfg", "dmap noflood OLDMAP_WITH_A_LONG_NAME.map\r\n");

    ASSERT_TRUE(WriteTextFile(path.c_str(), "dmap noflood E1M1.map\r\n", true));

    EXPECT_EQ(ReadFileBytes(path), "dmap noflood E1M1.map\r\n");
}

TEST(WriteTextFileTest, BinaryModeWritesTheBytesUnchanged)
{
    TempFolder folder;
    std::string path = folder.Join("brask_runmap.cfg");
    const std::string text = "map E1M1.map\r\nbare line feed\nlone return\r";

    ASSERT_TRUE(WriteTextFile(path.c_str(), text.c_str(), true));

    EXPECT_EQ(ReadFileBytes(path), text);
}

TEST(WriteTextFileTest, TextModeEndsEachLineWithReturnAndLineFeed)
{
    TempFolder folder;
    std::string path = folder.Join("notes.txt");

    ASSERT_TRUE(WriteTextFile(path.c_str(), "first\nsecond\n\nlast", false));

    EXPECT_EQ(ReadFileBytes(path), "first\r\nsecond\r\n\r\nlast");
}

TEST(WriteTextFileTest, EmptyTextLeavesAnEmptyFile)
{
    TempFolder folder;
    std::string path = folder.MakeFile("empty.cfg", "old content");

    ASSERT_TRUE(WriteTextFile(path.c_str(), "", true));

    EXPECT_TRUE(testsupport::FileExists(path));
    EXPECT_EQ(ReadFileBytes(path), "");
}

// A read-only file cannot be staged here: Wine run as root writes through the
// read-only attribute.
TEST(WriteTextFileTest, PathThatCannotBeWrittenGivesFalse)
{
    TempFolder folder;
    std::string existingFolder = folder.MakeFolder("maps");

    EXPECT_FALSE(WriteTextFile(folder.Join("missing\\brask_compile.cfg").c_str(), "x", true));
    EXPECT_FALSE(WriteTextFile(existingFolder.c_str(), "x", true));
    EXPECT_FALSE(WriteTextFile("", "x", true));
    EXPECT_FALSE(testsupport::FileExists(folder.Join("missing\\brask_compile.cfg")));
}

TEST(WriteTextFileTest, WriteThatBreaksOffGivesFalse)
{
    // A disk that fills up is out of reach here; a pipe whose reader goes away
    // after a few bytes breaks the write off in the same way.
    const char* pipeName = "\\\\.\\pipe\\kolvanta-tools-broken-write";
    HANDLE pipe = ::CreateNamedPipeA(pipeName, PIPE_ACCESS_INBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 16, 16, 0, nullptr);
    ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
    std::thread reader([pipe] {
        ::ConnectNamedPipe(pipe, nullptr);
        char buffer[16];
        DWORD read = 0;
        ::ReadFile(pipe, buffer, sizeof(buffer), &read, nullptr);
        ::DisconnectNamedPipe(pipe);
        ::CloseHandle(pipe);
    });

    bool written = WriteTextFile(pipeName, std::string(1 << 20, 'x').c_str(), true);
    // Should the write not have reached the pipe at all, the reader still waits
    // for a client: give it one so the test fails instead of hanging.
    HANDLE unblock = ::CreateFileA(pipeName, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (unblock != INVALID_HANDLE_VALUE)
        ::CloseHandle(unblock);
    reader.join();

    EXPECT_FALSE(written);
}

} // namespace
