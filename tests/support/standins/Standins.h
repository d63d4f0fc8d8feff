// Putting the tool stand-ins where the front-end looks for the real tools.
// Tests that use this link kolvanta_standins (which also builds them).
#pragma once

#include <windows.h>

#include <string>

#include "StandinPaths.h"

// Copies ZarO3.exe, doom3.exe and xtract.bat into folder (which must exist),
// replacing older copies. True when all three were copied.
inline bool InstallStandins(const std::string& folder)
{
    std::string base = folder;
    if (!base.empty() && base.back() != '\\' && base.back() != '/')
        base += '\\';
    return ::CopyFileA(KOLVANTA_STANDIN_ZARO3_PATH, (base + "ZarO3.exe").c_str(), FALSE)
        && ::CopyFileA(KOLVANTA_STANDIN_DOOM3_PATH, (base + "doom3.exe").c_str(), FALSE)
        && ::CopyFileA(KOLVANTA_STANDIN_XTRACT_PATH, (base + "xtract.bat").c_str(), FALSE);
}
