// CCmdTarget: an object that scripts can call through IDispatch.
//
// A derived class enables automation and lists its methods in a dispatch table,
// in order: the n-th entry gets dispatch id n (1-based). Names are matched
// without regard to case. Every method takes only string parameters (a script's
// value is converted to a string and handed over as narrow text in the active
// code page) and returns a boolean, which the script sees as VT_BOOL.
//
// Reference counting: the object starts with one reference of its own, which
// nothing releases; callers' references come and go on top of it. When the count
// would reach zero OnFinalRelease runs; the object's owner (a member, a stack
// object) still decides when it is destroyed.
//
// QueryInterface answers IUnknown, IDispatch and one more interface id chosen by
// the derived class, all with the same dispatch interface. No type library.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <functional>
#include <vector>

#include "String.h"

class CCmdTarget {
public:
    using DispatchHandler = std::function<bool(const std::vector<CString>& arguments)>;

    CCmdTarget();
    virtual ~CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;

    // The dispatch interface; with addRef the caller receives a reference of its own.
    IDispatch* GetIDispatch(bool addRef);

    ULONG InternalAddRef();
    ULONG InternalRelease();
    // The current reference count (1 when nobody else holds the object).
    ULONG GetRefCount() const { return m_dwRef; }

protected:
    // Lets scripts reach the object; extraInterface is answered like IDispatch.
    void EnableAutomation(const IID& extraInterface = IID_IDispatch);
    // Appends a method to the dispatch table; its dispatch id is the new table size.
    void AddDispatchMethod(const char* name, UINT parameterCount, DispatchHandler handler);

    // Runs when the last reference is released; the base does nothing.
    virtual void OnFinalRelease() {}

private:
    struct DispatchEntry {
        CString name;
        UINT parameterCount;
        DispatchHandler handler;
    };

    // The COM face of the object; every call forwards to the command target.
    class XDispatch : public IDispatch {
    public:
        explicit XDispatch(CCmdTarget& owner) : m_owner(owner) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
        ULONG STDMETHODCALLTYPE AddRef() override { return m_owner.InternalAddRef(); }
        ULONG STDMETHODCALLTYPE Release() override { return m_owner.InternalRelease(); }
        HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
        HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
        HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override;
        HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                         VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

    private:
        CCmdTarget& m_owner;
    };

    HRESULT FindDispatchId(const wchar_t* name, DISPID* id) const;
    HRESULT InvokeMethod(DISPID id, WORD flags, const DISPPARAMS* params, VARIANT* result, UINT* argumentError);

    XDispatch m_xDispatch;
    ULONG m_dwRef = 1;
    bool m_bAutomationEnabled = false;
    IID m_extraInterface = IID_IDispatch;
    std::vector<DispatchEntry> m_dispatchTable;
};
