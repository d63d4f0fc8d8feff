// Path helpers of the front-end: the running program's path, the folder of a
// path, and joining a folder and a name with exactly one backslash.
//
// Backslashes are found by stepping through the text by characters of a
// multi-byte code page (the active one unless a caller names another), so the
// trail byte 0x5C of a double-byte character never counts as a separator.
// Slashes are never separators here. Names are not inspected or normalised;
// nothing touches the file system.
#pragma once

#include <windows.h>

#include "String.h"

// Full path of the module's file (null: the running program); empty when it
// cannot be read whole.
CString GetModulePath(HMODULE module = nullptr);

// The part of path before its last backslash, with that backslash when
// withBackslash is TRUE; empty when the path has no backslash.
CString GetFolderOfPath(const CString& path, BOOL withBackslash, UINT codePage = CP_ACP);

// folder and name with exactly one backslash between them: none is added when
// folder is empty or already ends in a backslash. name is taken as it is.
CString JoinPath(const CString& folder, const CString& name, UINT codePage = CP_ACP);
