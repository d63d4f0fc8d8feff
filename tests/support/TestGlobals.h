// The process-wide objects as tests see them (defined in TestGlobals.cpp, in the
// program's construction order: g_confDlg, g_imageList, g_strProgramFolder), and
// the start-up steps a test may need before it opens a dialog.
#pragma once

#include <string>

#include "app/AppGlobals.h"
#include "dialogs/ConfDlg.h"

namespace testsupport {

// Fills g_imageList as start-up does, once per process; false when that failed.
bool PrepareSharedImageList();
// Sets g_strProgramFolder, adding the trailing backslash when missing.
void SetProgramFolder(const std::string& folder);

} // namespace testsupport
