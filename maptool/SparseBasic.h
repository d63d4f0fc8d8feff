// CSparseBasic: the scanner and parser of brush-format .map text.
//
// The scanning primitives walk a ScanCursor byte by byte; Parse applies the map
// grammar on top of them and fills a MapEntityList, one function per rule:
//
//   map      = { entity }                    white space around and between
//   entity   = "{" { keyvalue | brush } "}"
//   keyvalue = token token                   quoted ("...", no escapes) or bare
//   brush    = "{" { plane } "}"
//   plane    = 3 x ( "(" bare bare bare ")" ) bare bare bare bare bare bare
//
// White space is exactly TAB, LF, CR and blank; there is no comment syntax. A
// bare token runs to the next white space or the end of the text, so braces,
// parentheses and quotes are ordinary characters inside it.
//
// Does not check: numbers or names, which are stored as text. Order: the scanner
// only moves forward and never looks beyond the current byte; no byte at or
// beyond nEnd is read. Ownership: the cursor and the entity list belong to the
// caller; the token string's bytes belong to the list's text arena.
//
// Every syntax error throws CSparseBasic::Error where it is found; Parse catches
// it, and only it, and reports false. Other exceptions (out of memory) pass out.
#pragma once

#include "MapModel.h"
#include "MapString.h"
#include "ScanCursor.h"

#include <climits>
#include <cstddef>
#include <cstdint>

class CSparseBasic {
public:
    struct Error {};

    // Reads pCursor's text into *pEntities; neither is owned.
    CSparseBasic(ScanCursor* pCursor, MapEntityList* pEntities);

    // Scanning primitives.
    int Peek() const         // the byte at nPos (0 to 255), or -1 at the end
    {
        const ScanCursor& c = *m_pCursor;
        return c.nPos < c.nEnd ? static_cast<unsigned char>(c.pBuffer[c.nPos]) : -1;
    }
    void Advance()           // one byte forward unless at the end
    {
        if (m_pCursor->nPos < m_pCursor->nEnd)
            ++m_pCursor->nPos;
    }
    void SkipSpaces();       // past TAB, LF, CR and blank (and nothing else)
    int ReadToken();         // a bare token into the token string; its length
    int ReadQuoted();        // the text between double quotes; its length; throws Error
    const CMapString& Token() const { return m_strToken; }  // text of the last read

    // True when the whole text was read into the list; false on a syntax error,
    // with the list holding what was read up to it (the caller discards it).
    bool Parse();

private:
    void ParseEntity();
    void ParseKeyValue(MapEntity& entity);
    void ParseBrush(MapEntity& entity);
    void ParsePlane(MapBrush& brush);
    const CMapString& ReadKeyOrValue();
    const CMapString& ReadBare();

    static bool IsSpace(unsigned char c)
    {
        constexpr unsigned long long kSpaces = (1ull << 9) | (1ull << 10) | (1ull << 13) | (1ull << 32);
        return c <= 32 && ((kSpaces >> c) & 1u) != 0;
    }

    ScanCursor* m_pCursor;
    CMapString m_strToken;
    MapEntityList* m_pEntities;
};

// The two primitives that run for every token are inline, for the parser's
// loops. They work on copies of the cursor's fields so that the position stays
// in a register, and update the cursor once at the end.

inline void CSparseBasic::SkipSpaces()
{
    ScanCursor& c = *m_pCursor;
    const char* const p = c.pBuffer;
    std::uint32_t nPos = c.nPos;
    while (nPos < c.nEnd && IsSpace(static_cast<unsigned char>(p[nPos])))
        ++nPos;
    c.nPos = nPos;
}

inline int CSparseBasic::ReadToken()
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
    // A token can in theory be longer than int allows; callers only ask
    // whether it is empty, so a long one stays positive.
    return n > INT_MAX ? INT_MAX : static_cast<int>(n);
}
