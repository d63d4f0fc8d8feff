#include "WadNames.h"

#include <cstring>

namespace {

struct KnownWad {
    const char* fileName;
    const char* shortName;
};

const KnownWad kKnownWads[] = {
    { "doom.wad", "doom" },
    { "doom1.wad", "doom1" },
    { "doom2.wad", "doom2" },
    { "tnt.wad", "tnt" },
    { "plutonia.wad", "plutonia" },
};

const char kUnsafeFileNameChars[] = "\"*/:<>?\\|";

} // namespace

void GetWadShortName(CString& name)
{
    for (const KnownWad& wad : kKnownWads) {
        if (name.CompareNoCase(wad.fileName) == 0) {
            name = wad.shortName;
            return;
        }
    }
}

void MakeSafeFileName(CString& text)
{
    std::string bytes = text.str();
    for (char& byte : bytes) {
        if (byte != '\0' && std::strchr(kUnsafeFileNameChars, byte) != nullptr)
            byte = '_';
    }
    text = CString(bytes);
}

CString BuildExtractCommandLine(const CString& name)
{
    CString commandLine;
    commandLine.Format("xtract.bat \"%s\"", name.GetString());
    return commandLine;
}

CString BuildTextureWadFilter(const CString& text)
{
    CString filter;
    filter.Format("%s (*.wad)|%s||", text.GetString(), text.GetString());
    return filter;
}
