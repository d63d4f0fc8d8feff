#include "CnRDlg.h"

#include "AppState.h"
#include "CnRTexts.h"
#include "ConfDlg.h"
#include "EnsureFolder.h"
#include "ProgramFolderFiles.h"
#include "WaitCursor.h"
#include "app/AppGlobals.h"
#include "app/Paths.h"
#include "resource.h"
#include "tools/FileCopy.h"
#include "tools/Launch.h"
#include "tools/TextFile.h"

CCnRDlg::CCnRDlg(CWnd* parent) : CDialog(IDD_CNR, parent) {}

void CCnRDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_CNR_MAP, m_comboMap);
    DDX_Check(pDX, IDC_CNR_COMPILE, m_bCompile);
    DDX_Check(pDX, IDC_CNR_RUN, m_bRun);
    DDX_Control(pDX, IDC_CNR_COMPILESCRIPT, m_editCompileScript);
    DDX_Control(pDX, IDC_CNR_RUNSCRIPT, m_editRunScript);
    DDX_Control(pDX, IDC_CNR_LAUNCHER, m_editLauncher);
    DDX_Check(pDX, IDC_CNR_FORMALIZE, m_bFormalize);
    DDX_Control(pDX, IDC_CNR_FORMALIZECMD, m_editFormalize);
}

BOOL CCnRDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    for (const CString& name : FindProgramFolderFiles("*.map"))
        m_comboMap.AddString(name);
    m_comboMap.SetCurSel(0);

    OnUpdateSettings();
    return TRUE;
}

bool CCnRDlg::OnCommand(UINT id, UINT code)
{
    if (id == IDC_CNR_UPDATE && code == BN_CLICKED) {
        OnUpdateSettings();
        return true;
    }
    return false;
}

CString CCnRDlg::GetSelectedMap() const
{
    return m_comboMap.GetLBText(m_comboMap.GetCurSel());
}

void CCnRDlg::OnUpdateSettings()
{
    if (!UpdateData(true))
        return;
    const CString map = GetSelectedMap();
    if (map.IsEmpty())
        return;

    const CnRPaths paths = MakeCnRPaths(g_confDlg.GetDoom3Folder(), g_confDlg.GetModFolder(), map);
    if (m_bCompile)
        m_editCompileScript.SetWindowText(FormatCompileScript(map));
    if (m_bRun)
        m_editRunScript.SetWindowText(FormatRunScript(map));
    m_editLauncher.SetWindowText(FormatDoom3CommandLine(paths.doom3Program, m_bCompile != FALSE, m_bRun != FALSE));
    m_editFormalize.SetWindowText(FormatMapToolCommandLine(paths.mapCopy));

    UpdateData(false);
}

bool CCnRDlg::Launch()
{
    const CString map = GetSelectedMap();
    if (map.IsEmpty())
        return false;
    const CString doom3Folder = g_confDlg.GetDoom3Folder();
    const CnRPaths paths = MakeCnRPaths(doom3Folder, g_confDlg.GetModFolder(), map);

    // A single file copied into a missing folder would become a file named
    // "maps": make the folders first.
    if (!EnsureFolder(paths.modFolder) || !EnsureFolder(paths.mapsFolder))
        return false;
    if (!CopyOneFile(JoinPath(g_strProgramFolder, map), paths.mapsFolder))
        return false;

    // The box as of the last data move: "Launch" does not read the controls' states.
    if (m_bFormalize && !LaunchInToolFolder(CString(), m_editFormalize.GetWindowText(), true))
        return false;

    if (!WriteTextFile(paths.compileScript, m_editCompileScript.GetWindowText(), true))
        return false;
    if (!WriteTextFile(paths.runScript, m_editRunScript.GetWindowText(), true))
        return false;

    return LaunchProcess(CString(), m_editLauncher.GetWindowText(), doom3Folder, false);
}

void CCnRDlg::OnOK()
{
    CWaitCursor wait;
    if (!Launch()) {
        AfxMessageBox(IDS_CNR_FAILED, MB_ICONEXCLAMATION | MB_OK);
        return;
    }
    EndDialog(IDOK);
}
