// Starting outside programs: the conversion tools in the program folder, the map
// tool and the game.
//
// Only the creation of the process counts: a program that starts and then fails
// still gives true, since no exit code is read. The command line goes to the
// platform exactly as given (callers quote paths themselves). Nothing here shows
// a message. A waiting launch blocks the calling thread, without processing
// window messages, until the program has ended.
#pragma once

#include "String.h"

// Starts application (or, when it is empty, the program named by the command
// line's first token, found by the platform's program search) with commandLine,
// in workingFolder (empty: the caller's current folder). With wait set, returns
// only after the program has ended. True when the process was created.
bool LaunchProcess(CString application, CString commandLine, CString workingFolder, bool wait);

// LaunchProcess with the program folder (g_strProgramFolder) as working folder.
bool LaunchInToolFolder(CString application, CString commandLine, bool wait);
