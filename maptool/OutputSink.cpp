#include "OutputSink.h"

namespace {

// Big enough that the cost of a drain (a system call) vanishes against the
// copying; small enough to stay in the cache.
constexpr std::size_t kBufferSize = 256 * 1024;

} // namespace

COutputSink::COutputSink()
    : m_buffer(new char[kBufferSize]), m_pFree(m_buffer.get()), m_nRoom(kBufferSize)
{
}

COutputSink::~COutputSink() = default;

bool COutputSink::Flush()
{
    const std::size_t n = kBufferSize - m_nRoom;
    if (n != 0 && !m_bFailed && !Drain(m_buffer.get(), n))
        m_bFailed = true;
    m_pFree = m_buffer.get();
    m_nRoom = kBufferSize;
    return !m_bFailed;
}

void COutputSink::PutSlow(const char* p, std::size_t n)
{
    Flush();
    if (n < kBufferSize) {
        std::memcpy(m_pFree, p, n);
        m_pFree += n;
        m_nRoom -= n;
    } else if (!m_bFailed && !Drain(p, n)) {
        m_bFailed = true;
    }
}
