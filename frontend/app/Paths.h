// Path helpers of the front-end: the running program's path, the folder of a
// path, and joining a folder and a name with exactly one backslash.
//
// Backslashes are searched by characters of the active code page, so the trail
// byte of a double-byte character never counts as a separator. Names are not
// inspected or normalised; nothing touches the file system.
#pragma once

#include <windows.h>

#include "String.h"

// Full path of the module's file (null: the running program); empty when unreadable.
CString GetModulePath(HMODULE module);
// The part of the path before its last backslash, with that backslash when
// withBackslash is TRUE; empty when the path has no backslash.
CString GetFolderOfPath(const CString& path, BOOL withBackslash);
// folder + name, with one backslash between them unless folder is empty or
// already ends in a backslash.
CString JoinPath(const CString& folder, const CString& name);
