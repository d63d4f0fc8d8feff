// The files of the program folder that the dialogs offer, and the one-column
// lists they show them in.
//
// Folders whose names match a pattern are never listed. Names come without the
// folder part, in the order the file system returns them; the combo boxes sort
// them, the lists keep that order.
#pragma once

#include <vector>

#include "ListCtrl.h"
#include "String.h"

// Names of the files in g_strProgramFolder that match pattern ("*.wad", ...).
std::vector<CString> FindProgramFolderFiles(const char* pattern);

// Empties a list, gives it the shared icons and one left-aligned column as wide
// as its client area less a vertical scroll bar.
void ResetSingleColumnList(const CListCtrl& list, const char* heading, int scrollBarWidth);
