// MaterialVariant: one aligned material, as DOOM 3 reads it from a material file.
//
// A variant shows one base image (or, cycling or switching, several) through
// a stage matrix that maps DOOM 3's projection of its face onto DOOM's texel
// layout. Each stage is a diffuse stage of its image with the matrix written as
// `translate`, `scale` and `shear` keywords (KeywordsFor), the translation
// optionally moving with time (scrolling), and an optional condition (which
// frame or which switch state shows). Masked variants (two-sided middle
// textures) cut their transparent texels with alphaTest. Numbers are written
// in plain decimal with nine decimals, since DOOM 3's lexer reads no exponent.
// Values only.
#pragma once

#include <string>
#include <vector>

#include "TextureMatrix.h"

namespace zaro3 {

struct VariantStage {
  std::string image;                 // the base material: the image is textures/<image>.tga
  material::TextureMatrix matrix;    // at time 0
  double sPerSecond = 0;             // how fast the translation moves, in repeats
  double tPerSecond = 0;
  std::string condition;             // the stage's `if` expression, "" for always
};

struct MaterialVariant {
  std::string name;                  // as the map names it, without "textures/"
  bool masked = false;
  std::vector<VariantStage> stages;
};

// The whole declaration: "textures/<name>", the braced body, a newline.
std::string VariantText(const MaterialVariant& variant);

// `value` in plain decimal, at most nine decimals, trailing zeros dropped ("0.5", "-2", "0.333333333").
std::string PlainDecimal(double value);

}  // namespace zaro3
