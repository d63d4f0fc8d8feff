// PreviewError: the one exception type of the map preview, thrown where a fault
// is found and caught once at the tool's entry, which prints its one-line text
// and exits with its code. Nothing below the entry prints or exits.
#pragma once

#include <stdexcept>
#include <string>

namespace mappreview {

enum class ExitCode { Ok = 0, Usage = 1, BadInput = 2, CannotWrite = 3 };

class PreviewError : public std::runtime_error {
public:
  PreviewError(ExitCode code, const std::string& message) : std::runtime_error(message), m_code(code) {}
  ExitCode Code() const { return m_code; }

private:
  ExitCode m_code;
};

}  // namespace mappreview
