#include <gtest/gtest.h>

#include <ole2.h>

#include <string>
#include <vector>

#include "DialogControls.h"
#include "DialogDriver.h"
#include "TestFiles.h"
#include "TestGlobals.h"
#include "WideText.h"
#include "app/External.h"

using namespace testsupport;

namespace {

// A string argument as a script passes it.
struct CBstrArgument {
    explicit CBstrArgument(const wchar_t* text)
    {
        ::VariantInit(&value);
        value.vt = VT_BSTR;
        value.bstrVal = ::SysAllocString(text);
    }
    ~CBstrArgument() { ::VariantClear(&value); }
    CBstrArgument(const CBstrArgument&) = delete;
    CBstrArgument& operator=(const CBstrArgument&) = delete;
    VARIANT value;
};

class ExternalTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(PrepareSharedImageList());
        SetProgramFolder(m_program.Path());
        m_dispatch = m_external.GetIDispatch(false);
    }

    HRESULT IdOf(const wchar_t* name, DISPID* id)
    {
        LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
        return m_dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, id);
    }

    // Calls a method as a script does; the result in *result.
    HRESULT Call(DISPID id, std::vector<VARIANT> argumentsLastFirst, VARIANT* result)
    {
        DISPPARAMS params {};
        params.cArgs = static_cast<UINT>(argumentsLastFirst.size());
        params.rgvarg = argumentsLastFirst.empty() ? nullptr : argumentsLastFirst.data();
        ::VariantInit(result);
        UINT argumentError = 0;
        return m_dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, result, nullptr,
                                  &argumentError);
    }

    // Runs the method while the driver closes its dialog with the given button.
    VARIANT CallClosing(const wchar_t* name, const char* caption, int button, bool* dialogSeen)
    {
        DISPID id = 0;
        EXPECT_EQ(IdOf(name, &id), S_OK);
        DialogDriver driver;
        driver.Then(caption, [button](HWND dialog) { PostCommand(dialog, button); });
        VARIANT result;
        EXPECT_EQ(Call(id, {}, &result), S_OK);
        *dialogSeen = driver.AllStepsDone() && !driver.WatchdogFired();
        return result;
    }

    TempFolder m_program;
    CExternal m_external;
    IDispatch* m_dispatch = nullptr;
};

TEST_F(ExternalTest, DispatchIdsFollowTheTableOrder)
{
    const wchar_t* names[] = {L"Configure", L"Convert_texture", L"Convert_wad", L"Convert_map", L"Copy_pk4",
                              L"Copy_compile_run"};
    for (DISPID expected = 1; expected <= 6; ++expected) {
        DISPID id = 0;
        EXPECT_EQ(IdOf(names[expected - 1], &id), S_OK);
        EXPECT_EQ(id, expected) << NarrowFromWide(names[expected - 1]).GetString();
    }
}

TEST_F(ExternalTest, NamesMatchWithoutRegardToCase)
{
    DISPID id = 0;
    EXPECT_EQ(IdOf(L"configure", &id), S_OK);
    EXPECT_EQ(id, 1);
    EXPECT_EQ(IdOf(L"COPY_COMPILE_RUN", &id), S_OK);
    EXPECT_EQ(id, 6);
}

TEST_F(ExternalTest, UnknownNameIsTheStandardError)
{
    DISPID id = 0;
    EXPECT_EQ(IdOf(L"Convert", &id), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(id, DISPID_UNKNOWN);
    EXPECT_EQ(IdOf(L"", &id), DISP_E_UNKNOWNNAME);
    VARIANT result;
    EXPECT_EQ(Call(7, {}, &result), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(Call(0, {}, &result), DISP_E_MEMBERNOTFOUND);
}

TEST_F(ExternalTest, AnswersItsInterfaceIdWithTheDispatchInterface)
{
    IUnknown* unknown = nullptr;
    ASSERT_EQ(m_dispatch->QueryInterface(IID_IExternal, reinterpret_cast<void**>(&unknown)), S_OK);
    EXPECT_EQ(unknown, m_dispatch);
    unknown->Release();
    ASSERT_EQ(m_dispatch->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
    EXPECT_EQ(unknown, m_dispatch);
    unknown->Release();
    EXPECT_EQ(m_dispatch->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&unknown)), E_NOINTERFACE);
    EXPECT_EQ(unknown, nullptr);
}

TEST_F(ExternalTest, ThePagesReferencesComeAndGoOnTopOfItsOwn)
{
    EXPECT_EQ(m_external.GetRefCount(), 1u);
    IDispatch* held = m_external.GetIDispatch(true);
    EXPECT_EQ(held, m_dispatch);
    EXPECT_EQ(m_external.GetRefCount(), 2u);
    EXPECT_EQ(held->AddRef(), 3u);
    EXPECT_EQ(held->Release(), 2u);
    EXPECT_EQ(held->Release(), 1u);
    EXPECT_EQ(m_external.GetRefCount(), 1u);
}

TEST_F(ExternalTest, ConfigureIsTrueAfterOkAndFalseAfterCancel)
{
    bool seen = false;
    VARIANT result = CallClosing(L"configure", "Configuration", IDCANCEL, &seen);
    EXPECT_TRUE(seen);
    EXPECT_EQ(result.vt, VT_BOOL);
    EXPECT_EQ(result.boolVal, VARIANT_FALSE);

    result = CallClosing(L"Configure", "Configuration", IDOK, &seen);
    EXPECT_TRUE(seen);
    EXPECT_EQ(result.vt, VT_BOOL);
    EXPECT_EQ(result.boolVal, VARIANT_TRUE);
}

TEST_F(ExternalTest, DialogCommandsAreTrueWhateverTheDialogEndsWith)
{
    struct Command {
        const wchar_t* name;
        const char* caption;
    };
    const Command commands[] = {
        {L"Convert_wad", "DOOM .wad conversion"},
        {L"Convert_map", "Convert DOOM map"},
        {L"Copy_pk4", "Deploy pk4 pack files"},
        {L"Copy_compile_run", "Copy/Compile/Run"},
    };
    for (const Command& command : commands) {
        bool seen = false;
        const VARIANT result = CallClosing(command.name, command.caption, IDCANCEL, &seen);
        EXPECT_TRUE(seen) << command.caption;
        EXPECT_EQ(result.vt, VT_BOOL) << command.caption;
        EXPECT_EQ(result.boolVal, VARIANT_TRUE) << command.caption;
    }
}

TEST_F(ExternalTest, ConvertTextureIsFalseWhenTheFileChoiceIsCancelled)
{
    CBstrArgument name(L"doom.wad");
    DialogDriver driver;
    driver.Then("Open", [](HWND dialog) { PostCommand(dialog, IDCANCEL); });
    VARIANT result;
    EXPECT_EQ(Call(2, {name.value}, &result), S_OK);
    EXPECT_TRUE(driver.AllStepsDone());
    EXPECT_EQ(result.vt, VT_BOOL);
    EXPECT_EQ(result.boolVal, VARIANT_FALSE);
}

TEST_F(ExternalTest, WrongArgumentCountIsRefusedBeforeAnyDialog)
{
    VARIANT result;
    EXPECT_EQ(Call(2, {}, &result), DISP_E_BADPARAMCOUNT);
    VARIANT extra;
    ::VariantInit(&extra);
    extra.vt = VT_I4;
    extra.lVal = 1;
    EXPECT_EQ(Call(1, {extra}, &result), DISP_E_BADPARAMCOUNT);
}

}  // namespace
