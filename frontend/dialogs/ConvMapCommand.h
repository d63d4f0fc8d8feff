// The map converter's command line, built from the map dialog's choices.
//
// Plain values in, plain text out: the wad and level go in unquoted and
// unchecked (the converter finds the wad by its bare name in its working
// folder), the flags in a fixed order. Whether a wad or level was chosen at all
// is the dialog's business.
#pragma once

#include "String.h"

struct ConvMapOptions {
    CString strWad;       // file name of the wad, no folder
    CString strLevel;     // level name as shown or typed
    bool bNoWall = false;
    bool bNoCeil = false;
    bool bNoFloor = false;
    bool bNoMove = false;
    bool bNoEnt = false;
    bool bBound = false;
    bool bDirect = false;
    CString strScale;     // empty: no scale flag
    bool bTexDoom1 = false;
    bool bTexDoom2 = false;
    bool bTexTnt = false;
    bool bTexPlutonia = false;
    bool bTexCustom = false;
};

// "ZarO3.exe %s" around " <wad> <level>", the option flags, " -scale %f" and the
// texture-source flags.
CString BuildConvMapCommandLine(const ConvMapOptions& options);

// The leading decimal number of text as C's strtod reads it, except that the
// decimal mark is always '.', whatever the locale; 0 when there is none.
double ParseScale(const CString& text);

// value formatted with "%f", with '.' as the decimal mark whatever the locale.
CString FormatScale(double value);

// The texture source a known game wad implies (whole name, case ignored).
enum class TextureSource { None, Doom1, Doom2, Tnt, Plutonia };
TextureSource ChooseTextureSource(const CString& wadName);
