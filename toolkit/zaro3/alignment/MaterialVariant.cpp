#include "MaterialVariant.h"

#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace zaro3 {

namespace {

// The alpha below which a masked texel is cut, as the base materials cut it.
constexpr const char* kMaskedAlpha = "0.5";

std::string TranslateValue(double atZero, double perSecond) {
  if (perSecond == 0) return PlainDecimal(atZero);
  return PlainDecimal(atZero) + " + time * " + PlainDecimal(perSecond);
}

void AppendStage(std::string& out, const VariantStage& stage, bool masked) {
  const auto keywords = material::KeywordsFor(stage.matrix);
  if (!keywords) throw std::logic_error("a variant stage matrix must be a scaled quarter turn or reflection");
  out += "\t{\n";
  if (!stage.condition.empty()) out += "\t\tif " + stage.condition + "\n";
  out += "\t\tblend diffusemap\n";
  out += "\t\tmap textures/" + stage.image + ".tga\n";
  if (masked) out += std::string("\t\talphaTest ") + kMaskedAlpha + "\n";
  bool first = true;
  for (const material::MatrixKeyword& keyword : *keywords) {
    out += "\t\t";
    out += material::KeywordName(keyword.kind);
    out += ' ';
    // The first keyword is the translation, which acts last: scrolling adds to it.
    out += first ? TranslateValue(keyword.a, stage.sPerSecond) : PlainDecimal(keyword.a);
    out += ", ";
    out += first ? TranslateValue(keyword.b, stage.tPerSecond) : PlainDecimal(keyword.b);
    out += '\n';
    first = false;
  }
  out += "\t}\n";
}

}  // namespace

std::string PlainDecimal(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.9f", value);
  std::string out(text);
  while (out.back() == '0') out.pop_back();
  if (out.back() == '.') out.pop_back();
  if (out == "-0") out = "0";
  return out;
}

std::string VariantText(const MaterialVariant& variant) {
  std::string out = "textures/" + variant.name + "\n{\n";
  if (!variant.stages.empty()) out += "\tqer_editorimage textures/" + variant.stages.front().image + ".tga\n";
  for (const VariantStage& stage : variant.stages) AppendStage(out, stage, variant.masked);
  out += "}\n";
  return out;
}

}  // namespace zaro3
