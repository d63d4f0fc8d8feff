// Turns the command line's inputs into the list of archive entries: checks each
// path (relative, no "..", forward slashes in the archive), walks folders in
// sorted order when recursing, skips the archive being written and duplicates.
// It reads only the file system's directory data, never file contents; it does
// not check that files stay readable until they are packed.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace zip {

struct Entry {
  std::string name;              // as stored: forward slashes, folders end in '/'
  std::filesystem::path source;  // where to read it from
  bool directory = false;
};

// The normalised archive name for an input as typed ("" for the working folder
// itself). Throws ZipError(Exit::Usage) for absolute paths and "..".
std::string ArchiveNameFor(const std::string& input);

// Throws ZipError(Exit::Input) for a missing or unreadable input, or when the
// archive would hold more entries than the format's 65,535.
std::vector<Entry> CollectEntries(const std::vector<std::string>& inputs, bool recurse,
                                  const std::filesystem::path& archive);

}  // namespace zip
