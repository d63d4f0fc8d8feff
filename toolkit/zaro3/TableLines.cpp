#include "TableLines.h"

namespace zaro3 {

void ForEachTableLine(std::istream& in, const std::string& source, const std::string& what, Diagnostics& diagnostics,
                      const std::function<bool(const std::string& line)>& entry) {
  std::string line;
  int lineNumber = 0;
  int bad = 0;
  while (std::getline(in, line)) {
    ++lineNumber;
    const std::size_t hash = line.find('#');
    if (hash != std::string::npos) line.erase(hash);
    if (entry(line)) continue;
    if (bad++ == 0) diagnostics.Warn(source + " line " + std::to_string(lineNumber) + ": not a " + what + ", skipped");
  }
  if (bad > 1) diagnostics.Warn(source + ": " + std::to_string(bad) + " bad lines skipped in all");
}

bool ParseDigits(const std::string& text, std::size_t maxDigits, int& value) {
  if (text.empty() || text.size() > maxDigits) return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return true;
}

}  // namespace zaro3
