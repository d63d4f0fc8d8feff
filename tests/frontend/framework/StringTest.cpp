#include <gtest/gtest.h>

#include "String.h"

namespace {

const UINT kJapanese = 932;

TEST(StringCodePage, TrailByteBackslashIsNotASeparator)
{
    // 0x95 0x5C is one double-byte character whose trail byte is a backslash.
    const char path[] = "C:\\games\\\x95\x5C";
    EXPECT_EQ(FindLastCharInCodePage(path, '\\', kJapanese), 8);
    EXPECT_EQ(FindLastCharInCodePage("\x95\x5C", '\\', kJapanese), -1);
    EXPECT_EQ(FindCharInCodePage("\x95\x5C\\", '\\', 0, kJapanese), 2);
    // The same bytes in a single-byte code page are two characters.
    EXPECT_EQ(FindLastCharInCodePage(path, '\\', 1252), 10);
}

TEST(StringCodePage, LoneLeadByteAtTheEndIsACharacterOfItsOwn)
{
    EXPECT_EQ(FindLastCharInCodePage("a\\\x95", '\\', kJapanese), 1);
    EXPECT_EQ(FindLastCharInCodePage("", '\\', kJapanese), -1);
}

TEST(String, CompareNoCaseFoldsAsciiOnly)
{
    EXPECT_EQ(CString("Base").CompareNoCase("BASE"), 0);
    EXPECT_EQ(CString("base").CompareNoCase("based"), -1);
    EXPECT_GT(CString("d3xp").CompareNoCase("BASE"), 0);
    EXPECT_EQ(CString("").CompareNoCase(nullptr), 0);
    EXPECT_NE(CString("\xE9").CompareNoCase("\xC9"), 0);
}

TEST(String, MakeUpperLeavesOtherBytesAlone)
{
    CString text("doom3\\base-\xE9.pk4");
    text.MakeUpper();
    EXPECT_EQ(text, "DOOM3\\BASE-\xE9.PK4");
}

TEST(String, ReverseFindAndSlices)
{
    const CString path("C:\\A\\B\\front.exe");
    const int last = path.ReverseFind('\\');
    EXPECT_EQ(last, 6);
    EXPECT_EQ(path.Left(last), "C:\\A\\B");
    EXPECT_EQ(path.Mid(last + 1), "front.exe");
    EXPECT_EQ(path.Mid(100), "");
    EXPECT_EQ(CString("front.exe").ReverseFind('\\'), -1);
}

} // namespace
