#include "DeployDlg.h"

#include <vector>

#include "ConfDlg.h"
#include "EnsureFolder.h"
#include "KnownPackages.h"
#include "ProgramFolderFiles.h"
#include "app/AppGlobals.h"
#include "app/Paths.h"
#include "resource.h"
#include "tools/FileCopy.h"

namespace {

const int kImageFolder = 3;
const int kImageUnmarked = 4;
const int kImageMarked = 5;

} // namespace

CDeployDlg::CDeployDlg(CWnd* parent) : CDialog(IDD_DEPLOY, parent) {}

void CDeployDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_DEPLOY_PACKAGES, m_listPackages);
    DDX_Control(pDX, IDC_DEPLOY_DESTINATION, m_listDestination);
}

BOOL CDeployDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    const int scrollBarWidth = ::GetSystemMetrics(SM_CXVSCROLL);
    ResetSingleColumnList(m_listPackages, "pk4", scrollBarWidth);
    ResetSingleColumnList(m_listDestination, "folder", scrollBarWidth);

    for (const CString& name : FindProgramFolderFiles("*.pk4")) {
        m_listPackages.InsertItem(m_listPackages.GetItemCount(), name,
                                  IsKnownPackage(name) ? kImageMarked : kImageUnmarked);
    }

    if (g_confDlg.GetDoom3Folder().IsEmpty())
        return TRUE;
    m_listDestination.InsertItem(0, g_confDlg.GetModFolder(), kImageFolder);
    m_listDestination.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    return TRUE;
}

int CDeployDlg::GetItemImage(const CListCtrl& list, int item, int subItem, int defaultImage)
{
    LVITEMA lvItem {};
    lvItem.mask = LVIF_IMAGE;
    lvItem.iItem = item;
    lvItem.iSubItem = subItem;
    if (!list.GetItem(&lvItem))
        return defaultImage;
    return lvItem.iImage;
}

void CDeployDlg::ToggleMark(int item)
{
    if (item < 0)
        return;
    const int image = GetItemImage(m_listPackages, item, 0, -1);
    if (image < 0)
        return;
    m_listPackages.SetItemImage(item, image ^ 1);
}

bool CDeployDlg::OnNotify(UINT id, NMHDR* header, LRESULT* result)
{
    if (id != IDC_DEPLOY_PACKAGES)
        return false;
    if (header->code == NM_CLICK) {
        OnClickPackages(header, result);
        return true;
    }
    if (header->code == LVN_KEYDOWN) {
        OnKeydownPackages(header, result);
        return true;
    }
    return false;
}

void CDeployDlg::OnClickPackages(NMHDR* /*header*/, LRESULT* result)
{
    // Where the mouse was when the click happened, not where it is now.
    const DWORD position = ::GetMessagePos();
    LVHITTESTINFO hit {};
    hit.pt.x = static_cast<short>(LOWORD(position));
    hit.pt.y = static_cast<short>(HIWORD(position));
    m_listPackages.ScreenToClient(&hit.pt);
    const int item = m_listPackages.HitTest(&hit);
    if ((hit.flags & LVHT_ONITEMICON) != 0)
        ToggleMark(item);
    *result = 0;
}

void CDeployDlg::OnKeydownPackages(NMHDR* header, LRESULT* result)
{
    const NMLVKEYDOWN* key = reinterpret_cast<const NMLVKEYDOWN*>(header);
    if (key->wVKey == VK_SPACE)
        ToggleMark(m_listPackages.GetNextItem(-1, LVNI_FOCUSED));
    *result = 0;
}

void CDeployDlg::OnOK()
{
    std::vector<CString> sources;
    for (int i = 0; i < m_listPackages.GetItemCount(); ++i) {
        if (GetItemImage(m_listPackages, i, 0, -1) == kImageMarked)
            sources.push_back(JoinPath(g_strProgramFolder, m_listPackages.GetItemText(i, 0)));
    }
    if (sources.empty())
        return;

    const int selected = m_listDestination.GetNextItem(-1, LVNI_SELECTED);
    if (selected < 0)
        return;
    const CString destination = JoinPath(g_confDlg.GetDoom3Folder(), m_listDestination.GetItemText(selected, 0));

    // A single package copied into a missing folder would become a file of
    // that name; the feedback of the copy itself is the shell's own.
    if (!EnsureFolder(destination))
        return;
    CopyFileList(sources, destination);
}
