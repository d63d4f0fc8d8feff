#include "VariantFile.h"

#include <cctype>

namespace zaro3 {

namespace {

constexpr const char* kPrefix = "textures/";

// Past blanks and comments from `at`.
std::size_t SkipBlank(const std::string& text, std::size_t at) {
  while (at < text.size()) {
    if (std::isspace(static_cast<unsigned char>(text[at]))) {
      ++at;
    } else if (text.compare(at, 2, "//") == 0) {
      at = text.find('\n', at);
      if (at == std::string::npos) return text.size();
    } else if (text.compare(at, 2, "/*") == 0) {
      at = text.find("*/", at + 2);
      if (at == std::string::npos) return text.size();
      at += 2;
    } else {
      break;
    }
  }
  return at;
}

}  // namespace

std::string VariantFilePath(const std::string& set, const std::string& packageStem, const std::string& image) {
  std::string file = image;
  for (char& c : file) {
    if (c == '/') c = '_';
  }
  return "materials/" + set + "_variants_" + packageStem + "_" + file + ".mtr";
}

std::string WholeSetFilePath(const std::string& set, const std::string& packageStem) {
  return "materials/" + set + "_variants_" + packageStem + ".mtr";
}

std::string VariantImage(const std::string& variantName) {
  const std::size_t set = variantName.find('/');
  const std::size_t phase = variantName.rfind('/');
  if (set == std::string::npos) return variantName;
  if (phase == set) return variantName.substr(set + 1);
  return variantName.substr(set + 1, phase - set - 1);
}

std::map<std::string, VariantDecls> ByImage(const VariantDecls& decls) {
  std::map<std::string, VariantDecls> byImage;
  for (const auto& [name, text] : decls) byImage[VariantImage(name)].emplace(name, text);
  return byImage;
}

VariantDecls ReadVariantFile(const std::string& text) {
  VariantDecls decls;
  std::size_t at = SkipBlank(text, 0);
  while (at < text.size()) {
    const std::size_t start = at;
    while (at < text.size() && !std::isspace(static_cast<unsigned char>(text[at])) && text[at] != '{') ++at;
    const std::string name = text.substr(start, at - start);
    at = SkipBlank(text, at);
    if (at >= text.size() || text[at] != '{') break;  // not a declaration: the rest is dropped
    int depth = 0;
    for (; at < text.size(); ++at) {
      if (text[at] == '{') ++depth;
      if (text[at] == '}' && --depth == 0) break;
    }
    if (depth != 0) break;
    ++at;
    const std::string key = name.compare(0, 9, kPrefix) == 0 ? name.substr(9) : name;
    decls[key] = text.substr(start, at - start) + "\n";
    at = SkipBlank(text, at);
  }
  return decls;
}

bool MergeVariants(VariantDecls& into, const VariantDecls& added) {
  bool changed = false;
  for (const auto& [name, text] : added) {
    auto found = into.find(name);
    if (found == into.end()) {
      into.emplace(name, text);
      changed = true;
    } else if (found->second != text) {
      found->second = text;
      changed = true;
    }
  }
  return changed;
}

std::string WriteVariantFile(const std::string& set, const std::string& image, const VariantDecls& decls) {
  std::string out = "// Aligned variants of the " + set + " image " + image +
                    ", gathered by the converter from every level it converted: one material\n"
                    "// per orientation and phase. The converter rewrites this file; edits are lost.\n\n";
  std::size_t size = out.size();
  for (const auto& entry : decls) size += entry.second.size() + 1;
  out.reserve(size);
  for (const auto& entry : decls) {
    out += entry.second;
    out += '\n';
  }
  return out;
}

}  // namespace zaro3
