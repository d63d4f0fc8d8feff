#include "FrameWnd.h"

#include "AppState.h"
#include "Application.h"
#include "DocTemplate.h"
#include "Document.h"
#include "View.h"

namespace {

constexpr UINT kIdNextPane = 57680;
constexpr UINT kIdPrevPane = 57681;

}  // namespace

CFrameWnd::CFrameWnd() = default;

CFrameWnd::~CFrameWnd()
{
    // The view window goes with the frame window; destroy the window while the
    // view object still exists.
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
}

bool CFrameWnd::LoadFrame(UINT resourceId, DWORD style, CCreateContext* context)
{
    const HINSTANCE instance = ::GetModuleHandleA(nullptr);
    CString docString;
    docString.LoadString(resourceId);
    m_strTitle = CSingleDocTemplate::ExtractDocString(docString, CSingleDocTemplate::windowTitle);

    HMENU menu = ::LoadMenuA(instance, MAKEINTRESOURCEA(resourceId));
    CREATESTRUCTA cs {};
    cs.style = static_cast<LONG>(style);
    cs.x = CW_USEDEFAULT;
    cs.y = CW_USEDEFAULT;
    cs.cx = CW_USEDEFAULT;
    cs.cy = CW_USEDEFAULT;
    cs.hMenu = menu;
    cs.hInstance = instance;
    cs.lpszName = m_strTitle;
    if (!PreCreateWindow(cs)) {
        if (menu)
            ::DestroyMenu(menu);
        return false;
    }
    m_bAddToTitle = (cs.style & FWS_ADDTOTITLE) != 0;
    // The bit is ours, not the window manager's.
    cs.style &= ~static_cast<LONG>(FWS_ADDTOTITLE);

    m_hAccel = ::LoadAcceleratorsA(instance, MAKEINTRESOURCEA(resourceId));
    m_pCreateContext = context;
    const bool created = CreateFromStruct(cs);
    m_pCreateContext = nullptr;
    if (!created) {
        // A window that failed in WM_CREATE has already taken its menu with it.
        if (menu && ::IsMenu(menu))
            ::DestroyMenu(menu);
        return false;
    }

    const int bigSize = ::GetSystemMetrics(SM_CXICON);
    const int smallSize = ::GetSystemMetrics(SM_CXSMICON);
    if (HANDLE big = ::LoadImageA(instance, MAKEINTRESOURCEA(resourceId), IMAGE_ICON, bigSize, bigSize, LR_SHARED))
        SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    if (HANDLE small = ::LoadImageA(instance, MAKEINTRESOURCEA(resourceId), IMAGE_ICON, smallSize, smallSize, LR_SHARED))
        SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    return true;
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCTA&)
{
    return TRUE;
}

BOOL CFrameWnd::PreTranslateMessage(MSG* msg)
{
    if (!m_hWnd || !msg->hwnd)
        return FALSE;
    if (m_pView && m_pView->GetSafeHwnd()
        && (msg->hwnd == m_pView->GetSafeHwnd() || ::IsChild(m_pView->GetSafeHwnd(), msg->hwnd))
        && m_pView->PreTranslateMessage(msg))
        return TRUE;
    if (m_hAccel && (msg->hwnd == m_hWnd || ::IsChild(m_hWnd, msg->hwnd)))
        return ::TranslateAcceleratorA(m_hWnd, m_hAccel, msg) ? TRUE : FALSE;
    return FALSE;
}

void CFrameWnd::InitialUpdateFrame(CDocument* document, bool makeVisible)
{
    m_pDocument = document;
    if (m_pView) {
        m_pView->OnInitialUpdate();
        // A page load may have ended the program's window meanwhile.
        if (!m_hWnd)
            return;
    }
    OnUpdateFrameTitle();
    if (makeVisible) {
        CWinApp* app = AfxGetApp();
        ShowWindow(IsMainWindow() && app ? app->m_nCmdShow : SW_SHOW);
        if (m_pView && m_pView->GetSafeHwnd())
            ::SetFocus(m_pView->GetSafeHwnd());
    }
}

void CFrameWnd::OnUpdateFrameTitle()
{
    if (!m_hWnd)
        return;
    if (m_bAddToTitle && m_pDocument)
        SetWindowText(m_pDocument->GetTitle() + " - " + m_strTitle);
    else
        SetWindowText(m_strTitle);
}

bool CFrameWnd::OnCreateClient(CCreateContext* context)
{
    if (!context || !context->createView)
        return true;  // a frame without a view
    m_pView = context->createView();
    if (!m_pView)
        return false;
    RECT client {};
    GetClientRect(&client);
    if (!m_pView->Create(m_hWnd, client, context->document)) {
        m_pView.reset();
        return false;
    }
    return true;
}

bool CFrameWnd::OnCommand(UINT id)
{
    if (id == kIdNextPane || id == kIdPrevPane) {
        // One pane only: both keys bring the focus back to it.
        if (m_pView && m_pView->GetSafeHwnd())
            ::SetFocus(m_pView->GetSafeHwnd());
        return true;
    }
    return false;
}

void CFrameWnd::RecalcLayout()
{
    if (!m_pView || !m_pView->GetSafeHwnd())
        return;
    RECT client {};
    GetClientRect(&client);
    ::MoveWindow(m_pView->GetSafeHwnd(), 0, 0, client.right - client.left, client.bottom - client.top, TRUE);
}

bool CFrameWnd::IsMainWindow() const
{
    return m_hWnd && AfxGetMainWnd() == m_hWnd;
}

LRESULT CFrameWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        if (!AfxGetMainWnd()) {
            AfxSetMainWnd(m_hWnd);
            if (CWinApp* app = AfxGetApp())
                app->m_pMainWnd = this;
        }
        if (!OnCreateClient(m_pCreateContext))
            return -1;
        return 0;
    case WM_SIZE:
        RecalcLayout();
        return 0;
    case WM_SETFOCUS:
        if (m_pView && m_pView->GetSafeHwnd())
            ::SetFocus(m_pView->GetSafeHwnd());
        return 0;
    case WM_COMMAND:
        // Only menu items and accelerators (no control handle) are routed.
        if (lParam == 0) {
            const UINT id = LOWORD(wParam);
            if (m_pView && m_pView->OnCommand(id))
                return 0;
            if (OnCommand(id))
                return 0;
            if (CWinApp* app = AfxGetApp(); app && app->OnCommand(id))
                return 0;
        }
        break;
    case WM_CLOSE:
        // Nothing to save: closing is immediate.
        ::DestroyWindow(m_hWnd);
        return 0;
    case WM_DESTROY:
        if (IsMainWindow())
            ::PostQuitMessage(0);
        break;
    case WM_NCDESTROY:
        if (IsMainWindow()) {
            AfxSetMainWnd(nullptr);
            if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd == this)
                app->m_pMainWnd = nullptr;
        }
        break;
    default:
        break;
    }
    return CWindowImpl::WindowProc(message, wParam, lParam);
}
