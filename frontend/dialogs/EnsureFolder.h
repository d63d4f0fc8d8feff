// Making sure a destination folder exists before a shell copy into it.
//
// The shell copy of a single file into a folder that does not exist writes a
// FILE named like the folder; creating the folder first keeps the copy where
// the user expects it. Only the last part of the path is created: its parent
// must exist already. A relative path (an unset DOOM 3 folder) is never created,
// since it would land in whatever folder happens to be current.
#pragma once

#include "String.h"

// True when path is an existing folder afterwards (it was there, or was created
// now); false when it cannot be created or names a file.
bool EnsureFolder(const CString& path);
