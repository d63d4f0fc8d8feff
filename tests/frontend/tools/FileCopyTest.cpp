#include "tools/FileCopy.h"

#include <gtest/gtest.h>

#include <string>

#include "DialogDriver.h"
#include "TestFiles.h"

using testsupport::ReadFileBytes;
using testsupport::TempFolder;

namespace {

std::string AsBytes(const std::vector<char>& list)
{
    return std::string(list.begin(), list.end());
}

TEST(BuildShellPathListTest, EmptyListIsASingleNul)
{
    EXPECT_EQ(AsBytes(BuildShellPathList({})), std::string(1, '\0'));
}

TEST(BuildShellPathListTest, EachPathIsNulTerminatedInOrderThenOneMoreNul)
{
    using namespace std::string_literals;

    EXPECT_EQ(AsBytes(BuildShellPathList({"C:\\Tool\\a.pk4"})), "C:\\Tool\\a.pk4\0\0"s);

    std::vector<char> three = BuildShellPathList({"C:\\Tool\\b.pk4", "C:\\Tool\\a b.pk4", "C:\\Tool\\*.pk4"});
    EXPECT_EQ(AsBytes(three), "C:\\Tool\\b.pk4\0C:\\Tool\\a b.pk4\0C:\\Tool\\*.pk4\0\0"s);
    EXPECT_EQ(three.size(), 1u + (13 + 1) + (15 + 1) + (13 + 1));
}

class CopyFileListTest : public ::testing::Test {
protected:
    TempFolder m_folder;
    testsupport::DialogDriver m_driver;
};

TEST_F(CopyFileListTest, CopiesSeveralFilesIntoAnExistingFolder)
{
    std::string first = m_folder.MakeFile("tool\\zdoomdefsdoom.pk4", "first package");
    std::string second = m_folder.MakeFile("tool\\zdoomtex.pk4", "second package");
    std::string destination = m_folder.MakeFolder("Doom3\\base");

    ASSERT_TRUE(CopyFileList({first.c_str(), second.c_str()}, destination.c_str()));

    EXPECT_EQ(ReadFileBytes(destination + "\\zdoomdefsdoom.pk4"), "first package");
    EXPECT_EQ(ReadFileBytes(destination + "\\zdoomtex.pk4"), "second package");
    EXPECT_EQ(ReadFileBytes(first), "first package");
}

TEST_F(CopyFileListTest, OverwritingAFileAsksTheUserFirst)
{
    std::string source = m_folder.MakeFile("tool\\E1M1.map", "new map");
    std::string destination = m_folder.MakeFile("Doom3\\base\\maps\\E1M1.map", "old map");
    m_driver.AnswerConfirmations(IDYES);

    ASSERT_TRUE(CopyOneFile(source.c_str(), destination.c_str()));

    EXPECT_EQ(m_driver.Confirmations().size(), 1u);
    EXPECT_EQ(ReadFileBytes(destination), "new map");
}

TEST_F(CopyFileListTest, MissingSourceGivesFalse)
{
    std::string destination = m_folder.MakeFolder("Doom3\\base");

    EXPECT_FALSE(CopyOneFile(m_folder.Join("tool\\nothere.pk4").c_str(), destination.c_str()));

    EXPECT_FALSE(m_driver.WatchdogFired());
    EXPECT_FALSE(testsupport::FileExists(destination + "\\nothere.pk4"));
}

} // namespace
