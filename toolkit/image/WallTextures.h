// WallTextures: a wad's wall textures (PNAMES, TEXTURE1, TEXTURE2) ready to be
// composed into images, patches decoded once each and shared.
//
// Missing tables are not errors here: Problems() says what was missing and
// Defs() is then empty (or holds what could be read). Where TEXTURE1 and
// TEXTURE2 both name a texture, the first definition wins, as in the DOOM
// renderer's name lookup. The object owns the decoded patches; it keeps a
// reference to the wad, which must outlive it, and a copy of the palette.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "Compose.h"
#include "TextureDefs.h"
#include "WadFile.h"

namespace image {

class WallTextures {
public:
  WallTextures(const wad::WadFile& wad, const wad::Palette& palette);

  // Problems found reading the tables (missing PNAMES or TEXTURE1, bad entries).
  const std::vector<std::string>& Problems() const { return m_tableProblems; }
  // Every texture, one per name, in table order.
  const std::vector<wad::TextureDef>& Defs() const { return m_defs; }
  // The definition named `name` (upper-case), or null.
  const wad::TextureDef* Find(const std::string& name) const;
  // The texture as an image, built from the patches that can be read; a line in `problems`
  // per patch left out, and once per patch whose columns had to be skipped.
  Image Build(const wad::TextureDef& def, std::vector<std::string>& problems);

private:
  struct PatchSlot {
    bool loaded = false;
    std::optional<wad::Picture> picture;
    std::string fault;  // why there is no picture
  };
  const wad::Picture* Patch(int pnamesIndex, std::vector<std::string>& problems);

  const wad::WadFile& m_wad;
  wad::Palette m_palette;
  wad::PatchDirectory m_directory;
  std::vector<std::string> m_patchNames;
  std::vector<wad::TextureDef> m_defs;
  std::vector<PatchSlot> m_patches;
  std::vector<std::string> m_tableProblems;
};

}  // namespace image
