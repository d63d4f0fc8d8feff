#include "TextureDefs.h"

#include "Namespaces.h"

namespace wad {

namespace {
constexpr std::size_t kTextureHeader = 22;  // name, masked, width, height, column directory, patch count
constexpr std::size_t kPlacementSize = 10;  // origin x, origin y, patch, step dir, colormap
}  // namespace

std::vector<std::string> DecodePatchNames(std::string_view lump) {
  if (lump.size() < 4) throw WadError("PNAMES is too short");
  const uint32_t count = ReadU32(lump, 0);
  if (4 + static_cast<uint64_t>(count) * 8 > lump.size()) throw WadError("PNAMES count does not fit in the lump");
  std::vector<std::string> names;
  names.reserve(count);
  for (uint32_t i = 0; i < count; ++i) names.push_back(ReadName8(lump, 4 + static_cast<std::size_t>(i) * 8));
  return names;
}

std::vector<TextureDef> DecodeTextureDefs(std::string_view lump, std::size_t patchNameCount,
                                          std::vector<std::string>& problems) {
  if (lump.size() < 4) throw WadError("texture table is too short");
  const uint32_t count = ReadU32(lump, 0);
  if (4 + static_cast<uint64_t>(count) * 4 > lump.size()) throw WadError("texture table count does not fit in the lump");
  std::vector<TextureDef> textures;
  textures.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    const uint32_t at = ReadU32(lump, 4 + static_cast<std::size_t>(i) * 4);
    if (static_cast<uint64_t>(at) + kTextureHeader > lump.size()) {
      problems.push_back("texture entry " + std::to_string(i) + " lies outside its table, skipped");
      continue;
    }
    TextureDef texture;
    texture.name = ReadName8(lump, at);
    texture.width = ReadI16(lump, at + 12);
    texture.height = ReadI16(lump, at + 14);
    const int patchCount = ReadI16(lump, at + 20);
    if (texture.width <= 0 || texture.height <= 0) {
      problems.push_back("texture " + texture.name + " has no positive size, skipped");
      continue;
    }
    if (patchCount < 0 ||
        static_cast<uint64_t>(at) + kTextureHeader + static_cast<uint64_t>(patchCount) * kPlacementSize > lump.size()) {
      problems.push_back("texture " + texture.name + ": its patch list does not fit in the table, skipped");
      continue;
    }
    for (int p = 0; p < patchCount; ++p) {
      const std::size_t entry = at + kTextureHeader + static_cast<std::size_t>(p) * kPlacementSize;
      PatchPlacement placement;
      placement.originX = ReadI16(lump, entry);
      placement.originY = ReadI16(lump, entry + 2);
      placement.patch = ReadI16(lump, entry + 4);
      if (placement.patch < 0 || static_cast<std::size_t>(placement.patch) >= patchNameCount) {
        problems.push_back("texture " + texture.name + ": patch number " + std::to_string(placement.patch) +
                           " is not in PNAMES, left out");
        continue;
      }
      texture.patches.push_back(placement);
    }
    textures.push_back(std::move(texture));
  }
  return textures;
}

PatchDirectory::PatchDirectory(const WadFile& wad) {
  for (int index : LumpsInNamespace(wad, {"P_START", "PP_START"}, {"P_END", "PP_END"})) {
    m_marked[wad.Lumps()[index].name] = index;
  }
  for (int i = 0; i < static_cast<int>(wad.LumpCount()); ++i) m_any[wad.Lumps()[i].name] = i;
}

int PatchDirectory::Find(const std::string& name) const {
  auto marked = m_marked.find(name);
  if (marked != m_marked.end()) return marked->second;
  auto any = m_any.find(name);
  return any != m_any.end() ? any->second : -1;
}

}  // namespace wad
