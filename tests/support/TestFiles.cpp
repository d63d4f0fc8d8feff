#include "TestFiles.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace testsupport {

namespace {

std::string FolderPart(const std::string& path)
{
    const size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? std::string() : path.substr(0, separator);
}

} // namespace

TempFolder::TempFolder()
{
    char base[MAX_PATH + 1] = {};
    ::GetTempPathA(static_cast<DWORD>(sizeof(base)), base);
    std::string folder(base);
    if (!folder.empty() && folder.back() == '\\')
        folder.pop_back();
    static unsigned counter = 0;
    for (;;) {
        char name[64];
        std::snprintf(name, sizeof(name), "\\kolvanta-test-%lu-%u", ::GetCurrentProcessId(), ++counter);
        const std::string candidate = folder + name;
        if (::CreateDirectoryA(candidate.c_str(), nullptr)) {
            m_path = candidate;
            return;
        }
        if (::GetLastError() != ERROR_ALREADY_EXISTS)
            return;
    }
}

TempFolder::~TempFolder()
{
    if (!m_path.empty())
        RemoveTree(m_path);
}

std::string TempFolder::MakeFolder(const std::string& relative) const
{
    const std::string path = Join(relative);
    MakeFolders(path);
    return path;
}

std::string TempFolder::MakeFile(const std::string& relative, const std::string& content) const
{
    const std::string path = Join(relative);
    MakeFolders(FolderPart(path));
    WriteFileBytes(path, content);
    return path;
}

bool WriteFileBytes(const std::string& path, const std::string& content)
{
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const BOOL ok = content.empty()
        || ::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    ::CloseHandle(file);
    return ok && written == content.size();
}

std::string ReadFileBytes(const std::string& path)
{
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::string();
    std::string content;
    char buffer[65536];
    DWORD read = 0;
    while (::ReadFile(file, buffer, static_cast<DWORD>(sizeof(buffer)), &read, nullptr) && read > 0)
        content.append(buffer, read);
    ::CloseHandle(file);
    return content;
}

bool FileExists(const std::string& path)
{
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path)
{
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool MakeFolders(const std::string& path)
{
    if (path.empty() || FolderExists(path))
        return true;
    const std::string parent = FolderPart(path);
    if (!parent.empty() && parent != path && !MakeFolders(parent))
        return false;
    return ::CreateDirectoryA(path.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS;
}

bool DeleteFileAt(const std::string& path)
{
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    return ::DeleteFileA(path.c_str()) != FALSE;
}

bool RemoveTree(const std::string& path)
{
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return false;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return DeleteFileAt(path);
    WIN32_FIND_DATAA entry {};
    HANDLE find = ::FindFirstFileA((path + "\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name != "." && name != "..")
                RemoveTree(path + "\\" + name);
        } while (::FindNextFileA(find, &entry));
        ::FindClose(find);
    }
    return ::RemoveDirectoryA(path.c_str()) != FALSE;
}

std::string UnixPathOf(const std::string& windowsPath)
{
    using ToUnix = char* (CDECL*)(const WCHAR*);
    HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
    const ToUnix toUnix = kernel ? reinterpret_cast<ToUnix>(reinterpret_cast<void*>(::GetProcAddress(kernel, "wine_get_unix_file_name"))) : nullptr;
    if (!toUnix)
        return std::string();
    const int length = ::MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, nullptr, 0);
    std::vector<WCHAR> wide(static_cast<size_t>(length > 0 ? length : 1));
    ::MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide.data(), length);
    char* unixPath = toUnix(wide.data());
    if (!unixPath)
        return std::string();
    std::string result(unixPath);
    ::HeapFree(::GetProcessHeap(), 0, unixPath);
    return result;
}

std::string TestProgramFolder()
{
    char path[MAX_PATH + 1] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    const size_t separator = folder.find_last_of('\\');
    return separator == std::string::npos ? std::string() : folder.substr(0, separator + 1);
}

ScopedCurrentFolder::ScopedCurrentFolder(const std::string& folder)
{
    char previous[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, previous);
    m_previous = previous;
    ::SetCurrentDirectoryA(folder.c_str());
}

ScopedCurrentFolder::~ScopedCurrentFolder()
{
    ::SetCurrentDirectoryA(m_previous.c_str());
}

} // namespace testsupport
