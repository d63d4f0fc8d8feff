#include "TextArena.h"

#include <cstdint>
#include <cstring>
#include <stdexcept>

namespace {

// Large enough that chunk allocations are rare, small enough that a tiny map
// does not pay for much more than it uses.
constexpr std::size_t kChunkSize = 1u << 20;

// Records start on this boundary: it keeps the 32-bit length aligned and the
// low bit of every record address clear for CMapString's tag.
constexpr std::size_t kRecordAlign = alignof(std::uint32_t);

CMapString Fill(unsigned char* pRecord, const char* p, std::size_t n)
{
    const std::uint32_t nLength = static_cast<std::uint32_t>(n);
    std::memcpy(pRecord, &nLength, sizeof nLength);
    std::memcpy(pRecord + sizeof nLength, p, n);
    return CMapString::MakeLong(pRecord);
}

} // namespace

CMapString CTextArena::MakeLong(const char* p, std::size_t n)
{
    if (n > UINT32_MAX)
        throw std::length_error("map token of 4 GiB or more");

    const std::size_t nRecord = (sizeof(std::uint32_t) + n + kRecordAlign - 1) & ~(kRecordAlign - 1);
    if (nRecord > m_nRoom) {
        // A text too big for a shared chunk gets a chunk of its own, and the
        // current chunk stays open for the texts that follow.
        const bool bOwnChunk = nRecord > kChunkSize / 4;
        const std::size_t nChunk = bOwnChunk ? nRecord : kChunkSize;
        m_chunks.reserve(m_chunks.size() + 1);
        m_chunks.emplace_back(new unsigned char[nChunk]);
        unsigned char* pChunk = m_chunks.back().get();
        if (bOwnChunk)
            return Fill(pChunk, p, n);
        m_pFree = pChunk;
        m_nRoom = nChunk;
    }
    unsigned char* pRecord = m_pFree;
    m_pFree += nRecord;
    m_nRoom -= nRecord;
    return Fill(pRecord, p, n);
}
