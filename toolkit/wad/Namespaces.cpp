#include "Namespaces.h"

#include <algorithm>
#include <unordered_map>

namespace wad {

namespace {

bool IsOneOf(const std::string& name, std::initializer_list<std::string_view> names) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

bool EndsWith(const std::string& name, std::string_view tail) {
  return name.size() >= tail.size() && name.compare(name.size() - tail.size(), tail.size(), tail) == 0;
}

bool IsSubMarker(const Lump& lump) {
  return lump.size == 0 && (EndsWith(lump.name, "_START") || EndsWith(lump.name, "_END"));
}

}  // namespace

std::vector<int> LumpsInNamespace(const WadFile& wad, std::initializer_list<std::string_view> starts,
                                  std::initializer_list<std::string_view> ends) {
  std::vector<int> members;
  bool inside = false;
  for (int i = 0; i < static_cast<int>(wad.LumpCount()); ++i) {
    const Lump& lump = wad.Lumps()[i];
    if (IsOneOf(lump.name, starts)) {
      inside = true;
    } else if (IsOneOf(lump.name, ends)) {
      inside = false;
    } else if (inside && !IsSubMarker(lump)) {
      members.push_back(i);
    }
  }
  return members;
}

std::vector<int> FlatLumps(const WadFile& wad) {
  const std::vector<int> all = LumpsInNamespace(wad, {"F_START", "FF_START"}, {"F_END", "FF_END"});
  std::unordered_map<std::string, int> last;
  for (int index : all) last[wad.Lumps()[index].name] = index;
  std::vector<int> flats;
  for (int index : all) {
    if (last[wad.Lumps()[index].name] == index) flats.push_back(index);
  }
  return flats;
}

bool IsFlatLump(const WadFile& wad, int index) {
  const std::vector<int> all = LumpsInNamespace(wad, {"F_START", "FF_START"}, {"F_END", "FF_END"});
  return std::find(all.begin(), all.end(), index) != all.end();
}

}  // namespace wad
