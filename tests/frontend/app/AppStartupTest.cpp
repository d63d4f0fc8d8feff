#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AppState.h"
#include "DialogControls.h"
#include "DialogDriver.h"
#include "FrameWnd.h"
#include "TestFiles.h"
#include "TestGlobals.h"
#include "app/KolvantaApp.h"
#include "app/KolvantaView.h"
#include "app/MainFrm.h"
#include "resource.h"

using namespace testsupport;

namespace {

std::string MenuText(HMENU menu, UINT position)
{
    char text[128] = {};
    ::GetMenuStringA(menu, position, text, sizeof(text), MF_BYPOSITION);
    return text;
}

HWND FindChildWithText(HWND parent, const std::string& text)
{
    struct Search {
        std::string text;
        HWND found;
    } search {text, nullptr};
    ::EnumChildWindows(
        parent,
        [](HWND child, LPARAM data) -> BOOL {
            auto* state = reinterpret_cast<Search*>(data);
            char buffer[256] = {};
            ::GetWindowTextA(child, buffer, sizeof(buffer));
            if (state->text == buffer) {
                state->found = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Start-up as the program runs it, in this process: the test program's folder is
// the program folder, and the browser control has no HTML engine here.
class AppStartup : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_app.InitInstance());
        ASSERT_NE(m_app.m_pMainWnd, nullptr);
        m_frame = m_app.m_pMainWnd->GetSafeHwnd();
    }

    void TearDown() override
    {
        m_app.ExitInstance();
        MSG msg;
        ::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    }

    CKolvantaView* View() const { return static_cast<CKolvantaView*>(m_app.m_pMainWnd->GetActiveView()); }

    CKolvantaApp m_app;
    HWND m_frame = nullptr;
};

TEST_F(AppStartup, MainWindowIsShownWithTheApplicationTitle)
{
    EXPECT_TRUE(::IsWindowVisible(m_frame));
    EXPECT_EQ(m_app.m_pMainWnd->GetWindowText(), "Kolvanta Rev.0");
    EXPECT_EQ(AfxGetMainWnd(), m_frame);
    m_app.OnFileNew();
    EXPECT_EQ(m_app.m_pMainWnd->GetWindowText(), "Kolvanta Rev.0");
}

TEST_F(AppStartup, MenuBarHasExitBesideTheHelpPopup)
{
    const HMENU menu = ::GetMenu(m_frame);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(::GetMenuItemCount(menu), 2);
    EXPECT_EQ(MenuText(menu, 0), "&Exit");
    EXPECT_EQ(::GetMenuItemID(menu, 0), static_cast<UINT>(ID_APP_EXIT));
    EXPECT_EQ(MenuText(menu, 1), "&Help");
    const HMENU help = ::GetSubMenu(menu, 1);
    ASSERT_NE(help, nullptr);
    ASSERT_EQ(::GetMenuItemCount(help), 1);
    EXPECT_EQ(MenuText(help, 0), "&About Kolvanta...");
    EXPECT_EQ(::GetMenuItemID(help, 0), static_cast<UINT>(ID_APP_ABOUT));
}

TEST_F(AppStartup, ProcessWideObjectsAreSet)
{
    EXPECT_EQ(std::string(g_strProgramFolder), TestProgramFolder());
    EXPECT_EQ(g_imageList.GetImageCount(), 6);
}

TEST_F(AppStartup, RegistryKeyIsTheJapaneseTextOfCodePage932)
{
    const char bytes[] =
        "\x83\x41\x83\x76\x83\x8a\x83\x50\x81\x5b\x83\x56\x83\x87\x83\x93\x20\x83\x45\x83\x42\x83\x55\x81\x5b\x83"
        "\x68\x82\xc5\x90\xb6\x90\xac\x82\xb3\x82\xea\x82\xbd\x83\x8d\x81\x5b\x83\x4a\x83\x8b\x20\x83\x41\x83\x76"
        "\x83\x8a\x83\x50\x81\x5b\x83\x56\x83\x87\x83\x93";
    wchar_t decoded[64] = {};
    ASSERT_GT(::MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes, -1, decoded, 64), 0);
    EXPECT_EQ(std::wstring(decoded), std::wstring(kRegistryKeyName));
    EXPECT_EQ(m_app.GetAppRegistryPath(), L"Software\\" + std::wstring(kRegistryKeyName) + L"\\Kolvanta Rev.0");
}

TEST_F(AppStartup, WithoutAnHtmlEngineTheCommandPanelStandsIn)
{
    ASSERT_NE(View(), nullptr);
    EXPECT_TRUE(View()->IsShowingCommandPanel());
    EXPECT_FALSE(View()->HasBrowser());
    const char* const buttons[] = {"&Configure...", "doom.wad", "doom2.wad", "tnt.wad", "plutonia.wad",
                                   "&Extract textures...", "Convert a &map...", "Copy &pk4 files...",
                                   "Copy, compile and &run..."};
    for (const char* caption : buttons)
        EXPECT_NE(FindChildWithText(m_frame, caption), nullptr) << caption;
}

TEST_F(AppStartup, PanelButtonsRunTheCommandsAndReportTheResult)
{
    const HWND configure = FindChildWithText(m_frame, "&Configure...");
    ASSERT_NE(configure, nullptr);
    const HWND panel = ::GetParent(configure);
    DialogDriver driver;
    driver.Then("Configuration", [](HWND dialog) { PostCommand(dialog, IDOK); });
    ::SendMessageA(configure, BM_CLICK, 0, 0);
    EXPECT_TRUE(driver.AllStepsDone());
    EXPECT_EQ(GetItemText(panel, CCommandPanel::kStatusId), "Settings saved.");

    driver.Then("Configuration", [](HWND dialog) { PostCommand(dialog, IDCANCEL); });
    ::SendMessageA(configure, BM_CLICK, 0, 0);
    EXPECT_TRUE(driver.AllStepsDone());
    EXPECT_EQ(GetItemText(panel, CCommandPanel::kStatusId), "Settings unchanged.");
}

TEST_F(AppStartup, AboutBoxOpensFromTheHelpMenu)
{
    DialogDriver driver;
    driver.Then("About Kolvanta", [](HWND dialog) { PostCommand(dialog, IDOK); });
    ::SendMessageA(m_frame, WM_COMMAND, ID_APP_ABOUT, 0);
    EXPECT_TRUE(driver.AllStepsDone());
    EXPECT_TRUE(::IsWindow(m_frame));
}

TEST_F(AppStartup, ExitClosesTheProgramAtOnce)
{
    ::SendMessageA(m_frame, WM_COMMAND, ID_APP_EXIT, 0);
    EXPECT_FALSE(::IsWindow(m_frame));
    EXPECT_EQ(m_app.m_pMainWnd, nullptr);
    EXPECT_EQ(AfxGetMainWnd(), nullptr);
    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 0u);
}

TEST(MainFrame, CaptionNeverCarriesTheDocumentName)
{
    CMainFrame frame;
    CREATESTRUCTA cs {};
    cs.style = static_cast<LONG>(WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE);
    ASSERT_TRUE(frame.PreCreateWindow(cs));
    EXPECT_EQ(static_cast<DWORD>(cs.style), static_cast<DWORD>(WS_OVERLAPPEDWINDOW));
}

}  // namespace
