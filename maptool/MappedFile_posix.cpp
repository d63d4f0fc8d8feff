#include "MappedFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

bool CMappedFile::Open(const char* pszPath)
{
    if (m_hFile != -1 || m_nMapping != 0)
        return false;
    // O_NONBLOCK keeps a FIFO from hanging the open; it is refused below anyway.
    m_hFile = ::open(pszPath, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (m_hFile == -1)
        return false;
    struct stat st;
    // Only a plain, non-empty file can be mapped whole (Windows refuses to map
    // an empty file, and so does this build).
    if (::fstat(m_hFile, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size <= 0 ||
        static_cast<unsigned long long>(st.st_size) > SIZE_MAX) {
        Close();
        return false;
    }
    m_nMapping = static_cast<std::size_t>(st.st_size);
    return true;
}

const char* CMappedFile::GetView()
{
    if (m_pView == nullptr && m_nMapping != 0) {
        void* p = ::mmap(nullptr, m_nMapping, PROT_READ, MAP_PRIVATE, m_hFile, 0);
        if (p != MAP_FAILED) {
            ::madvise(p, m_nMapping, MADV_SEQUENTIAL);
            m_pView = p;
        }
    }
    return static_cast<const char*>(m_pView);
}

std::uint32_t CMappedFile::GetSize() const
{
    struct stat st;
    if (m_hFile == -1 || ::fstat(m_hFile, &st) != 0)
        return 0;
    if (static_cast<unsigned long long>(st.st_size) > 0xFFFFFFFFull)
        return 0xFFFFFFFFu;
    return static_cast<std::uint32_t>(st.st_size);
}

void CMappedFile::Close()
{
    if (m_nMapping != 0) {
        if (m_pView == nullptr || ::munmap(const_cast<void*>(m_pView), m_nMapping) == 0)
            m_pView = nullptr;
        m_nMapping = 0;
    }
    if (m_hFile != -1) {
        ::close(m_hFile);
        m_hFile = -1;
    }
}
