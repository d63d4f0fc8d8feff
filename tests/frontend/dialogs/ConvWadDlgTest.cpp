#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "DialogControls.h"
#include "DialogDriver.h"
#include "WadDialogsTestSetup.h"
#include "dialogs/ConvWadDlg.h"
#include "resource.h"

using namespace testsupport;

namespace {

const char kCaption[] = "DOOM .wad conversion";

// The "OK?" column of an item.
std::string ResultText(HWND dialog, int item)
{
    return GetListItemText(dialog, IDC_CONVWAD_WADS, item, 1);
}

std::vector<std::string> ResultTexts(HWND dialog)
{
    std::vector<std::string> texts;
    const size_t count = GetListItems(dialog, IDC_CONVWAD_WADS).size();
    for (size_t i = 0; i < count; ++i)
        texts.push_back(ResultText(dialog, static_cast<int>(i)));
    return texts;
}

int ItemOf(HWND dialog, const std::string& name)
{
    const std::vector<std::string> items = GetListItems(dialog, IDC_CONVWAD_WADS);
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i] == name)
            return static_cast<int>(i);
    }
    return -1;
}

void SetSelected(HWND dialog, int item, bool selected)
{
    LVITEMA state {};
    state.state = selected ? LVIS_SELECTED : 0;
    state.stateMask = LVIS_SELECTED;
    ::SendDlgItemMessageA(dialog, IDC_CONVWAD_WADS, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&state));
}

// The .wad files of a folder as the file system lists them.
std::vector<std::string> WadsInFolderOrder(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA data {};
    HANDLE find = ::FindFirstFileA((folder + "\\*.wad").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(data.cFileName);
    } while (::FindNextFileA(find, &data));
    ::FindClose(find);
    return names;
}

class ConvWadDlgTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_tools.StandinsInstalled()); }

    void Run(DialogDriver& driver)
    {
        CConvWadDlg dialog;
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        EXPECT_TRUE(driver.AllStepsDone());
        EXPECT_FALSE(driver.WatchdogFired());
    }

    std::vector<std::string> LoggedArguments() const
    {
        std::vector<std::string> arguments;
        for (const StandinLogEntry& entry : m_tools.Log()) {
            EXPECT_EQ(entry.tool, "xtract.bat");
            EXPECT_EQ(entry.folder, m_tools.Program().Path());
            arguments.push_back(entry.firstArgument);
        }
        return arguments;
    }

    waddialogs::ToolFolder m_tools;
};

} // namespace

TEST_F(ConvWadDlgTest, ListsEveryWadInFolderOrderAllSelected)
{
    for (const char* name : { "zeta.wad", "DOOM2.WAD", "alpha.wad", "mid.wad" })
        m_tools.Program().MakeFile(name, "PWAD");
    m_tools.Program().MakeFolder("folder.wad");
    m_tools.Program().MakeFile("readme.txt", "x");
    DialogDriver driver;
    driver.Then(kCaption, [&](HWND dialog) {
        EXPECT_EQ(GetListItems(dialog, IDC_CONVWAD_WADS), WadsInFolderOrder(m_tools.Program().Path()));
        EXPECT_EQ(GetListSelection(dialog, IDC_CONVWAD_WADS), (std::vector<int> { 0, 1, 2, 3 }));
        EXPECT_EQ(ResultTexts(dialog), (std::vector<std::string>(4)));

        HWND header = reinterpret_cast<HWND>(::SendDlgItemMessageA(dialog, IDC_CONVWAD_WADS, LVM_GETHEADER, 0, 0));
        EXPECT_EQ(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0), 2);
        const char* headings[] = { "Filename", "OK?" };
        const int widths[] = { 133, 55 };
        for (int column = 0; column < 2; ++column) {
            char heading[32] = {};
            LVCOLUMNA info {};
            info.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
            info.pszText = heading;
            info.cchTextMax = static_cast<int>(sizeof(heading));
            ASSERT_TRUE(::SendDlgItemMessageA(dialog, IDC_CONVWAD_WADS, LVM_GETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info)));
            EXPECT_STREQ(heading, headings[column]);
            EXPECT_EQ(info.cx, widths[column]);
            EXPECT_EQ(info.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
        }
        const DWORD style = GetControlStyle(dialog, IDC_CONVWAD_WADS);
        EXPECT_EQ(style & LVS_TYPEMASK, static_cast<DWORD>(LVS_REPORT));
        EXPECT_FALSE(style & LVS_SINGLESEL);
        EXPECT_TRUE(style & LVS_SHOWSELALWAYS);
        EXPECT_TRUE(style & LVS_NOSORTHEADER);
        PostCommand(dialog, IDCANCEL);
    });
    Run(driver);
}

TEST_F(ConvWadDlgTest, LaunchRunsTheBatchFileWithShortNamesForKnownWads)
{
    for (const char* name : { "DOOM2.WAD", "Doom.wad", "my levels.wad" })
        m_tools.Program().MakeFile(name, "PWAD");
    std::vector<std::string> expected;
    DialogDriver driver;
    driver.Then(kCaption, [&](HWND dialog) {
        for (const std::string& name : GetListItems(dialog, IDC_CONVWAD_WADS))
            expected.push_back(name == "DOOM2.WAD" ? "\"doom2\"" : name == "Doom.wad" ? "\"doom\"" : "\"my levels.wad\"");
        ClickButton(dialog, IDOK);
        EXPECT_TRUE(::IsWindowVisible(dialog)) << "Launch leaves the dialog open";
        EXPECT_EQ(ResultTexts(dialog), (std::vector<std::string>(3, "DONE!")));
        PostCommand(dialog, IDCANCEL);
    });
    Run(driver);
    EXPECT_EQ(LoggedArguments(), expected);
}

TEST_F(ConvWadDlgTest, DeselectedRowsAreSkippedAndKeepTheirResult)
{
    for (const char* name : { "a.wad", "b.wad", "c.wad" })
        m_tools.Program().MakeFile(name, "PWAD");
    DialogDriver driver;
    driver.Then(kCaption, [&](HWND dialog) {
        SetSelected(dialog, ItemOf(dialog, "a.wad"), false);
        SetSelected(dialog, ItemOf(dialog, "c.wad"), false);
        ClickButton(dialog, IDOK);
        EXPECT_EQ(ResultText(dialog, ItemOf(dialog, "a.wad")), "");
        EXPECT_EQ(ResultText(dialog, ItemOf(dialog, "b.wad")), "DONE!");
        EXPECT_EQ(ResultText(dialog, ItemOf(dialog, "c.wad")), "");
        PostCommand(dialog, IDCANCEL);
    });
    Run(driver);
    EXPECT_EQ(LoggedArguments(), (std::vector<std::string> { "\"b.wad\"" }));
}

TEST_F(ConvWadDlgTest, LaunchAgainRerunsAndOverwritesTheResults)
{
    m_tools.Program().MakeFile("tnt.wad", "PWAD");
    DialogDriver driver;
    driver.Then(kCaption, [&](HWND dialog) {
        ClickButton(dialog, IDOK);
        ClickButton(dialog, IDOK);
        EXPECT_EQ(ResultTexts(dialog), (std::vector<std::string> { "DONE!" }));
        // Without the batch file the next launch cannot start it.
        ASSERT_TRUE(DeleteFileAt(m_tools.Program().Join("xtract.bat")));
        ClickButton(dialog, IDOK);
        EXPECT_EQ(ResultTexts(dialog), (std::vector<std::string> { "ERR" }));
        PostCommand(dialog, IDCANCEL);
    });
    Run(driver);
    EXPECT_EQ(LoggedArguments(), (std::vector<std::string> { "\"tnt\"", "\"tnt\"" }));
}

TEST_F(ConvWadDlgTest, EmptyFolderListsNothingAndLaunchDoesNothing)
{
    DialogDriver driver;
    driver.Then(kCaption, [&](HWND dialog) {
        EXPECT_TRUE(GetListItems(dialog, IDC_CONVWAD_WADS).empty());
        ClickButton(dialog, IDOK);
        EXPECT_TRUE(::IsWindowVisible(dialog));
        PostCommand(dialog, IDCANCEL);
    });
    Run(driver);
    EXPECT_TRUE(m_tools.Log().empty());
}
