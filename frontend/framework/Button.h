// CButton: a borrowed push button or check box.
#pragma once

#include "Window.h"

class CButton : public CWnd {
public:
    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int state) const { SendMessage(BM_SETCHECK, static_cast<WPARAM>(state)); }
    void Click() const { SendMessage(BM_CLICK); }
};
