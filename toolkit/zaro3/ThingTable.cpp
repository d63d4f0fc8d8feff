#include "ThingTable.h"

#include <fstream>
#include <sstream>

#include "TableLines.h"

namespace zaro3 {

namespace {

// Splits a line into words; a word in double quotes may hold spaces.
bool SplitWords(const std::string& line, std::vector<std::string>& words) {
  std::size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ' || line[i] == '\t' || line[i] == '\r') {
      ++i;
      continue;
    }
    if (line[i] == '"') {
      const std::size_t end = line.find('"', i + 1);
      if (end == std::string::npos) return false;
      words.push_back(line.substr(i + 1, end - i - 1));
      i = end + 1;
      continue;
    }
    std::size_t end = i;
    while (end < line.size() && line[end] != ' ' && line[end] != '\t' && line[end] != '\r') ++end;
    words.push_back(line.substr(i, end - i));
    i = end;
  }
  return true;
}

bool ThingNumber(const std::string& text, int& value) { return ParseDigits(text, 5, value) && value <= 65535; }

}  // namespace

void ThingTable::AddLines(std::istream& in, const std::string& source, Diagnostics& diagnostics) {
  ForEachTableLine(in, source, "thing entry", diagnostics, [this](const std::string& line) {
    std::vector<std::string> words;
    const bool split = SplitWords(line, words);
    if (split && words.empty()) return true;
    int type = 0;
    if (!split || words.size() < 2 || words.size() % 2 != 0 || !ThingNumber(words[0], type)) return false;
    ThingClass thingClass;
    thingClass.classname = words[1];
    for (std::size_t k = 2; k + 1 < words.size(); k += 2) thingClass.keys.emplace_back(words[k], words[k + 1]);
    m_classes[type] = std::move(thingClass);
    return true;
  });
}

ThingTable ThingTable::Load(const std::string& path, Diagnostics& diagnostics) {
  ThingTable table;
  std::ifstream in(path);
  if (!in) {
    diagnostics.Warn(path + " not found: only the player starts are written");
    return table;
  }
  table.AddLines(in, path, diagnostics);
  return table;
}

const ThingClass* ThingTable::Find(int type) const {
  const auto it = m_classes.find(type);
  return it == m_classes.end() ? nullptr : &it->second;
}

bool IsPlayerStart(int type) { return type == 1 || type == 2 || type == 3 || type == 4 || type == 11; }

ThingClass BuiltInPlayerStart(int type) {
  return ThingClass{type == 1 ? "info_player_start" : "info_player_deathmatch", {}};
}

}  // namespace zaro3
