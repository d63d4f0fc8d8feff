#include "Level.h"

#include <array>

namespace wad {

namespace {

constexpr std::array<const char*, 11> kMapLumpNames = {
    "THINGS", "LINEDEFS", "SIDEDEFS", "VERTEXES", "SEGS", "SSECTORS",
    "NODES", "SECTORS", "REJECT", "BLOCKMAP", "BEHAVIOR"};

bool IsMapLumpName(const std::string& name) {
  for (const char* n : kMapLumpNames) {
    if (name == n) return true;
  }
  return false;
}

// The lumps of one level: name -> index, for the run of map lumps after the marker.
std::map<std::string, int> LevelLumps(const WadFile& wadFile, int marker) {
  std::map<std::string, int> found;
  const auto& lumps = wadFile.Lumps();
  for (int i = marker + 1; i < static_cast<int>(lumps.size()); ++i) {
    if (!IsMapLumpName(lumps[i].name) || found.count(lumps[i].name)) break;
    found[lumps[i].name] = i;
  }
  return found;
}

// The records of a lump: count of whole records; a remainder is a truncated lump.
std::size_t RecordCount(std::string_view data, std::size_t recordSize, LevelProblems& problems) {
  if (data.size() % recordSize != 0) ++problems.truncatedLumps;
  return data.size() / recordSize;
}

std::string_view LumpOrEmpty(const WadFile& wadFile, const std::map<std::string, int>& lumps, const char* name) {
  auto it = lumps.find(name);
  return it == lumps.end() ? std::string_view() : wadFile.Data(it->second);
}

void ReadVertices(std::string_view d, Level& level) {
  const std::size_t n = RecordCount(d, 4, level.problems);
  level.vertices.reserve(n);
  for (std::size_t i = 0; i < n; ++i) level.vertices.push_back({ReadI16(d, i * 4), ReadI16(d, i * 4 + 2)});
}

void ReadSectors(std::string_view d, Level& level) {
  const std::size_t n = RecordCount(d, 26, level.problems);
  level.sectors.reserve(n);
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t at = i * 26;
    Sector s;
    s.floorHeight = ReadI16(d, at);
    s.ceilingHeight = ReadI16(d, at + 2);
    s.floorFlat = ReadName8(d, at + 4);
    s.ceilingFlat = ReadName8(d, at + 12);
    s.light = ReadI16(d, at + 20);
    s.special = ReadU16(d, at + 22);
    s.tag = ReadU16(d, at + 24);
    level.sectors.push_back(std::move(s));
  }
}

// Sidedefs keep their record index so linedefs can refer to them; a bad sector marks them -1
// here and the linedef pass unlinks them.
std::vector<bool> ReadSidedefs(std::string_view d, Level& level) {
  const std::size_t n = RecordCount(d, 30, level.problems);
  std::vector<bool> usable(n, true);
  level.sidedefs.reserve(n);
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t at = i * 30;
    Sidedef s;
    s.xOffset = ReadI16(d, at);
    s.yOffset = ReadI16(d, at + 2);
    s.upper = ReadName8(d, at + 4);
    s.lower = ReadName8(d, at + 12);
    s.middle = ReadName8(d, at + 20);
    const uint16_t sector = ReadU16(d, at + 28);
    if (sector >= level.sectors.size()) {
      usable[i] = false;
      ++level.problems.badSectorIndex;
      s.sector = 0;
    } else {
      s.sector = sector;
    }
    level.sidedefs.push_back(std::move(s));
  }
  return usable;
}

int CheckedSide(uint16_t index, const std::vector<bool>& usable, LevelProblems& problems) {
  if (index == 0xFFFF) return -1;
  if (index >= usable.size()) {
    ++problems.badSidedefIndex;
    return -1;
  }
  return usable[index] ? index : -1;
}

// Returns how many lines were turned round (their segs no longer match them).
int ReadLinedefs(std::string_view d, const std::vector<bool>& sideUsable, Level& level) {
  int turned = 0;
  const std::size_t n = RecordCount(d, 14, level.problems);
  level.linedefs.reserve(n);
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t at = i * 14;
    Linedef l;
    const uint16_t v1 = ReadU16(d, at);
    const uint16_t v2 = ReadU16(d, at + 2);
    l.flags = ReadU16(d, at + 4);
    l.special = ReadU16(d, at + 6);
    l.tag = ReadU16(d, at + 8);
    if (v1 >= level.vertices.size() || v2 >= level.vertices.size()) {
      ++level.problems.badVertexIndex;
      continue;
    }
    l.v1 = v1;
    l.v2 = v2;
    const Vertex& a = level.vertices[v1];
    const Vertex& b = level.vertices[v2];
    if (a.x == b.x && a.y == b.y) {
      ++level.problems.zeroLength;
      continue;
    }
    l.front = CheckedSide(ReadU16(d, at + 10), sideUsable, level.problems);
    l.back = CheckedSide(ReadU16(d, at + 12), sideUsable, level.problems);
    if (l.front < 0 && l.back < 0) {
      ++level.problems.noSides;
      continue;
    }
    if (l.front < 0) {
      // Only the back side survived: turn the line round so its one side is the front.
      std::swap(l.v1, l.v2);
      std::swap(l.front, l.back);
      ++turned;
    }
    level.linedefs.push_back(l);
  }
  return turned;
}

void ReadThings(std::string_view d, Level& level) {
  const std::size_t n = RecordCount(d, 10, level.problems);
  level.things.reserve(n);
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t at = i * 10;
    level.things.push_back({ReadI16(d, at), ReadI16(d, at + 2), ReadI16(d, at + 4), ReadU16(d, at + 6),
                            ReadU16(d, at + 8)});
  }
}

// True when the walk from the root (the last node) reaches no node twice: a child that names
// itself or an ancestor would send every walk of the tree round for ever.
bool IsTree(const std::vector<Node>& nodes) {
  if (nodes.empty()) return true;
  std::vector<bool> seen(nodes.size(), false);
  std::vector<int> pending = {static_cast<int>(nodes.size()) - 1};
  while (!pending.empty()) {
    const int at = pending.back();
    pending.pop_back();
    if (seen[at]) return false;
    seen[at] = true;
    for (int c = 0; c < 2; ++c) {
      if (!nodes[at].isLeaf[c]) pending.push_back(nodes[at].child[c]);
    }
  }
  return true;
}

// Nodes, subsectors and segs as found. Any bad index, or linedefs dropped above (segs name
// linedefs by their record index), makes the node data unusable rather than wrong.
void ReadNodeData(std::string_view segData, std::string_view ssData, std::string_view nodeData,
                  std::size_t linedefRecords, int turnedLines, Level& level) {
  auto unusable = [&level](const std::string& why) {
    level.nodesUsable = false;
    level.nodesProblem = why;
    level.segs.clear();
    level.subsectors.clear();
    level.nodes.clear();
  };
  if (nodeData.size() >= 4 && (nodeData.substr(0, 4) == "XNOD" || nodeData.substr(0, 4) == "ZNOD")) {
    return unusable("NODES is in an extended format");
  }
  if (ssData.empty()) return unusable("no SSECTORS");
  if (linedefRecords != level.linedefs.size() || turnedLines != 0) {
    return unusable("broken linedefs were dropped or turned, segs cannot be matched");
  }
  LevelProblems scratch;
  const std::size_t segCount = RecordCount(segData, 12, scratch);
  for (std::size_t i = 0; i < segCount; ++i) {
    const std::size_t at = i * 12;
    Seg s;
    s.v1 = ReadU16(segData, at);
    s.v2 = ReadU16(segData, at + 2);
    s.linedef = ReadU16(segData, at + 6);
    s.side = ReadU16(segData, at + 8) != 0 ? 1 : 0;
    s.offset = ReadI16(segData, at + 10);
    if (s.v1 >= static_cast<int>(level.vertices.size()) || s.v2 >= static_cast<int>(level.vertices.size()) ||
        s.linedef >= static_cast<int>(level.linedefs.size())) {
      return unusable("a seg names a vertex or linedef that does not exist");
    }
    level.segs.push_back(s);
  }
  const std::size_t ssCount = RecordCount(ssData, 4, scratch);
  for (std::size_t i = 0; i < ssCount; ++i) {
    Subsector ss{ReadU16(ssData, i * 4 + 2), ReadU16(ssData, i * 4)};
    if (ss.segCount == 0 || static_cast<std::size_t>(ss.firstSeg) + ss.segCount > level.segs.size()) {
      return unusable("a subsector names segs that do not exist");
    }
    level.subsectors.push_back(ss);
  }
  const std::size_t nodeCount = RecordCount(nodeData, 28, scratch);
  for (std::size_t i = 0; i < nodeCount; ++i) {
    const std::size_t at = i * 28;
    Node n;
    n.x = ReadI16(nodeData, at);
    n.y = ReadI16(nodeData, at + 2);
    n.dx = ReadI16(nodeData, at + 4);
    n.dy = ReadI16(nodeData, at + 6);
    for (int c = 0; c < 2; ++c) {
      const uint16_t child = ReadU16(nodeData, at + 24 + c * 2);
      n.isLeaf[c] = (child & 0x8000) != 0;
      n.child[c] = child & 0x7FFF;
      const std::size_t limit = n.isLeaf[c] ? ssCount : nodeCount;
      if (static_cast<std::size_t>(n.child[c]) >= limit) return unusable("a node points nowhere");
    }
    if (n.dx == 0 && n.dy == 0) return unusable("a node has no partition line");
    level.nodes.push_back(n);
  }
  if (level.nodes.empty() && level.subsectors.size() != 1) return unusable("no NODES");
  if (!IsTree(level.nodes)) return unusable("the nodes do not form a tree");
  level.nodesUsable = true;
}

}  // namespace

std::vector<std::string> ListLevels(const WadFile& wadFile) {
  std::vector<std::string> names;
  const auto& lumps = wadFile.Lumps();
  for (std::size_t i = 0; i + 1 < lumps.size(); ++i) {
    const std::string& next = lumps[i + 1].name;
    if ((next == "THINGS" || next == "TEXTMAP") && !IsMapLumpName(lumps[i].name)) names.push_back(lumps[i].name);
  }
  return names;
}

LumpFilter LevelLumpsOnly(const std::string& name) {
  return [wanted = UpperName(name)](const std::vector<Lump>& directory, int index) {
    // A level has at most one lump of each map name: no need to look further back.
    int i = index;
    while (i >= 0 && index - i <= static_cast<int>(kMapLumpNames.size()) &&
           IsMapLumpName(directory[static_cast<std::size_t>(i)].name))
      --i;
    return i >= 0 && directory[static_cast<std::size_t>(i)].name == wanted;
  };
}

Level LoadLevel(const WadFile& wadFile, const std::string& name) {
  const std::string wanted = UpperName(name);
  int marker = -1;
  // The last marker of that name wins, as in the game.
  for (int i = static_cast<int>(wadFile.LumpCount()) - 1; i >= 0; --i) {
    if (wadFile.Lumps()[i].name == wanted) {
      marker = i;
      break;
    }
  }
  if (marker < 0) throw WadError("level " + wanted + " is not in the wad");
  if (marker + 1 < static_cast<int>(wadFile.LumpCount()) && wadFile.Lumps()[marker + 1].name == "TEXTMAP") {
    throw WadError("level " + wanted + " is in UDMF text format, which is not supported");
  }
  const auto lumps = LevelLumps(wadFile, marker);
  if (lumps.count("BEHAVIOR")) throw WadError("level " + wanted + " is in Hexen format, which is not supported");
  for (const char* required : {"THINGS", "LINEDEFS", "SIDEDEFS", "VERTEXES", "SECTORS"}) {
    if (!lumps.count(required)) throw WadError("level " + wanted + " has no " + required + " lump");
  }

  Level level;
  level.name = wanted;
  ReadVertices(LumpOrEmpty(wadFile, lumps, "VERTEXES"), level);
  ReadSectors(LumpOrEmpty(wadFile, lumps, "SECTORS"), level);
  const auto sideUsable = ReadSidedefs(LumpOrEmpty(wadFile, lumps, "SIDEDEFS"), level);
  const std::string_view lineData = LumpOrEmpty(wadFile, lumps, "LINEDEFS");
  const int turned = ReadLinedefs(lineData, sideUsable, level);
  ReadThings(LumpOrEmpty(wadFile, lumps, "THINGS"), level);
  if (level.sectors.empty()) throw WadError("level " + wanted + " has no sectors");
  if (level.linedefs.empty()) throw WadError("level " + wanted + " has no usable linedefs");
  ReadNodeData(LumpOrEmpty(wadFile, lumps, "SEGS"), LumpOrEmpty(wadFile, lumps, "SSECTORS"),
               LumpOrEmpty(wadFile, lumps, "NODES"), lineData.size() / 14, turned, level);
  return level;
}

}  // namespace wad
