#include <gtest/gtest.h>

#include "dialogs/WadNames.h"

namespace {

CString ShortName(const char* name)
{
    CString text(name);
    GetWadShortName(text);
    return text;
}

CString Safe(const char* text)
{
    CString result(text);
    MakeSafeFileName(result);
    return result;
}

} // namespace

TEST(WadShortName, KnownGameWadsIgnoringCase)
{
    EXPECT_EQ(ShortName("doom.wad"), "doom");
    EXPECT_EQ(ShortName("Doom.wad"), "doom");
    EXPECT_EQ(ShortName("DOOM1.WAD"), "doom1");
    EXPECT_EQ(ShortName("DOOM2.WAD"), "doom2");
    EXPECT_EQ(ShortName("tnt.WAD"), "tnt");
    EXPECT_EQ(ShortName("Plutonia.wad"), "plutonia");
}

TEST(WadShortName, OtherNamesStayWhole)
{
    EXPECT_EQ(ShortName("mywad.wad"), "mywad.wad");
    EXPECT_EQ(ShortName("doom2.wad.old"), "doom2.wad.old");
    EXPECT_EQ(ShortName("xdoom.wad"), "xdoom.wad");
    EXPECT_EQ(ShortName(""), "");
}

TEST(SafeFileName, NineCharactersBecomeUnderscores)
{
    EXPECT_EQ(Safe("\"*/:<>?\\|"), "_________");
    EXPECT_EQ(Safe("C:\\wads\\doom2.wad|x"), "C__wads_doom2.wad_x");
    EXPECT_EQ(Safe("plain name-1.wad"), "plain name-1.wad");
    EXPECT_EQ(Safe("\xE9t\xE9.wad"), "\xE9t\xE9.wad");
    EXPECT_EQ(Safe(""), "");
}
