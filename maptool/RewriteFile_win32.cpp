#include "RewriteFile.h"

#include <windows.h>

#include <cstring>

namespace {

// The absolute path of the file that a symbolic link leads to, or of the file
// itself when the path is no link.
bool ResolveLinks(const std::string& strPath, DWORD nAttributes, std::string& strTarget)
{
    if ((nAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        // Absolute, so that the temporary file's folder is the file's own even
        // for a drive-relative path such as "C:a.map".
        char szFull[MAX_PATH];
        const DWORD n = ::GetFullPathNameA(strPath.c_str(), sizeof szFull, szFull, nullptr);
        if (n == 0 || n >= sizeof szFull)
            return false;
        strTarget.assign(szFull, n);
        return true;
    }
    HANDLE h = ::CreateFileA(strPath.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    char szFinal[MAX_PATH + 8];
    const DWORD n = ::GetFinalPathNameByHandleA(h, szFinal, sizeof szFinal, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    ::CloseHandle(h);
    if (n == 0 || n >= sizeof szFinal)
        return false;
    strTarget.assign(szFinal, n);
    // "\\?\C:\..." and "\\?\UNC\server\..." back to the forms every ANSI call takes.
    if (strTarget.compare(0, 8, "\\\\?\\UNC\\") == 0)
        strTarget = "\\" + strTarget.substr(7);
    else if (strTarget.compare(0, 4, "\\\\?\\") == 0)
        strTarget.erase(0, 4);
    return true;
}

std::string FolderOf(const std::string& strPath)
{
    const std::string::size_type nSep = strPath.find_last_of("\\/");
    if (nSep != std::string::npos)
        return strPath.substr(0, nSep + 1);
    if (strPath.size() >= 2 && strPath[1] == ':')
        return strPath.substr(0, 2);
    return ".";
}

} // namespace

CRewriteFile::~CRewriteFile()
{
    Discard();
}

bool CRewriteFile::Begin(const char* pszPath)
{
    if (!m_strTemp.empty())
        return false;

    DWORD nAttributes = ::GetFileAttributesA(pszPath);
    if (nAttributes == INVALID_FILE_ATTRIBUTES || !ResolveLinks(pszPath, nAttributes, m_strTarget))
        return false;
    nAttributes = ::GetFileAttributesA(m_strTarget.c_str());
    if (nAttributes == INVALID_FILE_ATTRIBUTES ||
        (nAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0)
        return false;
    // The same access and sharing a "wt" stream asks for: fails when another
    // program holds the file without sharing writes.
    HANDLE hProbe = ::CreateFileA(m_strTarget.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hProbe == INVALID_HANDLE_VALUE)
        return false;
    ::CloseHandle(hProbe);
    m_nAttributes = nAttributes;

    char szTemp[MAX_PATH];
    if (::GetTempFileNameA(FolderOf(m_strTarget).c_str(), "scv", 0, szTemp) == 0)
        return false;
    m_strTemp = szTemp;
    HANDLE hTemp = ::CreateFileA(szTemp, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hTemp == INVALID_HANDLE_VALUE) {
        Discard();
        return false;
    }
    m_hTemp = hTemp;
    return true;
}

bool CRewriteFile::Drain(const char* p, std::size_t n)
{
    // Text mode: each LF becomes CR LF, whatever stands before it.
    m_strCrLf.clear();
    m_strCrLf.reserve(n + n / 8);
    const char* const pEnd = p + n;
    while (p != pEnd) {
        const char* pLf = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(pEnd - p)));
        if (pLf == nullptr) {
            m_strCrLf.append(p, pEnd);
            break;
        }
        m_strCrLf.append(p, pLf);
        m_strCrLf.append("\r\n", 2);
        p = pLf + 1;
    }
    const char* pOut = m_strCrLf.data();
    std::size_t nLeft = m_strCrLf.size();
    while (nLeft != 0) {
        const DWORD nChunk = nLeft > (1u << 30) ? (1u << 30) : static_cast<DWORD>(nLeft);
        DWORD nWritten = 0;
        if (!::WriteFile(m_hTemp, pOut, nChunk, &nWritten, nullptr) || nWritten == 0)
            return false;
        pOut += nWritten;
        nLeft -= nWritten;
    }
    return true;
}

bool CRewriteFile::Commit()
{
    if (m_strTemp.empty())
        return false;
    bool bOk = Flush();
    HANDLE hTemp = m_hTemp;
    m_hTemp = nullptr;
    bOk = ::CloseHandle(hTemp) && bOk;
    // Carry over what a user may have set on the map (hidden, archive); the
    // read-only attribute never gets this far.
    const DWORD nKeep = m_nAttributes & (FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                         FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
    if (bOk && nKeep != 0)
        ::SetFileAttributesA(m_strTemp.c_str(), nKeep);
    bOk = bOk && ::MoveFileExA(m_strTemp.c_str(), m_strTarget.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!bOk) {
        Discard();
        return false;
    }
    m_strTemp.clear();
    return true;
}

void CRewriteFile::Discard()
{
    if (m_hTemp != nullptr) {
        ::CloseHandle(m_hTemp);
        m_hTemp = nullptr;
    }
    if (!m_strTemp.empty()) {
        ::DeleteFileA(m_strTemp.c_str());
        m_strTemp.clear();
    }
}
