#include "Paths.h"

CString GetModulePath(HMODULE module)
{
    if (!module)
        module = ::GetModuleHandleA(nullptr);
    char buffer[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(module, buffer, MAX_PATH);
    // A name cut short at the buffer's end is no usable path.
    if (length == 0 || length >= MAX_PATH)
        return CString();
    return CString(buffer, static_cast<int>(length));
}

CString GetFolderOfPath(const CString& path, BOOL withBackslash, UINT codePage)
{
    const int backslash = FindLastCharInCodePage(path, '\\', codePage);
    if (backslash < 0)
        return CString();
    return path.Left(withBackslash ? backslash + 1 : backslash);
}

CString JoinPath(const CString& folder, const CString& name, UINT codePage)
{
    if (folder.IsEmpty() || FindLastCharInCodePage(folder, '\\', codePage) == folder.GetLength() - 1)
        return folder + name;
    return folder + '\\' + name;
}
