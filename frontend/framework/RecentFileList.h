// CRecentFileList: the most recently opened files, newest first, kept under a
// registry key of the current user as values "File1", "File2", ...
//
// Paths are compared without regard to case; adding one that is already listed
// moves it to the front. The list never grows past its size. Registry names are
// UTF-16 (the W calls), so a key name outside the active code page still reads
// correctly. Loading creates nothing; saving writes only after a change.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "String.h"

class CRecentFileList {
public:
    CRecentFileList(std::wstring keyPath, size_t size) : m_keyPath(std::move(keyPath)), m_nSize(size) {}

    void Add(const char* pathName);
    size_t GetCount() const { return m_files.size(); }
    const CString& operator[](size_t index) const { return m_files[index]; }
    bool IsChanged() const { return m_bChanged; }

    // Reads the list from HKEY_CURRENT_USER\<key path>; an absent key leaves it empty.
    void ReadList();
    // Writes the list back when it changed; false when the key cannot be written.
    bool WriteList();

private:
    std::wstring m_keyPath;
    size_t m_nSize;
    std::vector<CString> m_files;
    bool m_bChanged = false;
};
