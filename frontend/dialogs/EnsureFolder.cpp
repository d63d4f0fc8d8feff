#include "EnsureFolder.h"

#include <windows.h>

namespace {

bool IsFolder(const CString& path)
{
    const DWORD attributes = ::GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// "C:\..." or "\\server\...".
bool IsAbsolute(const CString& path)
{
    const char* text = path.GetString();
    const bool drive = ((text[0] >= 'A' && text[0] <= 'Z') || (text[0] >= 'a' && text[0] <= 'z'))
        && text[1] == ':' && (text[2] == '\\' || text[2] == '/');
    const bool unc = text[0] == '\\' && text[1] == '\\';
    return drive || unc;
}

} // namespace

bool EnsureFolder(const CString& path)
{
    if (path.IsEmpty())
        return false;
    if (IsFolder(path))
        return true;
    if (!IsAbsolute(path))
        return false;
    // Another program may create it between the test and the call: check again.
    return ::CreateDirectoryA(path, nullptr) != FALSE || IsFolder(path);
}
