#include "Scorvel.h"

#include "EntityNaming.h"
#include "MapModel.h"
#include "MappedFile.h"
#include "MapWriter.h"
#include "RewriteFile.h"
#include "ScanCursor.h"
#include "SparseBasic.h"

#include <cstdint>
#include <new>
#include <stdexcept>

namespace {

enum ExitCode { kOk = 0, kUsage = 1, kNoFile = 2, kSyntax = 3, kOutOfMemory = 4 };

// Reads the map at pszPath into entities. kOk, kNoFile or kSyntax.
ExitCode ReadMap(const char* pszPath, MapEntityList& entities)
{
    CMappedFile file;
    if (!file.Open(pszPath))
        return kNoFile;
    const char* pView = file.GetView();
    const std::uint32_t nSize = file.GetSize();
    // A view that could not be mapped, a size that could not be read, or a file
    // too big for the 32-bit cursor: parsing it would read nothing or only a
    // part, and the rewrite would then lose the rest of the map.
    if (pView == nullptr || nSize == 0 || nSize == 0xFFFFFFFFu)
        return kNoFile;
    ScanCursor cursor;
    cursor.pBuffer = pView;
    cursor.nPos = 0;
    cursor.nEnd = nSize;
    CSparseBasic parser(&cursor, &entities);
    if (!parser.Parse())
        return kSyntax;
    // The file is closed here, before the rewrite opens the same path.
    return kOk;
}

ExitCode CleanMap(const char* pszPath)
{
    MapEntityList entities;
    const ExitCode result = ReadMap(pszPath, entities);
    if (result != kOk)
        return result;
    NameUnnamedEntities(entities);
    CRewriteFile out;
    if (!out.Begin(pszPath))
        return kNoFile;
    WriteMap(entities, out);
    return out.Commit() ? kOk : kNoFile;
}

} // namespace

int RunScorvel(int argc, char* argv[], std::FILE* pErr)
{
    std::fputs("Scorvel Rev.0\n", pErr);
    if (argc < 2) {
        std::fputs("Usage: Scorvel <.map file>\n\n", pErr);
        return kUsage;
    }
    ExitCode result;
    try {
        result = CleanMap(argv[1]);
    } catch (const std::bad_alloc&) {
        result = kOutOfMemory;
    } catch (const std::length_error&) {
        result = kOutOfMemory;
    }
    if (result == kOk)
        std::fputs("OK", pErr);
    std::fflush(pErr);
    return result;
}
