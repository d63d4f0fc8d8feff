// The packages that the deployment dialog offers already marked.
//
// A name matches when it equals one of the known package file names as a whole,
// compared without regard to case (multi-byte aware). The name is a bare file
// name: no folder part is stripped or expected.
#pragma once

#include "String.h"

// True when fileName is one of the known packages (for example ZDOOMTEX.PK4).
bool IsKnownPackage(const CString& fileName);
