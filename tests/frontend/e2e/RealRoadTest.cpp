// The road again, with the real conversion kit in the program folder instead of
// stand-ins: Configure, Convert_wad (xtract.bat on freedoom2.wad copied as
// doom2.wad), Convert_map on MAP01 with the dialog's own settings, Copy_pk4 and
// Copy_compile_run (DOOM 3 itself stays a stand-in). It checks the files on
// disk and leaves the deployed map where the next test compiles it natively.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "DialogControls.h"
#include "DialogDriver.h"
#include "EndToEndPaths.h"
#include "ScriptCall.h"
#include "Standins.h"
#include "TestFiles.h"
#include "TestGlobals.h"
#include "app/External.h"
#include "resource.h"

using namespace testsupport;

namespace {

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(RealRoad, FreedoomMap01FromThePageToTheModFolderWithTheRealKit)
{
    TempFolder program;
    TempFolder doom3;
    TempFolder logs;

    struct Tool {
        const char* from;
        const char* name;
    };
    for (const Tool& tool : { Tool { KOLVANTA_E2E_SCORVEL_PATH, "scorvel.exe" }, Tool { KOLVANTA_ROAD_ZARO3, "ZarO3.exe" },
                              Tool { KOLVANTA_ROAD_DOOMTEX, "doomtex.exe" }, Tool { KOLVANTA_ROAD_WAD2TGA, "wad2tga.exe" },
                              Tool { KOLVANTA_ROAD_ZIP, "zip.exe" }, Tool { KOLVANTA_ROAD_XTRACT, "xtract.bat" },
                              Tool { KOLVANTA_ROAD_THINGS, "D2D3_OBJ.TXT" }, Tool { KOLVANTA_E2E_WAD_PATH, "doom2.wad" } })
        ASSERT_TRUE(::CopyFileA(tool.from, program.Join(tool.name).c_str(), FALSE)) << tool.from;
    program.MakeFile("core\\new_page_1.htm", ReadFileBytes(KOLVANTA_E2E_PAGE_PATH));
    doom3.MakeFolder("base");
    ASSERT_TRUE(InstallStandins(logs.Path()));
    ASSERT_TRUE(::CopyFileA(logs.Join("doom3.exe").c_str(), doom3.Join("doom3.exe").c_str(), FALSE));

    ASSERT_TRUE(PrepareSharedImageList());
    SetProgramFolder(program.Path());
    ScopedCurrentFolder current(program.Path());

    CExternal external;
    IDispatch* page = external.GetIDispatch(false);
    ASSERT_NE(page, nullptr);

    // Extracting a whole wad takes a while under Wine: a generous watchdog.
    DialogDriver driver(300000);
    std::string commandLine;
    driver
        .Then("Configuration", [&](HWND dialog) {
            SetItemText(dialog, IDC_CONF_DOOM3FOLDER, doom3.Path());
            ClickButton(dialog, IDC_CONF_UPDATE);
            PostCommand(dialog, IDOK);
        })
        .Then("DOOM .wad conversion", [&](HWND dialog) {
            ClickButton(dialog, IDOK);
            PostCommand(dialog, IDCANCEL);
        })
        .Then("Convert DOOM map", [&](HWND dialog) {
            SelectComboItem(dialog, IDC_CONVMAP_WAD, "doom2.wad");
            SelectComboItem(dialog, IDC_CONVMAP_LEVEL, "MAP01");
            ClickButton(dialog, IDC_CONVMAP_UPDATE);
            ClickButton(dialog, IDOK);
            PostCommand(dialog, IDCANCEL);
        })
        .Then("Deploy pk4 pack files", [&](HWND dialog) {
            ClickButton(dialog, IDOK);
            PostCommand(dialog, IDCANCEL);
        })
        .Then("Copy/Compile/Run", [&](HWND dialog) { ClickButton(dialog, IDOK); });

    for (const wchar_t* command : { L"Configure", L"Convert_wad", L"Convert_map", L"Copy_pk4", L"Copy_compile_run" })
        ASSERT_TRUE(CallScript(page, command));
    EXPECT_TRUE(driver.AllStepsDone());
    EXPECT_FALSE(driver.WatchdogFired());

    // xtract.bat made the texture package and its list; the converter used it.
    EXPECT_EQ(ReadFileBytes(program.Join("zdoom2tex.pk4")).substr(0, 4), std::string("PK\x03\x04", 4));
    EXPECT_TRUE(Contains(ReadFileBytes(program.Join("DOOM2.TEX")), "texture STARTAN3 "));
    EXPECT_EQ(ReadFileBytes(doom3.Join("base\\zdoom2tex.pk4")), ReadFileBytes(program.Join("zdoom2tex.pk4")));

    // The deployed map: converted with the wad's textures, every entity named by Scorvel.
    const std::string map = ReadFileBytes(doom3.Join("base\\maps\\MAP01.map"));
    ASSERT_FALSE(map.empty());
    EXPECT_TRUE(Contains(map, "\"classname\" \"info_player_start\""));
    EXPECT_TRUE(Contains(map, "doom2/"));
    EXPECT_TRUE(Contains(map, "\"name\" \"noname0\""));
    EXPECT_EQ(ReadFileBytes(doom3.Join("base\\brask_compile.cfg")), "dmap noflood MAP01.map\r\n");
    EXPECT_EQ(ReadFileBytes(doom3.Join("base\\brask_runmap.cfg")), "map MAP01.map\r\n");

    // Left for the native compile check that runs after this test.
    ::CreateDirectoryA(KOLVANTA_ROAD_OUT, nullptr);
    const std::string out = std::string(KOLVANTA_ROAD_OUT) + "\\";
    ASSERT_TRUE(::CopyFileA(doom3.Join("base\\maps\\MAP01.map").c_str(), (out + "MAP01.map").c_str(), FALSE));
    ASSERT_TRUE(::CopyFileA(program.Join("zdoom2tex.pk4").c_str(), (out + "zdoom2tex.pk4").c_str(), FALSE));
}

} // namespace
