// Copying files with the shell's copy operation, as the user knows it from the
// desktop: it asks before overwriting a file and before creating a missing
// destination folder, and shows its own error messages.
//
// Sources are full paths, copied in array order; shell wildcards pass through
// untouched. The wait cursor shows for the whole call. Whether the user skipped
// part of the copy in the shell's questions is not reported.
#pragma once

#include <vector>

#include "String.h"

// The shell's path list: each path followed by its NUL, then one more NUL.
// Its size is 1 + the sum of (length + 1); an empty list is a single NUL.
std::vector<char> BuildShellPathList(const std::vector<CString>& paths);

// Copies every source into destination in one shell operation (owned by the
// active window). True when the shell reports success.
bool CopyFileList(const std::vector<CString>& sources, CString destination);

// CopyFileList with the one source.
bool CopyOneFile(CString source, CString destination);
