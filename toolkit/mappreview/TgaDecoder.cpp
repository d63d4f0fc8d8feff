#include "TgaDecoder.h"

#include <string>
#include <string_view>

#include "PreviewError.h"
#include "Tga.h"

namespace mappreview {

Picture DecodeTga(const std::vector<uint8_t>& bytes) {
  try {
    return image::DecodeTga(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  } catch (const image::ImageError& e) {
    throw PreviewError(ExitCode::BadInput, std::string("TGA: ") + e.what());
  }
}

}  // namespace mappreview
