// CRewriteFile: the original is replaced whole or left exactly as it was, and
// no temporary file survives either way.
#include "RewriteFile.h"

#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

using Names = std::vector<std::string>;

TEST(RewriteFileTest, CommitReplacesTheContentInTextMode)
{
    CTempFolder folder;
    const std::string strPath = folder.File("a.map");
    WriteBytes(strPath, "old content that is longer than the new one");
    CRewriteFile out;
    ASSERT_TRUE(out.Begin(strPath.c_str()));
    out.Put("{\n}\n");
    out.Put("x\r\n");
    ASSERT_TRUE(out.Commit());
    EXPECT_EQ(TextLines("{\n}\nx\r\n"), ReadBytes(strPath));
    EXPECT_EQ(Names{"a.map"}, folder.List());
}

TEST(RewriteFileTest, ReadOnlyOrMissingFileIsRefused)
{
    CTempFolder folder;
    const std::string strPath = folder.File("a.map");
    WriteBytes(strPath, "old");
    SetReadOnly(strPath, true);
    CRewriteFile readOnly;
    EXPECT_FALSE(readOnly.Begin(strPath.c_str()));
    EXPECT_FALSE(readOnly.Commit());
    CRewriteFile missing;
    EXPECT_FALSE(missing.Begin(folder.File("missing.map").c_str()));
    EXPECT_EQ("old", ReadBytes(strPath));
    EXPECT_EQ(Names{"a.map"}, folder.List());
}

TEST(RewriteFileTest, AbandonedRewriteLeavesTheOriginal)
{
    CTempFolder folder;
    const std::string strPath = folder.File("a.map");
    WriteBytes(strPath, "old");
    {
        CRewriteFile out;
        ASSERT_TRUE(out.Begin(strPath.c_str()));
        out.Put(std::string(1 << 20, 'n').c_str(), 1 << 20);
        EXPECT_EQ(2u, folder.List().size()) << "the new text goes to a file of its own";
    }
    EXPECT_EQ("old", ReadBytes(strPath));
    EXPECT_EQ(Names{"a.map"}, folder.List());
}

#ifndef _WIN32

TEST(RewriteFileTest, PermissionBitsAreKept)
{
    CTempFolder folder;
    const std::string strPath = folder.File("a.map");
    WriteBytes(strPath, "old");
    ::chmod(strPath.c_str(), 0751);
    CRewriteFile out;
    ASSERT_TRUE(out.Begin(strPath.c_str()));
    out.Put("new");
    ASSERT_TRUE(out.Commit());
    struct stat st;
    ASSERT_EQ(0, ::stat(strPath.c_str(), &st));
    EXPECT_EQ(0751u, st.st_mode & 07777);
}

TEST(RewriteFileTest, SymbolicLinkStaysALinkToTheNewText)
{
    CTempFolder folder;
    WriteBytes(folder.File("real.map"), "old");
    ASSERT_EQ(0, ::symlink("real.map", folder.File("link.map").c_str()));
    CRewriteFile out;
    ASSERT_TRUE(out.Begin(folder.File("link.map").c_str()));
    out.Put("new");
    ASSERT_TRUE(out.Commit());
    struct stat st;
    ASSERT_EQ(0, ::lstat(folder.File("link.map").c_str(), &st));
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ("new", ReadBytes(folder.File("real.map")));
    EXPECT_EQ((Names{"link.map", "real.map"}), folder.List());
}

TEST(RewriteFileTest, WriteErrorLeavesTheOriginalAndNoTemporaryFile)
{
    CTempFolder folder;
    const std::string strPath = folder.File("a.map");
    WriteBytes(strPath, "old");
    // A child with a file size limit: its writes past 64 KiB fail with EFBIG.
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit = {64 * 1024, 64 * 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        CRewriteFile out;
        if (!out.Begin(strPath.c_str()))
            ::_exit(3);
        const std::string block(1 << 20, 'n');
        out.Put(block.data(), block.size());
        ::_exit(out.Commit() ? 0 : 1);
    }
    int nStatus = 0;
    ASSERT_EQ(pid, ::waitpid(pid, &nStatus, 0));
    ASSERT_TRUE(WIFEXITED(nStatus));
    EXPECT_EQ(1, WEXITSTATUS(nStatus)) << "Commit reports the failed write";
    EXPECT_EQ("old", ReadBytes(strPath));
    EXPECT_EQ(Names{"a.map"}, folder.List());
}

#endif

} // namespace
