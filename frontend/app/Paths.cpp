#include "Paths.h"

CString GetModulePath(HMODULE module)
{
    if (!module)
        module = ::GetModuleHandleA(nullptr);
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(module, path, MAX_PATH);
    path[MAX_PATH - 1] = '\0';
    return CString(path);
}

CString GetFolderOfPath(const CString& path, BOOL withBackslash)
{
    const int last = path.ReverseFind('\\');
    if (last < 0)
        return CString();
    return path.Left(withBackslash ? last + 1 : last);
}

CString JoinPath(const CString& folder, const CString& name)
{
    if (folder.IsEmpty() || folder.ReverseFind('\\') == folder.GetLength() - 1)
        return folder + name;
    return folder + "\\" + name;
}
