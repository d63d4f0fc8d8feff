// CConvWadDlg: "DOOM .wad conversion" (dialog 132), and the texture wad copy.
//
// The dialog lists the wads of the program folder in file-system order, all
// selected. "Launch" runs xtract.bat once per selected row, in the program
// folder, waiting for each, and marks the row "DONE!" when the batch file could
// be started or "ERR" when not; what the batch file did is not examined. The
// dialog stays open until "Close". It keeps nothing between openings.
#pragma once

#include "Dialog.h"
#include "ListCtrl.h"
#include "String.h"

class CConvWadDlg : public CDialog {
public:
    explicit CConvWadDlg(CWnd* parent = nullptr);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    CListCtrl m_listWads;
};

// Lets the user pick a wad named like name (unsafe characters made "_") with the
// open-file dialog and copies it into the program folder with the shell's copy,
// which may ask before overwriting. True when a file was chosen and the copy
// succeeded; false on cancel or a failed or refused copy.
bool ConvertTextureWad(const CString& name);
