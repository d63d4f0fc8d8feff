// CWnd: a borrowed window handle with one-line calls on it.
//
// Never creates or destroys the window; whoever created it destroys it. Copying
// copies the handle only. Methods return what the Win32 call returns, as bool
// where the call answers yes or no, and never show anything.
#pragma once

#include <windows.h>

#include "String.h"

class CWnd {
public:
    CWnd() = default;
    explicit CWnd(HWND hWnd) : m_hWnd(hWnd) {}
    virtual ~CWnd() = default;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }
    void Attach(HWND hWnd) { m_hWnd = hWnd; }
    HWND Detach() { HWND hWnd = m_hWnd; m_hWnd = nullptr; return hWnd; }

    bool IsWindow() const { return ::IsWindow(m_hWnd) != FALSE; }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const { return ::SendMessageA(m_hWnd, message, wParam, lParam); }
    bool PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const { return ::PostMessageA(m_hWnd, message, wParam, lParam) != FALSE; }

    void SetWindowText(const char* text) const { ::SetWindowTextA(m_hWnd, text); }
    CString GetWindowText() const;
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    bool EnableWindow(bool enable = true) const { return ::EnableWindow(m_hWnd, enable ? TRUE : FALSE) != FALSE; }
    bool ShowWindow(int command) const { return ::ShowWindow(m_hWnd, command) != FALSE; }
    bool UpdateWindow() const { return ::UpdateWindow(m_hWnd) != FALSE; }
    HWND SetFocus() const { return ::SetFocus(m_hWnd); }
    bool GetClientRect(RECT* rect) const { return ::GetClientRect(m_hWnd, rect) != FALSE; }
    bool ScreenToClient(POINT* point) const { return ::ScreenToClient(m_hWnd, point) != FALSE; }

protected:
    HWND m_hWnd = nullptr;
};

inline CString CWnd::GetWindowText() const
{
    const int length = ::GetWindowTextLengthA(m_hWnd);
    if (length <= 0)
        return CString();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int copied = ::GetWindowTextA(m_hWnd, &text[0], length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return CString(text);
}
