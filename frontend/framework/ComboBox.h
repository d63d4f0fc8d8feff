// CComboBox: a borrowed combo box. Indices are CB_ERR (-1) when absent.
#pragma once

#include "Window.h"

class CComboBox : public CWnd {
public:
    void ResetContent() const { SendMessage(CB_RESETCONTENT); }
    int AddString(const char* text) const { return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text))); }
    int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    int SetCurSel(int index) const { return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index))); }
    int GetLBTextLen(int index) const { return static_cast<int>(SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(index))); }
    // The item's text; empty when the index is out of range.
    CString GetLBText(int index) const
    {
        const int length = GetLBTextLen(index);
        if (length <= 0)
            return CString();
        std::string text(static_cast<size_t>(length) + 1, '\0');
        const int copied = static_cast<int>(SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0])));
        text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
        return CString(text);
    }
    int FindStringExact(int start, const char* text) const { return static_cast<int>(SendMessage(CB_FINDSTRINGEXACT, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(text))); }
};
