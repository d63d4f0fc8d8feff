// Fuzz target for the map parser. Each input is parsed from an exactly sized
// heap copy, so AddressSanitizer reports any read at or beyond the end. Text
// that parses is named and written, and the written text must parse again and
// write back identically: the writer and the parser must agree on every token.
#include "EntityNaming.h"
#include "MapModel.h"
#include "MapWriter.h"
#include "ScanCursor.h"
#include "SparseBasic.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

bool ParseBytes(const char* p, std::size_t n, MapEntityList& entities)
{
    ScanCursor cursor;
    cursor.pBuffer = p;
    cursor.nEnd = static_cast<std::uint32_t>(n);
    CSparseBasic parser(&cursor, &entities);
    const bool bOk = parser.Parse();
    if (cursor.nPos > cursor.nEnd)
        std::abort();
    return bOk;
}

std::string Write(const MapEntityList& entities)
{
    CStringSink sink;
    WriteMap(entities, sink);
    return sink.Text();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    if (nSize > 0xFFFFFFFFu)
        return 0;
    std::unique_ptr<char[]> text(new char[nSize]);
    if (nSize != 0)
        std::memcpy(text.get(), pData, nSize);

    MapEntityList entities;
    if (!ParseBytes(text.get(), nSize, entities))
        return 0;
    NameUnnamedEntities(entities);
    const std::string first = Write(entities);

    MapEntityList again;
    std::unique_ptr<char[]> copy(new char[first.size()]);
    if (!first.empty())
        std::memcpy(copy.get(), first.data(), first.size());
    // Written text that is empty has no entities; anything else must parse.
    if (!first.empty() && !ParseBytes(copy.get(), first.size(), again))
        std::abort();
    NameUnnamedEntities(again);
    if (Write(again) != first)
        std::abort();
    return 0;
}
