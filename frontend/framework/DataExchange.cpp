#include "DataExchange.h"

HWND CDataExchange::PrepareCtrl(int id) const
{
    HWND control = ::GetDlgItem(m_hDlg, id);
    if (!control)
        Fail();
    return control;
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control)
{
    // Each run of a dialog creates its controls anew; a wrapper still holding the
    // handle of an earlier run is attached to the current control.
    HWND current = pDX->PrepareCtrl(id);
    if (control.GetSafeHwnd() != current)
        control.Attach(current);
}

void DDX_Text(CDataExchange* pDX, int id, CString& value)
{
    CWnd control(pDX->PrepareCtrl(id));
    if (pDX->IsSaving())
        value = control.GetWindowText();
    else
        control.SetWindowText(value);
}

void DDX_Check(CDataExchange* pDX, int id, BOOL& value)
{
    CWnd control(pDX->PrepareCtrl(id));
    if (pDX->IsSaving())
        value = control.SendMessage(BM_GETCHECK) == BST_CHECKED ? TRUE : FALSE;
    else
        control.SendMessage(BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED);
}
