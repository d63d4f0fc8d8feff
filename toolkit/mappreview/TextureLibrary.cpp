#include "TextureLibrary.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>

#include "PreviewError.h"
#include "TgaDecoder.h"

namespace mappreview {
namespace {

Picture HalveWrapping(const Picture& source) {
  Picture half;
  half.width = (source.width + 1) / 2;
  half.height = (source.height + 1) / 2;
  half.rgba.resize(static_cast<std::size_t>(half.width) * half.height * 4);
  for (int y = 0; y < half.height; ++y)
    for (int x = 0; x < half.width; ++x)
      for (int c = 0; c < 4; ++c) {
        int sum = 0;
        for (int dy = 0; dy < 2; ++dy)
          for (int dx = 0; dx < 2; ++dx)
            sum += source.At((2 * x + dx) % source.width, (2 * y + dy) % source.height)[c];
        half.At(x, y)[c] = static_cast<uint8_t>((sum + 2) / 4);
      }
  return half;
}

FloorTexture FromPicture(Picture picture) {
  FloorTexture texture;
  texture.levels.push_back(std::move(picture));
  while (texture.levels.back().width > 1 || texture.levels.back().height > 1)
    texture.levels.push_back(HalveWrapping(texture.levels.back()));
  const uint8_t* mean = texture.levels.back().At(0, 0);
  texture.flat = {static_cast<double>(mean[0]), static_cast<double>(mean[1]), static_cast<double>(mean[2])};
  return texture;
}

}  // namespace

Rgb ColourOfName(const std::string& material) {
  uint32_t hash = 2166136261u;  // FNV-1a
  for (char c : material) hash = (hash ^ static_cast<uint8_t>(c)) * 16777619u;
  // A hue from the hash, at middling saturation and brightness, like a flat.
  double hue = (hash % 360) / 60.0;
  double chroma = 70 + (hash >> 9) % 40, base = 60 + (hash >> 17) % 40;
  double x = chroma * (1 - std::fabs(std::fmod(hue, 2.0) - 1));
  Rgb rgb;
  switch (static_cast<int>(hue)) {
    case 0: rgb = {chroma, x, 0}; break;
    case 1: rgb = {x, chroma, 0}; break;
    case 2: rgb = {0, chroma, x}; break;
    case 3: rgb = {0, x, chroma}; break;
    case 4: rgb = {x, 0, chroma}; break;
    default: rgb = {chroma, 0, x}; break;
  }
  return {rgb.r + base, rgb.g + base, rgb.b + base};
}

TextureLibrary::TextureLibrary(std::vector<Pk4Archive*> archives) : m_archives(std::move(archives)) {
  // Later packages first: the first definition of a name is the one kept.
  for (auto it = m_archives.rbegin(); it != m_archives.rend(); ++it) {
    std::vector<std::string> files;
    for (const std::string& name : (*it)->EntryNames()) {
      std::string lower = name;
      for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      if (lower.rfind("materials/", 0) == 0 && lower.size() > 4 && lower.compare(lower.size() - 4, 4, ".mtr") == 0)
        files.push_back(name);
    }
    std::sort(files.begin(), files.end());
    for (const std::string& file : files) {
      const std::vector<uint8_t> bytes = (*it)->Read(file);
      m_materials.Add(std::string(bytes.begin(), bytes.end()));
    }
  }
}

FloorTexture TextureLibrary::Load(const std::string& image) {
  FloorTexture texture;
  for (auto it = m_archives.rbegin(); it != m_archives.rend(); ++it) {
    if (!(*it)->Contains(image)) continue;
    try {
      texture = FromPicture(DecodeTga((*it)->Read(image)));
    } catch (const PreviewError&) {
      // A damaged image costs only its own floor's texture; the count reports it.
      ++m_broken;
    }
    return texture;
  }
  ++m_missing;
  return texture;
}

const FloorTexture& TextureLibrary::Find(const std::string& material) {
  auto found = m_textures.find(material);
  if (found != m_textures.end()) return found->second;
  FloorTexture texture;
  const material::MaterialDecl* decl = m_materials.Find("textures/" + material);
  const material::StageDecl* stage = decl ? material::MaterialDecls::ActiveDiffuse(*decl, {}) : nullptr;
  if (stage && !stage->image.empty()) {
    texture = Load(stage->image + ".tga");
    texture.staged = true;
    texture.matrix = stage->Matrix({});
  } else {
    texture = Load("textures/" + material + ".tga");
  }
  if (texture.levels.empty()) texture.flat = ColourOfName(material);
  return m_textures.emplace(material, std::move(texture)).first->second;
}

}  // namespace mappreview
