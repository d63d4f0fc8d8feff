// Catalog: what doomtex made, as the material file and the texture source list.
//
// One entry per image: its kind (wall texture or flat), its wad name, its size
// and whether it has transparent pixels. The texts are pure functions of the
// entries; writing them to disk is the caller's job. Material and image paths
// use image::SafeName so a wad name with characters a file system or the DOOM 3
// lexer cannot take still gets one stable name everywhere.
#pragma once

#include <string>
#include <vector>

namespace doomtex {

enum class Kind { Texture, Flat };

struct CatalogEntry {
  Kind kind = Kind::Texture;
  std::string name;  // as in the wad, upper-cased
  int width = 0;
  int height = 0;
  bool transparent = false;
};

// The material (and image path without .tga) of an entry: textures/<set>/<NAME> or textures/<set>/flats/<NAME>.
std::string MaterialName(const std::string& set, const CatalogEntry& entry);
// The stage scale of one side: one texel per DOOM unit at the map scale 1.5, as a short decimal.
std::string StageScale(int texels);
// The whole material file: one material per entry, in list order.
std::string MaterialText(const std::string& set, const std::vector<CatalogEntry>& entries);
// The texture source list: a header naming the wad, then one line per entry, textures first, each kind by name.
std::string SourceListText(const std::string& wadName, const std::string& set, std::vector<CatalogEntry> entries);
// Entries in list order: textures before flats, each kind sorted by name.
void SortEntries(std::vector<CatalogEntry>& entries);

}  // namespace doomtex
