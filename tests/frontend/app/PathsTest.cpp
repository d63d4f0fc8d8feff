#include <gtest/gtest.h>

#include "TestFiles.h"
#include "app/Paths.h"

namespace {

const UINT kJapanese = 932;
// A folder named with U+8868 (code page 932: 0x95 0x5C), whose trail byte is a backslash.
const char kTrailBackslashFolder[] = "C:\\\x95\x5C";

TEST(JoinPath, AddsExactlyOneBackslash)
{
    EXPECT_EQ(JoinPath("C:\\Tools\\", "a.wad"), "C:\\Tools\\a.wad");
    EXPECT_EQ(JoinPath("C:\\Tools", "a.wad"), "C:\\Tools\\a.wad");
    EXPECT_EQ(JoinPath("C:\\A\\B\\", "core/new_page_1.htm"), "C:\\A\\B\\core/new_page_1.htm");
}

TEST(JoinPath, EmptyFolderGivesTheNameAlone)
{
    EXPECT_EQ(JoinPath("", "a.wad"), "a.wad");
}

TEST(JoinPath, TakesFolderAndNameAsTheyAre)
{
    // A slash is no separator; a name's own leading backslash stays.
    EXPECT_EQ(JoinPath("C:/Tools/", "a.wad"), "C:/Tools/\\a.wad");
    EXPECT_EQ(JoinPath("C:\\Tools", "\\a.wad"), "C:\\Tools\\\\a.wad");
    EXPECT_EQ(JoinPath("Tools", ""), "Tools\\");
}

TEST(JoinPath, TrailByteOfADoubleByteCharacterIsNoBackslash)
{
    EXPECT_EQ(JoinPath(kTrailBackslashFolder, "a.wad", kJapanese), CString(kTrailBackslashFolder) + "\\a.wad");
    EXPECT_EQ(JoinPath(CString(kTrailBackslashFolder) + "\\", "a.wad", kJapanese),
              CString(kTrailBackslashFolder) + "\\a.wad");
}

TEST(GetFolderOfPath, KeepsOrDropsTheLastBackslash)
{
    EXPECT_EQ(GetFolderOfPath("C:\\A\\B\\front.exe", TRUE), "C:\\A\\B\\");
    EXPECT_EQ(GetFolderOfPath("C:\\A\\B\\front.exe", FALSE), "C:\\A\\B");
    EXPECT_EQ(GetFolderOfPath("C:\\Games\\Doom 3\\(DIR)", FALSE), "C:\\Games\\Doom 3");
}

TEST(GetFolderOfPath, WithoutBackslashGivesEmpty)
{
    EXPECT_EQ(GetFolderOfPath("front.exe", TRUE), "");
    EXPECT_EQ(GetFolderOfPath("C:/A/front.exe", FALSE), "");
    EXPECT_EQ(GetFolderOfPath("", TRUE), "");
}

TEST(GetFolderOfPath, TrailByteOfADoubleByteCharacterIsNoBackslash)
{
    const CString path = CString(kTrailBackslashFolder) + "\\front.exe";
    EXPECT_EQ(GetFolderOfPath(path, TRUE, kJapanese), CString(kTrailBackslashFolder) + "\\");
    EXPECT_EQ(GetFolderOfPath(path, FALSE, kJapanese), kTrailBackslashFolder);
    // The double-byte character is the last one: its trail byte must not cut it in two.
    EXPECT_EQ(GetFolderOfPath(kTrailBackslashFolder, FALSE, kJapanese), "C:");
}

TEST(GetModulePath, NamesTheRunningProgram)
{
    const CString path = GetModulePath(nullptr);
    EXPECT_EQ(path, GetModulePath(::GetModuleHandleA(nullptr)));
    EXPECT_EQ(GetFolderOfPath(path, TRUE), testsupport::TestProgramFolder().c_str());
    EXPECT_EQ(path.Mid(path.GetLength() - 14).CompareNoCase("\\app_tests.exe"), 0);
}

TEST(GetModulePath, ModuleOfASystemLibrary)
{
    const CString path = GetModulePath(::GetModuleHandleA("kernel32.dll"));
    EXPECT_EQ(path.Mid(path.GetLength() - 13).CompareNoCase("\\kernel32.dll"), 0);
}

}  // namespace
