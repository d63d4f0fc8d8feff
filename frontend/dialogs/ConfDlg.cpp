#include "ConfDlg.h"

#include "File.h"
#include "FileDialog.h"
#include "FileFind.h"
#include "ProgramFolderFiles.h"
#include "RegKey.h"
#include "app/AppGlobals.h"
#include "app/Paths.h"
#include "resource.h"

const char* const kRequiredFiles[9] = {
    "D2D3_OBJ.TXT",
    "doomtex.exe",
    "ZarO3.exe",
    "wad2tga.exe",
    "xtract.bat",
    "zdoomdefsdoom.pk4",
    "zdoomdefslms.pk4",
    "zip.exe",
    "scorvel.exe",
};

namespace {

// Images of the shared list used here.
const int kImageBlank = 0;
const int kImageTick = 1;
const int kImageCross = 2;
const int kImageFolder = 3;

const char kDoom3Key[] = "software\\id\\Doom 3";
const char kInstallPathValue[] = "InstallPath";

// Open-file dialog used to pick a folder: the user confirms the name "(DIR)"
// inside the wanted folder (OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_EXPLORER
// | OFN_LONGNAMES | OFN_ENABLESIZING).
const DWORD kBrowseFlags = 0xA80804;
const char kBrowseName[] = "(DIR)";
const char kBrowseFilter[] = "(DIR)|*.*||";

} // namespace

std::vector<CString> ListSubFolders(const CString& folder)
{
    std::vector<CString> folders;
    CFileFind finder;
    bool more = finder.FindFile(JoinPath(folder, "*.*"));
    while (more) {
        more = finder.FindNextFile();
        if (finder.IsDirectory() && !finder.IsDots())
            folders.push_back(finder.GetFileName());
    }
    return folders;
}

bool ReadInstallPathValue(HKEY key, CString& path)
{
    BYTE buffer[256] = {};
    DWORD type = 0;
    DWORD size = sizeof(buffer);
    if (::RegQueryValueExA(key, kInstallPathValue, nullptr, &type, buffer, &size) != ERROR_SUCCESS)
        return false;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return false;
    if (size == 0 || size > sizeof(buffer) || buffer[size - 1] != '\0')
        return false;
    path = reinterpret_cast<const char*>(buffer);
    return true;
}

bool ReadDoom3InstallPath(CString& path)
{
    // The installer is a 32-bit program: on 64-bit Windows its entry lives in
    // the 32-bit view. The native view is the fallback.
    const REGSAM views[] = { KEY_READ | KEY_WOW64_32KEY, KEY_READ | KEY_WOW64_64KEY };
    for (const REGSAM access : views) {
        CRegKey key;
        if (key.Open(HKEY_LOCAL_MACHINE, kDoom3Key, access) == ERROR_SUCCESS && ReadInstallPathValue(key, path))
            return true;
    }
    return false;
}

CConfDlg::CConfDlg(CWnd* parent) : CDialog(IDD_CONF, parent)
{
}

void CConfDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_CONF_PROGRAMFOLDER, m_editProgramFolder);
    DDX_Control(pDX, IDC_CONF_REQUIREMENTS, m_listRequirements);
    DDX_Text(pDX, IDC_CONF_DOOM3FOLDER, m_strDoom3Folder);
    DDX_Control(pDX, IDC_CONF_DOOM3FOLDER, m_editDoom3Folder);
    DDX_Control(pDX, IDC_CONF_MODFOLDERS, m_listModFolders);
}

BOOL CConfDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    m_editProgramFolder.SetWindowText(g_strProgramFolder);

    int index = 0;
    for (const char* file : kRequiredFiles)
        m_listRequirements.InsertItem(index++, file, kImageBlank);
    m_listRequirements.SetImageList(g_imageList, LVSIL_SMALL);

    const int scrollBarWidth = ::GetSystemMetrics(SM_CXVSCROLL);
    ResetSingleColumnList(m_listModFolders, "folder", scrollBarWidth);

    FillModList(TRUE);
    return TRUE;
}

void CConfDlg::FillModList(BOOL keepStored)
{
    const CString doom3Folder = m_editDoom3Folder.GetWindowText();
    if (doom3Folder.IsEmpty())
        return;
    m_listModFolders.DeleteAllItems();

    if (keepStored) {
        if (!m_strModFolder.IsEmpty()) {
            const int item = m_listModFolders.InsertItem(0, m_strModFolder, kImageFolder);
            m_listModFolders.SetItemState(item, LVIS_SELECTED, LVIS_SELECTED);
        }
        return;
    }

    for (const CString& name : ListSubFolders(doom3Folder)) {
        const int item = m_listModFolders.InsertItem(m_listModFolders.GetItemCount(), name, kImageFolder);
        if (name.CompareNoCase("base") == 0)
            m_listModFolders.SetItemState(item, LVIS_SELECTED, LVIS_SELECTED);
    }
}

bool CConfDlg::OnCommand(UINT id, UINT code)
{
    if (code != BN_CLICKED)
        return false;
    switch (id) {
    case IDC_CONF_UPDATE:
        FillModList(FALSE);
        return true;
    case IDC_CONF_FROMREGISTRY:
        OnFromRegistry();
        return true;
    case IDC_CONF_BROWSE:
        OnBrowse();
        return true;
    case IDC_CONF_TEST:
        OnTest();
        return true;
    default:
        return false;
    }
}

void CConfDlg::OnFromRegistry()
{
    CString installPath;
    if (ReadDoom3InstallPath(installPath))
        m_editDoom3Folder.SetWindowText(installPath);
}

void CConfDlg::OnBrowse()
{
    const CString current = m_editDoom3Folder.GetWindowText();
    CFileDialog dialog(true, nullptr, JoinPath(current, kBrowseName), kBrowseFlags, kBrowseFilter, m_hWnd);
    if (dialog.DoModal() != IDOK)
        return;
    m_editDoom3Folder.SetWindowText(GetFolderOfPath(dialog.GetPathName(), FALSE));
}

void CConfDlg::OnTest()
{
    const int count = m_listRequirements.GetItemCount();
    for (int item = 0; item < count; ++item) {
        const CString path = JoinPath(g_strProgramFolder, m_listRequirements.GetItemText(item, 0));
        CFileStatus status;
        m_listRequirements.SetItemImage(item, CFile::GetStatus(path, status) ? kImageTick : kImageCross);
    }
}

void CConfDlg::OnOK()
{
    const int selected = m_listModFolders.GetNextItem(-1, LVNI_SELECTED);
    const CString modFolder = selected >= 0 ? m_listModFolders.GetItemText(selected, 0) : CString();
    // Both settings change together, or neither does.
    if (!UpdateData(true))
        return;
    m_strModFolder = modFolder;
    EndDialog(IDOK);
}
