// Tga: 32-bit uncompressed TGA images (type 2) written and read back.
//
// Written images always have an 18-byte header, no id or colour map, 32 bits
// per pixel in BGRA order, 8 alpha bits and the top-left origin flag, so rows
// are stored top row first. The reader takes true-colour images of 24 or 32
// bits and 8-bit greyscale, uncompressed or run-length coded, from any corner
// (our own output and typical editor exports); 24-bit and grey pixels come out
// opaque. Colour-mapped files and anything else are an ImageError.
#pragma once

#include <string>
#include <string_view>

#include "Image.h"

namespace image {

// The TGA file bytes of `img` (ImageError when a side exceeds 65535 or is 0).
std::string EncodeTga(const Image& img);
// The image held in TGA bytes; ImageError when they are not a supported TGA.
Image DecodeTga(std::string_view bytes);

}  // namespace image
