// CFile::GetStatus: asks the file system whether a path names a file or folder.
#pragma once

#include <windows.h>

#include "String.h"

struct CFileStatus {
    FILETIME m_mtime {};
    ULONGLONG m_size = 0;
    DWORD m_attribute = 0;
    CString m_szFullName;
};

class CFile {
public:
    // True when the path names an existing file or folder; a path of MAX_PATH
    // (260) characters or more counts as missing.
    static bool GetStatus(const char* path, CFileStatus& status);
};
