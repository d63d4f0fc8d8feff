// CWindowImpl: a window of a class registered by the framework whose messages go
// to the object's virtual WindowProc.
//
// The object is stored with the window at WM_NCCREATE and forgotten at
// WM_NCDESTROY, after which the handle is null again. The object owns the window
// it created: if the window still exists when the object is destroyed, it is
// destroyed too, with the object already detached (no handler runs then).
#pragma once

#include <windows.h>

#include "Window.h"

class CWindowImpl : public CWnd {
public:
    CWindowImpl() = default;
    ~CWindowImpl() override;
    CWindowImpl(const CWindowImpl&) = delete;
    CWindowImpl& operator=(const CWindowImpl&) = delete;

    // Registers (once per process) the window class every CWindowImpl uses:
    // redrawn on resize, arrow cursor, dialog-coloured background.
    static const char* RegisterWindowClass();

    // CreateWindowExA on the framework's class (cs.lpszClass and lpCreateParams
    // are not used: the latter carries the object). False when creation fails.
    bool CreateFromStruct(const CREATESTRUCTA& cs);

    // The object behind a window created here, or null.
    static CWindowImpl* FromHandle(HWND hWnd);

protected:
    // Handles one message; the base passes it to DefWindowProcA.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) { return ::DefWindowProcA(m_hWnd, message, wParam, lParam); }

private:
    static LRESULT CALLBACK StaticWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
};
