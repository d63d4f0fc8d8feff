#include "Catalog.h"

#include <algorithm>
#include <cstdio>
#include <tuple>

#include "SafeName.h"

namespace doomtex {

std::string MaterialName(const std::string& set, const CatalogEntry& entry) {
  return "textures/" + set + (entry.kind == Kind::Flat ? "/flats/" : "/") + image::SafeName(entry.name);
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
    if (static_cast<unsigned char>(c) <= ' ' || c == '#') return image::SafeName(name);
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
           std::to_string(entry.height) + " " + set + (flat ? "/flats/" : "/") + image::SafeName(entry.name) + "\n";
  }
  return out;
}

}  // namespace doomtex
