#include "MaterialCatalog.h"

#include <fstream>
#include <iterator>
#include <sstream>

#include "TableLines.h"
#include "WadFile.h"

namespace zaro3 {

namespace {

bool PositiveInt(const std::string& text, int& value) { return ParseDigits(text, 5, value) && value > 0; }

std::vector<std::string> NamesFrom(const std::map<std::string, MaterialEntry>& entries, const std::string& first,
                                   const std::string& last) {
  const auto from = entries.find(wad::UpperName(first));
  const auto to = entries.find(wad::UpperName(last));
  std::vector<std::string> names;
  if (from == entries.end() || to == entries.end() || to->first < from->first) return names;
  for (auto it = from; it != std::next(to); ++it) names.push_back(it->first);
  return names;
}

std::string JoinFolder(const std::string& folder, const std::string& file) {
  if (folder.empty() || folder == ".") return file;
  const char last = folder.back();
  return (last == '/' || last == '\\') ? folder + file : folder + "/" + file;
}

}  // namespace

void MaterialCatalog::AddList(std::istream& in, const std::string& source, Diagnostics& diagnostics) {
  ForEachTableLine(in, source, "texture or flat entry", diagnostics, [this](const std::string& line) {
    std::istringstream fields(line);
    std::string kind, name, width, height, material, extra;
    if (!(fields >> kind)) return true;
    MaterialEntry entry;
    const bool complete = static_cast<bool>(fields >> name >> width >> height >> material) && !(fields >> extra);
    if (!complete || (kind != "texture" && kind != "flat") || !PositiveInt(width, entry.width) ||
        !PositiveInt(height, entry.height)) {
      return false;
    }
    entry.material = material;
    (kind == "texture" ? m_textures : m_flats)[wad::UpperName(name)] = entry;
    return true;
  });
}

MaterialCatalog MaterialCatalog::Load(const std::string& folder, const std::vector<TextureSet>& sets,
                                      Diagnostics& diagnostics) {
  MaterialCatalog catalog;
  for (TextureSet set : sets) {
    const std::string file = TextureListFile(set);
    std::ifstream in(JoinFolder(folder, file));
    if (!in) {
      diagnostics.Warn(file + " not found: run xtract.bat \"" + TextureSetShortName(set) +
                       "\" first; its textures are drawn as missing");
      continue;
    }
    catalog.AddList(in, file, diagnostics);
  }
  return catalog;
}

const MaterialEntry* MaterialCatalog::FindTexture(const std::string& name) const {
  const auto it = m_textures.find(wad::UpperName(name));
  return it == m_textures.end() ? nullptr : &it->second;
}

const MaterialEntry* MaterialCatalog::FindFlat(const std::string& name) const {
  const auto it = m_flats.find(wad::UpperName(name));
  return it == m_flats.end() ? nullptr : &it->second;
}

std::vector<std::string> MaterialCatalog::TexturesFrom(const std::string& first, const std::string& last) const {
  return NamesFrom(m_textures, first, last);
}

std::vector<std::string> MaterialCatalog::FlatsFrom(const std::string& first, const std::string& last) const {
  return NamesFrom(m_flats, first, last);
}

std::string TextureListFile(TextureSet set) {
  switch (set) {
    case TextureSet::Doom: return "DOOM1.TEX";
    case TextureSet::Doom2: return "DOOM2.TEX";
    case TextureSet::Tnt: return "TNT.TEX";
    case TextureSet::Plutonia: return "PLUTONIA.TEX";
    case TextureSet::Custom: return "CUSTOM.TEX";
  }
  return "CUSTOM.TEX";
}

std::string TextureSetShortName(TextureSet set) {
  switch (set) {
    case TextureSet::Doom: return "doom";
    case TextureSet::Doom2: return "doom2";
    case TextureSet::Tnt: return "tnt";
    case TextureSet::Plutonia: return "plutonia";
    case TextureSet::Custom: return "<wad file name>";
  }
  return "<wad file name>";
}

bool MaterialPicker::IsSkyFlat(const std::string& name) { return wad::UpperName(name) == "F_SKY1"; }

std::string MaterialPicker::Wall(const std::string& name) {
  if (name.empty() || name == "-") {
    ++untextured;
    return kMissingMaterial;
  }
  if (const MaterialEntry* entry = m_catalog.FindTexture(name)) return entry->material;
  missingNames.insert("texture " + wad::UpperName(name));
  return kMissingMaterial;
}

std::string MaterialPicker::Flat(const std::string& name) {
  if (IsSkyFlat(name)) return m_sky;
  if (name.empty() || name == "-") {
    ++untextured;
    return kMissingMaterial;
  }
  if (const MaterialEntry* entry = m_catalog.FindFlat(name)) return entry->material;
  missingNames.insert("flat " + wad::UpperName(name));
  return kMissingMaterial;
}

int MaterialPicker::WallHeight(const std::string& name) const {
  const MaterialEntry* entry = m_catalog.FindTexture(name);
  return entry ? entry->height : 0;
}

Surface MaterialPicker::WallSide(const wad::Level& level, int linedef, int side, WallPart part) {
  const wad::Linedef& line = level.linedefs[linedef];
  const int sidedef = side == 0 ? line.front : line.back;
  Surface surface;
  if (sidedef < 0) {
    ++untextured;
    surface.material = kMissingMaterial;
    return surface;
  }
  const wad::Sidedef& s = level.sidedefs[sidedef];
  surface.texture = part == WallPart::Upper ? s.upper : part == WallPart::Lower ? s.lower : s.middle;
  surface.material = Wall(surface.texture);
  surface.kind = Surface::Kind::Wall;
  surface.linedef = linedef;
  surface.side = side;
  surface.part = part;
  return surface;
}

Surface MaterialPicker::FloorFlat(const std::string& flat) {
  Surface surface;
  surface.material = Flat(flat);
  surface.texture = flat;
  surface.kind = IsSkyFlat(flat) ? Surface::Kind::Fixed : Surface::Kind::Floor;
  return surface;
}

Surface MaterialPicker::CeilingFlat(const std::string& flat) {
  Surface surface;
  surface.material = Flat(flat);
  surface.texture = flat;
  surface.kind = IsSkyFlat(flat) ? Surface::Kind::Fixed : Surface::Kind::Ceiling;
  return surface;
}

std::string SkyMaterialFor(const std::string& levelName) {
  const std::string name = wad::UpperName(levelName);
  int sky = 1;
  if (name.size() >= 4 && name[0] == 'E' && name[2] == 'M' && name[1] >= '1' && name[1] <= '9') {
    sky = std::min(4, name[1] - '0');
  } else if (name.size() >= 5 && name.compare(0, 3, "MAP") == 0) {
    int number = 0;
    for (std::size_t i = 3; i < name.size() && name[i] >= '0' && name[i] <= '9'; ++i) number = number * 10 + (name[i] - '0');
    sky = number >= 21 ? 3 : number >= 12 ? 2 : 1;
  }
  return "zdoom/sky" + std::to_string(sky);
}

}  // namespace zaro3
