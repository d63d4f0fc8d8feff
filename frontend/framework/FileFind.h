// CFileFind: walks the entries that match a pattern; owns the search handle.
//
// Usage: bool more = finder.FindFile(pattern); while (more) { more = finder.FindNextFile(); ... }
// FindNextFile makes the next entry current and answers whether another one
// follows it; the entries come in the order the file system returns them.
#pragma once

#include <windows.h>

#include "String.h"

class CFileFind {
public:
    CFileFind() = default;
    ~CFileFind() { Close(); }
    CFileFind(const CFileFind&) = delete;
    CFileFind& operator=(const CFileFind&) = delete;

    // Starts a search; false when nothing matches (or the folder does not exist).
    bool FindFile(const char* pattern);
    // Makes the next entry current; false when it is the last one.
    bool FindNextFile();
    void Close();

    CString GetFileName() const;   // name without folder
    CString GetFilePath() const;   // folder of the pattern joined with the name
    bool IsDirectory() const;
    bool IsDots() const;           // "." or ".."

private:
    HANDLE m_hFind = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAA m_next {};     // read ahead, not yet current
    WIN32_FIND_DATAA m_current {};
    bool m_bHasNext = false;
    bool m_bHasCurrent = false;
    CString m_strRoot;             // the pattern's folder, ending in a backslash
};
