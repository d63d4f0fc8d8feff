// ReplaceFile: a whole file written under a temporary name beside it and renamed
// into place, so a failed or interrupted run never leaves a half-written file.
//
// The one way every kit tool writes its output files. The temporary file lies
// in the target's folder (the rename stays on one volume; on Windows the
// library's rename replaces an existing file) and is removed when any step
// fails. It does not create folders: callers that want them call
// CreateParentFolders first.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace fileio {

// A file or folder that could not be written; the message names the path.
class FileError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// Writes `bytes` to `path`, replacing an existing file only when all of it is written; FileError on failure.
void WriteFileReplacing(const std::string& path, std::string_view bytes);

// Creates the folders above `path` that are missing; FileError on failure.
void CreateParentFolders(const std::string& path);

}  // namespace fileio
