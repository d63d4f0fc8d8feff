// libFuzzer target: arbitrary bytes through the wad directory and every level it lists.
// Only WadError may come out; anything else, and any bad memory access, is a fault.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "Level.h"
#include "WadFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  try {
    const wad::WadFile file = wad::WadFile::FromBytes(std::vector<uint8_t>(data, data + size));
    for (const auto& name : wad::ListLevels(file)) {
      try {
        const wad::Level level = wad::LoadLevel(file, name);
        if (level.nodesUsable && level.nodes.empty() && level.subsectors.size() != 1) __builtin_trap();
      } catch (const wad::WadError&) {
      }
    }
  } catch (const wad::WadError&) {
  }
  return 0;
}
