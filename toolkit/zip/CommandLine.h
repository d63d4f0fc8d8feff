// The archiver's command line: zip [-r] [-q] [-0..-9] <archive> <inputs...>.
// Options may be combined (-rq9) and may stand anywhere before "--". Parsing
// only checks the form; whether inputs exist is the collector's business.
#pragma once

#include <string>
#include <vector>

namespace zip {

struct CommandLine {
  bool recurse = false;
  bool quiet = false;
  bool help = false;
  int level = 6;  // 0 stores, 1..9 deflate
  std::string archive;
  std::vector<std::string> inputs;
};

// Throws ZipError(Exit::Usage) on an unknown option or a missing archive or input.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

const char* UsageText();

}  // namespace zip
