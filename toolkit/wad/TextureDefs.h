// TextureDefs: the wall texture tables (PNAMES, TEXTURE1, TEXTURE2) and the
// lookup of patch lumps by name.
//
// A TEXTURE lump is a count, a table of offsets, and per texture its name,
// size and patch placements (origin x, y and a PNAMES index). A texture entry
// that does not fit in the lump, has no positive size, or names a PNAMES index
// out of range is reported as a problem and left out (or, for a bad patch
// index, built without that patch); the table header itself must fit or the
// lump is a WadError. Only the DOOM layout is read (not Strife's shorter one).
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "WadFile.h"

namespace wad {

struct PatchPlacement {
  int originX = 0;
  int originY = 0;
  int patch = 0;  // index into the PNAMES list
};

struct TextureDef {
  std::string name;  // upper-cased
  int width = 0;
  int height = 0;
  std::vector<PatchPlacement> patches;  // drawing order: later ones cover earlier ones
};

// The PNAMES list, upper-cased; WadError when the count does not fit in the lump.
std::vector<std::string> DecodePatchNames(std::string_view lump);

// The textures of one TEXTURE1/TEXTURE2 lump, in lump order; a problem line per
// entry left out or patch dropped. WadError when the header does not fit.
std::vector<TextureDef> DecodeTextureDefs(std::string_view lump, std::size_t patchNameCount,
                                          std::vector<std::string>& problems);

// Patch lumps by name: a lump between P_START/P_END (or PP_START/PP_END) first,
// else any lump of that name; among several, the last wins.
class PatchDirectory {
public:
  explicit PatchDirectory(const WadFile& wad);
  // Lump index of the patch `name` (upper-case), or -1.
  int Find(const std::string& name) const;

private:
  std::unordered_map<std::string, int> m_marked;
  std::unordered_map<std::string, int> m_any;
};

}  // namespace wad
