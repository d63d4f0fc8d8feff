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

namespace {

std::ifstream OpenWad(const std::string& path, uint64_t& size) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) throw WadError("cannot open " + path);
  const std::streamoff end = in.tellg();
  if (end < 0) throw WadError("cannot read " + path);
  if (static_cast<unsigned long long>(end) > 0xFFFFFFFFull) throw WadError(path + " is too large to be a wad");
  size = static_cast<uint64_t>(end);
  in.seekg(0);
  return in;
}

// Where the header puts the directory, and whether it fits in a file of `fileSize`
// (checked in 64 bits before anything is allocated: a huge count costs nothing).
struct DirectoryPlace {
  bool fits = false;
  uint64_t offset = 0;
  uint64_t size = 0;
};

DirectoryPlace LocateDirectory(std::string_view header, uint64_t fileSize) {
  DirectoryPlace place;
  if (header.size() < kHeaderSize) return place;
  place.offset = ReadU32(header, 8);
  place.size = static_cast<uint64_t>(ReadU32(header, 4)) * kEntrySize;
  place.fits = place.offset + place.size <= fileSize;
  return place;
}

void ReadAt(std::ifstream& in, uint64_t offset, char* into, std::size_t size, const std::string& path) {
  in.seekg(static_cast<std::streamoff>(offset));
  if (size > 0 && !in.read(into, static_cast<std::streamsize>(size))) throw WadError("cannot read " + path);
}

}  // namespace

WadFile WadFile::Load(const std::string& path) {
  uint64_t size = 0;
  std::ifstream in = OpenWad(path, size);
  std::vector<uint8_t> bytes(static_cast<std::size_t>(size));
  ReadAt(in, 0, reinterpret_cast<char*>(bytes.data()), bytes.size(), path);
  try {
    return FromBytes(std::move(bytes));
  } catch (const WadError& e) {
    throw WadError(path + ": " + e.what());
  }
}

WadFile WadFile::Load(const std::string& path, const LumpFilter& keep) {
  uint64_t size = 0;
  std::ifstream in = OpenWad(path, size);
  WadFile wad;
  try {
    char header[kHeaderSize] = {};
    if (size >= kHeaderSize) ReadAt(in, 0, header, kHeaderSize, path);
    const std::string_view head(header, size >= kHeaderSize ? kHeaderSize : 0);
    const DirectoryPlace place = LocateDirectory(head, size);
    std::string directory;
    if (place.fits) {
      directory.resize(static_cast<std::size_t>(place.size));
      ReadAt(in, place.offset, &directory[0], directory.size(), path);
    }
    wad.ReadDirectory(head, place.fits, directory, size);
  } catch (const WadError& e) {
    throw WadError(path + ": " + e.what());
  }
  std::size_t total = 0;
  for (int i = 0; i < static_cast<int>(wad.m_lumps.size()); ++i) {
    Lump& lump = wad.m_lumps[static_cast<std::size_t>(i)];
    lump.held = keep(wad.m_lumps, i);
    lump.at = static_cast<uint32_t>(total);
    if (lump.held) total += lump.size;
  }
  wad.m_bytes.resize(total);
  for (const Lump& lump : wad.m_lumps) {
    if (lump.held) ReadAt(in, lump.offset, reinterpret_cast<char*>(wad.m_bytes.data()) + lump.at, lump.size, path);
  }
  return wad;
}

WadFile WadFile::FromBytes(std::vector<uint8_t> bytes) {
  WadFile wad;
  wad.m_bytes = std::move(bytes);
  const std::string_view all(reinterpret_cast<const char*>(wad.m_bytes.data()), wad.m_bytes.size());
  const std::string_view head = all.substr(0, kHeaderSize);
  const DirectoryPlace place = LocateDirectory(head, all.size());
  const std::string_view directory = place.fits ? all.substr(place.offset, place.size) : std::string_view();
  wad.ReadDirectory(head, place.fits, directory, all.size());
  for (Lump& lump : wad.m_lumps) lump.at = lump.offset;
  return wad;
}

// The header's checks and the directory's entries, each checked against the file size;
// `directory` holds the entries when the header's directory fits in the file.
void WadFile::ReadDirectory(std::string_view header, bool fits, std::string_view directory, uint64_t fileSize) {
  if (header.size() < kHeaderSize) throw WadError("not a wad (file too short)");
  const std::string_view magic = header.substr(0, 4);
  if (magic != "IWAD" && magic != "PWAD") throw WadError("not a wad (no IWAD or PWAD signature)");
  m_iwad = magic == "IWAD";
  const uint32_t count = ReadU32(header, 4);
  if (!fits) throw WadError("lump directory does not fit in the file");
  m_lumps.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    const std::size_t at = static_cast<std::size_t>(i) * kEntrySize;
    Lump lump;
    lump.offset = ReadU32(directory, at);
    lump.size = ReadU32(directory, at + 4);
    lump.name = ReadName8(directory, at + 8);
    if (static_cast<uint64_t>(lump.offset) + lump.size > fileSize) {
      if (lump.size != 0) throw WadError("lump " + std::to_string(i) + " (" + lump.name + ") lies outside the file");
      lump.offset = 0;  // an empty marker lump may carry any offset
    }
    m_lumps.push_back(std::move(lump));
  }
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
  if (!lump.held) throw WadError("lump " + lump.name + " was not read");
  return std::string_view(reinterpret_cast<const char*>(m_bytes.data()) + lump.at, lump.size);
}

}  // namespace wad
