// ThingTable: DOOM thing types to DOOM 3 entity classes and extra keys.
//
// Parsed from lines "<doomednum> <classname> [<key> <value>]...", '#' comments;
// a later line for the same type replaces the earlier one. Bad lines (no
// number, no class, a key without a value) are warned about and skipped.
// Without a table only the player starts are known (BuiltInPlayerStart).
#pragma once

#include <istream>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "Diagnostics.h"

namespace zaro3 {

struct ThingClass {
  std::string classname;
  std::vector<std::pair<std::string, std::string>> keys;
};

class ThingTable {
public:
  void AddLines(std::istream& in, const std::string& source, Diagnostics& diagnostics);
  // Reads `path`; a missing file is a warning and leaves the table empty.
  static ThingTable Load(const std::string& path, Diagnostics& diagnostics);

  const ThingClass* Find(int type) const;  // nullptr: not in the table
  std::size_t Size() const { return m_classes.size(); }

private:
  std::map<int, ThingClass> m_classes;
};

// DOOM's player starts: 1 (player 1) and 2-4, 11 (other players, deathmatch).
bool IsPlayerStart(int type);
// The class a player start gets when the table does not name it.
ThingClass BuiltInPlayerStart(int type);

}  // namespace zaro3
