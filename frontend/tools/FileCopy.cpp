#include "FileCopy.h"

#include <windows.h>
#include <shellapi.h>

#include "WaitCursor.h"

std::vector<char> BuildShellPathList(const std::vector<CString>& paths)
{
    size_t size = 1;
    for (const CString& path : paths)
        size += static_cast<size_t>(path.GetLength()) + 1;

    std::vector<char> list;
    list.reserve(size);
    for (const CString& path : paths)
        list.insert(list.end(), path.GetString(), path.GetString() + path.GetLength() + 1);
    list.push_back('\0');
    return list;
}

bool CopyFileList(const std::vector<CString>& sources, CString destination)
{
    CWaitCursor waitCursor;

    std::vector<char> from = BuildShellPathList(sources);
    std::vector<char> to = BuildShellPathList({destination});

    SHFILEOPSTRUCTA operation;
    ZeroMemory(&operation, sizeof(operation));
    operation.hwnd = ::GetActiveWindow();
    operation.wFunc = FO_COPY;
    operation.pFrom = from.data();
    operation.pTo = to.data();
    operation.fFlags = FOF_SIMPLEPROGRESS;
    return ::SHFileOperationA(&operation) == 0;
}

bool CopyOneFile(CString source, CString destination)
{
    return CopyFileList({source}, destination);
}
