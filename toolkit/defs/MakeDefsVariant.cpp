// Writes the multiplayer variant of the thing classes from their one source:
// the same file with every monster class of the thing table (doom_kind monster)
// turned into a target_null, so monsters spawn nothing while pickups stay.
//   make_defs_variant <D2D3_OBJ.TXT> <zdoom_things.def> <output.def>
// Build-time helper; a bad input is a one-line message and a non-zero exit.
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "Image.h"
#include "OutputFile.h"

namespace {

std::set<std::string> MonsterClasses(std::istream& table) {
  std::set<std::string> monsters;
  std::string line;
  while (std::getline(table, line)) {
    const std::string data = line.substr(0, line.find('#'));
    std::istringstream fields(data);
    std::string number, classname, key, value;
    if (!(fields >> number >> classname)) continue;
    while (fields >> key >> value) {
      if (key == "doom_kind" && value == "monster") monsters.insert(classname);
    }
  }
  return monsters;
}

std::string EditorUsage(const std::string& body) {
  const std::size_t at = body.find("\"editor_usage\"");
  if (at == std::string::npos) return "";
  const std::size_t end = body.find('\n', at);
  return body.substr(at, end - at);
}

// Each "entityDef NAME {" ... "}" block of a monster gets the null class.
std::string MultiplayerVariant(const std::string& source, const std::set<std::string>& monsters) {
  std::istringstream in(source);
  std::string out, line, block, name;
  bool inBlock = false;
  while (std::getline(in, line)) {
    if (!inBlock && line.rfind("entityDef ", 0) == 0) {
      inBlock = true;
      block = line + "\n";
      std::istringstream words(line.substr(10));
      words >> name;
      continue;
    }
    if (!inBlock) {
      out += line + "\n";
      continue;
    }
    block += line + "\n";
    if (line != "}") continue;
    inBlock = false;
    if (monsters.count(name)) {
      block = "entityDef " + name + " {\n\t\"inherit\"\t\"target_null\"\n\t" + EditorUsage(block) + "\n}\n";
    }
    out += block;
  }
  return out + (inBlock ? block : "");
}

bool Read(const char* path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream s;
  s << in.rdbuf();
  text = s.str();
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: make_defs_variant <thing table> <things.def> <output.def>\n");
    return 1;
  }
  std::string table, source;
  if (!Read(argv[1], table) || !Read(argv[2], source)) {
    std::fprintf(stderr, "make_defs_variant: cannot read %s\n", table.empty() ? argv[1] : argv[2]);
    return 2;
  }
  std::istringstream tableStream(table);
  const std::set<std::string> monsters = MonsterClasses(tableStream);
  if (monsters.empty()) {
    std::fprintf(stderr, "make_defs_variant: %s names no monster class\n", argv[1]);
    return 2;
  }
  try {
    image::WriteFileReplacing(argv[3], MultiplayerVariant(source, monsters));
  } catch (const image::ImageError& e) {
    std::fprintf(stderr, "make_defs_variant: %s\n", e.what());
    return 3;
  }
  return 0;
}
