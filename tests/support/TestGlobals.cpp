#include "TestGlobals.h"

#include "app/SharedImageList.h"

// Defined in the program's order; the program's own definitions are not linked.
CConfDlg g_confDlg;
CImageList g_imageList;
CString g_strProgramFolder;

namespace testsupport {

bool PrepareSharedImageList()
{
    static const bool filled = FillSharedImageList(g_imageList);
    return filled;
}

void SetProgramFolder(const std::string& folder)
{
    g_strProgramFolder = folder.c_str();
    if (!folder.empty() && folder.back() != '\\')
        g_strProgramFolder += '\\';
}

} // namespace testsupport
