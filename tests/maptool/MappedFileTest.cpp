// CMappedFile: the view and size of an open file, and one file per object.
#include "MappedFile.h"

#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(MappedFileTest, ViewAndSizeCoverTheWholeFile)
{
    CTempFolder folder;
    const std::string bytes("{\r\n\0\xff}", 6);
    WriteBytes(folder.File("a.map"), bytes);
    CMappedFile file;
    ASSERT_TRUE(file.Open(folder.File("a.map").c_str()));
    const char* pView = file.GetView();
    ASSERT_NE(nullptr, pView);
    EXPECT_EQ(pView, file.GetView()) << "mapped once";
    ASSERT_EQ(6u, file.GetSize());
    EXPECT_EQ(bytes, std::string(pView, 6));
}

TEST(MappedFileTest, SecondOpenFailsAndKeepsTheFirstFile)
{
    CTempFolder folder;
    WriteBytes(folder.File("a.map"), "first");
    WriteBytes(folder.File("b.map"), "second!");
    CMappedFile file;
    file.Close();
    ASSERT_TRUE(file.Open(folder.File("a.map").c_str()));
    EXPECT_FALSE(file.Open(folder.File("b.map").c_str()));
    EXPECT_EQ("first", std::string(file.GetView(), 5));
    EXPECT_FALSE(file.Open(folder.File("b.map").c_str())) << "mapped is still open";
    file.Close();
    file.Close();
    EXPECT_EQ(nullptr, file.GetView());
    EXPECT_TRUE(file.Open(folder.File("b.map").c_str()));
    EXPECT_EQ(7u, file.GetSize());
}

} // namespace
