// The program's process-wide objects, constructed in this order before start-up
// and destroyed in reverse order at the end: the settings dialog, the
// application, the shared icon list and the program folder. Then the entry point.
#include <windows.h>

#include "AppGlobals.h"
#include "KolvantaApp.h"
#include "dialogs/ConfDlg.h"

CConfDlg g_confDlg;
CKolvantaApp theApp;
CImageList g_imageList;
CString g_strProgramFolder;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand)
{
    return AfxWinMain(instance, previous, commandLine, showCommand);
}
