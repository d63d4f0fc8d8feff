// PackageUpdate: named files read from, added to or replaced in a .pk4 (zip)
// package, the package rewritten whole and atomically.
//
// ReplacePackageEntries writes a new package beside the old one under a
// temporary name: every entry the old one held, except those the new files
// replace, copied byte for byte (local header, data and any trailing
// descriptor, in their old order, their central records kept as they were but
// for the moved offset), then the new files, deflated; then it renames the new
// package over the old. On any failure the temporary file is removed and the
// package is left exactly as it was. Entry names are compared without regard
// to case, as the engine looks them up. Multi-disk and ZIP64 packages and
// packages past 4 GiB or 65,535 entries are refused, not repaired; entry data
// is not checked except where it is read. Everything is owned by the call.
#pragma once

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace pk4 {

// One line naming the package and what went wrong.
class PackageError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

struct PackageFile {
  std::string name;   // as stored: forward slashes, no leading slash
  std::string bytes;
};

// The bytes of entry `name`, or nothing when the package holds no such entry;
// PackageError when the package cannot be read or the entry is damaged.
std::optional<std::string> ReadPackageEntry(const std::string& package, const std::string& name);

// The bytes of those of `names` the package holds, keyed as asked, read through one
// opening of the package; PackageError as above.
std::map<std::string, std::string> ReadPackageEntries(const std::string& package,
                                                      const std::vector<std::string>& names);

// Adds `files` to `package`, replacing entries of the same names; PackageError
// (and the package untouched) on failure. The package must exist.
void ReplacePackageEntries(const std::string& package, const std::vector<PackageFile>& files);

}  // namespace pk4
