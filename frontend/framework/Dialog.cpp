#include "Dialog.h"

#include "AppState.h"

namespace {

// The property under which the dialog procedure finds its object.
const char kDialogProperty[] = "Kolvanta.CDialog";

// List views and the standard controls must be registered before the first
// dialog template that names them is created.
void EnsureCommonControls()
{
    static const bool initialised = [] {
        INITCOMMONCONTROLSEX controls {};
        controls.dwSize = sizeof(controls);
        controls.dwICC = ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES;
        return ::InitCommonControlsEx(&controls) != FALSE;
    }();
    (void)initialised;
}

} // namespace

INT_PTR CDialog::DoModal()
{
    EnsureCommonControls();
    HWND owner = m_pParent ? m_pParent->GetSafeHwnd() : nullptr;
    if (!owner)
        owner = AfxGetMainWnd();
    const INT_PTR result = ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_nTemplateId),
                                             owner, &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    m_hWnd = nullptr;
    return result;
}

bool CDialog::UpdateData(bool saveAndValidate)
{
    CDataExchange exchange(m_hWnd, saveAndValidate);
    try {
        DoDataExchange(&exchange);
    } catch (const CDataExchange::Failure&) {
        return false;
    }
    return true;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(false);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(true))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        CDialog* dialog = reinterpret_cast<CDialog*>(lParam);
        ::SetPropA(hDlg, kDialogProperty, dialog);
        dialog->m_hWnd = hDlg;
        return dialog->OnInitDialog();
    }
    CDialog* dialog = static_cast<CDialog*>(::GetPropA(hDlg, kDialogProperty));
    if (!dialog)
        return FALSE; // messages before WM_INITDIALOG (WM_SETFONT, ...)
    if (message == WM_NCDESTROY) {
        ::RemovePropA(hDlg, kDialogProperty);
        dialog->m_hWnd = nullptr;
        return FALSE;
    }
    return dialog->HandleMessage(message, wParam, lParam);
}

INT_PTR CDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND: {
        const UINT id = LOWORD(wParam);
        const UINT code = HIWORD(wParam);
        // Enter, Escape and the close box arrive as clicks of IDOK and IDCANCEL.
        if (code == BN_CLICKED && id == IDOK) {
            OnOK();
            return TRUE;
        }
        if (code == BN_CLICKED && id == IDCANCEL) {
            OnCancel();
            return TRUE;
        }
        return OnCommand(id, code) ? TRUE : FALSE;
    }
    case WM_NOTIFY: {
        NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
        LRESULT result = 0;
        if (!OnNotify(static_cast<UINT>(header->idFrom), header, &result))
            return FALSE;
        ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
    default: {
        INT_PTR result = FALSE;
        return OnMessage(message, wParam, lParam, &result) ? result : FALSE;
    }
    }
}
