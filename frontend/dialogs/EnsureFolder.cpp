#include "EnsureFolder.h"

#include <windows.h>

namespace {

bool IsFolder(const CString& path)
{
    const DWORD attributes = ::GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

} // namespace

bool EnsureFolder(const CString& path)
{
    if (path.IsEmpty())
        return false;
    if (IsFolder(path))
        return true;
    // Another program may create it between the test and the call: check again.
    return ::CreateDirectoryA(path, nullptr) != FALSE || IsFolder(path);
}
