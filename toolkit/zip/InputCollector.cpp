#include "InputCollector.h"

#include "ZipError.h"

#include <algorithm>
#include <set>
#include <system_error>

namespace fs = std::filesystem;

namespace zip {

namespace {

constexpr size_t kMaxEntries = 65535;

bool HasDriveLetter(const std::string& path) {
  return path.size() >= 2 && path[1] == ':' &&
         ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

// Compares paths by where they lead, so "./x.pk4" and "x.pk4" count as one file.
fs::path Resolved(const fs::path& path) {
  std::error_code error;
  fs::path result = fs::weakly_canonical(fs::absolute(path, error), error);
  return error ? path.lexically_normal() : result;
}

class Collector {
public:
  Collector(bool recurse, const fs::path& archive) : recurse_(recurse), archive_(Resolved(archive)) {}

  void AddInput(const std::string& input) {
    const std::string name = ArchiveNameFor(input);
    const fs::path source(input);
    std::error_code error;
    const fs::file_status status = fs::status(source, error);
    if (error || !fs::exists(status)) throw ZipError(Exit::Input, "cannot find " + input);
    if (fs::is_directory(status)) {
      AddFolder(name, source, true);
    } else {
      AddFile(name, source, status, input);
    }
  }

  std::vector<Entry> Take() {
    if (entries_.size() > kMaxEntries) {
      throw ZipError(Exit::Input, "too many entries (" + std::to_string(entries_.size()) +
                                      "); a zip archive holds at most 65535");
    }
    return std::move(entries_);
  }

private:
  void Push(const std::string& name, const fs::path& source, bool directory) {
    if (name.empty() || !names_.insert(name).second) return;
    entries_.push_back(Entry{name, source, directory});
  }

  void AddFile(const std::string& name, const fs::path& source, const fs::file_status& status,
               const std::string& shown) {
    if (!fs::is_regular_file(status)) throw ZipError(Exit::Input, shown + " is not a regular file");
    if (Resolved(source) == archive_) return;  // never pack the archive into itself
    Push(name, source, false);
  }

  void AddFolder(const std::string& name, const fs::path& source, bool descend) {
    Push(name.empty() ? name : name + "/", source, true);
    if (!recurse_ || !descend) return;
    std::error_code error;
    std::vector<fs::directory_entry> children;
    for (fs::directory_iterator it(source, error), end; !error && it != end; it.increment(error)) {
      children.push_back(*it);
    }
    if (error) throw ZipError(Exit::Input, "cannot read folder " + source.generic_string());
    std::sort(children.begin(), children.end(), [](const fs::directory_entry& a, const fs::directory_entry& b) {
      return a.path().filename().generic_string() < b.path().filename().generic_string();
    });
    for (const fs::directory_entry& child : children) {
      const std::string leaf = child.path().filename().generic_string();
      const std::string childName = name.empty() ? leaf : name + "/" + leaf;
      const fs::file_status status = child.status(error);
      if (error) throw ZipError(Exit::Input, "cannot read " + child.path().generic_string());
      if (fs::is_directory(status)) {
        // A linked folder is stored but not entered: links can loop.
        AddFolder(childName, child.path(), !child.is_symlink(error));
      } else if (fs::is_regular_file(status)) {
        AddFile(childName, child.path(), status, child.path().generic_string());
      }
      // Sockets, devices and dangling links have no content to pack.
    }
  }

  bool recurse_;
  fs::path archive_;
  std::set<std::string> names_;
  std::vector<Entry> entries_;
};

}  // namespace

std::string ArchiveNameFor(const std::string& input) {
  std::string path = input;
  std::replace(path.begin(), path.end(), '\\', '/');
  if (path.empty()) throw ZipError(Exit::Usage, "empty path");
  if (path[0] == '/' || HasDriveLetter(path)) {
    throw ZipError(Exit::Usage, "absolute path refused: " + input + " (give paths relative to the working folder)");
  }
  std::string name;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    const std::string part = path.substr(start, end - start);
    if (part == "..") throw ZipError(Exit::Usage, "path with '..' refused: " + input);
    if (!part.empty() && part != ".") name += (name.empty() ? "" : "/") + part;
    start = end + 1;
  }
  return name;
}

std::vector<Entry> CollectEntries(const std::vector<std::string>& inputs, bool recurse,
                                  const fs::path& archive) {
  Collector collector(recurse, archive);
  for (const std::string& input : inputs) collector.AddInput(input);
  return collector.Take();
}

}  // namespace zip
