// CConfDlg: the Configuration dialog, and the settings every other dialog reads.
//
// The one object g_confDlg holds the DOOM 3 installation folder and the name of
// the MOD folder inside it; both start empty and change only when the user
// closes the dialog with OK. Nothing is stored outside the process. The dialog
// also lists the required tool files of the program folder and tests their
// presence on request. The free functions below do the dialog's non-window work.
#pragma once

#include <vector>

#include "Dialog.h"
#include "Edit.h"
#include "ListCtrl.h"
#include "String.h"

// The files the conversion needs directly in the program folder, in list order.
extern const char* const kRequiredFiles[9];

class CConfDlg : public CDialog {
public:
    explicit CConfDlg(CWnd* parent = nullptr);

    CString GetDoom3Folder() const { return m_strDoom3Folder; }
    CString GetModFolder() const { return m_strModFolder; }

    // Refills the MOD folder list from the text of the DOOM 3 folder edit: with
    // keepStored only the confirmed MOD folder, otherwise the folders on disk.
    void FillModList(BOOL keepStored);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    bool OnCommand(UINT id, UINT code) override;

private:
    void OnBrowse();
    void OnFromRegistry();
    void OnTest();

    CString m_strModFolder;
    CEdit m_editProgramFolder;
    CListCtrl m_listRequirements;
    CString m_strDoom3Folder;
    CEdit m_editDoom3Folder;
    CListCtrl m_listModFolders;
};

extern CConfDlg g_confDlg;

// The sub-folders of a folder ("." and ".." left out), in file-system order.
std::vector<CString> ListSubFolders(const CString& folder);

// The DOOM 3 installer's "InstallPath" (32-bit registry view first, then the
// native one). False when no view holds a string of at most 255 characters
// ending in NUL.
bool ReadDoom3InstallPath(CString& path);
// The "InstallPath" value of an open key, under the same rules.
bool ReadInstallPathValue(HKEY key, CString& path);
