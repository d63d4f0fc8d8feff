#include <gtest/gtest.h>

#include <exdispid.h>
#include <ole2.h>

#include <string>

#include "BrowserHost.h"
#include "DialogDriver.h"
#include "TestGlobals.h"
#include "app/KolvantaView.h"

using namespace testsupport;

namespace {

TEST(ScriptCommandAddress, OnlyATrailingHashCounts)
{
    EXPECT_TRUE(IsScriptCommandAddress("file:///C:/A/B/core/new_page_1.htm#"));
    EXPECT_TRUE(IsScriptCommandAddress("#"));
    EXPECT_FALSE(IsScriptCommandAddress("file:///C:/A/B/core/new_page_1.htm#top"));
    EXPECT_FALSE(IsScriptCommandAddress("file:///C:/A/B/core/new_page_1.htm"));
    EXPECT_FALSE(IsScriptCommandAddress("#top#x"));
    EXPECT_FALSE(IsScriptCommandAddress(""));
    EXPECT_FALSE(IsScriptCommandAddress(nullptr));
}

TEST(ScriptCommandAddress, StepsOverDoubleByteCharacters)
{
    // U+8868 in code page 932 is 0x95 0x5C: a double-byte character before the "#".
    EXPECT_TRUE(IsScriptCommandAddress("C:\\\x95\x5C\\page.htm#", 932));
    EXPECT_FALSE(IsScriptCommandAddress("C:\\page.htm#\x95\x5C", 932));
}

// Events delivered the way the browser control delivers them, to a view with no window.
class BrowserEvents : public ::testing::Test {
protected:
    void SetUp() override { m_host = new CBrowserHost(m_view); }
    void TearDown() override
    {
        m_host->Close();
        m_host->Release();
    }

    // BeforeNavigate2 with the address; returns the cancel flag as the control sees it.
    bool BeforeNavigate(const wchar_t* address)
    {
        VARIANT url;
        ::VariantInit(&url);
        url.vt = VT_BSTR;
        url.bstrVal = ::SysAllocString(address);
        VARIANT byRefUrl;
        ::VariantInit(&byRefUrl);
        byRefUrl.vt = VT_BYREF | VT_VARIANT;
        byRefUrl.pvarVal = &url;
        VARIANT empty;
        ::VariantInit(&empty);
        VARIANT_BOOL cancel = VARIANT_FALSE;
        VARIANT cancelArgument;
        ::VariantInit(&cancelArgument);
        cancelArgument.vt = VT_BYREF | VT_BOOL;
        cancelArgument.pboolVal = &cancel;
        VARIANT args[7] = {cancelArgument, empty, empty, empty, empty, byRefUrl, empty};
        DISPPARAMS params {args, nullptr, 7, 0};
        EXPECT_EQ(m_host->Invoke(DISPID_BEFORENAVIGATE2, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr,
                                 nullptr),
                  S_OK);
        ::VariantClear(&url);
        return cancel != VARIANT_FALSE;
    }

    void DocumentComplete(const wchar_t* address)
    {
        VARIANT url;
        ::VariantInit(&url);
        if (address) {
            url.vt = VT_BSTR;
            url.bstrVal = ::SysAllocString(address);
        }
        VARIANT byRefUrl;
        ::VariantInit(&byRefUrl);
        byRefUrl.vt = VT_BYREF | VT_VARIANT;
        byRefUrl.pvarVal = &url;
        VARIANT browser;
        ::VariantInit(&browser);
        VARIANT args[2] = {byRefUrl, browser};
        DISPPARAMS params {args, nullptr, 2, 0};
        EXPECT_EQ(m_host->Invoke(DISPID_DOCUMENTCOMPLETE, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr,
                                 nullptr),
                  S_OK);
        ::VariantClear(&url);
    }

    // The exit code of a pending quit message, or -1 when none is pending.
    static int TakeQuitCode()
    {
        MSG msg;
        if (::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
            return static_cast<int>(msg.wParam);
        return -1;
    }

    CKolvantaView m_view;
    CBrowserHost* m_host = nullptr;
};

TEST_F(BrowserEvents, NavigationToALinkEndingInHashIsCancelled)
{
    EXPECT_TRUE(BeforeNavigate(L"file:///C:/A/B/core/new_page_1.htm#"));
    EXPECT_FALSE(BeforeNavigate(L"file:///C:/A/B/core/new_page_1.htm#step-maps"));
    EXPECT_FALSE(BeforeNavigate(L"C:\\A\\B\\core/new_page_1.htm"));
}

TEST_F(BrowserEvents, LoadWithoutAddressWarnsAndQuitsWithOne)
{
    DialogDriver driver;
    DocumentComplete(L"");
    ASSERT_EQ(driver.MessageBoxes().size(), 1u);
    EXPECT_EQ(driver.MessageBoxes()[0].caption, "Kolvanta Rev.0");
    EXPECT_EQ(driver.MessageBoxes()[0].text,
              "You miss some of important files from Kolvanta archive to run this software!");
    EXPECT_EQ(driver.MessageBoxes()[0].style, static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_EQ(TakeQuitCode(), 1);

    DocumentComplete(nullptr);
    EXPECT_EQ(driver.MessageBoxes().size(), 2u);
    EXPECT_EQ(TakeQuitCode(), 1);
}

TEST_F(BrowserEvents, LoadWithAnAddressDoesNothing)
{
    DialogDriver driver;
    DocumentComplete(L"file:///C:/A/B/core/new_page_1.htm");
    EXPECT_TRUE(driver.MessageBoxes().empty());
    EXPECT_EQ(TakeQuitCode(), -1);
}

TEST_F(BrowserEvents, WindowExternalIsTheCommandObject)
{
    IDispatch* external = nullptr;
    ASSERT_EQ(m_host->GetExternal(&external), S_OK);
    EXPECT_EQ(external, m_view.GetExternal().GetIDispatch(false));
    EXPECT_EQ(m_view.GetExternal().GetRefCount(), 2u);
    external->Release();
    EXPECT_EQ(m_view.GetExternal().GetRefCount(), 1u);
}

TEST_F(BrowserEvents, NullOutPointerForTheExternalObjectIsRefused)
{
    EXPECT_EQ(m_view.OnGetExternal(nullptr), E_POINTER);
    EXPECT_EQ(m_host->GetExternal(nullptr), E_POINTER);
}

TEST_F(BrowserEvents, AfterCloseTheControlReachesNoView)
{
    m_host->Close();
    EXPECT_FALSE(BeforeNavigate(L"page.htm#"));
    IDispatch* external = reinterpret_cast<IDispatch*>(1);
    EXPECT_EQ(m_host->GetExternal(&external), E_NOTIMPL);
    EXPECT_EQ(external, nullptr);
}

}  // namespace
