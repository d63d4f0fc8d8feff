// TableLines: the line-oriented text tables the converter reads (the texture
// source lists and the thing table): '#' starts a comment, blank lines are
// skipped, a malformed line is skipped with a warning.
//
// Only the first malformed line of a file is named; a count follows when there
// are more, so a broken file cannot flood the output. The entry callback
// decides what a line means and returns false for a malformed one.
#pragma once

#include <functional>
#include <istream>
#include <string>

#include "Diagnostics.h"

namespace zaro3 {

// Calls `entry` with each line of `in` (comment removed); `what` names an entry in warnings.
void ForEachTableLine(std::istream& in, const std::string& source, const std::string& what, Diagnostics& diagnostics,
                      const std::function<bool(const std::string& line)>& entry);

// A plain decimal of at most `maxDigits` digits (no sign) into `value`; false otherwise.
bool ParseDigits(const std::string& text, std::size_t maxDigits, int& value);

}  // namespace zaro3
