// CDialog: a modal dialog built from a resource template.
//
// DoModal runs DialogBoxParam with this object passed through; the one dialog
// procedure stores it at WM_INITDIALOG and dispatches to the virtual handlers.
// With no parent the main window (AfxGetMainWnd) owns the dialog. Handlers:
// OnInitDialog (base: UpdateData(false)), OnOK (base: UpdateData(true), then
// EndDialog(IDOK)), OnCancel (base: EndDialog(IDCANCEL); also Escape and the
// close box), OnCommand for every other WM_COMMAND, OnNotify for WM_NOTIFY.
// The window is destroyed by the system when the modal loop ends; the object
// outlives it and may be run again.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "DataExchange.h"
#include "Window.h"

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr) : m_nTemplateId(templateId), m_pParent(parent) {}
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // IDOK, IDCANCEL or the value given to EndDialog; -1 when the dialog cannot be created.
    virtual INT_PTR DoModal();
    void EndDialog(INT_PTR result) { ::EndDialog(m_hWnd, result); }

    // Moves member values into the controls (false) or control values into the
    // members (true). False when an exchange failed.
    bool UpdateData(bool saveAndValidate = true);

    UINT GetTemplateId() const { return m_nTemplateId; }

protected:
    virtual void DoDataExchange(CDataExchange* /*pDX*/) {}
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    // Return true when the command was handled.
    virtual bool OnCommand(UINT /*id*/, UINT /*code*/) { return false; }
    // Return true when handled; *result is the notification's result.
    virtual bool OnNotify(UINT /*id*/, NMHDR* /*header*/, LRESULT* /*result*/) { return false; }
    // Any other message; return true when handled (the result goes to the system).
    virtual bool OnMessage(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/, INT_PTR* /*result*/) { return false; }

private:
    static INT_PTR CALLBACK DialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    const UINT m_nTemplateId;
    CWnd* const m_pParent;
};
