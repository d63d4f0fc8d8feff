#include "ConvWadDlg.h"

#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

#include <vector>

#include "FileDialog.h"
#include "ProgramFolderFiles.h"
#include "WadNames.h"
#include "WaitCursor.h"
#include "app/AppGlobals.h"
#include "app/Paths.h"
#include "resource.h"
#include "tools/FileCopy.h"
#include "tools/Launch.h"

namespace {

const int kFileNameColumn = 0;
const int kResultColumn = 1;

const DWORD kTextureWadDialogFlags =
    OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_EXPLORER | OFN_LONGNAMES | OFN_ENABLESIZING;
static_assert(kTextureWadDialogFlags == 0x00A81804, "open-file flags of the texture wad choice");

} // namespace

CConvWadDlg::CConvWadDlg(CWnd* parent)
    : CDialog(IDD_CONVWAD, parent)
{
}

void CConvWadDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_CONVWAD_WADS, m_listWads);
}

BOOL CConvWadDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    m_listWads.DeleteAllColumns();
    m_listWads.InsertColumn(kFileNameColumn, "Filename", LVCFMT_LEFT, 133);
    m_listWads.InsertColumn(kResultColumn, "OK?", LVCFMT_LEFT, 55);

    for (const CString& name : FindProgramFolderFiles("*.wad")) {
        const int item = m_listWads.InsertItem(m_listWads.GetItemCount(), name);
        if (item >= 0)
            m_listWads.SetItemState(item, LVIS_SELECTED, LVIS_SELECTED);
    }
    return TRUE;
}

void CConvWadDlg::OnOK()
{
    CWaitCursor wait;
    for (int item = m_listWads.GetNextItem(-1, LVNI_SELECTED); item != -1;
         item = m_listWads.GetNextItem(item, LVNI_SELECTED)) {
        CString name = m_listWads.GetItemText(item, kFileNameColumn);
        GetWadShortName(name);
        const bool started = LaunchInToolFolder("", BuildExtractCommandLine(name), true);
        m_listWads.SetItemText(item, kResultColumn, started ? "DONE!" : "ERR");
    }
}

bool ConvertTextureWad(const CString& name)
{
    CString safeName = name;
    MakeSafeFileName(safeName);
    const CString filter = BuildTextureWadFilter(safeName);

    CFileDialog dialog(true, "wad", safeName, kTextureWadDialogFlags, filter, ::GetActiveWindow());
    if (dialog.DoModal() != IDOK)
        return false;

    CWaitCursor wait;
    HWND active = ::GetActiveWindow();
    if (active)
        ::UpdateWindow(active);

    // The whole chosen path, however long: a cut path could name another file.
    std::vector<char> source = BuildShellPathList({ dialog.GetPathName() });
    std::vector<char> destination = BuildShellPathList({ g_strProgramFolder });
    SHFILEOPSTRUCTA operation {};
    operation.hwnd = active;
    operation.wFunc = FO_COPY;
    operation.pFrom = source.data();
    operation.pTo = destination.data();
    operation.fFlags = 0;
    return ::SHFileOperationA(&operation) == 0;
}
