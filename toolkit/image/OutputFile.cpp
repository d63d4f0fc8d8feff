#include "OutputFile.h"

#include "Image.h"
#include "ReplaceFile.h"

namespace image {

void WriteFileReplacing(const std::string& path, std::string_view bytes) {
  try {
    fileio::CreateParentFolders(path);
    fileio::WriteFileReplacing(path, bytes);
  } catch (const fileio::FileError& e) {
    throw ImageError(e.what());
  }
}

}  // namespace image
