#include "ProgramFolderFiles.h"

#include "FileFind.h"
#include "app/AppGlobals.h"
#include "app/Paths.h"

std::vector<CString> FindProgramFolderFiles(const char* pattern)
{
    std::vector<CString> names;
    CFileFind finder;
    bool more = finder.FindFile(JoinPath(g_strProgramFolder, pattern));
    while (more) {
        more = finder.FindNextFile();
        if (!finder.IsDirectory())
            names.push_back(finder.GetFileName());
    }
    return names;
}

void ResetSingleColumnList(const CListCtrl& list, const char* heading, int scrollBarWidth)
{
    list.DeleteAllColumns();
    list.DeleteAllItems();
    list.SetImageList(g_imageList, LVSIL_SMALL);
    RECT client {};
    list.GetClientRect(&client);
    list.InsertColumn(0, heading, LVCFMT_LEFT, (client.right - client.left) - scrollBarWidth);
}
