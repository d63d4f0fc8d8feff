#include <gtest/gtest.h>

#include "AppState.h"
#include "DataExchange.h"
#include "Dialog.h"
#include "DialogControls.h"
#include "DialogDriver.h"
#include "resource.h"

using namespace testsupport;

namespace {

// A parent window holding an edit (1000) and a check box (1001), enough for
// data exchange without a modal loop.
class ControlHost {
public:
    ControlHost()
    {
        m_parent = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
        ::CreateWindowExA(0, "EDIT", "", WS_CHILD | ES_AUTOHSCROLL, 0, 0, 100, 20, m_parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(1000)), nullptr, nullptr);
        ::CreateWindowExA(0, "BUTTON", "", WS_CHILD | BS_AUTOCHECKBOX, 0, 30, 100, 20, m_parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(1001)), nullptr, nullptr);
    }
    ~ControlHost() { ::DestroyWindow(m_parent); }
    HWND Get() const { return m_parent; }

private:
    HWND m_parent;
};

class ExchangeDialog : public CDialog {
public:
    ExchangeDialog() : CDialog(IDD_ABOUTBOX) {}
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, 1000, m_strText);
        DDX_Check(pDX, 1001, m_bChecked);
        DDX_Control(pDX, m_nControlId, m_edit);
    }
    using CWnd::Attach;

    CString m_strText;
    BOOL m_bChecked = FALSE;
    int m_nControlId = 1000;
    CWnd m_edit;
};

TEST(DataExchange, RoundTripsTextAndCheck)
{
    ControlHost host;
    ExchangeDialog dialog;
    dialog.Attach(host.Get());
    dialog.m_strText = "C:\\Games\\Doom 3";
    dialog.m_bChecked = TRUE;
    ASSERT_TRUE(dialog.UpdateData(false));
    EXPECT_EQ(GetItemText(host.Get(), 1000), "C:\\Games\\Doom 3");
    EXPECT_TRUE(IsChecked(host.Get(), 1001));
    EXPECT_EQ(dialog.m_edit.GetSafeHwnd(), ::GetDlgItem(host.Get(), 1000));

    SetItemText(host.Get(), 1000, "D:\\other");
    ::SendDlgItemMessageA(host.Get(), 1001, BM_SETCHECK, BST_UNCHECKED, 0);
    ASSERT_TRUE(dialog.UpdateData(true));
    EXPECT_EQ(dialog.m_strText, "D:\\other");
    EXPECT_FALSE(dialog.m_bChecked);
    dialog.Detach();
}

TEST(DataExchange, MissingControlStopsTheExchange)
{
    ControlHost host;
    ExchangeDialog dialog;
    dialog.Attach(host.Get());
    dialog.m_nControlId = 4242;
    SetItemText(host.Get(), 1000, "typed");
    EXPECT_FALSE(dialog.UpdateData(true));
    EXPECT_EQ(dialog.m_strText, "typed"); // pairs before the failure were exchanged
    EXPECT_EQ(dialog.m_edit.GetSafeHwnd(), nullptr);
    dialog.Detach();
}

class CountingDialog : public CDialog {
public:
    CountingDialog() : CDialog(IDD_ABOUTBOX) {}
    BOOL OnInitDialog() override
    {
        ++m_initCount;
        m_hWndDuringInit = m_hWnd;
        return CDialog::OnInitDialog();
    }
    int m_initCount = 0;
    HWND m_hWndDuringInit = nullptr;
};

TEST(Dialog, RunsModallyAndCanRunAgain)
{
    CountingDialog dialog;
    DialogDriver driver;
    driver.Then("About Kolvanta", [](HWND about) { ClickButton(about, IDOK); })
          .Then("About Kolvanta", [](HWND about) { ::PostMessageA(about, WM_CLOSE, 0, 0); });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL); // the close box arrives as IDCANCEL
    EXPECT_TRUE(driver.AllStepsDone());
    EXPECT_FALSE(driver.WatchdogFired());
    EXPECT_EQ(dialog.m_initCount, 2);
    EXPECT_NE(dialog.m_hWndDuringInit, nullptr);
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
}

TEST(Dialog, MissingTemplateFails)
{
    CDialog dialog(4711);
    EXPECT_EQ(dialog.DoModal(), -1);
}

TEST(AppState, MessageBoxCarriesTheApplicationTitle)
{
    EXPECT_EQ(AfxGetAppName(), "Kolvanta Rev.0");
    DialogDriver driver;
    EXPECT_EQ(AfxMessageBox("Sorry... err", MB_OK | MB_ICONERROR), IDOK);
    EXPECT_EQ(AfxMessageBox(IDS_CNR_FAILED), IDOK);
    ASSERT_EQ(driver.MessageBoxes().size(), 2u);
    EXPECT_EQ(driver.MessageBoxes()[0].caption, "Kolvanta Rev.0");
    EXPECT_EQ(driver.MessageBoxes()[0].text, "Sorry... err");
    EXPECT_EQ(driver.MessageBoxes()[0].style, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(driver.MessageBoxes()[1].text, "Sorry... err");
    EXPECT_EQ(driver.MessageBoxes()[1].style, 0u);
}

} // namespace
