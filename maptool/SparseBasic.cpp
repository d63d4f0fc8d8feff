#include "SparseBasic.h"

#include <climits>
#include <cstring>

CSparseBasic::CSparseBasic(ScanCursor* pCursor, MapEntityList* pEntities)
    : m_pCursor(pCursor), m_pEntities(pEntities)
{
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
    return n > INT_MAX ? INT_MAX : static_cast<int>(n);
}
