// CHtmlView: a view that shows web pages in the platform web-browser control.
//
// The control is created with the view window and released when that window is
// destroyed. If it cannot be created, or the system has no HTML engine for it
// to show pages with, the view still exists, empty, and Navigate2 fails; a
// derived view can then show something else.
// Keyboard messages for the page pass through the control's in-place active
// object first, so Tab and the page's own accelerators work.
//
// Handlers a derived view overrides (all run on the user-interface thread):
// - OnGetExternal: a script touched window.external; return the object with a
//   reference for the caller. The base has none (E_NOTIMPL).
// - OnBeforeNavigate2: before each navigation; set *cancel to TRUE to stop it.
// - OnDocumentComplete: a page (or frame) finished loading, with its address.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <vector>

#include "ComPtr.h"
#include "View.h"

class CBrowserHost;

class CHtmlView : public CView {
public:
    CHtmlView();
    ~CHtmlView() override;

    // Loads an address (a URL or a local path); what the control answered, E_FAIL
    // when there is no control.
    HRESULT Navigate2(const char* url, DWORD flags = 0, const char* targetFrameName = nullptr,
                      const char* headers = nullptr, const void* postedData = nullptr, DWORD postedDataLength = 0);
    bool HasBrowser() const;
    // Whether the system can render HTML at all (its HTML document object exists).
    static bool IsHtmlEngineAvailable();
    // Releases the control early (the view stays, empty); Navigate2 then fails.
    void CloseBrowser();

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void OnInitialUpdate() override;
    BOOL PreTranslateMessage(MSG* msg) override;

    virtual HRESULT OnGetExternal(IDispatch** dispatch);
    virtual void OnBeforeNavigate2(const char* url, DWORD flags, const char* targetFrameName,
                                   const std::vector<BYTE>& postedData, const char* headers, BOOL* cancel);
    virtual void OnDocumentComplete(const char* url);

protected:
    int OnCreate() override;
    void OnDestroy() override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnSetFocus() override;

private:
    CComPtr<CBrowserHost> m_host;
};
