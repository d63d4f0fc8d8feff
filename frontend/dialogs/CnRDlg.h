// CCnRDlg: "Copy/Compile/Run" (dialog 139), the last step of a conversion.
//
// Lists the .map files of the program folder (sorted). "Update settings"
// generates four editable texts: the map tool's command line, the two console
// scripts and the DOOM 3 command line. "Launch" uses them as they then stand:
// copies the map into the MOD folder's maps folder, runs the map tool on the
// copy (when "Formalize your map:" was ticked at the last data move), writes
// both scripts and starts DOOM 3 without waiting. It stops at the first failure
// with "Sorry... err" and leaves the steps already done in place; success ends
// the dialog with IDOK. The three check boxes live in members as of the last
// data move (opening or "Update settings"); the edit texts live in the controls.
#pragma once

#include "ComboBox.h"
#include "Dialog.h"
#include "Edit.h"

class CCnRDlg : public CDialog {
public:
    explicit CCnRDlg(CWnd* parent = nullptr);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    bool OnCommand(UINT id, UINT code) override;

    void OnUpdateSettings();

private:
    // The file name shown in the map combo; empty when there is none.
    CString GetSelectedMap() const;
    // Runs the steps of "Launch"; false at the first one that fails.
    bool Launch();

    CComboBox m_comboMap;
    BOOL m_bCompile = TRUE;
    BOOL m_bRun = TRUE;
    CEdit m_editCompileScript;
    CEdit m_editRunScript;
    CEdit m_editLauncher;
    BOOL m_bFormalize = TRUE;
    CEdit m_editFormalize;
};
