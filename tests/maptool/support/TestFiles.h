// Files for the map tool's tests: a private temporary folder per test, and whole
// files read and written as raw bytes (no line-end translation).
//
// Ownership: CTempFolder removes its folder and every file in it when it goes
// out of scope, read-only files included. Sub-folders are not supported.
#pragma once

#include <string>
#include <vector>

class CTempFolder {
public:
    CTempFolder();
    ~CTempFolder();
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    const std::string& Path() const { return m_strPath; }
    // The path of a file of this name inside the folder.
    std::string File(const std::string& strName) const;
    // Names of the entries in the folder, sorted.
    std::vector<std::string> List() const;

private:
    std::string m_strPath;
};

void WriteBytes(const std::string& strPath, const std::string& bytes);
std::string ReadBytes(const std::string& strPath);
// Marks the file read-only (Windows attribute; POSIX mode 0444) or writable again.
void SetReadOnly(const std::string& strPath, bool bReadOnly);
// The platform's line end applied to LF-only text.
std::string TextLines(const std::string& text);
