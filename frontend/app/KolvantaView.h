// CKolvantaView: the main window's content: the page core/new_page_1.htm of the
// program folder in the web-browser control, with CExternal as the page's
// window.external.
//
// Navigations to an address ending in "#" are cancelled, so page links can run
// a script command without leaving the page. A page load that reports no
// address means the program's files are incomplete: message 1003, then the
// program ends with exit code 1.
// Where the browser control cannot show the page at all (no control, or the
// first navigation refused outright), the view shows CCommandPanel instead:
// the same six commands as buttons, calling the same CExternal.
#pragma once

#include <memory>

#include "CommandPanel.h"
#include "External.h"
#include "HtmlView.h"

// True when the address's last "#" (found by characters of the code page) is
// its last character: a link that only runs a script command.
bool IsScriptCommandAddress(const char* url, UINT codePage = CP_ACP);

class CKolvantaView : public CHtmlView {
public:
    CKolvantaView();
    ~CKolvantaView() override;

    static std::unique_ptr<CView> CreateObject();

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    // Loads the page; falls back to the command panel when that is refused.
    void OnInitialUpdate() override;
    // When a script touches window.external: m_external with a reference for
    // the caller (S_OK), or E_POINTER for a null out pointer.
    HRESULT OnGetExternal(IDispatch** dispatch) override;
    // Before each navigation: cancels links ending in "#".
    void OnBeforeNavigate2(const char* url, DWORD flags, const char* targetFrameName,
                           const std::vector<BYTE>& postedData, const char* headers, BOOL* cancel) override;
    // After each page load: an empty address ends the program (exit code 1).
    void OnDocumentComplete(const char* url) override;
    BOOL PreTranslateMessage(MSG* msg) override;

    CExternal& GetExternal() { return m_external; }
    bool IsShowingCommandPanel() const { return m_pCommandPanel != nullptr; }

protected:
    void OnSize(UINT type, int cx, int cy) override;
    void OnSetFocus() override;

private:
    void ShowCommandPanel();

    CExternal m_external;
    std::unique_ptr<CCommandPanel> m_pCommandPanel;
};
