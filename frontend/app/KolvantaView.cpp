#include "KolvantaView.h"

#include "AppGlobals.h"
#include "AppState.h"
#include "Paths.h"
#include "resource.h"

bool IsScriptCommandAddress(const char* url, UINT codePage)
{
    if (!url || !*url)
        return false;
    const int length = lstrlenA(url);
    return FindLastCharInCodePage(url, '#', codePage) == length - 1;
}

CKolvantaView::CKolvantaView() = default;

CKolvantaView::~CKolvantaView() = default;

std::unique_ptr<CView> CKolvantaView::CreateObject()
{
    return std::make_unique<CKolvantaView>();
}

BOOL CKolvantaView::PreCreateWindow(CREATESTRUCTA& cs)
{
    return CHtmlView::PreCreateWindow(cs);
}

void CKolvantaView::OnInitialUpdate()
{
    CHtmlView::OnInitialUpdate();
    const CString address = JoinPath(g_strProgramFolder, "core/new_page_1.htm");
    if (FAILED(Navigate2(address, 0, nullptr, nullptr, nullptr, 0)))
        ShowCommandPanel();
}

HRESULT CKolvantaView::OnGetExternal(IDispatch** dispatch)
{
    if (!dispatch)
        return E_POINTER;
    *dispatch = m_external.GetIDispatch(true);
    return S_OK;
}

void CKolvantaView::OnBeforeNavigate2(const char* url, DWORD flags, const char* targetFrameName,
                                      const std::vector<BYTE>& postedData, const char* headers, BOOL* cancel)
{
    CHtmlView::OnBeforeNavigate2(url, flags, targetFrameName, postedData, headers, cancel);
    if (cancel && IsScriptCommandAddress(url))
        *cancel = TRUE;
}

void CKolvantaView::OnDocumentComplete(const char* url)
{
    CHtmlView::OnDocumentComplete(url);
    if (!url || !*url) {
        AfxMessageBox(IDS_MISSING_FILES, MB_ICONEXCLAMATION | MB_OK);
        ::PostQuitMessage(1);
    }
}

BOOL CKolvantaView::PreTranslateMessage(MSG* msg)
{
    if (m_pCommandPanel)
        return m_pCommandPanel->PreTranslateMessage(msg);
    return CHtmlView::PreTranslateMessage(msg);
}

void CKolvantaView::OnSize(UINT type, int cx, int cy)
{
    CHtmlView::OnSize(type, cx, cy);
    if (m_pCommandPanel && m_pCommandPanel->GetSafeHwnd())
        ::MoveWindow(m_pCommandPanel->GetSafeHwnd(), 0, 0, cx, cy, TRUE);
}

void CKolvantaView::OnSetFocus()
{
    if (m_pCommandPanel && m_pCommandPanel->GetSafeHwnd())
        m_pCommandPanel->FocusFirstCommand();
    else
        CHtmlView::OnSetFocus();
}

void CKolvantaView::ShowCommandPanel()
{
    if (m_pCommandPanel)
        return;
    // The control could not show anything; it goes so the panel has the view alone.
    CloseBrowser();
    auto panel = std::make_unique<CCommandPanel>(m_external);
    RECT client {};
    GetClientRect(&client);
    if (panel->Create(m_hWnd, client))
        m_pCommandPanel = std::move(panel);
}
