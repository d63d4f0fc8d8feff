#include "TextureLibrary.h"

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

const FloorTexture& TextureLibrary::Find(const std::string& material) {
  auto found = m_textures.find(material);
  if (found != m_textures.end()) return found->second;
  std::string image = "textures/" + material + ".tga";
  FloorTexture texture;
  texture.flat = ColourOfName(material);
  bool located = false;
  for (auto it = m_archives.rbegin(); it != m_archives.rend() && !located; ++it) {
    if (!(*it)->Contains(image)) continue;
    located = true;
    try {
      texture = FromPicture(DecodeTga((*it)->Read(image)));
    } catch (const PreviewError&) {
      // A damaged image costs only its own floor's texture; the count reports it.
      ++m_broken;
    }
  }
  if (!located) ++m_missing;
  return m_textures.emplace(material, std::move(texture)).first->second;
}

}  // namespace mappreview
