// Program: the converter's command-line entry, from arguments to exit code.
//
// Parses the options, reads the wad, the texture lists and the thing table
// from the working folder, converts, and writes <LEVEL>.map there through a
// temporary file and a rename, so a failed run leaves no half-written map.
// The summary goes to `out`, warnings and the one-line error to `err`.
// Every exception of the stages is caught here and only here.
// Exit codes: 0 written, 1 usage, 2 input (the wad or level), 3 cannot write.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace zaro3 {

int RunZaro3(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace zaro3
