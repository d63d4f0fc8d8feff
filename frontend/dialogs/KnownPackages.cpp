#include "KnownPackages.h"

namespace {

const char* const kKnownPackages[] = {
    "zdoomdefsdoom.pk4",
    "zdoomtex.pk4",
    "zdoom1tex.pk4",
    "zdoom2tex.pk4",
    "ztnttex.pk4",
    "zplutoniatex.pk4",
};

} // namespace

bool IsKnownPackage(const CString& fileName)
{
    for (const char* known : kKnownPackages) {
        if (fileName.CompareNoCase(known) == 0)
            return true;
    }
    return false;
}
