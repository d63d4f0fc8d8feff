#include "Extract.h"

#include <filesystem>

#include "Compose.h"
#include "Namespaces.h"
#include "OutputFile.h"
#include "SafeName.h"
#include "Tga.h"
#include "WallTextures.h"

namespace doomtex {

namespace {

void WriteImage(const std::filesystem::path& folder, const std::string& name, const image::Image& img) {
  image::WriteFileReplacing((folder / (image::SafeName(name) + ".tga")).string(), image::EncodeTga(img));
}

CatalogEntry EntryFor(Kind kind, const std::string& name, const image::Image& img) {
  CatalogEntry entry;
  entry.kind = kind;
  entry.name = name;
  entry.width = img.width;
  entry.height = img.height;
  entry.transparent = img.HasTransparency();
  return entry;
}

}  // namespace

ExtractResult ExtractImages(const wad::WadFile& wad, const wad::Palette& palette, const std::string& set,
                            const std::string& outdir) {
  ExtractResult result;
  const std::filesystem::path textureFolder = std::filesystem::path(outdir) / "textures" / set;
  const std::filesystem::path flatFolder = textureFolder / "flats";

  image::WallTextures walls(wad, palette);
  result.problems = walls.Problems();
  for (const wad::TextureDef& def : walls.Defs()) {
    const image::Image img = walls.Build(def, result.problems);
    WriteImage(textureFolder, def.name, img);
    result.entries.push_back(EntryFor(Kind::Texture, def.name, img));
    ++result.textures;
  }

  const std::vector<int> flats = wad::FlatLumps(wad);
  if (flats.empty()) result.problems.push_back("the wad has no flats (no F_START/F_END)");
  for (int index : flats) {
    const wad::Lump& lump = wad.Lumps()[index];
    if (lump.size != wad::kFlatBytes) {
      result.problems.push_back("flat " + lump.name + " is " + std::to_string(lump.size) +
                                " bytes, not 4096, skipped");
      continue;
    }
    const image::Image img = image::FlatToImage(wad.Data(index), palette);
    WriteImage(flatFolder, lump.name, img);
    result.entries.push_back(EntryFor(Kind::Flat, lump.name, img));
    ++result.flats;
  }
  return result;
}

}  // namespace doomtex
