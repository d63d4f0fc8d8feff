#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "DialogControls.h"
#include "DialogDriver.h"
#include "TestFiles.h"
#include "TestGlobals.h"
#include "dialogs/ConfDlg.h"
#include "resource.h"

using namespace testsupport;

namespace {

const char kCaption[] = "Configuration";
const char kDoom3Key[] = "software\\id\\Doom 3";
const int kBlank = 0;
const int kTick = 1;
const int kCross = 2;
const int kFolder = 3;

std::vector<std::string> RequiredFileNames()
{
    return std::vector<std::string>(std::begin(kRequiredFiles), std::end(kRequiredFiles));
}

std::vector<std::string> Sorted(std::vector<std::string> names)
{
    std::sort(names.begin(), names.end());
    return names;
}

// The single selected item's text, "" when none, "<several>" when more.
std::string SelectedItem(HWND dialog, int id)
{
    const std::vector<int> selection = GetListSelection(dialog, id);
    if (selection.empty())
        return std::string();
    if (selection.size() > 1)
        return "<several>";
    return GetListItems(dialog, id)[static_cast<size_t>(selection[0])];
}

class ConfDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(PrepareSharedImageList());
        SetProgramFolder(m_program.Path());
        m_doom3.MakeFolder("base");
        m_doom3.MakeFolder("d3xp");
        m_doom3.MakeFile("readme.txt", "read me");
    }

    // Runs the dialog with one step on it; the step must end it.
    INT_PTR Run(CConfDlg& dialog, DialogDriver::Action action)
    {
        DialogDriver driver;
        driver.Then(kCaption, std::move(action));
        const INT_PTR result = dialog.DoModal();
        EXPECT_TRUE(driver.AllStepsDone());
        EXPECT_FALSE(driver.WatchdogFired());
        EXPECT_TRUE(driver.MessageBoxes().empty());
        return result;
    }

    // Types a DOOM 3 folder, presses UPDATE, selects modFolder and confirms.
    void Confirm(CConfDlg& dialog, const std::string& doom3Folder, const std::string& modFolder)
    {
        const INT_PTR result = Run(dialog, [&](HWND window) {
            SetItemText(window, IDC_CONF_DOOM3FOLDER, doom3Folder);
            ClickButton(window, IDC_CONF_UPDATE);
            const std::vector<std::string> items = GetListItems(window, IDC_CONF_MODFOLDERS);
            const auto found = std::find(items.begin(), items.end(), modFolder);
            SelectListItem(window, IDC_CONF_MODFOLDERS, found == items.end() ? -1 : static_cast<int>(found - items.begin()));
            PostCommand(window, IDOK);
        });
        ASSERT_EQ(result, IDOK);
    }

    TempFolder m_program;
    TempFolder m_doom3;
};

TEST_F(ConfDlgTest, FirstOpeningShowsEmptySettingsAndBlankRequirements)
{
    CConfDlg dialog;
    std::string doom3Text = "unread";
    std::string programText;
    std::vector<std::string> modFolders { "unread" };
    std::vector<std::string> required;
    std::vector<int> images;
    std::string updateCaption;
    DWORD modStyle = 0;
    DWORD requirementStyle = 0;
    DWORD programStyle = 0;
    const INT_PTR result = Run(dialog, [&](HWND window) {
        doom3Text = GetItemText(window, IDC_CONF_DOOM3FOLDER);
        programText = GetItemText(window, IDC_CONF_PROGRAMFOLDER);
        modFolders = GetListItems(window, IDC_CONF_MODFOLDERS);
        required = GetListItems(window, IDC_CONF_REQUIREMENTS);
        images = GetListImages(window, IDC_CONF_REQUIREMENTS);
        updateCaption = GetItemText(window, IDC_CONF_UPDATE);
        modStyle = GetControlStyle(window, IDC_CONF_MODFOLDERS);
        requirementStyle = GetControlStyle(window, IDC_CONF_REQUIREMENTS);
        programStyle = GetControlStyle(window, IDC_CONF_PROGRAMFOLDER);
        PostCommand(window, IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(doom3Text, "");
    EXPECT_TRUE(modFolders.empty());
    EXPECT_EQ(programText, m_program.PathWithBackslash());
    EXPECT_EQ(required, RequiredFileNames());
    EXPECT_EQ(images, std::vector<int>(9, kBlank));
    EXPECT_EQ(updateCaption, "&U\nP\nD\nA\nT\nE");
    EXPECT_TRUE(modStyle & LVS_SHOWSELALWAYS);
    EXPECT_FALSE(requirementStyle & LVS_SHOWSELALWAYS);
    EXPECT_TRUE(modStyle & LVS_SHAREIMAGELISTS);
    EXPECT_TRUE(requirementStyle & LVS_SHAREIMAGELISTS);
    EXPECT_TRUE(programStyle & ES_READONLY);
    EXPECT_EQ(dialog.GetDoom3Folder(), "");
    EXPECT_EQ(dialog.GetModFolder(), "");
}

TEST_F(ConfDlgTest, UpdateListsSubFoldersAndOkStoresTheSelection)
{
    CConfDlg dialog;
    std::vector<std::string> listed;
    std::vector<int> images;
    std::string selected;
    Run(dialog, [&](HWND window) {
        SetItemText(window, IDC_CONF_DOOM3FOLDER, m_doom3.Path());
        ClickButton(window, IDC_CONF_UPDATE);
        listed = GetListItems(window, IDC_CONF_MODFOLDERS);
        images = GetListImages(window, IDC_CONF_MODFOLDERS);
        selected = SelectedItem(window, IDC_CONF_MODFOLDERS);
        PostCommand(window, IDOK);
    });
    EXPECT_EQ(Sorted(listed), (std::vector<std::string> { "base", "d3xp" }));
    EXPECT_EQ(images, std::vector<int>(2, kFolder));
    EXPECT_EQ(selected, "base");
    EXPECT_EQ(dialog.GetDoom3Folder(), m_doom3.Path().c_str());
    EXPECT_EQ(dialog.GetModFolder(), "base");
    EXPECT_EQ(ListSubFolders(m_doom3.Path().c_str()).size(), 2u);
}

TEST_F(ConfDlgTest, BaseIsSelectedWhateverItsCase)
{
    TempFolder doom3;
    doom3.MakeFolder("BASE");
    doom3.MakeFolder("mymod");
    CConfDlg dialog;
    Confirm(dialog, doom3.Path(), "");
    std::string selected;
    Run(dialog, [&](HWND window) {
        ClickButton(window, IDC_CONF_UPDATE);
        selected = SelectedItem(window, IDC_CONF_MODFOLDERS);
        PostCommand(window, IDCANCEL);
    });
    EXPECT_EQ(selected, "BASE");
}

TEST_F(ConfDlgTest, ReopeningShowsOnlyTheConfirmedModFolder)
{
    CConfDlg dialog;
    Confirm(dialog, m_doom3.Path(), "d3xp");
    ASSERT_EQ(dialog.GetModFolder(), "d3xp");

    std::string doom3Text;
    std::vector<std::string> listed;
    std::string selected;
    std::vector<std::string> afterEmptyUpdate;
    Run(dialog, [&](HWND window) {
        doom3Text = GetItemText(window, IDC_CONF_DOOM3FOLDER);
        listed = GetListItems(window, IDC_CONF_MODFOLDERS);
        selected = SelectedItem(window, IDC_CONF_MODFOLDERS);
        // With the folder edit emptied, UPDATE leaves the list as it is.
        SetItemText(window, IDC_CONF_DOOM3FOLDER, "");
        ClickButton(window, IDC_CONF_UPDATE);
        afterEmptyUpdate = GetListItems(window, IDC_CONF_MODFOLDERS);
        PostCommand(window, IDCANCEL);
    });
    EXPECT_EQ(doom3Text, m_doom3.Path());
    EXPECT_EQ(listed, std::vector<std::string> { "d3xp" });
    EXPECT_EQ(selected, "d3xp");
    EXPECT_EQ(afterEmptyUpdate, std::vector<std::string> { "d3xp" });
}

TEST_F(ConfDlgTest, OkWithoutSelectionStoresAnEmptyModFolder)
{
    CConfDlg dialog;
    Confirm(dialog, m_doom3.Path(), "base");
    Confirm(dialog, m_doom3.Path(), "");
    EXPECT_EQ(dialog.GetModFolder(), "");
    EXPECT_EQ(dialog.GetDoom3Folder(), m_doom3.Path().c_str());

    // A folder that does not exist lists nothing, so OK stores no MOD folder.
    Confirm(dialog, m_doom3.Join("missing"), "base");
    EXPECT_EQ(dialog.GetModFolder(), "");
    EXPECT_EQ(dialog.GetDoom3Folder(), m_doom3.Join("missing").c_str());
}

TEST_F(ConfDlgTest, CancelKeepsTheSettings)
{
    CConfDlg dialog;
    Confirm(dialog, m_doom3.Path(), "base");
    const INT_PTR result = Run(dialog, [&](HWND window) {
        SetItemText(window, IDC_CONF_DOOM3FOLDER, "C:\\elsewhere");
        SelectListItem(window, IDC_CONF_MODFOLDERS, -1);
        PostCommand(window, IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(dialog.GetDoom3Folder(), m_doom3.Path().c_str());
    EXPECT_EQ(dialog.GetModFolder(), "base");
}

TEST_F(ConfDlgTest, TestTicksPresentFilesAndCrossesMissingOnes)
{
    for (const std::string& name : RequiredFileNames())
        m_program.MakeFile(name, "tool");
    CConfDlg dialog;
    std::vector<int> allPresent;
    std::vector<int> zipMissing;
    Run(dialog, [&](HWND window) {
        ClickButton(window, IDC_CONF_TEST);
        allPresent = GetListImages(window, IDC_CONF_REQUIREMENTS);
        DeleteFileAt(m_program.Join("zip.exe"));
        ClickButton(window, IDC_CONF_TEST);
        zipMissing = GetListImages(window, IDC_CONF_REQUIREMENTS);
        PostCommand(window, IDOK);
    });
    EXPECT_EQ(allPresent, std::vector<int>(9, kTick));
    std::vector<int> expected(9, kTick);
    expected[7] = kCross;
    EXPECT_EQ(zipMissing, expected);
}

TEST_F(ConfDlgTest, TestCountsAFolderOfARequiredNameAsPresent)
{
    m_program.MakeFolder("scorvel.exe");
    CConfDlg dialog;
    std::vector<int> images;
    Run(dialog, [&](HWND window) {
        ClickButton(window, IDC_CONF_TEST);
        images = GetListImages(window, IDC_CONF_REQUIREMENTS);
        PostCommand(window, IDCANCEL);
    });
    std::vector<int> expected(9, kCross);
    expected[8] = kTick;
    EXPECT_EQ(images, expected);
}

TEST_F(ConfDlgTest, BrowsePutsTheChosenFolderIntoTheEdit)
{
    CConfDlg dialog;
    std::string initialName;
    std::string afterBrowse;
    DialogDriver driver;
    driver.Then(kCaption, [&](HWND window) {
              SetItemText(window, IDC_CONF_DOOM3FOLDER, m_doom3.Path());
              ClickButton(window, IDC_CONF_BROWSE); // returns when the open dialog ends
              afterBrowse = GetItemText(window, IDC_CONF_DOOM3FOLDER);
              PostCommand(window, IDOK);
          })
        .Then("Open", [&](HWND open) {
            initialName = GetItemText(open, 1148);
            SetItemText(open, 1148, m_doom3.Join("base\\(DIR)"));
            PostCommand(open, IDOK);
        });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(driver.AllStepsDone());
    EXPECT_FALSE(driver.WatchdogFired());
    EXPECT_EQ(initialName.substr(initialName.size() - 5), "(DIR)");
    EXPECT_EQ(afterBrowse, m_doom3.Join("base"));
    EXPECT_EQ(dialog.GetDoom3Folder(), m_doom3.Join("base").c_str());
}

TEST_F(ConfDlgTest, CancelledBrowseChangesNothing)
{
    CConfDlg dialog;
    std::string afterBrowse;
    DialogDriver driver;
    driver.Then(kCaption, [&](HWND window) {
              SetItemText(window, IDC_CONF_DOOM3FOLDER, m_doom3.Path());
              ClickButton(window, IDC_CONF_BROWSE);
              afterBrowse = GetItemText(window, IDC_CONF_DOOM3FOLDER);
              PostCommand(window, IDCANCEL);
          })
        .Then("Open", [&](HWND open) { PostCommand(open, IDCANCEL); });
    dialog.DoModal();
    EXPECT_TRUE(driver.AllStepsDone()); // the open dialog was really shown
    EXPECT_EQ(afterBrowse, m_doom3.Path());
}

// Registry entries of the DOOM 3 installer, removed again at the end of a test.
// Tests run as parallel processes share the prefix's registry, so the entries
// are held under a named mutex for the test's duration.
class InstallerRegistry {
public:
    InstallerRegistry() : m_lock(::CreateMutexA(nullptr, FALSE, "Kolvanta.Tests.InstallerRegistry"))
    {
        ::WaitForSingleObject(m_lock, INFINITE);
        Remove(KEY_WOW64_32KEY);
        Remove(KEY_WOW64_64KEY);
    }
    ~InstallerRegistry()
    {
        Remove(KEY_WOW64_32KEY);
        Remove(KEY_WOW64_64KEY);
        ::ReleaseMutex(m_lock);
        ::CloseHandle(m_lock);
    }
    InstallerRegistry(const InstallerRegistry&) = delete;
    InstallerRegistry& operator=(const InstallerRegistry&) = delete;
    static bool Write(REGSAM view, DWORD type, const void* data, DWORD size)
    {
        HKEY key = nullptr;
        if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kDoom3Key, 0, nullptr, 0, KEY_WRITE | view, nullptr, &key, nullptr) != ERROR_SUCCESS)
            return false;
        const LONG status = ::RegSetValueExA(key, "InstallPath", 0, type, static_cast<const BYTE*>(data), size);
        ::RegCloseKey(key);
        return status == ERROR_SUCCESS;
    }
    static bool WriteText(REGSAM view, const std::string& text, DWORD type = REG_SZ)
    {
        return Write(view, type, text.c_str(), static_cast<DWORD>(text.size() + 1));
    }
    static void Remove(REGSAM view)
    {
        ::RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kDoom3Key, view, 0);
    }

private:
    HANDLE m_lock;
};

TEST_F(ConfDlgTest, InstallPathValueRules)
{
    InstallerRegistry registry;
    const REGSAM view = KEY_WOW64_64KEY;
    CString path;
    const auto read = [&]() {
        path = "unchanged";
        return ReadDoom3InstallPath(path);
    };

    EXPECT_FALSE(read()); // no key at all
    EXPECT_EQ(path, "unchanged");

    ASSERT_TRUE(registry.WriteText(view, "C:\\Games\\Doom 3"));
    EXPECT_TRUE(read());
    EXPECT_EQ(path, "C:\\Games\\Doom 3");

    ASSERT_TRUE(registry.WriteText(view, "%ProgramFiles%\\Doom 3", REG_EXPAND_SZ));
    EXPECT_TRUE(read());
    EXPECT_EQ(path, "%ProgramFiles%\\Doom 3"); // taken as it stands

    const std::string longest(255, 'd');
    ASSERT_TRUE(registry.WriteText(view, longest));
    EXPECT_TRUE(read());
    EXPECT_EQ(path, longest.c_str());

    ASSERT_TRUE(registry.WriteText(view, std::string(256, 'd')));
    EXPECT_FALSE(read());
    EXPECT_EQ(path, "unchanged");

    const DWORD number = 3;
    ASSERT_TRUE(registry.Write(view, REG_DWORD, &number, sizeof(number)));
    EXPECT_FALSE(read());

    ASSERT_TRUE(registry.Write(view, REG_SZ, "C:\\D3X", 5)); // "C:\D3" stored without its NUL
    EXPECT_FALSE(read());
    EXPECT_EQ(path, "unchanged");
}

TEST_F(ConfDlgTest, InstallPathOfTheThirtyTwoBitViewComesFirst)
{
    InstallerRegistry registry;
    ASSERT_TRUE(registry.WriteText(KEY_WOW64_64KEY, "C:\\native"));
    CString path;
    ASSERT_TRUE(ReadDoom3InstallPath(path));
    EXPECT_EQ(path, "C:\\native");

    ASSERT_TRUE(registry.WriteText(KEY_WOW64_32KEY, "C:\\Program Files (x86)\\Doom 3"));
    ASSERT_TRUE(ReadDoom3InstallPath(path));
    EXPECT_EQ(path, "C:\\Program Files (x86)\\Doom 3");

    // An unusable 32-bit entry does not hide a good native one.
    const DWORD number = 1;
    ASSERT_TRUE(registry.Write(KEY_WOW64_32KEY, REG_DWORD, &number, sizeof(number)));
    ASSERT_TRUE(ReadDoom3InstallPath(path));
    EXPECT_EQ(path, "C:\\native");
}

TEST_F(ConfDlgTest, FromRegistryFillsTheEditOnlyWhenAValueIsThere)
{
    InstallerRegistry registry;
    CConfDlg dialog;
    Confirm(dialog, m_doom3.Path(), "base");
    std::string withoutEntry;
    std::string withEntry;
    std::vector<std::string> listAfterRegistry;
    Run(dialog, [&](HWND window) {
        ClickButton(window, IDC_CONF_FROMREGISTRY);
        withoutEntry = GetItemText(window, IDC_CONF_DOOM3FOLDER);
        registry.WriteText(KEY_WOW64_32KEY, "C:\\Games\\Doom 3");
        ClickButton(window, IDC_CONF_FROMREGISTRY);
        withEntry = GetItemText(window, IDC_CONF_DOOM3FOLDER);
        listAfterRegistry = GetListItems(window, IDC_CONF_MODFOLDERS);
        PostCommand(window, IDCANCEL);
    });
    EXPECT_EQ(withoutEntry, m_doom3.Path());
    EXPECT_EQ(withEntry, "C:\\Games\\Doom 3");
    EXPECT_EQ(listAfterRegistry, std::vector<std::string> { "base" }); // not refreshed
    EXPECT_EQ(dialog.GetDoom3Folder(), m_doom3.Path().c_str()); // only OK commits
}

} // namespace
