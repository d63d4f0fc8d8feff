// Extract: every wall texture and flat of a wad written as TGA images under
// <outdir>/textures/<set>/ (flats in its flats/ folder).
//
// A texture or flat that cannot be made whole is reported in the problems and
// made from what can be read (a texture missing a patch) or left out (a flat
// of the wrong size); only a failed write stops the run (image::ImageError).
// The material file and the source list are written by the caller from the
// entries, so every image on disk has exactly one entry.
#pragma once

#include <string>
#include <vector>

#include "Catalog.h"
#include "Palette.h"
#include "WadFile.h"

namespace doomtex {

struct ExtractResult {
  std::vector<CatalogEntry> entries;  // one per image written, in the order written
  std::vector<std::string> problems;  // one line each
  int textures = 0;
  int flats = 0;
};

// Writes the images; image::ImageError when one cannot be written.
ExtractResult ExtractImages(const wad::WadFile& wad, const wad::Palette& palette, const std::string& set,
                            const std::string& outdir);

}  // namespace doomtex
