#include "WallTextures.h"

#include <unordered_set>

#include "Picture.h"

namespace image {

WallTextures::WallTextures(const wad::WadFile& wad, const wad::Palette& palette)
    : m_wad(wad), m_palette(palette), m_directory(wad) {
  const int pnames = wad.FindLast("PNAMES");
  const int texture1 = wad.FindLast("TEXTURE1");
  if (pnames < 0 || texture1 < 0) {
    m_tableProblems.push_back(std::string("the wad has no ") + (pnames < 0 ? "PNAMES" : "TEXTURE1") +
                              ", so no wall textures");
    return;
  }
  try {
    m_patchNames = wad::DecodePatchNames(wad.Data(pnames));
  } catch (const wad::WadError& e) {
    m_tableProblems.push_back(std::string(e.what()) + ", so no wall textures");
    return;
  }
  m_patches.resize(m_patchNames.size());
  std::unordered_set<std::string> seen;
  for (const char* table : {"TEXTURE1", "TEXTURE2"}) {
    const int index = wad.FindLast(table);
    if (index < 0) continue;
    try {
      for (wad::TextureDef& def : wad::DecodeTextureDefs(wad.Data(index), m_patchNames.size(), m_tableProblems)) {
        if (seen.insert(def.name).second) m_defs.push_back(std::move(def));
      }
    } catch (const wad::WadError& e) {
      m_tableProblems.push_back(std::string(table) + ": " + e.what());
    }
  }
}

const wad::TextureDef* WallTextures::Find(const std::string& name) const {
  for (const wad::TextureDef& def : m_defs) {
    if (def.name == name) return &def;
  }
  return nullptr;
}

const wad::Picture* WallTextures::Patch(int pnamesIndex, std::vector<std::string>& problems) {
  PatchSlot& slot = m_patches[static_cast<std::size_t>(pnamesIndex)];
  if (!slot.loaded) {
    slot.loaded = true;
    const std::string& name = m_patchNames[static_cast<std::size_t>(pnamesIndex)];
    const int lump = m_directory.Find(name);
    if (lump < 0) {
      slot.fault = "patch " + name + " is not in the wad";
      return nullptr;
    }
    try {
      wad::DecodedPicture decoded = wad::DecodePicture(m_wad.Data(lump));
      if (decoded.badColumns > 0) {
        problems.push_back("patch " + name + ": " + std::to_string(decoded.badColumns) +
                           " columns point outside the lump, skipped");
      }
      slot.picture = std::move(decoded.picture);
    } catch (const wad::WadError& e) {
      slot.fault = "patch " + name + " " + e.what();
    }
  }
  return slot.picture ? &*slot.picture : nullptr;
}

Image WallTextures::Build(const wad::TextureDef& def, std::vector<std::string>& problems) {
  std::vector<PlacedPatch> placed;
  for (const wad::PatchPlacement& placement : def.patches) {
    if (const wad::Picture* picture = Patch(placement.patch, problems)) {
      placed.push_back({picture, placement.originX, placement.originY});
    } else {
      problems.push_back("texture " + def.name + ": " + m_patches[static_cast<std::size_t>(placement.patch)].fault +
                         ", built without it");
    }
  }
  return ComposeTexture(def.width, def.height, placed, m_palette);
}

}  // namespace image
