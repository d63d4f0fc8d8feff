// CEdit: a borrowed edit control. Text goes through CWnd's window-text calls.
#pragma once

#include "Window.h"

class CEdit : public CWnd {
public:
    void SetReadOnly(bool readOnly = true) const { SendMessage(EM_SETREADONLY, readOnly ? TRUE : FALSE); }
    void SetSel(int start, int end) const { SendMessage(EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end)); }
    void ReplaceSel(const char* text) const { SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text)); }
};
