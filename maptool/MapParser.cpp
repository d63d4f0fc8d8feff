// The map grammar of CSparseBasic: one function per rule, each throwing
// CSparseBasic::Error at the first byte it cannot accept.
#include "SparseBasic.h"

bool CSparseBasic::Parse()
{
    if (m_pCursor->nPos == m_pCursor->nEnd)
        return true;
    m_pEntities->clear();
    try {
        for (;;) {
            SkipSpaces();
            if (Peek() == -1)
                return true;
            ParseEntity();
        }
    } catch (const Error&) {
        return false;
    }
}

void CSparseBasic::ParseEntity()
{
    if (Peek() != '{')
        throw Error();
    // Only the brace is consumed: the byte after it is read like any other, so
    // "{}" is an empty entity and a pair may start right after the brace.
    Advance();
    MapEntity& entity = m_pEntities->emplace_back();
    for (;;) {
        SkipSpaces();
        // Closing brace first, opening brace second: a key can never be a bare
        // token that starts with a brace.
        if (Peek() == '}') {
            Advance();
            return;
        }
        if (Peek() == '{')
            ParseBrush(entity);
        else
            ParseKeyValue(entity);
    }
}

void CSparseBasic::ParseKeyValue(MapEntity& entity)
{
    const CMapString key = ReadKeyOrValue();
    entity.keyValues.insert_or_assign(key, ReadKeyOrValue());
}

void CSparseBasic::ParseBrush(MapEntity& entity)
{
    Advance();
    MapBrush& brush = entity.brushes.emplace_back();
    brush.reserve(6);
    for (;;) {
        SkipSpaces();
        if (Peek() == '}') {
            Advance();
            return;
        }
        ParsePlane(brush);
    }
}

void CSparseBasic::ParsePlane(MapBrush& brush)
{
    // Filled locally so that a failed plane never reaches the brush.
    BrushPlane plane;
    for (auto& point : plane.point) {
        SkipSpaces();
        if (Peek() != '(')
            throw Error();
        Advance();
        for (CMapString& coordinate : point) {
            SkipSpaces();
            coordinate = ReadBare();
        }
        SkipSpaces();
        if (Peek() != ')')
            throw Error();
        Advance();
    }
    for (CMapString& token : plane.surface) {
        SkipSpaces();
        token = ReadBare();
    }
    brush.push_back(plane);
}

const CMapString& CSparseBasic::ReadKeyOrValue()
{
    SkipSpaces();
    const int n = Peek() == '"' ? ReadQuoted() : ReadToken();
    if (n == 0)
        throw Error();
    return m_strToken;
}

const CMapString& CSparseBasic::ReadBare()
{
    if (ReadToken() == 0)
        throw Error();
    return m_strToken;
}
