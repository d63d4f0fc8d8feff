// PreviewTool: the mappreview command line, from arguments to a written PNG.
//
//   mappreview <map> [<package.pk4>...] -o <level.png> [-size N] [-scale F]
//
// This is the one place that catches PreviewError: it prints the one-line
// message to `err` and returns the error's exit code (1 usage, 2 bad input,
// 3 cannot write). On success it prints a one-line summary to `out`. The PNG
// is only ever replaced whole.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace mappreview {

// Runs the tool on `args` (without the program name); returns the exit code.
int RunPreviewTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace mappreview
