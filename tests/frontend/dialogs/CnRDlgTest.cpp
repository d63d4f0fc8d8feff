#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "CnRDeploySetup.h"
#include "DialogControls.h"
#include "DialogDriver.h"
#include "StandinLog.h"
#include "Standins.h"
#include "TestFiles.h"
#include "TestGlobals.h"
#include "dialogs/CnRDlg.h"
#include "resource.h"

using namespace testsupport;

namespace {

const char kCaption[] = "Copy/Compile/Run";
const char kMap[] = "{\n\"classname\" \"worldspawn\"\n}\n";

struct CnRTexts {
    std::string formalize;
    std::string compileScript;
    std::string runScript;
    std::string launcher;
};

CnRTexts ReadTexts(HWND dialog)
{
    return CnRTexts { GetItemText(dialog, IDC_CNR_FORMALIZECMD), GetItemText(dialog, IDC_CNR_COMPILESCRIPT),
                      GetItemText(dialog, IDC_CNR_RUNSCRIPT), GetItemText(dialog, IDC_CNR_LAUNCHER) };
}

// A program folder with converted maps and the map tool (a stand-in that logs
// how it was started), a DOOM 3 folder with the base MOD folder (no maps folder
// yet) and the game's stand-in, and settings pointing at them.
class CnRDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(PrepareSharedImageList());
        SetProgramFolder(m_program.Path());
        ASSERT_TRUE(::CopyFileA(KOLVANTA_STANDIN_DOOM3_PATH, m_program.Join("scorvel.exe").c_str(), FALSE));
        ASSERT_TRUE(::CopyFileA(KOLVANTA_STANDIN_DOOM3_PATH, m_doom3.Join("doom3.exe").c_str(), FALSE));
        m_program.MakeFile("E1M1.map", kMap);
        m_doom3.MakeFolder("base");
        ASSERT_TRUE(cnrdeploy::ConfirmSettings(m_doom3.Path(), "base"));
    }

    // Opens the dialog and runs the steps on it; the last step should close it.
    INT_PTR Run(DialogDriver& driver)
    {
        testsupport::ScopedCurrentFolder current(m_program.Path());
        CCnRDlg dialog;
        const INT_PTR result = dialog.DoModal();
        EXPECT_TRUE(driver.AllStepsDone());
        EXPECT_FALSE(driver.WatchdogFired());
        return result;
    }

    // Presses Launch and closes the dialog when Launch left it open; true when it was left open.
    static bool LaunchAndClose(HWND dialog)
    {
        ClickButton(dialog, IDOK);
        const bool open = ::IsWindowVisible(dialog) != FALSE;
        if (open)
            PostCommand(dialog, IDCANCEL);
        return open;
    }

    std::vector<StandinLogEntry> Log() const { return ReadStandinLog(m_log.Join("standins.log")); }
    // The log once it holds `count` runs: DOOM 3 is started without waiting, so
    // its line may come a moment after the dialog has closed.
    std::vector<StandinLogEntry> LogOf(size_t count) const
    {
        std::vector<StandinLogEntry> log = Log();
        for (int waited = 0; log.size() < count && waited < 10000; waited += 50) {
            ::Sleep(50);
            log = Log();
        }
        return log;
    }
    std::string Base(const std::string& relative) const { return m_doom3.Join("base\\" + relative); }
    std::string Doom3CommandLine(const std::string& options) const
    {
        return "\"" + m_doom3.Join("doom3.exe") + "\"" + options;
    }
    std::string MapToolCommandLine(const std::string& map) const
    {
        return "scorvel.exe \"" + Base("maps\\" + map) + "\"";
    }

    TempFolder m_program;
    TempFolder m_doom3;
    TempFolder m_log;
    ScopedEnvironmentVariable m_logVariable { KOLVANTA_STANDIN_LOG_VARIABLE, m_log.Join("standins.log") };
};

void ExpectSorryErr(const DialogDriver& driver)
{
    ASSERT_EQ(driver.MessageBoxes().size(), 1u);
    EXPECT_EQ(driver.MessageBoxes()[0].text, "Sorry... err");
    EXPECT_EQ(driver.MessageBoxes()[0].caption, "Kolvanta Rev.0");
    EXPECT_EQ(driver.MessageBoxes()[0].style, static_cast<UINT>(MB_ICONEXCLAMATION));
}

TEST_F(CnRDlgTest, OpensWithTheFirstMapSelectedAndItsFourTexts)
{
    m_program.MakeFile("A level.map", kMap);
    m_program.MakeFile("notes.txt");
    m_program.MakeFolder("folder.map");
    std::vector<std::string> maps;
    std::string selected;
    CnRTexts texts;
    bool allTicked = false;
    DialogDriver driver;
    driver.Then(kCaption, [&](HWND dialog) {
        maps = GetComboItems(dialog, IDC_CNR_MAP);
        selected = GetComboSelection(dialog, IDC_CNR_MAP);
        texts = ReadTexts(dialog);
        allTicked = IsChecked(dialog, IDC_CNR_COMPILE) && IsChecked(dialog, IDC_CNR_RUN) && IsChecked(dialog, IDC_CNR_FORMALIZE);
        PostCommand(dialog, IDCANCEL);
    });
    EXPECT_EQ(Run(driver), IDCANCEL);
    EXPECT_EQ(maps, (std::vector<std::string> { "A level.map", "E1M1.map" }));
    EXPECT_EQ(selected, "A level.map");
    EXPECT_TRUE(allTicked);
    EXPECT_EQ(texts.formalize, MapToolCommandLine("A level.map"));
    EXPECT_EQ(texts.compileScript, "dmap noflood A level.map\r\n");
    EXPECT_EQ(texts.runScript, "map A level.map\r\n");
    EXPECT_EQ(texts.launcher, Doom3CommandLine(" +com_allowConsole 1 +exec brask_compile.cfg +exec brask_runmap.cfg"));
    EXPECT_TRUE(Log().empty());
}

TEST_F(CnRDlgTest, LaunchCopiesRunsTheMapToolWritesBothScriptsStartsDoom3AndCloses)
{
    bool leftOpen = true;
    DialogDriver driver;
    driver.Then(kCaption, [&](HWND dialog) { leftOpen = LaunchAndClose(dialog); });
    EXPECT_EQ(Run(driver), IDOK);
    EXPECT_FALSE(leftOpen);
    EXPECT_TRUE(driver.MessageBoxes().empty());

    // The maps folder did not exist: it is created, and the map lands inside it.
    EXPECT_EQ(ReadFileBytes(Base("maps\\E1M1.map")), kMap);
    EXPECT_EQ(ReadFileBytes(Base("brask_compile.cfg")), "dmap noflood E1M1.map\r\n");
    EXPECT_EQ(ReadFileBytes(Base("brask_runmap.cfg")), "map E1M1.map\r\n");
    const std::vector<StandinLogEntry> log = LogOf(2);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].commandLine, MapToolCommandLine("E1M1.map"));
    EXPECT_EQ(log[0].folder, m_program.Path());
    EXPECT_EQ(log[1].commandLine, Doom3CommandLine(" +com_allowConsole 1 +exec brask_compile.cfg +exec brask_runmap.cfg"));
    EXPECT_EQ(log[1].folder, m_doom3.Path());
}

TEST_F(CnRDlgTest, CompileClearedKeepsItsScriptTextButDropsItsExec)
{
    CnRTexts texts;
    DialogDriver driver;
    driver.Then(kCaption, [&](HWND dialog) {
        SetItemText(dialog, IDC_CNR_COMPILESCRIPT, "dmap E1M1.map\r\n");
        ClickButton(dialog, IDC_CNR_COMPILE);
        ClickButton(dialog, IDC_CNR_UPDATE);
        texts = ReadTexts(dialog);
        LaunchAndClose(dialog);
    });
    EXPECT_EQ(Run(driver), IDOK);
    EXPECT_EQ(texts.compileScript, "dmap E1M1.map\r\n");
    EXPECT_EQ(texts.runScript, "map E1M1.map\r\n");
    EXPECT_EQ(texts.launcher, Doom3CommandLine(" +com_allowConsole 1 +exec brask_runmap.cfg"));
    // The script is written all the same, from the edit as it stands.
    EXPECT_EQ(ReadFileBytes(Base("brask_compile.cfg")), "dmap E1M1.map\r\n");
}

TEST_F(CnRDlgTest, HandEditedTextsAreUsedExactlyAsTyped)
{
    const std::string mapTool = "scorvel.exe \"" + Base("maps\\E1M1.map") + "\" extra";
    const std::string launcher = Doom3CommandLine(" +set developer 1");
    DialogDriver driver;
    driver.Then(kCaption, [&](HWND dialog) {
        SetItemText(dialog, IDC_CNR_FORMALIZECMD, mapTool);
        SetItemText(dialog, IDC_CNR_COMPILESCRIPT, "dmap E1M1.map\r\nquit\r\n");
        SetItemText(dialog, IDC_CNR_RUNSCRIPT, "devmap E1M1.map");
        SetItemText(dialog, IDC_CNR_LAUNCHER, launcher);
        LaunchAndClose(dialog);
    });
    EXPECT_EQ(Run(driver), IDOK);
    EXPECT_EQ(ReadFileBytes(Base("brask_compile.cfg")), "dmap E1M1.map\r\nquit\r\n");
    EXPECT_EQ(ReadFileBytes(Base("brask_runmap.cfg")), "devmap E1M1.map");
    const std::vector<StandinLogEntry> log = LogOf(2);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].commandLine, mapTool);
    EXPECT_EQ(log[1].commandLine, launcher);
}

TEST_F(CnRDlgTest, AMapNameWithBlanksStaysQuotedForTheMapToolOnly)
{
    ASSERT_TRUE(DeleteFileAt(m_program.Join("E1M1.map")));
    m_program.MakeFile("My Level.map", kMap);
    DialogDriver driver;
    driver.Then(kCaption, [&](HWND dialog) { LaunchAndClose(dialog); });
    EXPECT_EQ(Run(driver), IDOK);
    EXPECT_EQ(ReadFileBytes(Base("maps\\My Level.map")), kMap);
    EXPECT_EQ(ReadFileBytes(Base("brask_compile.cfg")), "dmap noflood My Level.map\r\n");
    EXPECT_EQ(ReadFileBytes(Base("brask_runmap.cfg")), "map My Level.map\r\n");
    const std::vector<StandinLogEntry> log = LogOf(2);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].commandLine, MapToolCommandLine("My Level.map"));
}

TEST_F(CnRDlgTest, FormalizeClearedAtUpdateStartsNoMapTool)
{
    DialogDriver driver;
    driver.Then(kCaption, [&](HWND dialog) {
        ClickButton(dialog, IDC_CNR_FORMALIZE);
        ClickButton(dialog, IDC_CNR_UPDATE);
        LaunchAndClose(dialog);
    });
    EXPECT_EQ(Run(driver), IDOK);
    const std::vector<StandinLogEntry> log = LogOf(1);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].commandLine, Doom3CommandLine(" +com_allowConsole 1 +exec brask_compile.cfg +exec brask_runmap.cfg"));
    EXPECT_EQ(ReadFileBytes(Base("maps\\E1M1.map")), kMap);
}

TEST_F(CnRDlgTest, LaunchReadsFormalizeAsOfTheLastUpdateNotTheBoxAsItStands)
{
    DialogDriver driver;
    driver.Then(kCaption, [&](HWND dialog) {
        ClickButton(dialog, IDC_CNR_FORMALIZE);
        LaunchAndClose(dialog);
    });
    EXPECT_EQ(Run(driver), IDOK);
    const std::vector<StandinLogEntry> log = LogOf(2);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].commandLine, MapToolCommandLine("E1M1.map"));
}

TEST_F(CnRDlgTest, WithoutAMapUpdateChangesNothingAndLaunchFails)
{
    ASSERT_TRUE(DeleteFileAt(m_program.Join("E1M1.map")));
    CnRTexts texts { "x", "x", "x", "x" };
    bool leftOpen = false;
    DialogDriver driver;
    driver.Then(kCaption, [&](HWND dialog) {
        ClickButton(dialog, IDC_CNR_UPDATE);
        texts = ReadTexts(dialog);
        leftOpen = LaunchAndClose(dialog);
    });
    EXPECT_EQ(Run(driver), IDCANCEL);
    EXPECT_TRUE(leftOpen);
    ExpectSorryErr(driver);
    EXPECT_EQ(texts.formalize + texts.compileScript + texts.runScript + texts.launcher, "");
    EXPECT_FALSE(FolderExists(Base("maps")));
    EXPECT_TRUE(Log().empty());
}

TEST_F(CnRDlgTest, AMissingMapToolFailsAfterTheCopyAndWritesNoScript)
{
    ASSERT_TRUE(DeleteFileAt(m_program.Join("scorvel.exe")));
    bool leftOpen = false;
    DialogDriver driver;
    driver.Then(kCaption, [&](HWND dialog) { leftOpen = LaunchAndClose(dialog); });
    EXPECT_EQ(Run(driver), IDCANCEL);
    EXPECT_TRUE(leftOpen);
    ExpectSorryErr(driver);
    EXPECT_EQ(ReadFileBytes(Base("maps\\E1M1.map")), kMap);
    EXPECT_FALSE(FileExists(Base("brask_compile.cfg")));
    EXPECT_FALSE(FileExists(Base("brask_runmap.cfg")));
    EXPECT_TRUE(Log().empty());
}

TEST_F(CnRDlgTest, AScriptThatCannotBeWrittenFailsBeforeDoom3)
{
    m_doom3.MakeFolder("base\\brask_runmap.cfg");
    bool leftOpen = false;
    DialogDriver driver;
    driver.Then(kCaption, [&](HWND dialog) { leftOpen = LaunchAndClose(dialog); });
    EXPECT_EQ(Run(driver), IDCANCEL);
    EXPECT_TRUE(leftOpen);
    ExpectSorryErr(driver);
    EXPECT_EQ(ReadFileBytes(Base("brask_compile.cfg")), "dmap noflood E1M1.map\r\n");
    const std::vector<StandinLogEntry> log = Log();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].commandLine, MapToolCommandLine("E1M1.map"));
}

TEST_F(CnRDlgTest, AMissingDoom3FailsWithTheScriptsWritten)
{
    ASSERT_TRUE(DeleteFileAt(m_doom3.Join("doom3.exe")));
    bool leftOpen = false;
    DialogDriver driver;
    driver.Then(kCaption, [&](HWND dialog) { leftOpen = LaunchAndClose(dialog); });
    EXPECT_EQ(Run(driver), IDCANCEL);
    EXPECT_TRUE(leftOpen);
    ExpectSorryErr(driver);
    EXPECT_EQ(ReadFileBytes(Base("brask_compile.cfg")), "dmap noflood E1M1.map\r\n");
    EXPECT_EQ(ReadFileBytes(Base("brask_runmap.cfg")), "map E1M1.map\r\n");
}

TEST_F(CnRDlgTest, AFileInPlaceOfTheMapsFolderFailsWithoutTouchingIt)
{
    m_doom3.MakeFile("base\\maps", "not a folder");
    bool leftOpen = false;
    DialogDriver driver;
    driver.Then(kCaption, [&](HWND dialog) { leftOpen = LaunchAndClose(dialog); });
    EXPECT_EQ(Run(driver), IDCANCEL);
    EXPECT_TRUE(leftOpen);
    ExpectSorryErr(driver);
    EXPECT_EQ(ReadFileBytes(Base("maps")), "not a folder");
    EXPECT_TRUE(Log().empty());
}

} // namespace
