// CRewriteFile: the original is replaced whole or left exactly as it was, and
// no temporary file survives either way.
#include "RewriteFile.h"

#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

using Names = std::vector<std::string>;

TEST(RewriteFileTest, AbandonedRewriteLeavesTheOriginal)
{
    CTempFolder folder;
    const std::string strPath = folder.File("a.map");
    WriteBytes(strPath, "old");
    {
        CRewriteFile out;
        ASSERT_TRUE(out.Begin(strPath.c_str()));
        const std::string block(1 << 20, '\n');
        out.Put(block.data(), block.size());
        EXPECT_EQ(2u, folder.List().size()) << "the new text goes to a file of its own";
    }
    EXPECT_EQ("old", ReadBytes(strPath));
    EXPECT_EQ(Names{"a.map"}, folder.List());
}

TEST(RewriteFileTest, EveryLineFeedBecomesTheTextLineEnd)
{
    CTempFolder folder;
    const std::string strPath = folder.File("a.map");
    WriteBytes(strPath, "old content, longer than the new one");
    CRewriteFile out;
    ASSERT_TRUE(out.Begin(strPath.c_str()));
    out.Put("{\n\"a\r\nb\"\n");
    ASSERT_TRUE(out.Commit());
    EXPECT_EQ(TextLines("{\n\"a\r\nb\"\n"), ReadBytes(strPath));
}

#ifndef _WIN32

TEST(RewriteFileTest, PermissionsAndSymbolicLinksAreKept)
{
    CTempFolder folder;
    WriteBytes(folder.File("real.map"), "old");
    ::chmod(folder.File("real.map").c_str(), 0751);
    ASSERT_EQ(0, ::symlink("real.map", folder.File("link.map").c_str()));
    CRewriteFile out;
    ASSERT_TRUE(out.Begin(folder.File("link.map").c_str()));
    out.Put("new");
    ASSERT_TRUE(out.Commit());

    struct stat st;
    ASSERT_EQ(0, ::lstat(folder.File("link.map").c_str(), &st));
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(0, ::stat(folder.File("real.map").c_str(), &st));
    EXPECT_EQ(0751u, st.st_mode & 07777);
    EXPECT_EQ("new", ReadBytes(folder.File("real.map")));
    EXPECT_EQ((Names{"link.map", "real.map"}), folder.List());
}

#endif

} // namespace
