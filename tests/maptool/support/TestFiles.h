// Files for the map tool's tests: a private temporary folder per test, and whole
// files read and written as raw bytes (no line-end translation).
//
// Ownership: CTempFolder removes its folder and everything in it when it goes
// out of scope, read-only files included.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

class CTempFolder {
public:
    CTempFolder();
    ~CTempFolder();
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    // The path of a file of this name inside the folder.
    std::string File(const std::string& strName) const { return (m_path / strName).string(); }
    // Names of the entries in the folder, sorted.
    std::vector<std::string> List() const;

private:
    std::filesystem::path m_path;
};

void WriteBytes(const std::string& strPath, const std::string& bytes);
std::string ReadBytes(const std::string& strPath);
// Takes the write permission away (Windows: the read-only attribute) or gives it back.
void SetReadOnly(const std::string& strPath, bool bReadOnly);
// The platform's text line end applied to LF-only text.
std::string TextLines(const std::string& text);
