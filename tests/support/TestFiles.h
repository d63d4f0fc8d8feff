// File helpers for tests: a temporary folder tree that removes itself, and
// whole-file reads and writes. Paths are Windows paths (as the program sees them
// under Wine); UnixPathOf converts one for messages or host-side checks.
#pragma once

#include <string>

namespace testsupport {

// A fresh, empty folder under the temporary folder; removed with everything in
// it when the object goes away.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder, without a trailing backslash.
    const std::string& Path() const { return m_path; }
    // The folder with a trailing backslash, as the program folder is held.
    std::string PathWithBackslash() const { return m_path + "\\"; }
    // The folder joined with a relative path ("a\\b.txt").
    std::string Join(const std::string& relative) const { return m_path + "\\" + relative; }

    // Creates a sub-folder (and its parents); returns its full path.
    std::string MakeFolder(const std::string& relative) const;
    // Writes a file (creating its folders); returns its full path.
    std::string MakeFile(const std::string& relative, const std::string& content = std::string()) const;

private:
    std::string m_path;
};

bool WriteFileBytes(const std::string& path, const std::string& content);
// The whole file; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);
bool FileExists(const std::string& path);       // a file, not a folder
bool FolderExists(const std::string& path);
bool MakeFolders(const std::string& path);      // with its missing parents
bool RemoveTree(const std::string& path);       // a file, or a folder with its contents
bool DeleteFileAt(const std::string& path);

// Makes a folder the process's current folder until the object goes away. A
// program named without a path is looked for in the running program's folder
// first and in the current folder second; tests make their temporary program
// folder current so that the tools in it are found, as they are beside the
// real program.
class ScopedCurrentFolder {
public:
    explicit ScopedCurrentFolder(const std::string& folder);
    ~ScopedCurrentFolder();
    ScopedCurrentFolder(const ScopedCurrentFolder&) = delete;
    ScopedCurrentFolder& operator=(const ScopedCurrentFolder&) = delete;

private:
    std::string m_previous;
};

// The host (Linux) path of a Windows path under Wine; empty elsewhere.
std::string UnixPathOf(const std::string& windowsPath);
// The folder that holds the running test program, ending in a backslash.
std::string TestProgramFolder();

} // namespace testsupport
