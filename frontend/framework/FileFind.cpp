#include "FileFind.h"

#include <cstring>

namespace {

// The folder part of a search pattern, with its separator ("C:\a\*.*" gives "C:\a\").
CString FolderOfPattern(const char* pattern)
{
    const int backslash = FindLastCharInCodePage(pattern, '\\', CP_ACP);
    const int slash = FindLastCharInCodePage(pattern, '/', CP_ACP);
    const int separator = backslash > slash ? backslash : slash;
    if (separator >= 0)
        return CString(pattern, separator + 1);
    if (pattern[0] != '\0' && pattern[1] == ':')
        return CString(pattern, 2);
    return CString();
}

} // namespace

bool CFileFind::FindFile(const char* pattern)
{
    Close();
    if (!pattern || !*pattern)
        pattern = "*.*";
    m_hFind = ::FindFirstFileA(pattern, &m_next);
    if (m_hFind == INVALID_HANDLE_VALUE)
        return false;
    m_bHasNext = true;
    m_strRoot = FolderOfPattern(pattern);
    return true;
}

bool CFileFind::FindNextFile()
{
    if (!m_bHasNext)
        return false;
    m_current = m_next;
    m_bHasCurrent = true;
    m_bHasNext = ::FindNextFileA(m_hFind, &m_next) != FALSE;
    return m_bHasNext;
}

void CFileFind::Close()
{
    if (m_hFind != INVALID_HANDLE_VALUE) {
        ::FindClose(m_hFind);
        m_hFind = INVALID_HANDLE_VALUE;
    }
    m_bHasNext = false;
    m_bHasCurrent = false;
    m_strRoot.Empty();
}

CString CFileFind::GetFileName() const
{
    return m_bHasCurrent ? CString(m_current.cFileName) : CString();
}

CString CFileFind::GetFilePath() const
{
    return m_bHasCurrent ? m_strRoot + m_current.cFileName : CString();
}

bool CFileFind::IsDirectory() const
{
    return m_bHasCurrent && (m_current.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool CFileFind::IsDots() const
{
    if (!IsDirectory())
        return false;
    return std::strcmp(m_current.cFileName, ".") == 0 || std::strcmp(m_current.cFileName, "..") == 0;
}
