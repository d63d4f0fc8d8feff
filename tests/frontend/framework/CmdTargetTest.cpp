#include <gtest/gtest.h>

#include <ole2.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "CmdTarget.h"

namespace {

const IID kExtraInterface = {0x11111111, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55}};

// Two methods: Echo(text) records its argument and answers whether it was
// "yes"; Fail() throws.
class RecordingTarget : public CCmdTarget {
public:
    RecordingTarget()
    {
        EnableAutomation(kExtraInterface);
        AddDispatchMethod("Echo", 1, [this](const std::vector<CString>& arguments) {
            received.push_back(arguments[0]);
            return arguments[0] == "yes";
        });
        AddDispatchMethod("Pair", 2, [this](const std::vector<CString>& arguments) {
            received = arguments;
            return true;
        });
        AddDispatchMethod("Fail", 0, [](const std::vector<CString>&) -> bool { throw std::runtime_error("boom"); });
    }

    int finalReleases = 0;
    std::vector<CString> received;

protected:
    void OnFinalRelease() override { ++finalReleases; }
};

VARIANT Text(const wchar_t* text)
{
    VARIANT value;
    ::VariantInit(&value);
    value.vt = VT_BSTR;
    value.bstrVal = ::SysAllocString(text);
    return value;
}

VARIANT Number(LONG number)
{
    VARIANT value;
    ::VariantInit(&value);
    value.vt = VT_I4;
    value.lVal = number;
    return value;
}

class CmdTargetTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (VARIANT& value : m_arguments)
            ::VariantClear(&value);
    }

    HRESULT Call(DISPID id, std::vector<VARIANT> lastFirst, VARIANT* result, std::vector<DISPID> named = {})
    {
        for (VARIANT& value : m_arguments)
            ::VariantClear(&value);
        m_arguments = lastFirst;
        DISPPARAMS params {};
        params.cArgs = static_cast<UINT>(m_arguments.size());
        params.rgvarg = m_arguments.empty() ? nullptr : m_arguments.data();
        params.cNamedArgs = static_cast<UINT>(named.size());
        params.rgdispidNamedArgs = named.empty() ? nullptr : named.data();
        ::VariantInit(result);
        return m_target.GetIDispatch(false)->Invoke(id, IID_NULL, 0, DISPATCH_METHOD | DISPATCH_PROPERTYGET, &params,
                                                    result, nullptr, nullptr);
    }

    RecordingTarget m_target;
    std::vector<VARIANT> m_arguments;
};

TEST_F(CmdTargetTest, StringArgumentsArriveAsNarrowTextInScriptOrder)
{
    VARIANT result;
    ASSERT_EQ(Call(2, {Text(L"second"), Text(L"first")}, &result), S_OK);
    ASSERT_EQ(m_target.received.size(), 2u);
    EXPECT_EQ(m_target.received[0], "first");
    EXPECT_EQ(m_target.received[1], "second");
}

TEST_F(CmdTargetTest, ResultIsABooleanVariant)
{
    VARIANT result;
    ASSERT_EQ(Call(1, {Text(L"yes")}, &result), S_OK);
    EXPECT_EQ(result.vt, VT_BOOL);
    EXPECT_EQ(result.boolVal, VARIANT_TRUE);
    ASSERT_EQ(Call(1, {Text(L"no")}, &result), S_OK);
    EXPECT_EQ(result.boolVal, VARIANT_FALSE);
}

TEST_F(CmdTargetTest, OtherValuesAreTurnedIntoText)
{
    VARIANT result;
    ASSERT_EQ(Call(1, {Number(42)}, &result), S_OK);
    ASSERT_EQ(m_target.received.size(), 1u);
    EXPECT_EQ(m_target.received[0], "42");
}

TEST_F(CmdTargetTest, TheNamedThisArgumentOfNewerScriptEnginesIsIgnored)
{
    VARIANT result;
    ASSERT_EQ(Call(1, {Number(0), Text(L"yes")}, &result, {DISPID_PROPERTYPUT}), DISP_E_NONAMEDARGS);
    ASSERT_EQ(Call(1, {Number(0), Text(L"yes")}, &result, {-613}), S_OK);
    EXPECT_EQ(result.boolVal, VARIANT_TRUE);
}

TEST_F(CmdTargetTest, AThrowingHandlerBecomesAnError)
{
    VARIANT result;
    EXPECT_EQ(Call(3, {}, &result), DISP_E_EXCEPTION);
}

TEST_F(CmdTargetTest, FinalReleaseRunsWhenTheOwnReferenceGoes)
{
    IDispatch* dispatch = m_target.GetIDispatch(true);
    dispatch->Release();
    EXPECT_EQ(m_target.finalReleases, 0);
    EXPECT_EQ(m_target.InternalRelease(), 0u);
    EXPECT_EQ(m_target.finalReleases, 1);
}

TEST_F(CmdTargetTest, WithoutAutomationNothingIsReachable)
{
    CCmdTarget plain;
    IDispatch* dispatch = plain.GetIDispatch(false);
    LPOLESTR names[] = {const_cast<LPOLESTR>(L"Echo")};
    DISPID id = 0;
    EXPECT_EQ(dispatch->GetIDsOfNames(IID_NULL, names, 1, 0, &id), DISP_E_UNKNOWNNAME);
    void* object = nullptr;
    EXPECT_EQ(dispatch->QueryInterface(kExtraInterface, &object), E_NOINTERFACE);
    EXPECT_EQ(dispatch->QueryInterface(IID_IDispatch, &object), S_OK);
    static_cast<IDispatch*>(object)->Release();
}

}  // namespace
