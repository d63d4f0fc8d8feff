#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "CnRDeploySetup.h"
#include "DialogControls.h"
#include "DialogDriver.h"
#include "TestFiles.h"
#include "TestGlobals.h"
#include "dialogs/DeployDlg.h"
#include "resource.h"

using namespace testsupport;

namespace {

const char kCaption[] = "Deploy pk4 pack files";

// The packages the dialog lists, by name, with their images.
std::map<std::string, int> ListedPackages(HWND dialog)
{
    const std::vector<std::string> names = GetListItems(dialog, IDC_DEPLOY_PACKAGES);
    const std::vector<int> images = GetListImages(dialog, IDC_DEPLOY_PACKAGES);
    std::map<std::string, int> packages;
    for (size_t i = 0; i < names.size() && i < images.size(); ++i)
        packages[names[i]] = images[i];
    return packages;
}

int IndexOf(HWND dialog, const std::string& name)
{
    const std::vector<std::string> names = GetListItems(dialog, IDC_DEPLOY_PACKAGES);
    const auto found = std::find(names.begin(), names.end(), name);
    return found == names.end() ? -1 : static_cast<int>(found - names.begin());
}

// A user's left click: the cursor moves to the point (client coordinates of the
// list) and the button goes down and up there. The list handles the messages
// once the test's step has returned to the dialog's message loop.
void ClickListAt(HWND dialog, POINT client)
{
    HWND list = ::GetDlgItem(dialog, IDC_DEPLOY_PACKAGES);
    POINT screen = client;
    ::ClientToScreen(list, &screen);
    ::SetCursorPos(screen.x, screen.y);
    const LPARAM where = MAKELPARAM(client.x, client.y);
    ::PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, where);
    ::PostMessageA(list, WM_LBUTTONUP, 0, where);
}

POINT CentreOfItemPart(HWND dialog, int item, int part)
{
    RECT rect {};
    rect.left = part;
    ::SendMessageA(::GetDlgItem(dialog, IDC_DEPLOY_PACKAGES), LVM_GETITEMRECT, static_cast<WPARAM>(item),
                   reinterpret_cast<LPARAM>(&rect));
    return POINT { (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2 };
}

void PressSpace(HWND dialog)
{
    HWND list = ::GetDlgItem(dialog, IDC_DEPLOY_PACKAGES);
    ::SetFocus(list);
    ::SendMessageA(list, WM_KEYDOWN, VK_SPACE, 0);
    ::SendMessageA(list, WM_KEYUP, VK_SPACE, 0);
}

class DeployDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(PrepareSharedImageList());
        SetProgramFolder(m_program.Path());
        m_doom3.MakeFolder("base");
        ASSERT_TRUE(cnrdeploy::ConfirmSettings(m_doom3.Path(), "base"));
    }

    // Opens the dialog and runs the steps on it; the last step should close it.
    INT_PTR Run(DialogDriver& driver)
    {
        CDeployDlg dialog;
        const INT_PTR result = dialog.DoModal();
        EXPECT_TRUE(driver.AllStepsDone());
        EXPECT_FALSE(driver.WatchdogFired());
        return result;
    }

    TempFolder m_program;
    TempFolder m_doom3;
};

TEST_F(DeployDlgTest, ListsPackageFilesWithKnownOnesMarkedAndTheModFolderAsDestination)
{
    m_program.MakeFile("ZDOOMTEX.PK4", "a");
    m_program.MakeFile("zdoomtex2.pk4", "b");
    m_program.MakeFile("zdoomdefsdoom.pk4", "c");
    m_program.MakeFile("readme.txt");
    m_program.MakeFolder("folder.pk4");

    std::map<std::string, int> packages;
    std::vector<std::string> destination;
    std::vector<int> destinationImages;
    std::vector<int> destinationSelection;
    DWORD destinationStyle = 0;
    HICON arrow = nullptr;
    DialogDriver driver;
    driver.Then(kCaption, [&](HWND dialog) {
        packages = ListedPackages(dialog);
        destination = GetListItems(dialog, IDC_DEPLOY_DESTINATION);
        destinationImages = GetListImages(dialog, IDC_DEPLOY_DESTINATION);
        destinationSelection = GetListSelection(dialog, IDC_DEPLOY_DESTINATION);
        destinationStyle = GetControlStyle(dialog, IDC_DEPLOY_DESTINATION);
        for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            if ((::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
                arrow = reinterpret_cast<HICON>(::SendMessageA(child, STM_GETICON, 0, 0));
        }
        PostCommand(dialog, IDCANCEL);
    });
    EXPECT_EQ(Run(driver), IDCANCEL);

    const std::map<std::string, int> expected { { "ZDOOMTEX.PK4", 5 }, { "zdoomtex2.pk4", 4 }, { "zdoomdefsdoom.pk4", 5 } };
    EXPECT_EQ(packages, expected);
    EXPECT_EQ(destination, std::vector<std::string> { "base" });
    EXPECT_EQ(destinationImages, std::vector<int> { 3 });
    EXPECT_EQ(destinationSelection, std::vector<int> { 0 });
    EXPECT_NE(destinationStyle & WS_DISABLED, 0u);
    EXPECT_NE(arrow, nullptr);
}

TEST_F(DeployDlgTest, AClickOnTheBoxFlipsTheMarkAndAClickOnTheNameDoesNot)
{
    m_program.MakeFile("zdoomtex.pk4");
    std::vector<int> images;
    DialogDriver driver;
    driver.Then(kCaption, [&](HWND dialog) { ClickListAt(dialog, CentreOfItemPart(dialog, 0, LVIR_ICON)); })
        .Then(kCaption, [&](HWND dialog) {
            images.push_back(GetListItemImage(dialog, IDC_DEPLOY_PACKAGES, 0));
            ClickListAt(dialog, CentreOfItemPart(dialog, 0, LVIR_LABEL));
        })
        .Then(kCaption, [&](HWND dialog) {
            images.push_back(GetListItemImage(dialog, IDC_DEPLOY_PACKAGES, 0));
            ClickListAt(dialog, CentreOfItemPart(dialog, 0, LVIR_ICON));
        })
        .Then(kCaption, [&](HWND dialog) {
            images.push_back(GetListItemImage(dialog, IDC_DEPLOY_PACKAGES, 0));
            PostCommand(dialog, IDCANCEL);
        });
    Run(driver);
    EXPECT_EQ(images, (std::vector<int> { 4, 4, 5 }));
}

TEST_F(DeployDlgTest, SpaceFlipsTheFocusedPackageAndTwiceRestoresIt)
{
    m_program.MakeFile("other.pk4");
    m_program.MakeFile("ztnttex.pk4");
    std::vector<int> otherImages;
    int tntImage = -1;
    DialogDriver driver;
    driver.Then(kCaption, [&](HWND dialog) {
        const int other = IndexOf(dialog, "other.pk4");
        SelectListItem(dialog, IDC_DEPLOY_PACKAGES, other);
        PressSpace(dialog);
        otherImages.push_back(GetListItemImage(dialog, IDC_DEPLOY_PACKAGES, other));
        PressSpace(dialog);
        otherImages.push_back(GetListItemImage(dialog, IDC_DEPLOY_PACKAGES, other));
        ::SendMessageA(::GetDlgItem(dialog, IDC_DEPLOY_PACKAGES), WM_KEYDOWN, 'A', 0);
        otherImages.push_back(GetListItemImage(dialog, IDC_DEPLOY_PACKAGES, other));
        tntImage = GetListItemImage(dialog, IDC_DEPLOY_PACKAGES, IndexOf(dialog, "ztnttex.pk4"));
        PostCommand(dialog, IDCANCEL);
    });
    Run(driver);
    EXPECT_EQ(otherImages, (std::vector<int> { 5, 4, 4 }));
    EXPECT_EQ(tntImage, 5);
}

TEST_F(DeployDlgTest, CopyNowCopiesTheMarkedPackagesIntoTheModFolderAndStaysOpen)
{
    m_program.MakeFile("zdoomtex.pk4", "textures");
    m_program.MakeFile("ztnttex.pk4", "tnt textures");
    m_program.MakeFile("extra.pk4", "extra");
    m_program.MakeFile("skipped.pk4", "skipped");
    bool openAfterCopy = false;
    DialogDriver driver;
    driver.Then(kCaption, [&](HWND dialog) {
        SelectListItem(dialog, IDC_DEPLOY_PACKAGES, IndexOf(dialog, "extra.pk4"));
        PressSpace(dialog);
        ClickButton(dialog, IDOK);
        openAfterCopy = ::IsWindowVisible(dialog) != FALSE;
        PostCommand(dialog, IDCANCEL);
    });
    EXPECT_EQ(Run(driver), IDCANCEL);
    EXPECT_TRUE(openAfterCopy);
    EXPECT_TRUE(driver.MessageBoxes().empty());
    EXPECT_EQ(ReadFileBytes(m_doom3.Join("base\\zdoomtex.pk4")), "textures");
    EXPECT_EQ(ReadFileBytes(m_doom3.Join("base\\ztnttex.pk4")), "tnt textures");
    EXPECT_EQ(ReadFileBytes(m_doom3.Join("base\\extra.pk4")), "extra");
    EXPECT_FALSE(FileExists(m_doom3.Join("base\\skipped.pk4")));
}

TEST_F(DeployDlgTest, OnePackageGoesIntoAModFolderThatVanishedSinceConfiguration)
{
    m_program.MakeFile("zdoomtex.pk4", "textures");
    ASSERT_TRUE(RemoveTree(m_doom3.Join("base")));
    DialogDriver driver;
    driver.Then(kCaption, [&](HWND dialog) {
        ClickButton(dialog, IDOK);
        PostCommand(dialog, IDCANCEL);
    });
    Run(driver);
    ASSERT_TRUE(FolderExists(m_doom3.Join("base")));
    EXPECT_EQ(ReadFileBytes(m_doom3.Join("base\\zdoomtex.pk4")), "textures");
}

TEST_F(DeployDlgTest, CopyNowDoesNothingWithoutMarkedPackages)
{
    m_program.MakeFile("other.pk4");
    bool openAfterCopy = false;
    DialogDriver driver;
    driver.Then(kCaption, [&](HWND dialog) {
        ClickButton(dialog, IDOK);
        openAfterCopy = ::IsWindowVisible(dialog) != FALSE;
        PostCommand(dialog, IDCANCEL);
    });
    Run(driver);
    EXPECT_TRUE(openAfterCopy);
    EXPECT_FALSE(FileExists(m_doom3.Join("base\\other.pk4")));
    EXPECT_TRUE(driver.MessageBoxes().empty());
}

TEST_F(DeployDlgTest, WithoutADoom3FolderThereIsNoDestinationAndNothingIsCopied)
{
    ASSERT_TRUE(cnrdeploy::ConfirmSettings("", ""));
    m_program.MakeFile("zdoomtex.pk4");
    std::vector<std::string> destination { "not read" };
    bool openAfterCopy = false;
    DialogDriver driver;
    driver.Then(kCaption, [&](HWND dialog) {
        destination = GetListItems(dialog, IDC_DEPLOY_DESTINATION);
        ClickButton(dialog, IDOK);
        openAfterCopy = ::IsWindowVisible(dialog) != FALSE;
        PostCommand(dialog, IDCANCEL);
    });
    Run(driver);
    EXPECT_TRUE(destination.empty());
    EXPECT_TRUE(openAfterCopy);
    EXPECT_TRUE(driver.MessageBoxes().empty());
    EXPECT_TRUE(driver.Confirmations().empty());
}

TEST_F(DeployDlgTest, WithoutAModFolderTheDestinationIsTheUnnamedEntry)
{
    // Configuration confirmed with no MOD folder selected: the entry is there,
    // empty, and the copy goes to the DOOM 3 folder joined with that empty name.
    ASSERT_TRUE(cnrdeploy::ConfirmSettings(m_doom3.Path(), ""));
    std::vector<std::string> destination;
    DialogDriver driver;
    driver.Then(kCaption, [&](HWND dialog) {
        destination = GetListItems(dialog, IDC_DEPLOY_DESTINATION);
        PostCommand(dialog, IDCANCEL);
    });
    Run(driver);
    EXPECT_EQ(destination, std::vector<std::string> { "" });
}

} // namespace
