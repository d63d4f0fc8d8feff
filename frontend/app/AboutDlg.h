// CAboutDlg: "About Kolvanta" (dialog 100): icon, name and one line of text.
// No data, no handlers of its own.
#pragma once

#include "Dialog.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg();
};
