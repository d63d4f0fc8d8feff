#include "WadFile.h"

#include <fstream>

namespace wad {

namespace {
constexpr std::size_t kHeaderSize = 12;
constexpr std::size_t kEntrySize = 16;
}  // namespace

std::string UpperName(std::string_view name) {
  std::string out(name);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

std::string ReadName8(std::string_view b, std::size_t at) {
  std::string name;
  for (std::size_t i = 0; i < 8 && b[at + i] != '\0'; ++i) name.push_back(b[at + i]);
  return UpperName(name);
}

WadFile WadFile::Load(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) throw WadError("cannot open " + path);
  const std::streamoff size = in.tellg();
  if (size < 0) throw WadError("cannot read " + path);
  if (static_cast<unsigned long long>(size) > 0xFFFFFFFFull) throw WadError(path + " is too large to be a wad");
  std::vector<uint8_t> bytes(static_cast<std::size_t>(size));
  in.seekg(0);
  if (size > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), size)) throw WadError("cannot read " + path);
  try {
    return FromBytes(std::move(bytes));
  } catch (const WadError& e) {
    throw WadError(path + ": " + e.what());
  }
}

WadFile WadFile::FromBytes(std::vector<uint8_t> bytes) {
  WadFile wad;
  wad.m_bytes = std::move(bytes);
  const std::string_view all(reinterpret_cast<const char*>(wad.m_bytes.data()), wad.m_bytes.size());
  if (all.size() < kHeaderSize) throw WadError("not a wad (file too short)");
  const std::string_view magic = all.substr(0, 4);
  if (magic != "IWAD" && magic != "PWAD") throw WadError("not a wad (no IWAD or PWAD signature)");
  wad.m_iwad = magic == "IWAD";
  const uint32_t count = ReadU32(all, 4);
  const uint32_t dirOffset = ReadU32(all, 8);
  // Checked in 64 bits before anything is allocated: a huge count in a short file costs nothing.
  const uint64_t dirEnd = static_cast<uint64_t>(dirOffset) + static_cast<uint64_t>(count) * kEntrySize;
  if (dirEnd > all.size()) throw WadError("lump directory does not fit in the file");
  wad.m_lumps.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    const std::size_t at = dirOffset + static_cast<std::size_t>(i) * kEntrySize;
    Lump lump;
    lump.offset = ReadU32(all, at);
    lump.size = ReadU32(all, at + 4);
    lump.name = ReadName8(all, at + 8);
    if (static_cast<uint64_t>(lump.offset) + lump.size > all.size()) {
      if (lump.size != 0) throw WadError("lump " + std::to_string(i) + " (" + lump.name + ") lies outside the file");
      lump.offset = 0;  // an empty marker lump may carry any offset
    }
    wad.m_lumps.push_back(std::move(lump));
  }
  return wad;
}

int WadFile::Find(std::string_view name, int from) const {
  for (int i = from < 0 ? 0 : from; i < static_cast<int>(m_lumps.size()); ++i) {
    if (m_lumps[i].name == name) return i;
  }
  return -1;
}

int WadFile::FindLast(std::string_view name) const {
  for (int i = static_cast<int>(m_lumps.size()) - 1; i >= 0; --i) {
    if (m_lumps[i].name == name) return i;
  }
  return -1;
}

int WadFile::FindBetween(std::string_view name, int first, int last) const {
  for (int i = first + 1; i < last && i < static_cast<int>(m_lumps.size()); ++i) {
    if (i >= 0 && m_lumps[i].name == name) return i;
  }
  return -1;
}

std::string_view WadFile::Data(int index) const { return Data(m_lumps.at(static_cast<std::size_t>(index))); }

std::string_view WadFile::Data(const Lump& lump) const {
  return std::string_view(reinterpret_cast<const char*>(m_bytes.data()) + lump.offset, lump.size);
}

}  // namespace wad
