#include "OutputFile.h"

#include <filesystem>
#include <fstream>

#include "Image.h"

namespace image {

void WriteFileReplacing(const std::string& path, std::string_view bytes) {
  namespace fs = std::filesystem;
  const fs::path target(path);
  std::error_code error;
  if (target.has_parent_path()) {
    fs::create_directories(target.parent_path(), error);
    if (error) throw ImageError("cannot create the folder " + target.parent_path().string() + ": " + error.message());
  }
  const fs::path temporary = fs::path(path + ".tmp");
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (out) out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (out) out.close();
    if (!out) {
      fs::remove(temporary, error);
      throw ImageError("cannot write " + path);
    }
  }
  fs::rename(temporary, target, error);
  if (error) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
    throw ImageError("cannot replace " + path + ": " + error.message());
  }
}

}  // namespace image
