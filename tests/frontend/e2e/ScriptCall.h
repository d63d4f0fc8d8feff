// ScriptCall: a script method of the command object called by name through its
// dispatch interface, as the page's script calls it. Shared by the end-to-end walks.
#pragma once

#include <windows.h>
#include <oleauto.h>

namespace testsupport {

// True when the call went through; the method's boolean lands in *answer when given.
inline bool CallScript(IDispatch* dispatch, const wchar_t* name, bool* answer = nullptr)
{
    DISPID id = 0;
    LPOLESTR names[] = { const_cast<LPOLESTR>(name) };
    if (FAILED(dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id)))
        return false;
    DISPPARAMS noArguments {};
    VARIANT result;
    ::VariantInit(&result);
    const HRESULT status = dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &noArguments, &result,
                                            nullptr, nullptr);
    if (answer)
        *answer = result.vt == VT_BOOL && result.boolVal != VARIANT_FALSE;
    ::VariantClear(&result);
    return SUCCEEDED(status);
}

} // namespace testsupport
