// Names and texts around the wad extraction batch file and the texture wad copy.
//
// All in-place functions change only the string they are given. Comparisons of
// wad names ignore case (multi-byte aware) and cover the whole name.
#pragma once

#include "String.h"

// A known game wad ("doom.wad", "doom1.wad", "doom2.wad", "tnt.wad",
// "plutonia.wad") becomes its short name ("doom", ...); any other name stays.
void GetWadShortName(CString& name);

// Replaces each of the bytes " * / : < > ? \ | by "_", byte by byte.
void MakeSafeFileName(CString& text);

// xtract.bat "<name>"
CString BuildExtractCommandLine(const CString& name);

// The open-file filter "<text> (*.wad)|<text>||": one entry matching only files
// named text.
CString BuildTextureWadFilter(const CString& text);
