// The four texts of the Copy/Compile/Run dialog, and the paths they are built on.
//
// Pure functions over plain values. The map name is used as given: the scripts
// carry it unquoted, the map tool's command line quotes the map copy's path.
// Nothing here checks that a file or folder exists.
#pragma once

#include "String.h"

// Where one launch puts and finds things, every part joined with one backslash.
struct CnRPaths {
    CString modFolder;       // DOOM 3 folder joined with the MOD folder name
    CString mapsFolder;      // modFolder joined with "maps"
    CString mapCopy;         // mapsFolder joined with the map's file name
    CString compileScript;   // modFolder joined with "brask_compile.cfg"
    CString runScript;       // modFolder joined with "brask_runmap.cfg"
    CString doom3Program;    // DOOM 3 folder joined with "doom3.exe"
};

CnRPaths MakeCnRPaths(const CString& doom3Folder, const CString& modFolderName, const CString& mapName);

// "dmap noflood <map>\r\n": compiles the map in DOOM 3's console.
CString FormatCompileScript(const CString& mapName);
// "map <map>\r\n": loads the compiled map.
CString FormatRunScript(const CString& mapName);
// " +com_allowConsole 1", then " +exec brask_compile.cfg" and " +exec brask_runmap.cfg" as asked.
CString FormatDoom3Options(bool compile, bool run);
// The DOOM 3 program path in double quotes, directly followed by the options.
CString FormatDoom3CommandLine(const CString& doom3Program, bool compile, bool run);
// "scorvel.exe \"<map copy>\"": the map tool run on the copied map.
CString FormatMapToolCommandLine(const CString& mapCopyPath);
