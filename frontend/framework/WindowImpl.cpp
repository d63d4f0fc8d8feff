#include "WindowImpl.h"

namespace {
const char kWindowClassName[] = "KolvantaFrameworkWindow";
}

CWindowImpl::~CWindowImpl()
{
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        ::SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, 0);
        ::DestroyWindow(m_hWnd);
    }
    m_hWnd = nullptr;
}

const char* CWindowImpl::RegisterWindowClass()
{
    static const ATOM atom = [] {
        WNDCLASSEXA wc {};
        wc.cbSize = sizeof(wc);
        wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
        wc.lpfnWndProc = &CWindowImpl::StaticWindowProc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
        wc.lpszClassName = kWindowClassName;
        return ::RegisterClassExA(&wc);
    }();
    return atom ? kWindowClassName : nullptr;
}

bool CWindowImpl::CreateFromStruct(const CREATESTRUCTA& cs)
{
    const char* className = RegisterWindowClass();
    if (!className)
        return false;
    const HWND hWnd = ::CreateWindowExA(cs.dwExStyle, className, cs.lpszName, static_cast<DWORD>(cs.style),
                                        cs.x, cs.y, cs.cx, cs.cy, cs.hwndParent, cs.hMenu,
                                        cs.hInstance ? cs.hInstance : ::GetModuleHandleA(nullptr), this);
    return hWnd != nullptr;
}

CWindowImpl* CWindowImpl::FromHandle(HWND hWnd)
{
    if (!hWnd)
        return nullptr;
    char className[64] = {};
    if (!::GetClassNameA(hWnd, className, sizeof(className)) || lstrcmpA(className, kWindowClassName) != 0)
        return nullptr;
    return reinterpret_cast<CWindowImpl*>(::GetWindowLongPtrA(hWnd, GWLP_USERDATA));
}

LRESULT CWindowImpl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return Default(message, wParam, lParam);
}

LRESULT CALLBACK CWindowImpl::StaticWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        auto* window = static_cast<CWindowImpl*>(cs->lpCreateParams);
        ::SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
        if (window)
            window->m_hWnd = hWnd;
    }
    auto* window = reinterpret_cast<CWindowImpl*>(::GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (!window)
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    const LRESULT result = window->WindowProc(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hWnd, GWLP_USERDATA, 0);
        window->m_hWnd = nullptr;
    }
    return result;
}
