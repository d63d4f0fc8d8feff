#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "dialogs/ConvMapCommand.h"

namespace {

ConvMapOptions Options(const char* wad, const char* level)
{
    ConvMapOptions options;
    options.strWad = wad;
    options.strLevel = level;
    return options;
}

} // namespace

TEST(ConvMapCommand, Doom2WithItsUpdatedSettings)
{
    ConvMapOptions options = Options("doom2.wad", "MAP01");
    options.bBound = true;
    options.strScale = "1.5";
    options.bTexDoom2 = true;
    EXPECT_EQ(BuildConvMapCommandLine(options), "ZarO3.exe  doom2.wad MAP01 -bound -scale 1.500000 -doom2");
}

TEST(ConvMapCommand, EveryFlagInItsFixedOrder)
{
    ConvMapOptions options = Options("x.wad", "E1M1");
    options.bNoWall = options.bNoCeil = options.bNoFloor = options.bNoMove = options.bNoEnt = true;
    options.bBound = options.bDirect = true;
    options.strScale = "1.0";
    options.bTexDoom1 = options.bTexDoom2 = options.bTexTnt = options.bTexPlutonia = options.bTexCustom = true;
    EXPECT_EQ(BuildConvMapCommandLine(options),
              "ZarO3.exe  x.wad E1M1 -nowall -noceil -nofloor -nomove -noent -bound -direct"
              " -scale 1.000000 -doom -doom2 -tnt -plutonia -custom");
}

TEST(ConvMapCommand, ScaleTextsBecomeSixDecimalsOrNothing)
{
    const struct {
        const char* text;
        const char* flag;
    } cases[] = {
        { "2", " -scale 2.000000" },
        { "abc", " -scale 0.000000" },
        { "", "" },
        { "  0.25x", " -scale 0.250000" },
        { "-3", " -scale -3.000000" },
        { "+.5", " -scale 0.500000" },
        { "7.", " -scale 7.000000" },
        { "1e2", " -scale 100.000000" },
        { "1e", " -scale 1.000000" },
        { "2,5", " -scale 2.000000" },
        { ".", " -scale 0.000000" },
        { "0x10", " -scale 0.000000" },
        { "inf", " -scale 0.000000" },
    };
    for (const auto& test : cases) {
        ConvMapOptions options = Options("a.wad", "E1M1");
        options.strScale = test.text;
        EXPECT_EQ(BuildConvMapCommandLine(options), std::string("ZarO3.exe  a.wad E1M1") + test.flag) << test.text;
    }
}

TEST(ConvMapCommand, DecimalMarkIsAFullStopWhateverTheLocale)
{
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "German_Germany.1252") && !std::setlocale(LC_NUMERIC, "de-DE"))
        GTEST_SKIP() << "no German locale";
    if (std::localeconv()->decimal_point[0] != ',') {
        std::setlocale(LC_NUMERIC, previous.c_str());
        GTEST_SKIP() << "the German locale keeps the full stop";
    }
    const double value = ParseScale("1.75");
    const CString text = FormatScale(2.5);
    const double comma = ParseScale("1,75");
    std::setlocale(LC_NUMERIC, previous.c_str());
    EXPECT_EQ(value, 1.75);
    EXPECT_EQ(text, "2.500000");
    EXPECT_EQ(comma, 1.0);
}

TEST(ConvMapCommand, KnownGameWadsPickTheirTextureSource)
{
    EXPECT_EQ(ChooseTextureSource("doom.wad"), TextureSource::Doom1);
    EXPECT_EQ(ChooseTextureSource("DOOM.WAD"), TextureSource::Doom1);
    EXPECT_EQ(ChooseTextureSource("Doom1.Wad"), TextureSource::Doom1);
    EXPECT_EQ(ChooseTextureSource("DOOM2.wad"), TextureSource::Doom2);
    EXPECT_EQ(ChooseTextureSource("tnt.wad"), TextureSource::Tnt);
    EXPECT_EQ(ChooseTextureSource("PLUTONIA.WAD"), TextureSource::Plutonia);
    for (const char* other : { "", "freedoom2.wad", "doom2", "doom2.wad.bak", " doom.wad", "custom.wad" })
        EXPECT_EQ(ChooseTextureSource(other), TextureSource::None) << other;
}
