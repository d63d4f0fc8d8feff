// Dialog data exchange: moves values between a dialog's controls and its members.
//
// A dialog lists its (control id, member) pairs in DoDataExchange, in exchange
// order, with the DDX_ functions below. When saving, texts and check states go
// from the controls into the members; when loading, the other way. DDX_Control
// attaches a control wrapper to its window once. A failed exchange (a missing
// control) stops the exchange; UpdateData then returns false.
#pragma once

#include <windows.h>

#include "String.h"
#include "Window.h"

class CDataExchange {
public:
    CDataExchange(HWND hDlg, bool saveAndValidate) : m_hDlg(hDlg), m_bSaveAndValidate(saveAndValidate) {}

    HWND GetDialog() const { return m_hDlg; }
    bool IsSaving() const { return m_bSaveAndValidate; }

    // The control of that id; ends the exchange (throws Failure) when there is none.
    HWND PrepareCtrl(int id) const;

    // Thrown to end an exchange early; caught by CDialog::UpdateData only.
    struct Failure {};
    [[noreturn]] void Fail() const { throw Failure(); }

    const HWND m_hDlg;
    const bool m_bSaveAndValidate;
};

void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
void DDX_Text(CDataExchange* pDX, int id, CString& value);
void DDX_Check(CDataExchange* pDX, int id, BOOL& value);
