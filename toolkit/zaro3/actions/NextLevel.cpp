#include "NextLevel.h"

#include <cctype>
#include <cstdio>

namespace zaro3 {

namespace {

bool Digits(const std::string& text, std::size_t from, int& value) {
  if (from >= text.size()) return false;
  value = 0;
  for (std::size_t i = from; i < text.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    value = value * 10 + (text[i] - '0');
    if (value > 99) return false;
  }
  return true;
}

LevelAfter Level(const std::string& name) { return {false, name}; }

std::string MapName(int map) {
  char text[8];
  std::snprintf(text, sizeof text, "MAP%02d", map);
  return text;
}

std::string EpisodeName(int episode, int map) {
  return "E" + std::to_string(episode) + "M" + std::to_string(map);
}

}  // namespace

LevelAfter NextLevel(const std::string& levelName, bool secret) {
  std::string name;
  for (char c : levelName) name += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  int map = 0;
  if (name.size() == 4 && name[0] == 'E' && name[2] == 'M' && std::isdigit(static_cast<unsigned char>(name[1])) &&
      std::isdigit(static_cast<unsigned char>(name[3]))) {
    const int episode = name[1] - '0';
    map = name[3] - '0';
    if (secret) return Level(EpisodeName(episode, 9));
    if (map == 9) {
      static constexpr int kReturn[] = {4, 4, 6, 7, 3};  // by episode, DOOM's return from the secret level
      return Level(EpisodeName(episode, kReturn[episode <= 4 ? episode : 0]));
    }
    if (map >= 8) return {true, ""};
    return Level(EpisodeName(episode, map + 1));
  }
  if (name.compare(0, 3, "MAP") == 0 && Digits(name, 3, map)) {
    if (secret && map == 15) return Level(MapName(31));
    if (secret && map == 31) return Level(MapName(32));
    if (map == 31 || map == 32) return Level(MapName(16));
    if (map >= 30) return {true, ""};
    return Level(MapName(map + 1));
  }
  return {true, ""};
}

}  // namespace zaro3
