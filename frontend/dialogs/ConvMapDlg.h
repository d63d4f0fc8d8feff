// CConvMapDlg: "Convert DOOM map" (dialog 133).
//
// Offers the wads of the program folder (sorted) and the level lumps of the
// chosen one, fills the converter's options from the wad's name on "Update
// settings", and on "Launch" runs ZarO3.exe on that level in the program folder,
// waiting for it. The converter's outcome is not examined; the dialog stays open.
// Choosing another wad refreshes the levels only, never the options. The dialog
// keeps nothing between openings and writes no settings.
#pragma once

#include "ComboBox.h"
#include "Dialog.h"
#include "String.h"

class CConvMapDlg : public CDialog {
public:
    explicit CConvMapDlg(CWnd* parent = nullptr);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    bool OnCommand(UINT id, UINT code) override;

    void OnSelchangeWad();
    void OnUpdateSettings();

private:
    // The beep of a missing choice, with the focus on the control to fix.
    void RefuseLaunch(CWnd& control);

    CComboBox m_comboWad;
    CComboBox m_comboLevel;
    BOOL m_bNoWall = FALSE;
    BOOL m_bNoCeil = FALSE;
    BOOL m_bNoFloor = FALSE;
    BOOL m_bNoMove = FALSE;
    BOOL m_bNoEnt = FALSE;
    BOOL m_bBound = FALSE;
    BOOL m_bDirect = FALSE;
    CString m_strScale = "1.0";
    BOOL m_bTexDoom1 = FALSE;
    BOOL m_bTexDoom2 = FALSE;
    BOOL m_bTexTnt = FALSE;
    BOOL m_bTexPlutonia = FALSE;
    BOOL m_bTexCustom = FALSE;
};
