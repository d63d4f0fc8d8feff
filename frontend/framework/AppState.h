// Process-wide state of the framework: the main window that owns dialogs opened
// without a parent, and message boxes captioned with the application title.
//
// The application title is string 57344 of the running program ("Kolvanta Rev.0");
// it is loaded once and cached. Nothing here owns a window.
#pragma once

#include <windows.h>

#include "String.h"

// The main window, or null before the frame exists (and in tests).
HWND AfxGetMainWnd();
void AfxSetMainWnd(HWND hWnd);

// The application title from the string table (empty when the resource is missing).
CString AfxGetAppName();

// A message box owned by the active window (or the main window), captioned with
// the application title. Returns the button the user pressed (IDOK, ...).
int AfxMessageBox(const char* text, UINT type = MB_OK);
int AfxMessageBox(UINT stringId, UINT type = MB_OK);
