// SkyBox: the six faces of a DOOM 3 camera cube map made from a DOOM sky texture.
//
// The sides show what the DOOM renderer shows looking that way: 1024 sky
// columns per full turn (a 256-wide sky repeats four times), the texture's
// row 100 on the horizon and one texture row per 1/160 of elevation tangent.
// Above the texture the sides, and the whole up face, take the average colour
// of the sky's top rows; below it, and the down face, the bottom rows'. The
// faces are fully opaque. Face order and suffixes follow DOOM 3's camera cube
// maps (_forward looks along +x, _left along +y, with z up).
#pragma once

#include <array>
#include <string>

#include "Image.h"

namespace wad2tga {

struct SkyFace {
  std::string suffix;  // _forward, _back, _left, _right, _up, _down
  image::Image image;
};

constexpr int kSkyFaceSize = 256;

// The six faces from the composed sky texture (any size; its alpha is ignored).
std::array<SkyFace, 6> MakeSkyBox(const image::Image& sky);

}  // namespace wad2tga
