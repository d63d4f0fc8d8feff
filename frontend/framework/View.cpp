#include "View.h"

bool CView::Create(HWND parent, const RECT& rect, CDocument* document)
{
    m_pDocument = document;
    CREATESTRUCTA cs {};
    cs.style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    cs.x = rect.left;
    cs.y = rect.top;
    cs.cx = rect.right - rect.left;
    cs.cy = rect.bottom - rect.top;
    cs.hwndParent = parent;
    cs.hMenu = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(AFX_IDW_PANE_FIRST));
    cs.hInstance = ::GetModuleHandleA(nullptr);
    if (!PreCreateWindow(cs))
        return false;
    return CreateFromStruct(cs);
}

BOOL CView::PreCreateWindow(CREATESTRUCTA&)
{
    return TRUE;
}

BOOL CView::PreTranslateMessage(MSG*)
{
    return FALSE;
}

LRESULT CView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return OnCreate();
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_SIZE:
        OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_SETFOCUS:
        OnSetFocus();
        return 0;
    default:
        break;
    }
    return CWindowImpl::WindowProc(message, wParam, lParam);
}
