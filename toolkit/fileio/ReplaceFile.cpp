#include "ReplaceFile.h"

#include <filesystem>
#include <fstream>

namespace fileio {

void WriteFileReplacing(const std::string& path, std::string_view bytes) {
  namespace fs = std::filesystem;
  const fs::path temporary(path + ".tmp");
  std::error_code error;
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) throw FileError("cannot create " + temporary.string());
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      fs::remove(temporary, error);
      throw FileError("cannot write " + path);
    }
  }
  fs::rename(temporary, fs::path(path), error);
  if (error) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
    throw FileError("cannot replace " + path + ": " + error.message());
  }
}

void CreateParentFolders(const std::string& path) {
  const std::filesystem::path target(path);
  if (!target.has_parent_path()) return;
  std::error_code error;
  std::filesystem::create_directories(target.parent_path(), error);
  if (error) throw FileError("cannot create the folder " + target.parent_path().string() + ": " + error.message());
}

}  // namespace fileio
