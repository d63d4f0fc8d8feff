// The environment variables the tool stand-ins read. Tests set them in their
// own process; a launched stand-in inherits them.
//
//   KOLVANTA_STANDIN_LOG       full path of the log to append to; when unset,
//                              "standins.log" in the stand-in's working folder
//   KOLVANTA_STANDIN_FAIL      when set and not empty, the stand-in ends with
//                              exit code 2 (after logging, as a failing tool would)
//   KOLVANTA_STANDIN_SLEEP_MS  the executables wait this many milliseconds before
//                              they log (the batch file ignores it)
//
// Each run appends one line, fields separated by a TAB:
//   executables: tool name, GetCommandLineA(), GetCurrentDirectoryA()
//   xtract.bat:  "xtract.bat", %0 and %*, %CD%, %1 as typed (quotes kept)
#pragma once

#define KOLVANTA_STANDIN_LOG_VARIABLE "KOLVANTA_STANDIN_LOG"
#define KOLVANTA_STANDIN_FAIL_VARIABLE "KOLVANTA_STANDIN_FAIL"
#define KOLVANTA_STANDIN_SLEEP_VARIABLE "KOLVANTA_STANDIN_SLEEP_MS"
#define KOLVANTA_STANDIN_DEFAULT_LOG "standins.log"
#define KOLVANTA_STANDIN_FAIL_EXIT_CODE 2
