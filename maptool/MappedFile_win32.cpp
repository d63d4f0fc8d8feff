#include "MappedFile.h"

#include <windows.h>

bool CMappedFile::Open(const char* pszPath)
{
    if (m_hFile != nullptr || m_hMapping != nullptr)
        return false;
    HANDLE hFile = ::CreateFileA(pszPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    m_hFile = hFile;
    // Fails for an empty file (ERROR_FILE_INVALID): it cannot be mapped.
    m_hMapping = ::CreateFileMappingA(hFile, nullptr, PAGE_READONLY | SEC_COMMIT, 0, 0, nullptr);
    if (m_hMapping == nullptr) {
        Close();
        return false;
    }
    return true;
}

const char* CMappedFile::GetView()
{
    if (m_pView == nullptr && m_hMapping != nullptr)
        m_pView = ::MapViewOfFile(m_hMapping, FILE_MAP_READ, 0, 0, 0);
    return static_cast<const char*>(m_pView);
}

std::uint32_t CMappedFile::GetSize() const
{
    if (m_hFile == nullptr)
        return 0;
    DWORD nHigh = 0;
    ::SetLastError(NO_ERROR);
    const DWORD nLow = ::GetFileSize(m_hFile, &nHigh);
    if (nLow == INVALID_FILE_SIZE && ::GetLastError() != NO_ERROR)
        return 0;
    if (nHigh != 0)
        return 0xFFFFFFFFu;
    return nLow;
}

void CMappedFile::Close()
{
    if (m_hMapping != nullptr) {
        if (m_pView == nullptr || ::UnmapViewOfFile(m_pView))
            m_pView = nullptr;
        ::CloseHandle(m_hMapping);
        m_hMapping = nullptr;
    }
    if (m_hFile != nullptr) {
        ::CloseHandle(m_hFile);
        m_hFile = nullptr;
    }
}
