// RunScorvel: one run of the map cleaning tool, from the command line to the
// exit code.
//
// Reads the .map file named by argv[1] (further arguments are ignored), names
// every unnamed entity "noname%u" and writes the map back over the same file.
// Reports only on pErr and through the result:
//   0  rewritten; pErr ends with "OK" (no line end)
//   1  no argument; usage text
//   2  the file cannot be opened, mapped or sized, or cannot be written or
//      replaced (the file is unchanged)
//   3  syntax error (the file is unchanged)
//   4  memory ran out (the file is unchanged)
// Every run begins with the banner line. Nothing goes to standard output.
//
// Ownership: the model and the mapped file are locals of the run; nothing
// persists between runs.
#pragma once

#include <cstdio>

int RunScorvel(int argc, char* argv[], std::FILE* pErr);
