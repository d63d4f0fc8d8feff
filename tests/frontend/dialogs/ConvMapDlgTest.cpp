#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "DialogControls.h"
#include "DialogDriver.h"
#include "WadDialogsTestSetup.h"
#include "dialogs/ConvMapDlg.h"
#include "resource.h"

using namespace testsupport;

namespace {

const char kCaption[] = "Convert DOOM map";

const int kOptionBoxes[] = { IDC_CONVMAP_NOWALL, IDC_CONVMAP_NOCEIL, IDC_CONVMAP_NOFLOOR, IDC_CONVMAP_NOMOVE,
                             IDC_CONVMAP_NOENT, IDC_CONVMAP_BOUND, IDC_CONVMAP_DIRECT };
const int kTextureBoxes[] = { IDC_CONVMAP_TEXDOOM1, IDC_CONVMAP_TEXDOOM2, IDC_CONVMAP_TEXTNT,
                              IDC_CONVMAP_TEXPLUTONIA, IDC_CONVMAP_TEXCUSTOM };

void SetCheck(HWND dialog, int id, bool checked)
{
    ::SendDlgItemMessageA(dialog, id, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

std::vector<int> TickedTextureBoxes(HWND dialog)
{
    std::vector<int> ticked;
    for (int id : kTextureBoxes) {
        if (IsChecked(dialog, id))
            ticked.push_back(id);
    }
    return ticked;
}

// The focused control or the control whose child (a combo box's edit field) has the focus.
bool HasFocus(HWND dialog, int id)
{
    HWND control = ::GetDlgItem(dialog, id);
    HWND focus = ::GetFocus();
    return control && focus && (focus == control || ::IsChild(control, focus));
}

class ConvMapDlgTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_tools.StandinsInstalled()); }

    // Runs the dialog with the given steps; the steps end by closing it.
    void Run(DialogDriver& driver)
    {
        CConvMapDlg dialog;
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        EXPECT_TRUE(driver.AllStepsDone());
        EXPECT_FALSE(driver.WatchdogFired());
    }

    std::vector<std::string> LoggedCommandLines() const
    {
        std::vector<std::string> lines;
        for (const StandinLogEntry& entry : m_tools.Log())
            lines.push_back(entry.commandLine);
        return lines;
    }

    waddialogs::ToolFolder m_tools;
};

} // namespace

TEST_F(ConvMapDlgTest, Doom2FirstLevelWithItsSettingsRunsTheConverterInTheProgramFolder)
{
    m_tools.AddWad("doom2.wad", { "MAP02", "THINGS", "MAP01" });
    DialogDriver driver;
    driver.Then(kCaption, [&](HWND dialog) {
        EXPECT_EQ(GetComboSelection(dialog, IDC_CONVMAP_WAD), "doom2.wad");
        EXPECT_EQ(GetComboItems(dialog, IDC_CONVMAP_LEVEL), (std::vector<std::string> { "MAP01", "MAP02" }));
        EXPECT_EQ(GetComboSelection(dialog, IDC_CONVMAP_LEVEL), "MAP01");
        EXPECT_EQ(GetItemText(dialog, IDC_CONVMAP_SCALE), "1.5");
        for (int id : kOptionBoxes)
            EXPECT_EQ(IsChecked(dialog, id), id == IDC_CONVMAP_BOUND) << id;
        EXPECT_EQ(TickedTextureBoxes(dialog), (std::vector<int> { IDC_CONVMAP_TEXDOOM2 }));
        ClickButton(dialog, IDOK);
        EXPECT_TRUE(::IsWindowVisible(dialog)) << "Launch leaves the dialog open";
        PostCommand(dialog, IDCANCEL);
    });
    Run(driver);

    const std::vector<StandinLogEntry> log = m_tools.Log();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].tool, "ZarO3.exe");
    EXPECT_EQ(log[0].commandLine, "ZarO3.exe  doom2.wad MAP01 -bound -scale 1.500000 -doom2");
    EXPECT_EQ(log[0].folder, m_tools.Program().Path());
}

TEST_F(ConvMapDlgTest, EveryTickedBoxAddsItsFlagInTheFixedOrder)
{
    m_tools.AddWad("x.wad", { "E1M1" });
    DialogDriver driver;
    driver.Then(kCaption, [&](HWND dialog) {
        for (int id : kOptionBoxes)
            SetCheck(dialog, id, true);
        for (int id : kTextureBoxes)
            SetCheck(dialog, id, true);
        SetItemText(dialog, IDC_CONVMAP_SCALE, "2");
        ClickButton(dialog, IDOK);
        for (int id : kOptionBoxes)
            SetCheck(dialog, id, false);
        SetCheck(dialog, IDC_CONVMAP_TEXDOOM2, false);
        SetCheck(dialog, IDC_CONVMAP_TEXPLUTONIA, false);
        SetItemText(dialog, IDC_CONVMAP_SCALE, "abc");
        ClickButton(dialog, IDOK);
        SetItemText(dialog, IDC_CONVMAP_SCALE, "");
        ClickButton(dialog, IDOK);
        PostCommand(dialog, IDCANCEL);
    });
    Run(driver);

    EXPECT_EQ(LoggedCommandLines(),
              (std::vector<std::string> {
                  "ZarO3.exe  x.wad E1M1 -nowall -noceil -nofloor -nomove -noent -bound -direct -scale 2.000000"
                  " -doom -doom2 -tnt -plutonia -custom",
                  "ZarO3.exe  x.wad E1M1 -scale 0.000000 -doom -tnt -custom",
                  "ZarO3.exe  x.wad E1M1 -doom -tnt -custom",
              }));
}

TEST_F(ConvMapDlgTest, TypedLevelAndBlankInTheWadNameGoInAsTheyStand)
{
    m_tools.AddWad("my wad.wad", { "E1M1" });
    DialogDriver driver;
    driver.Then(kCaption, [&](HWND dialog) {
        SetItemText(dialog, IDC_CONVMAP_LEVEL, "e9m9 secret");
        ClickButton(dialog, IDOK);
        PostCommand(dialog, IDCANCEL);
    });
    Run(driver);
    EXPECT_EQ(LoggedCommandLines(), (std::vector<std::string> { "ZarO3.exe  my wad.wad e9m9 secret -bound -scale 1.500000" }));
}

TEST_F(ConvMapDlgTest, WadsAndLevelsAreSortedAndRepeatedLevelsShownTwice)
{
    m_tools.AddWad("zeta.wad", { "E2M1", "E1M3", "E1M1", "E1M3" });
    m_tools.AddWad("Alpha.wad", { "MAP10", "MAP02" });
    m_tools.AddWad("mid.wad", {});
    m_tools.Program().MakeFolder("folder.wad");
    m_tools.Program().MakeFile("notes.txt", "x");
    DialogDriver driver;
    driver.Then(kCaption, [&](HWND dialog) {
        EXPECT_EQ(GetComboItems(dialog, IDC_CONVMAP_WAD), (std::vector<std::string> { "Alpha.wad", "mid.wad", "zeta.wad" }));
        EXPECT_EQ(GetComboItems(dialog, IDC_CONVMAP_LEVEL), (std::vector<std::string> { "MAP02", "MAP10" }));
        ASSERT_TRUE(SelectComboItem(dialog, IDC_CONVMAP_WAD, "zeta.wad"));
        EXPECT_EQ(GetComboItems(dialog, IDC_CONVMAP_LEVEL), (std::vector<std::string> { "E1M1", "E1M3", "E1M3", "E2M1" }));
        EXPECT_EQ(GetComboSelection(dialog, IDC_CONVMAP_LEVEL), "E1M1");
        ASSERT_TRUE(SelectComboItem(dialog, IDC_CONVMAP_WAD, "mid.wad"));
        EXPECT_TRUE(GetComboItems(dialog, IDC_CONVMAP_LEVEL).empty());
        PostCommand(dialog, IDCANCEL);
    });
    Run(driver);
}

TEST_F(ConvMapDlgTest, AnotherWadKeepsTheBoxesUntilUpdateSettings)
{
    m_tools.AddWad("DOOM.WAD", { "E1M1" });
    m_tools.AddWad("zz.wad", { "MAP05" });
    DialogDriver driver;
    driver.Then(kCaption, [&](HWND dialog) {
        EXPECT_EQ(GetComboSelection(dialog, IDC_CONVMAP_WAD), "DOOM.WAD");
        EXPECT_EQ(TickedTextureBoxes(dialog), (std::vector<int> { IDC_CONVMAP_TEXDOOM1 }));
        SetCheck(dialog, IDC_CONVMAP_BOUND, false);
        SetCheck(dialog, IDC_CONVMAP_NOENT, true);
        SetCheck(dialog, IDC_CONVMAP_TEXCUSTOM, true);
        SetItemText(dialog, IDC_CONVMAP_SCALE, "3");

        ASSERT_TRUE(SelectComboItem(dialog, IDC_CONVMAP_WAD, "zz.wad"));
        EXPECT_EQ(GetComboSelection(dialog, IDC_CONVMAP_LEVEL), "MAP05");
        EXPECT_FALSE(IsChecked(dialog, IDC_CONVMAP_BOUND));
        EXPECT_TRUE(IsChecked(dialog, IDC_CONVMAP_NOENT));
        EXPECT_EQ(GetItemText(dialog, IDC_CONVMAP_SCALE), "3");
        EXPECT_EQ(TickedTextureBoxes(dialog), (std::vector<int> { IDC_CONVMAP_TEXDOOM1, IDC_CONVMAP_TEXCUSTOM }));

        ClickButton(dialog, IDC_CONVMAP_UPDATE);
        EXPECT_TRUE(IsChecked(dialog, IDC_CONVMAP_BOUND));
        EXPECT_FALSE(IsChecked(dialog, IDC_CONVMAP_NOENT));
        EXPECT_EQ(GetItemText(dialog, IDC_CONVMAP_SCALE), "1.5");
        EXPECT_TRUE(TickedTextureBoxes(dialog).empty());

        ASSERT_TRUE(SelectComboItem(dialog, IDC_CONVMAP_WAD, "DOOM.WAD"));
        ClickButton(dialog, IDC_CONVMAP_UPDATE);
        EXPECT_EQ(TickedTextureBoxes(dialog), (std::vector<int> { IDC_CONVMAP_TEXDOOM1 }));
        PostCommand(dialog, IDCANCEL);
    });
    Run(driver);
}

TEST_F(ConvMapDlgTest, NoWadRefusesToLaunchAndFocusesTheWadList)
{
    DialogDriver driver;
    driver.Then(kCaption, [&](HWND dialog) {
        EXPECT_TRUE(GetComboItems(dialog, IDC_CONVMAP_WAD).empty());
        EXPECT_TRUE(GetComboItems(dialog, IDC_CONVMAP_LEVEL).empty());
        EXPECT_TRUE(TickedTextureBoxes(dialog).empty());
        ::SetFocus(::GetDlgItem(dialog, IDC_CONVMAP_SCALE));
        ClickButton(dialog, IDOK);
        EXPECT_TRUE(HasFocus(dialog, IDC_CONVMAP_WAD));
        PostCommand(dialog, IDCANCEL);
    });
    Run(driver);
    EXPECT_TRUE(m_tools.Log().empty());
}

TEST_F(ConvMapDlgTest, UnreadableWadLeavesNoLevelsAndLaunchFocusesTheLevelUntilOneIsTyped)
{
    m_tools.Program().MakeFile("broken.wad", "PWAD");
    DialogDriver driver;
    driver.Then(kCaption, [&](HWND dialog) {
        EXPECT_EQ(GetComboSelection(dialog, IDC_CONVMAP_WAD), "broken.wad");
        EXPECT_TRUE(GetComboItems(dialog, IDC_CONVMAP_LEVEL).empty());
        ::SetFocus(::GetDlgItem(dialog, IDC_CONVMAP_SCALE));
        ClickButton(dialog, IDOK);
        EXPECT_TRUE(HasFocus(dialog, IDC_CONVMAP_LEVEL));
        SetItemText(dialog, IDC_CONVMAP_LEVEL, "MAP01");
        ClickButton(dialog, IDOK);
        PostCommand(dialog, IDCANCEL);
    });
    Run(driver);
    EXPECT_EQ(LoggedCommandLines(), (std::vector<std::string> { "ZarO3.exe  broken.wad MAP01 -bound -scale 1.500000" }));
}

TEST_F(ConvMapDlgTest, TemplateHasTheControlKinds)
{
    DialogDriver driver;
    driver.Then(kCaption, [&](HWND dialog) {
        EXPECT_EQ(GetControlStyle(dialog, IDC_CONVMAP_WAD) & 0x3, static_cast<DWORD>(CBS_DROPDOWNLIST));
        EXPECT_EQ(GetControlStyle(dialog, IDC_CONVMAP_LEVEL) & 0x3, static_cast<DWORD>(CBS_DROPDOWN));
        EXPECT_TRUE(GetControlStyle(dialog, IDC_CONVMAP_WAD) & CBS_SORT);
        EXPECT_TRUE(GetControlStyle(dialog, IDC_CONVMAP_LEVEL) & CBS_SORT);
        EXPECT_EQ(GetItemText(dialog, IDC_CONVMAP_NOMOVE), "-nomove   : Suppress Creation of Moving Objects && Switches");
        EXPECT_EQ(GetControlStyle(dialog, IDC_CONVMAP_TEXCUSTOM) & 0xF, static_cast<DWORD>(BS_AUTOCHECKBOX));
        PostCommand(dialog, IDCANCEL);
    });
    Run(driver);
}
