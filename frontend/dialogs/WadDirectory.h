// Reading the level names out of a DOOM .wad lump directory.
//
// Only the header (lump count, directory offset) and the 16-byte directory
// entries are read; lump data and the identification are never examined. All
// fields are 32-bit little-endian, read byte by byte. A lump is a level when
// its whole upper-cased name is one of the 68 level names, "E1M1" to "E4M9"
// and "MAP01" to "MAP32"; levels come out in directory order, repeats included.
#pragma once

#include <vector>

#include "String.h"

// True when name (already upper-cased) is exactly one of the 68 level names.
bool IsLevelName(const CString& name);

// Fills levels with the level lumps of the wad at path. False (levels then
// empty) when the file cannot be opened, is shorter than its header, its
// directory lies past the end of the file or is cut short, or a read fails.
bool ReadWadLevels(const CString& path, std::vector<CString>& levels);
