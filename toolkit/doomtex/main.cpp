// doomtex <wad> <set> <outdir> <listfile>: a wad's wall textures and flats as
// TGA images, their DOOM 3 materials and the converter's texture source list.
//
// Exit codes: 0 everything converted; 4 output written but some pieces were
// left out or incomplete (each named on standard error; the package is still
// usable); 1 usage; 2 the wad cannot be read or has nothing to convert;
// 3 an output file cannot be written.
#include <cstdio>
#include <filesystem>
#include <string>

#include "Catalog.h"
#include "Extract.h"
#include "Image.h"
#include "OutputFile.h"
#include "Palette.h"
#include "WadFile.h"

namespace {

constexpr int kPartial = 4;

bool IsSetName(const std::string& set) {
  if (set.empty()) return false;
  for (char c : set) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    if (!ok) return false;
  }
  return true;
}

int Run(const std::string& wadPath, const std::string& set, const std::string& outdir, const std::string& listFile) {
  wad::WadFile wad;
  wad::Palette palette;
  try {
    wad = wad::WadFile::Load(wadPath);
    palette = wad::ReadPalette(wad);
  } catch (const wad::WadError& e) {
    std::fprintf(stderr, "doomtex: %s\n", e.what());
    return 2;
  }
  try {
    const doomtex::ExtractResult result = doomtex::ExtractImages(wad, palette, set, outdir);
    for (const std::string& problem : result.problems) std::fprintf(stderr, "doomtex: %s\n", problem.c_str());
    if (result.entries.empty()) {
      std::fprintf(stderr, "doomtex: %s has no wall textures or flats to convert\n", wadPath.c_str());
      return 2;
    }
    std::vector<doomtex::CatalogEntry> entries = result.entries;
    doomtex::SortEntries(entries);
    const std::string wadName = std::filesystem::path(wadPath).filename().string();
    image::WriteFileReplacing((std::filesystem::path(outdir) / "materials" / (set + ".mtr")).string(),
                              doomtex::MaterialText(set, entries));
    image::WriteFileReplacing(listFile, doomtex::SourceListText(wadName, set, entries));
    std::printf("doomtex: %d textures, %d flats, %zu problems\n", result.textures, result.flats,
                result.problems.size());
    return result.problems.empty() ? 0 : kPartial;
  } catch (const image::ImageError& e) {
    std::fprintf(stderr, "doomtex: %s\n", e.what());
    return 3;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: doomtex <wad> <set> <outdir> <listfile>\n");
    return 1;
  }
  const std::string set = argv[2];
  if (!IsSetName(set)) {
    std::fprintf(stderr, "doomtex: the set name '%s' must be letters, digits or _\n", set.c_str());
    return 1;
  }
  try {
    return Run(argv[1], set, argv[3], argv[4]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "doomtex: %s\n", e.what());
    return 3;
  }
}
