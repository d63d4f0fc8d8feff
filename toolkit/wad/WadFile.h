// WadFile: a DOOM wad held in memory, its lump directory checked once at load.
//
// Load reads the whole file (a wad is at most a few hundred MB; the texture
// tools need most of it), or with a filter only the directory and the lumps
// the filter keeps (the converter needs one level of a large wad). Every
// directory entry is checked against the file size before any lump is touched,
// so a count or offset that cannot fit in the file is a WadError, never a large
// allocation or an out-of-range read.
// Lump names are upper-cased and end at the first NUL (at most 8 characters).
// The WadFile owns the bytes; Data() views stay valid while it lives.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace wad {

// The one exception type of the wad and level readers: one line, naming the problem.
class WadError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

struct Lump {
  std::string name;
  uint32_t offset = 0;  // in the file
  uint32_t size = 0;
  bool held = true;     // false: left out by the load's filter
  uint32_t at = 0;      // where the bytes lie in memory, when held
};

// Which lumps a filtered load reads, by their place in the checked directory.
using LumpFilter = std::function<bool(const std::vector<Lump>& directory, int index)>;

class WadFile {
public:
  // Reads and checks the file; throws WadError (unreadable, not a wad, bad directory).
  static WadFile Load(const std::string& path);
  // Reads the directory and only the lumps `keep` selects; the rest are listed but not held.
  static WadFile Load(const std::string& path, const LumpFilter& keep);
  // The same checks on bytes already in memory (tests, fuzzing).
  static WadFile FromBytes(std::vector<uint8_t> bytes);

  bool IsIwad() const { return m_iwad; }
  const std::vector<Lump>& Lumps() const { return m_lumps; }
  std::size_t LumpCount() const { return m_lumps.size(); }

  // Index of the first lump named `name` at or after `from`, or -1.
  int Find(std::string_view name, int from = 0) const;
  // Index of the last lump named `name`, or -1 (PWAD order: later lumps win).
  int FindLast(std::string_view name) const;
  // Index of the first lump named `name` strictly between `first` and `last`, or -1.
  int FindBetween(std::string_view name, int first, int last) const;

  // The bytes of lump `index` (must be a valid index); WadError for a lump not held.
  std::string_view Data(int index) const;
  std::string_view Data(const Lump& lump) const;

private:
  void ReadDirectory(std::string_view header, bool fits, std::string_view directory, uint64_t fileSize);

  std::vector<uint8_t> m_bytes;
  std::vector<Lump> m_lumps;
  bool m_iwad = false;
};

// Little-endian field readers on a byte view; callers check sizes first.
inline int16_t ReadI16(std::string_view b, std::size_t at) {
  return static_cast<int16_t>(static_cast<uint8_t>(b[at]) | (static_cast<uint8_t>(b[at + 1]) << 8));
}
inline uint16_t ReadU16(std::string_view b, std::size_t at) {
  return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | (static_cast<uint8_t>(b[at + 1]) << 8));
}
inline int32_t ReadI32(std::string_view b, std::size_t at) {
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint8_t>(b[at])) |
                              (static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 8) |
                              (static_cast<uint32_t>(static_cast<uint8_t>(b[at + 2])) << 16) |
                              (static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3])) << 24));
}
inline uint32_t ReadU32(std::string_view b, std::size_t at) { return static_cast<uint32_t>(ReadI32(b, at)); }

// An 8-byte name field: upper-cased, cut at the first NUL.
std::string ReadName8(std::string_view b, std::size_t at);
// Upper-cases ASCII letters only (lump and texture names).
std::string UpperName(std::string_view name);

}  // namespace wad
