#include "RewriteFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

CRewriteFile::~CRewriteFile()
{
    Discard();
}

bool CRewriteFile::Begin(const char* pszPath)
{
    if (!m_strTemp.empty())
        return false;

    // Rewrite the file behind any symbolic links, so the links stay links.
    char* pszReal = ::realpath(pszPath, nullptr);
    if (pszReal == nullptr)
        return false;
    m_strTarget = pszReal;
    std::free(pszReal);

    struct stat st;
    if (::stat(m_strTarget.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    // Root may open anything for writing; the mode bits still say "read-only".
    if ((st.st_mode & S_IWUSR) == 0)
        return false;
    // Open without truncating: permissions, a read-only file system, immutable
    // attributes all show up here, before anything is created.
    const int hProbe = ::open(m_strTarget.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (hProbe == -1)
        return false;
    ::close(hProbe);
    m_nMode = st.st_mode & 07777;
    m_nOwner = st.st_uid;
    m_nGroup = st.st_gid;

    const std::string::size_type nSlash = m_strTarget.rfind('/');
    std::string strTemplate = m_strTarget.substr(0, nSlash + 1) + ".scorvel-XXXXXX";
    const int hTemp = ::mkostemp(strTemplate.data(), O_CLOEXEC);
    if (hTemp == -1)
        return false;
    m_hTemp = hTemp;
    m_strTemp = strTemplate;
    return true;
}

bool CRewriteFile::Drain(const char* p, std::size_t n)
{
    while (n != 0) {
        const ssize_t nWritten = ::write(m_hTemp, p, n < SSIZE_MAX ? n : SSIZE_MAX);
        if (nWritten < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += nWritten;
        n -= static_cast<std::size_t>(nWritten);
    }
    return true;
}

bool CRewriteFile::Commit()
{
    if (m_strTemp.empty())
        return false;
    bool bOk = Flush();
    // Keep the original's owner where we may (only root may give a file away;
    // anyone may keep their own), then its mode: chown clears set-id bits.
    if (bOk && ::fchown(m_hTemp, m_nOwner, m_nGroup) != 0 && errno != EPERM)
        bOk = false;
    bOk = bOk && ::fchmod(m_hTemp, m_nMode) == 0;
    const int hTemp = m_hTemp;
    m_hTemp = -1;
    bOk = ::close(hTemp) == 0 && bOk;
    bOk = bOk && ::rename(m_strTemp.c_str(), m_strTarget.c_str()) == 0;
    if (!bOk) {
        Discard();
        return false;
    }
    m_strTemp.clear();
    return true;
}

void CRewriteFile::Discard()
{
    if (m_hTemp != -1) {
        ::close(m_hTemp);
        m_hTemp = -1;
    }
    if (!m_strTemp.empty()) {
        ::unlink(m_strTemp.c_str());
        m_strTemp.clear();
    }
}
