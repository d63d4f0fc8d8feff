#include "ConvMapDlg.h"

#include <vector>

#include "app/AppGlobals.h"
#include "ConvMapCommand.h"
#include "ProgramFolderFiles.h"
#include "WadDirectory.h"
#include "app/Paths.h"
#include "resource.h"
#include "tools/Launch.h"

CConvMapDlg::CConvMapDlg(CWnd* parent)
    : CDialog(IDD_CONVMAP, parent)
{
}

void CConvMapDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_CONVMAP_WAD, m_comboWad);
    DDX_Control(pDX, IDC_CONVMAP_LEVEL, m_comboLevel);
    DDX_Check(pDX, IDC_CONVMAP_NOWALL, m_bNoWall);
    DDX_Check(pDX, IDC_CONVMAP_NOCEIL, m_bNoCeil);
    DDX_Check(pDX, IDC_CONVMAP_NOFLOOR, m_bNoFloor);
    DDX_Check(pDX, IDC_CONVMAP_NOMOVE, m_bNoMove);
    DDX_Check(pDX, IDC_CONVMAP_NOENT, m_bNoEnt);
    DDX_Check(pDX, IDC_CONVMAP_BOUND, m_bBound);
    DDX_Check(pDX, IDC_CONVMAP_DIRECT, m_bDirect);
    DDX_Text(pDX, IDC_CONVMAP_SCALE, m_strScale);
    DDX_Check(pDX, IDC_CONVMAP_TEXDOOM1, m_bTexDoom1);
    DDX_Check(pDX, IDC_CONVMAP_TEXDOOM2, m_bTexDoom2);
    DDX_Check(pDX, IDC_CONVMAP_TEXTNT, m_bTexTnt);
    DDX_Check(pDX, IDC_CONVMAP_TEXPLUTONIA, m_bTexPlutonia);
    DDX_Check(pDX, IDC_CONVMAP_TEXCUSTOM, m_bTexCustom);
}

BOOL CConvMapDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    m_comboWad.ResetContent();
    for (const CString& name : FindProgramFolderFiles("*.wad"))
        m_comboWad.AddString(name);
    m_comboWad.SetCurSel(0);
    OnSelchangeWad();
    m_comboLevel.SetCurSel(0);
    OnUpdateSettings();
    return TRUE;
}

bool CConvMapDlg::OnCommand(UINT id, UINT code)
{
    if (id == IDC_CONVMAP_WAD && code == CBN_SELCHANGE) {
        OnSelchangeWad();
        return true;
    }
    if (id == IDC_CONVMAP_UPDATE && code == BN_CLICKED) {
        OnUpdateSettings();
        return true;
    }
    return false;
}

void CConvMapDlg::OnSelchangeWad()
{
    const int selected = m_comboWad.GetCurSel();
    if (selected == CB_ERR)
        return;
    const CString path = JoinPath(g_strProgramFolder, m_comboWad.GetLBText(selected));
    m_comboLevel.ResetContent();
    std::vector<CString> levels;
    if (!ReadWadLevels(path, levels))
        return;
    for (const CString& level : levels)
        m_comboLevel.AddString(level);
    m_comboLevel.SetCurSel(0);
}

void CConvMapDlg::OnUpdateSettings()
{
    if (!UpdateData(true))
        return;
    const CString name = m_comboWad.GetWindowText();

    m_bNoWall = FALSE;
    m_bNoCeil = FALSE;
    m_bNoFloor = FALSE;
    m_bNoMove = FALSE;
    m_bNoEnt = FALSE;
    m_bBound = TRUE;
    m_bDirect = FALSE;
    m_strScale = "1.5";

    const TextureSource source = ChooseTextureSource(name);
    m_bTexDoom1 = source == TextureSource::Doom1 ? TRUE : FALSE;
    m_bTexDoom2 = source == TextureSource::Doom2 ? TRUE : FALSE;
    m_bTexTnt = source == TextureSource::Tnt ? TRUE : FALSE;
    m_bTexPlutonia = source == TextureSource::Plutonia ? TRUE : FALSE;
    m_bTexCustom = FALSE;

    UpdateData(false);
}

void CConvMapDlg::OnOK()
{
    if (!UpdateData(true))
        return;

    const int selected = m_comboWad.GetCurSel();
    if (selected == CB_ERR) {
        RefuseLaunch(m_comboWad);
        return;
    }
    ConvMapOptions options;
    options.strWad = m_comboWad.GetLBText(selected);
    options.strLevel = m_comboLevel.GetWindowText();
    if (options.strLevel.IsEmpty()) {
        RefuseLaunch(m_comboLevel);
        return;
    }
    options.bNoWall = m_bNoWall != FALSE;
    options.bNoCeil = m_bNoCeil != FALSE;
    options.bNoFloor = m_bNoFloor != FALSE;
    options.bNoMove = m_bNoMove != FALSE;
    options.bNoEnt = m_bNoEnt != FALSE;
    options.bBound = m_bBound != FALSE;
    options.bDirect = m_bDirect != FALSE;
    options.strScale = m_strScale;
    options.bTexDoom1 = m_bTexDoom1 != FALSE;
    options.bTexDoom2 = m_bTexDoom2 != FALSE;
    options.bTexTnt = m_bTexTnt != FALSE;
    options.bTexPlutonia = m_bTexPlutonia != FALSE;
    options.bTexCustom = m_bTexCustom != FALSE;

    // What the converter did is for the user to see in the program folder.
    LaunchInToolFolder("", BuildConvMapCommandLine(options), true);
}

void CConvMapDlg::RefuseLaunch(CWnd& control)
{
    ::MessageBeep(0xFFFFFFFF);
    // The dialog manager's own focus move keeps the default button right.
    SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control.GetSafeHwnd()), TRUE);
}
