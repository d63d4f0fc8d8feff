// Diagnostics: the one-line warnings the stages collect on their way.
//
// Stages never print; they append here and the program's entry writes them
// to standard error, each on one line. Order is the order of discovery.
#pragma once

#include <string>
#include <vector>

namespace zaro3 {

struct Diagnostics {
  std::vector<std::string> warnings;
  void Warn(std::string message) { warnings.push_back(std::move(message)); }
};

}  // namespace zaro3
