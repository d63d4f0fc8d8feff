#include "File.h"

#include <cstring>
#include <vector>

bool CFile::GetStatus(const char* path, CFileStatus& status)
{
    // Longer paths are refused rather than silently cut.
    if (!path || std::strlen(path) >= MAX_PATH)
        return false;
    WIN32_FILE_ATTRIBUTE_DATA data {};
    if (!::GetFileAttributesExA(path, GetFileExInfoStandard, &data))
        return false;
    status.m_mtime = data.ftLastWriteTime;
    status.m_size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    status.m_attribute = data.dwFileAttributes;
    std::vector<char> full(MAX_PATH * 2);
    const DWORD length = ::GetFullPathNameA(path, static_cast<DWORD>(full.size()), full.data(), nullptr);
    status.m_szFullName = (length > 0 && length < full.size()) ? CString(full.data()) : CString(path);
    return true;
}
