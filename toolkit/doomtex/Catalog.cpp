#include "Catalog.h"

#include <algorithm>
#include <cstdio>
#include <tuple>

namespace doomtex {

std::string SafeName(const std::string& name) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string safe;
  for (char c : name) {
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    if (plain) {
      safe.push_back(c);
    } else {
      const auto byte = static_cast<unsigned char>(c);
      safe.push_back('_');
      safe.push_back(kHex[byte >> 4]);
      safe.push_back(kHex[byte & 15]);
    }
  }
  return safe;
}

std::string MaterialName(const std::string& set, const CatalogEntry& entry) {
  return "textures/" + set + (entry.kind == Kind::Flat ? "/flats/" : "/") + SafeName(entry.name);
}

std::string StageScale(int texels) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6f", 32.0 / (1.5 * texels));
  std::string out(text);
  while (out.size() > 1 && out.back() == '0') out.pop_back();
  if (out.back() == '.') out.pop_back();
  return out;
}

std::string MaterialText(const std::string& set, const std::vector<CatalogEntry>& entries) {
  std::string out;
  for (const CatalogEntry& entry : entries) {
    const std::string name = MaterialName(set, entry);
    const std::string image = name + ".tga";
    out += name + "\n{\n";
    out += "\tqer_editorimage " + image + "\n";
    // Masked textures (grates, bars) are seen from both sides and cut out by alpha.
    if (entry.transparent) out += "\ttwoSided\n";
    out += "\t{\n\t\tblend diffusemap\n\t\tmap " + image + "\n";
    if (entry.transparent) out += "\t\talphaTest 0.5\n";
    out += "\t\tscale " + StageScale(entry.width) + ", " + StageScale(entry.height) + "\n\t}\n}\n\n";
  }
  return out;
}

void SortEntries(std::vector<CatalogEntry>& entries) {
  std::sort(entries.begin(), entries.end(), [](const CatalogEntry& a, const CatalogEntry& b) {
    return std::tie(a.kind, a.name) < std::tie(b.kind, b.name);
  });
}

namespace {
// The list is split on blanks and # starts a comment, so a name holding either is written safe.
std::string ListName(const std::string& name) {
  for (char c : name) {
    if (static_cast<unsigned char>(c) <= ' ' || c == '#') return SafeName(name);
  }
  return name;
}
}  // namespace

std::string SourceListText(const std::string& wadName, const std::string& set, std::vector<CatalogEntry> entries) {
  SortEntries(entries);
  std::string out = "# textures and flats of " + wadName + "\n";
  for (const CatalogEntry& entry : entries) {
    const bool flat = entry.kind == Kind::Flat;
    out += std::string(flat ? "flat " : "texture ") + ListName(entry.name) + " " + std::to_string(entry.width) + " " +
           std::to_string(entry.height) + " " + set + (flat ? "/flats/" : "/") + SafeName(entry.name) + "\n";
  }
  return out;
}

}  // namespace doomtex
