// OutputFile: whole files written under a temporary name and renamed into place,
// so a failed or interrupted run never leaves a half-written file behind.
//
// The folder of the target is created when missing; the write itself is the
// kit's one replacing write (ReplaceFile.h). Any failure is one ImageError
// naming the path.
#pragma once

#include <string>
#include <string_view>

namespace image {

// Writes `bytes` to `path` atomically (replacing an existing file); ImageError on failure.
void WriteFileReplacing(const std::string& path, std::string_view bytes);

}  // namespace image
