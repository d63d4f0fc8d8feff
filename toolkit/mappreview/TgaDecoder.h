// TgaDecoder: TGA images (true colour, 24 or 32 bits, uncompressed or
// run-length encoded; 8-bit greyscale too) decoded to a top-first RGBA Picture,
// whichever corner the file starts in. Colour-mapped TGAs are refused. 24-bit
// and greyscale pixels come out opaque.
#pragma once

#include <cstdint>
#include <vector>

#include "Picture.h"

namespace mappreview {

// Decodes `bytes`; throws PreviewError (BadInput) on a truncated or unsupported file.
Picture DecodeTga(const std::vector<uint8_t>& bytes);

}  // namespace mappreview
