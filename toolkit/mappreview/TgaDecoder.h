// TgaDecoder: the kit's TGA reader (Tga.h) as the preview needs it: a top-first
// RGBA Picture, and a PreviewError (BadInput) for a file it cannot read.
#pragma once

#include <cstdint>
#include <vector>

#include "Picture.h"

namespace mappreview {

// Decodes `bytes`; throws PreviewError (BadInput) on a truncated or unsupported file.
Picture DecodeTga(const std::vector<uint8_t>& bytes);

}  // namespace mappreview
