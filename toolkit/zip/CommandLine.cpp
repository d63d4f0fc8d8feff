#include "CommandLine.h"

#include "ZipError.h"

namespace zip {

namespace {

void ApplyFlags(const std::string& arg, CommandLine& line) {
  for (size_t i = 1; i < arg.size(); ++i) {
    const char c = arg[i];
    if (c == 'r') {
      line.recurse = true;
    } else if (c == 'q') {
      line.quiet = true;
    } else if (c == 'h') {
      line.help = true;
    } else if (c >= '0' && c <= '9') {
      line.level = c - '0';
    } else {
      throw ZipError(Exit::Usage, std::string("unknown option -") + c + " (try --help)");
    }
  }
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine line;
  bool optionsEnded = false;
  std::vector<std::string> operands;
  for (const std::string& arg : args) {
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && (arg == "--help" || arg == "-?")) {
      line.help = true;
    } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
      if (arg[1] == '-') throw ZipError(Exit::Usage, "unknown option " + arg + " (try --help)");
      ApplyFlags(arg, line);
    } else {
      operands.push_back(arg);
    }
  }
  if (line.help) return line;
  if (operands.empty()) throw ZipError(Exit::Usage, "no archive named (try --help)");
  if (operands.size() < 2) throw ZipError(Exit::Usage, "nothing to add to " + operands[0]);
  line.archive = operands[0];
  line.inputs.assign(operands.begin() + 1, operands.end());
  return line;
}

const char* UsageText() {
  return "usage: zip [-r] [-q] [-0..-9] <archive> <files and folders...>\n"
         "  -r     recurse into folders (in sorted order)\n"
         "  -q     quiet: no line per entry\n"
         "  -0     store without compression; -1..-9 deflate (fast..best, default 6)\n"
         "Paths are stored relative to the working folder exactly as given, with\n"
         "forward slashes; absolute paths and '..' are refused. The archive is\n"
         "always written anew (never appended to), through a temporary file beside\n"
         "it; a name without an extension gets '.zip'.\n"
         "Exit codes: 0 done, 1 usage, 2 an input missing or unreadable, 3 cannot write.\n";
}

}  // namespace zip
