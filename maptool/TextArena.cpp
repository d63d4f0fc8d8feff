#include "TextArena.h"

#include <cstdint>
#include <cstring>
#include <stdexcept>

namespace {

// Chunks start small, so a tiny map pays for little, and double up to a size at
// which chunk allocations are rare.
constexpr std::size_t kFirstChunkSize = 4u << 10;
constexpr std::size_t kMaxChunkSize = 1u << 20;

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
        const std::size_t nNext = m_nNextChunk == 0 ? kFirstChunkSize : m_nNextChunk;
        const bool bOwnChunk = nRecord > nNext / 4;
        const std::size_t nChunk = bOwnChunk ? nRecord : nNext;
        m_chunks.reserve(m_chunks.size() + 1);
        m_chunks.emplace_back(new unsigned char[nChunk]);
        unsigned char* pChunk = m_chunks.back().get();
        if (bOwnChunk)
            return Fill(pChunk, p, n);
        m_pFree = pChunk;
        m_nRoom = nChunk;
        m_nNextChunk = nChunk < kMaxChunkSize ? 2 * nChunk : kMaxChunkSize;
    }
    unsigned char* pRecord = m_pFree;
    m_pFree += nRecord;
    m_nRoom -= nRecord;
    return Fill(pRecord, p, n);
}
