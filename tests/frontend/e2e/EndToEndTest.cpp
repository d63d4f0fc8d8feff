// One level's whole road, as a user walks it on the page: Configure, Convert_map,
// Copy_pk4 and Copy_compile_run, called through the command object's dispatch
// interface like the page's script calls them, each driving its real dialog.
#include <gtest/gtest.h>

#include <windows.h>
#include <oleauto.h>

#include <sstream>
#include <string>
#include <vector>

#include "DialogControls.h"
#include "DialogDriver.h"
#include "EndToEndPaths.h"
#include "ScriptCall.h"
#include "StandinLog.h"
#include "Standins.h"
#include "TestFiles.h"
#include "TestGlobals.h"
#include "app/External.h"
#include "resource.h"

using namespace testsupport;

namespace {

// An empty zip archive whose comment names it: a package DOOM 3 can open,
// telling the copies apart.
std::string SmallPackage(const std::string& name)
{
    std::string package("PK\x05\x06", 4);
    package.append(16, '\0');
    package += static_cast<char>(name.size() & 0xFF);
    package += static_cast<char>((name.size() >> 8) & 0xFF);
    return package + name;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    std::string line;
    while (std::getline(stream, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

TEST(EndToEnd, FromThePageCommandsToDoom3CompilingTheCleanedMap)
{
    TempFolder program;
    TempFolder doom3;
    TempFolder logs;

    // The program folder as a user sets it up: the map tool, the page, the
    // outside tools (stand-ins), a wad and the packages.
    ASSERT_TRUE(::CopyFileA(KOLVANTA_E2E_SCORVEL_PATH, program.Join("scorvel.exe").c_str(), FALSE));
    ASSERT_TRUE(InstallStandins(program.Path()));
    ASSERT_TRUE(::CopyFileA(KOLVANTA_E2E_WAD_PATH, program.Join("freedoom2.wad").c_str(), FALSE))
        << "needs " << KOLVANTA_E2E_WAD_PATH;
    const std::string pageText = ReadFileBytes(KOLVANTA_E2E_PAGE_PATH);
    ASSERT_FALSE(pageText.empty()) << "needs " << KOLVANTA_E2E_PAGE_PATH;
    program.MakeFile("core\\new_page_1.htm", pageText);
    for (const char* package : { "zdoomdefsdoom.pk4", "zdoomdefslms.pk4", "zdoomtex.pk4" })
        program.MakeFile(package, SmallPackage(package));
    // The DOOM 3 installation: its MOD folders and the game (a stand-in).
    doom3.MakeFolder("base");
    doom3.MakeFolder("d3xp");
    ASSERT_TRUE(InstallStandins(logs.Path()));
    ASSERT_TRUE(::CopyFileA(logs.Join("doom3.exe").c_str(), doom3.Join("doom3.exe").c_str(), FALSE));

    ASSERT_TRUE(PrepareSharedImageList());
    SetProgramFolder(program.Path());
    // The program looks for the tools it names without a path in its own folder
    // first; the test program lies elsewhere, so the program folder is made current.
    ScopedCurrentFolder current(program.Path());
    ScopedEnvironmentVariable log(KOLVANTA_STANDIN_LOG_VARIABLE, logs.Join("standins.log"));

    CExternal external;
    IDispatch* page = external.GetIDispatch(false);
    ASSERT_NE(page, nullptr);

    DialogDriver driver(30000);
    std::vector<std::string> modFolders;
    std::vector<std::string> levels;
    std::vector<std::string> packages;
    bool deployOpenAfterCopy = false;
    driver
        .Then("Configuration", [&](HWND dialog) {
            SetItemText(dialog, IDC_CONF_DOOM3FOLDER, doom3.Path());
            ClickButton(dialog, IDC_CONF_UPDATE);
            modFolders = GetListItems(dialog, IDC_CONF_MODFOLDERS);
            PostCommand(dialog, IDOK);
        })
        .Then("Convert DOOM map", [&](HWND dialog) {
            levels = GetComboItems(dialog, IDC_CONVMAP_LEVEL);
            SelectComboItem(dialog, IDC_CONVMAP_LEVEL, "MAP01");
            ClickButton(dialog, IDOK);
            PostCommand(dialog, IDCANCEL);
        })
        .Then("Deploy pk4 pack files", [&](HWND dialog) {
            packages = GetListItems(dialog, IDC_DEPLOY_PACKAGES);
            // The one package that does not start marked: mark it with Space.
            for (size_t i = 0; i < packages.size(); ++i) {
                if (packages[i] == "zdoomdefslms.pk4")
                    SelectListItem(dialog, IDC_DEPLOY_PACKAGES, static_cast<int>(i));
            }
            HWND list = ::GetDlgItem(dialog, IDC_DEPLOY_PACKAGES);
            ::SetFocus(list);
            ::SendMessageA(list, WM_KEYDOWN, VK_SPACE, 0);
            ClickButton(dialog, IDOK);
            deployOpenAfterCopy = ::IsWindowVisible(dialog) != FALSE;
            PostCommand(dialog, IDCANCEL);
        })
        .Then("Copy/Compile/Run", [&](HWND dialog) { ClickButton(dialog, IDOK); });

    bool answer = false;
    ASSERT_TRUE(CallScript(page, L"Configure", &answer));
    EXPECT_TRUE(answer);
    ASSERT_TRUE(CallScript(page, L"Convert_map", &answer));
    EXPECT_TRUE(answer);
    ASSERT_TRUE(CallScript(page, L"Copy_pk4", &answer));
    EXPECT_TRUE(answer);
    ASSERT_TRUE(CallScript(page, L"Copy_compile_run", &answer));
    EXPECT_TRUE(answer);

    EXPECT_TRUE(driver.AllStepsDone());
    EXPECT_FALSE(driver.WatchdogFired());
    EXPECT_TRUE(driver.MessageBoxes().empty()) << driver.MessageBoxes().front().text;
    EXPECT_EQ(modFolders.size(), 2u);
    EXPECT_EQ(g_confDlg.GetModFolder(), "base");
    ASSERT_FALSE(levels.empty());
    EXPECT_EQ(levels.front(), "MAP01");
    EXPECT_EQ(packages.size(), 3u);
    EXPECT_TRUE(deployOpenAfterCopy);

    // The packages are in the MOD folder.
    for (const char* package : { "zdoomdefsdoom.pk4", "zdoomdefslms.pk4", "zdoomtex.pk4" })
        EXPECT_EQ(ReadFileBytes(doom3.Join(std::string("base\\") + package)), SmallPackage(package)) << package;

    // The converted level was copied and cleaned: every entity has a name, the
    // existing one kept, the others given in file order.
    const std::vector<std::string> map = Lines(ReadFileBytes(doom3.Join("base\\maps\\MAP01.map")));
    int entities = 0;
    std::vector<std::string> names;
    for (const std::string& line : map) {
        if (line == "{")
            ++entities;
        if (line.compare(0, 9, " \"name\" \"") == 0)
            names.push_back(line.substr(9, line.size() - 10));
    }
    EXPECT_EQ(entities, 4);
    EXPECT_EQ(names, (std::vector<std::string> { "noname0", "noname1", "noname2", "deathmatch_1" }));

    EXPECT_EQ(ReadFileBytes(doom3.Join("base\\brask_compile.cfg")), "dmap noflood MAP01.map\r\n");
    EXPECT_EQ(ReadFileBytes(doom3.Join("base\\brask_runmap.cfg")), "map MAP01.map\r\n");

    // The game is started without waiting: its line may come a moment later.
    std::vector<StandinLogEntry> runs = ReadStandinLog(logs.Join("standins.log"));
    for (int waited = 0; runs.size() < 2 && waited < 10000; waited += 50) {
        ::Sleep(50);
        runs = ReadStandinLog(logs.Join("standins.log"));
    }
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].tool, "ZarO3.exe");
    EXPECT_EQ(runs[0].commandLine, "ZarO3.exe  freedoom2.wad MAP01 -bound -scale 1.500000");
    EXPECT_EQ(runs[0].folder, program.Path());
    EXPECT_EQ(runs[1].tool, "doom3.exe");
    EXPECT_EQ(runs[1].commandLine,
              "\"" + doom3.Join("doom3.exe") + "\" +com_allowConsole 1 +exec brask_compile.cfg +exec brask_runmap.cfg");
    EXPECT_EQ(runs[1].folder, doom3.Path());
}

} // namespace
