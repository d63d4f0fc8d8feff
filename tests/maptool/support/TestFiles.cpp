#include "TestFiles.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdlib>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

std::string CTempFolder::File(const std::string& strName) const
{
#ifdef _WIN32
    return m_strPath + "\\" + strName;
#else
    return m_strPath + "/" + strName;
#endif
}

void WriteBytes(const std::string& strPath, const std::string& bytes)
{
    std::ofstream out(strPath, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush())
        throw std::runtime_error("cannot write " + strPath);
}

std::string ReadBytes(const std::string& strPath)
{
    std::ifstream in(strPath, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + strPath);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string TextLines(const std::string& text)
{
#ifdef _WIN32
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
#else
    return text;
#endif
}

#ifdef _WIN32

CTempFolder::CTempFolder()
{
    static unsigned s_nNext = 0;
    char szBase[MAX_PATH];
    ::GetTempPathA(MAX_PATH, szBase);
    for (;;) {
        m_strPath = std::string(szBase) + "scorvel-test-" + std::to_string(::GetCurrentProcessId()) + "-" +
                    std::to_string(s_nNext++);
        if (::CreateDirectoryA(m_strPath.c_str(), nullptr))
            return;
        if (::GetLastError() != ERROR_ALREADY_EXISTS)
            throw std::runtime_error("cannot create " + m_strPath);
    }
}

CTempFolder::~CTempFolder()
{
    for (const std::string& strName : List()) {
        const std::string strFile = File(strName);
        ::SetFileAttributesA(strFile.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileA(strFile.c_str());
    }
    ::RemoveDirectoryA(m_strPath.c_str());
}

std::vector<std::string> CTempFolder::List() const
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE h = ::FindFirstFileA((m_strPath + "\\*").c_str(), &data);
    if (h == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string strName = data.cFileName;
        if (strName != "." && strName != "..")
            names.push_back(strName);
    } while (::FindNextFileA(h, &data));
    ::FindClose(h);
    std::sort(names.begin(), names.end());
    return names;
}

void SetReadOnly(const std::string& strPath, bool bReadOnly)
{
    ::SetFileAttributesA(strPath.c_str(), bReadOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
}

#else

CTempFolder::CTempFolder()
{
    const char* pszBase = std::getenv("TMPDIR");
    std::string strTemplate = std::string(pszBase != nullptr && *pszBase != '\0' ? pszBase : "/tmp") +
                              "/scorvel-test-XXXXXX";
    if (::mkdtemp(strTemplate.data()) == nullptr)
        throw std::runtime_error("cannot create " + strTemplate);
    m_strPath = strTemplate;
}

CTempFolder::~CTempFolder()
{
    for (const std::string& strName : List())
        ::unlink(File(strName).c_str());
    ::rmdir(m_strPath.c_str());
}

std::vector<std::string> CTempFolder::List() const
{
    std::vector<std::string> names;
    DIR* pDir = ::opendir(m_strPath.c_str());
    if (pDir == nullptr)
        return names;
    while (const dirent* pEntry = ::readdir(pDir)) {
        const std::string strName = pEntry->d_name;
        if (strName != "." && strName != "..")
            names.push_back(strName);
    }
    ::closedir(pDir);
    std::sort(names.begin(), names.end());
    return names;
}

void SetReadOnly(const std::string& strPath, bool bReadOnly)
{
    ::chmod(strPath.c_str(), bReadOnly ? 0444 : 0644);
}

#endif
