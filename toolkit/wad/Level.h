// Level: one binary (vanilla or Boom) DOOM level decoded into plain structs.
//
// LoadLevel finds the level's marker lump (case-insensitively) and the map
// lumps that follow it, then checks every index once: after loading, each
// vertex, sidedef and sector index in the model is valid or -1, so nothing
// downstream can index out of range. Broken records are dropped or unlinked
// and counted in `problems`; only a level that cannot be read at all (not in
// the wad, Hexen or UDMF format, a required lump missing) is a WadError.
// Node and subsector data are kept as found, with their indices checked:
// `nodesUsable` is false when they are absent, in an extended format, or name
// anything out of range, and the converter then partitions by itself.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "WadFile.h"

namespace wad {

struct Vertex {
  int32_t x = 0;
  int32_t y = 0;
};

// Linedef flags the tools use.
enum LineFlags : uint16_t {
  kLineBlocking = 0x0001,
  kLineTwoSided = 0x0004,
  kLineUpperUnpegged = 0x0008,
  kLineLowerUnpegged = 0x0010,
  kLineSecret = 0x0020,
};

struct Linedef {
  int v1 = 0;  // start vertex; the front (right) side faces right of v1->v2
  int v2 = 0;
  uint16_t flags = 0;
  uint16_t special = 0;
  uint16_t tag = 0;
  int front = -1;  // sidedef index or -1
  int back = -1;
};

struct Sidedef {
  int16_t xOffset = 0;
  int16_t yOffset = 0;
  std::string upper;   // "-" or empty: no texture
  std::string lower;
  std::string middle;
  int sector = 0;      // always valid: sidedefs with a bad sector are unlinked from their lines
};

struct Sector {
  int32_t floorHeight = 0;
  int32_t ceilingHeight = 0;
  std::string floorFlat;
  std::string ceilingFlat;
  int16_t light = 0;
  uint16_t special = 0;
  uint16_t tag = 0;
};

// Thing flags (skill bits, multiplayer-only).
enum ThingFlags : uint16_t {
  kThingEasy = 0x0001,
  kThingMedium = 0x0002,
  kThingHard = 0x0004,
  kThingAmbush = 0x0008,
  kThingMultiplayer = 0x0010,
};

struct Thing {
  int32_t x = 0;
  int32_t y = 0;
  int32_t angle = 0;
  uint16_t type = 0;
  uint16_t flags = 0;
};

struct Seg {
  int v1 = 0;
  int v2 = 0;
  int linedef = 0;
  int side = 0;  // 0: front sidedef of the linedef, 1: back
  int32_t offset = 0;
};

struct Subsector {
  int firstSeg = 0;
  int segCount = 0;
};

struct Node {
  int32_t x = 0, y = 0, dx = 0, dy = 0;  // partition line: front (right) side is child 0
  int child[2] = {0, 0};                 // node index, or subsector index when isLeaf
  bool isLeaf[2] = {false, false};
};

struct LevelProblems {
  int badVertexIndex = 0;     // linedefs dropped: a vertex index out of range
  int zeroLength = 0;         // linedefs dropped: both ends at one point
  int noSides = 0;            // linedefs dropped: neither sidedef usable
  int badSidedefIndex = 0;    // line sides unlinked: sidedef index out of range
  int badSectorIndex = 0;     // sidedefs unlinked: sector index out of range
  int truncatedLumps = 0;     // lumps whose size is not a whole number of records
  int Total() const {
    return badVertexIndex + zeroLength + noSides + badSidedefIndex + badSectorIndex + truncatedLumps;
  }
};

struct Level {
  std::string name;  // upper-cased marker name
  std::vector<Thing> things;
  std::vector<Linedef> linedefs;
  std::vector<Sidedef> sidedefs;
  std::vector<Vertex> vertices;
  std::vector<Sector> sectors;
  std::vector<Seg> segs;
  std::vector<Subsector> subsectors;
  std::vector<Node> nodes;
  bool nodesUsable = false;
  std::string nodesProblem;  // why not, when !nodesUsable
  LevelProblems problems;
};

// Decodes level `name` (matched case-insensitively) of `wadFile`; throws WadError.
Level LoadLevel(const WadFile& wadFile, const std::string& name);

// For WadFile::Load: keeps the markers named `name` and the run of map lumps after
// each, all that LoadLevel reads of that level.
LumpFilter LevelLumpsOnly(const std::string& name);

// The level marker names the wad holds, in directory order (lumps followed by THINGS or TEXTMAP).
std::vector<std::string> ListLevels(const WadFile& wadFile);

}  // namespace wad
