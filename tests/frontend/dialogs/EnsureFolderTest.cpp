#include <gtest/gtest.h>

#include "TestFiles.h"
#include "dialogs/EnsureFolder.h"

using testsupport::FileExists;
using testsupport::FolderExists;
using testsupport::ScopedCurrentFolder;
using testsupport::TempFolder;

TEST(EnsureFolder, CreatesOnlyTheMissingLastFolderOfAnAbsolutePath)
{
    TempFolder root;
    EXPECT_TRUE(EnsureFolder(root.Join("maps").c_str()));
    EXPECT_TRUE(FolderExists(root.Join("maps")));
    EXPECT_TRUE(EnsureFolder(root.Join("maps").c_str()));           // already there
    EXPECT_FALSE(EnsureFolder(root.Join("no\\maps").c_str()));      // parent missing
    EXPECT_FALSE(FolderExists(root.Join("no")));
}

TEST(EnsureFolder, AFileInThePlaceOfTheFolderIsRefused)
{
    TempFolder root;
    root.MakeFile("maps", "x");
    EXPECT_FALSE(EnsureFolder(root.Join("maps").c_str()));
    EXPECT_TRUE(FileExists(root.Join("maps")));
}

TEST(EnsureFolder, ARelativePathIsNeverCreatedInTheCurrentFolder)
{
    TempFolder root;
    ScopedCurrentFolder current(root.Path());
    EXPECT_FALSE(EnsureFolder(""));
    EXPECT_FALSE(EnsureFolder("base"));
    EXPECT_FALSE(FolderExists(root.Join("base")));
    root.MakeFolder("existing");
    EXPECT_TRUE(EnsureFolder("existing"));
}
