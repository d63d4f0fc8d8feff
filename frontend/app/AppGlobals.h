// The process-wide objects every part of the front-end reads.
//
// They are defined, in their construction order, next to the application object
// (the settings dialog g_confDlg is declared with its class in dialogs/ConfDlg.h).
// g_strProgramFolder ends in a backslash and is written once at start-up;
// g_imageList is the one owner of the shared 16 x 16 icons (index 0 blank,
// 1 tick, 2 cross, 3 folder, 4 empty check box, 5 ticked check box).
#pragma once

#include "ImageList.h"
#include "String.h"

extern CImageList g_imageList;
extern CString g_strProgramFolder;
