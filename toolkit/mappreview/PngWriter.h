// PngWriter: an RGB picture encoded as a PNG (8 bits a channel, no alpha,
// one IDAT chunk, a filter chosen per row) and the safe write of a file.
// The encoder keeps only the colour channels of the Picture it is given.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Picture.h"

namespace mappreview {

// The PNG file bytes of `picture`; throws PreviewError (CannotWrite) if zlib fails.
std::vector<uint8_t> EncodePng(const Picture& picture);

// Writes `bytes` to a temporary file beside `path`, then renames it over `path`,
// so `path` is never half written; throws PreviewError (CannotWrite).
void WriteFileReplacing(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace mappreview
