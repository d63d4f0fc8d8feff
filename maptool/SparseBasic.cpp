#include "SparseBasic.h"

#include <climits>
#include <cstring>

namespace {

// TAB, LF, CR and blank; nothing else (no form feed, no NUL, no byte above 127).
inline bool IsSpace(unsigned char c)
{
    constexpr unsigned long long kSpaces = (1ull << 9) | (1ull << 10) | (1ull << 13) | (1ull << 32);
    return c <= 32 && ((kSpaces >> c) & 1u) != 0;
}

inline int LengthResult(std::size_t n)
{
    // A token can in theory be longer than int allows; callers only ask whether
    // it is empty, so keep a long one positive.
    return n > INT_MAX ? INT_MAX : static_cast<int>(n);
}

} // namespace

CSparseBasic::CSparseBasic(ScanCursor* pCursor, MapEntityList* pEntities)
    : m_pCursor(pCursor), m_pEntities(pEntities)
{
}

// The loops below work on copies of the cursor's fields so that the position
// stays in a register; the cursor is updated once at the end.

void CSparseBasic::SkipSpaces()
{
    ScanCursor& c = *m_pCursor;
    const char* const p = c.pBuffer;
    std::uint32_t nPos = c.nPos;
    while (nPos < c.nEnd && IsSpace(static_cast<unsigned char>(p[nPos])))
        ++nPos;
    c.nPos = nPos;
}

int CSparseBasic::ReadToken()
{
    ScanCursor& c = *m_pCursor;
    const char* const p = c.pBuffer;
    const std::uint32_t nStart = c.nPos;
    std::uint32_t nPos = nStart;
    while (nPos < c.nEnd && !IsSpace(static_cast<unsigned char>(p[nPos])))
        ++nPos;
    c.nPos = nPos;
    const std::size_t n = nPos - nStart;
    m_strToken = m_pEntities->Text().Make(p + nStart, n);
    return LengthResult(n);
}

int CSparseBasic::ReadQuoted()
{
    if (Peek() != '"')
        throw Error();
    Advance();
    ScanCursor& c = *m_pCursor;
    const std::uint32_t nStart = c.nPos;
    const void* pQuote = std::memchr(c.pBuffer + nStart, '"', c.nEnd - nStart);
    if (pQuote == nullptr) {
        // Never closed: the scan stopped at the end of the text.
        c.nPos = c.nEnd;
        throw Error();
    }
    const std::size_t n = static_cast<const char*>(pQuote) - (c.pBuffer + nStart);
    m_strToken = m_pEntities->Text().Make(c.pBuffer + nStart, n);
    c.nPos = static_cast<std::uint32_t>(nStart + n + 1);
    return LengthResult(n);
}
