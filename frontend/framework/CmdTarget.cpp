#include "CmdTarget.h"

#include "WideText.h"

#ifndef DISPID_THIS
#define DISPID_THIS (-613)
#endif

CCmdTarget::CCmdTarget() : m_xDispatch(*this) {}

IDispatch* CCmdTarget::GetIDispatch(bool addRef)
{
    if (addRef)
        InternalAddRef();
    return &m_xDispatch;
}

ULONG CCmdTarget::InternalAddRef()
{
    return ++m_dwRef;
}

ULONG CCmdTarget::InternalRelease()
{
    if (m_dwRef == 0)
        return 0;
    if (--m_dwRef == 0)
        OnFinalRelease();
    return m_dwRef;
}

void CCmdTarget::EnableAutomation(const IID& extraInterface)
{
    m_bAutomationEnabled = true;
    m_extraInterface = extraInterface;
}

void CCmdTarget::AddDispatchMethod(const char* name, UINT parameterCount, DispatchHandler handler)
{
    m_dispatchTable.push_back(DispatchEntry{CString(name), parameterCount, std::move(handler)});
}

HRESULT CCmdTarget::FindDispatchId(const wchar_t* name, DISPID* id) const
{
    const CString narrow = NarrowFromWide(name);
    for (size_t index = 0; index < m_dispatchTable.size(); ++index) {
        if (m_dispatchTable[index].name.CompareNoCase(narrow) == 0) {
            *id = static_cast<DISPID>(index + 1);
            return S_OK;
        }
    }
    *id = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
}

HRESULT CCmdTarget::InvokeMethod(DISPID id, WORD flags, const DISPPARAMS* params, VARIANT* result, UINT* argumentError)
{
    if (!m_bAutomationEnabled || id < 1 || static_cast<size_t>(id) > m_dispatchTable.size())
        return DISP_E_MEMBERNOTFOUND;
    if (!(flags & DISPATCH_METHOD))
        return DISP_E_MEMBERNOTFOUND;
    const DispatchEntry& entry = m_dispatchTable[static_cast<size_t>(id - 1)];
    // Newer script engines name the object a method is called on (DISPID_THIS);
    // that one named argument is ignored, any other is refused.
    const UINT named = params ? params->cNamedArgs : 0;
    if (params && named > params->cArgs)
        return E_INVALIDARG;
    for (UINT index = 0; index < named; ++index) {
        if (params->rgdispidNamedArgs[index] != DISPID_THIS)
            return DISP_E_NONAMEDARGS;
    }
    const UINT given = params ? params->cArgs - named : 0;
    if (given != entry.parameterCount)
        return DISP_E_BADPARAMCOUNT;

    // Positional arguments follow the named ones, last-first.
    std::vector<CString> arguments;
    for (UINT position = 0; position < given; ++position) {
        const UINT slot = named + given - 1 - position;
        VARIANT text;
        ::VariantInit(&text);
        if (FAILED(::VariantChangeType(&text, &params->rgvarg[slot], 0, VT_BSTR))) {
            if (argumentError)
                *argumentError = slot;
            return DISP_E_TYPEMISMATCH;
        }
        arguments.push_back(NarrowFromWide(text.bstrVal, static_cast<int>(::SysStringLen(text.bstrVal))));
        ::VariantClear(&text);
    }

    bool value = false;
    try {
        value = entry.handler(arguments);
    } catch (...) {
        // Nothing may unwind through the caller's COM frames.
        return DISP_E_EXCEPTION;
    }
    if (result) {
        ::VariantInit(result);
        result->vt = VT_BOOL;
        result->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CCmdTarget::XDispatch::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)
        || (m_owner.m_bAutomationEnabled && IsEqualIID(iid, m_owner.m_extraInterface))) {
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE CCmdTarget::XDispatch::GetTypeInfoCount(UINT* count)
{
    if (!count)
        return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CCmdTarget::XDispatch::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info)
        *info = nullptr;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CCmdTarget::XDispatch::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
    if (!names || !ids || count == 0)
        return E_INVALIDARG;
    HRESULT status = m_owner.m_bAutomationEnabled ? m_owner.FindDispatchId(names[0], &ids[0]) : DISP_E_UNKNOWNNAME;
    if (!m_owner.m_bAutomationEnabled)
        ids[0] = DISPID_UNKNOWN;
    // The methods take no named parameters.
    for (UINT index = 1; index < count; ++index) {
        ids[index] = DISPID_UNKNOWN;
        status = DISP_E_UNKNOWNNAME;
    }
    return status;
}

HRESULT STDMETHODCALLTYPE CCmdTarget::XDispatch::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                                        VARIANT* result, EXCEPINFO*, UINT* argumentError)
{
    return m_owner.InvokeMethod(id, flags, params, result, argumentError);
}
