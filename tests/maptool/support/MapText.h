// Small helpers that run the map tool's stages on text held in memory.
#pragma once

#include "EntityNaming.h"
#include "MapModel.h"
#include "MapWriter.h"
#include "ScanCursor.h"
#include "SparseBasic.h"

#include <cstdint>
#include <string>

// A cursor over the first nEnd bytes of text (all of it by default); bytes after
// nEnd are there only to show that nothing reads them.
inline ScanCursor CursorOver(const std::string& text, std::size_t nEnd = std::string::npos)
{
    ScanCursor cursor;
    cursor.pBuffer = text.data();
    cursor.nEnd = static_cast<std::uint32_t>(nEnd == std::string::npos ? text.size() : nEnd);
    return cursor;
}

inline bool ParseText(const std::string& text, MapEntityList& entities)
{
    ScanCursor cursor = CursorOver(text);
    CSparseBasic parser(&cursor, &entities);
    return parser.Parse();
}

inline std::string WriteText(const MapEntityList& entities)
{
    CStringSink sink;
    WriteMap(entities, sink);
    return sink.Text();
}

// Parse, name and write, as one run of the tool does; "<syntax error>" when the
// text does not parse.
inline std::string CleanText(const std::string& text)
{
    MapEntityList entities;
    if (!ParseText(text, entities))
        return "<syntax error>";
    NameUnnamedEntities(entities);
    return WriteText(entities);
}
