// ZipError: the one failure type of the archiver. Each carries the tool's exit
// code (1 usage, 2 input, 3 output) so the entry point reports and exits in one
// place. It owns nothing beyond its message.
#pragma once

#include <stdexcept>
#include <string>

namespace zip {

enum class Exit { Usage = 1, Input = 2, Output = 3 };

class ZipError : public std::runtime_error {
public:
  ZipError(Exit code, const std::string& message) : std::runtime_error(message), code_(code) {}
  int exitCode() const { return static_cast<int>(code_); }

private:
  Exit code_;
};

}  // namespace zip
