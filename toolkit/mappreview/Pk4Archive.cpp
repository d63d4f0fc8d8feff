#include "Pk4Archive.h"

#include <zlib.h>

#include <algorithm>
#include <cctype>

#include "PreviewError.h"

namespace mappreview {
namespace {

constexpr uint32_t kEndSignature = 0x06054b50;
constexpr uint32_t kCentralSignature = 0x02014b50;
constexpr uint32_t kLocalSignature = 0x04034b50;
constexpr std::size_t kEndRecordSize = 22;
constexpr std::size_t kCentralHeaderSize = 46;
constexpr std::size_t kLocalHeaderSize = 30;
constexpr std::size_t kMaxCommentSize = 0xFFFF;
// Larger than any texture a level uses; a bigger size is a damaged directory.
constexpr uint32_t kMaxEntrySize = 256u << 20;

uint16_t U16(const std::vector<uint8_t>& b, std::size_t at) {
  return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}
uint32_t U32(const std::vector<uint8_t>& b, std::size_t at) {
  return static_cast<uint32_t>(b[at]) | (static_cast<uint32_t>(b[at + 1]) << 8) |
         (static_cast<uint32_t>(b[at + 2]) << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

void Pk4Archive::Fail(const std::string& what) const {
  throw PreviewError(ExitCode::BadInput, m_path + ": " + what);
}

std::vector<uint8_t> Pk4Archive::ReadAt(uint64_t offset, std::size_t count) {
  if (offset > m_fileSize || count > m_fileSize - offset) Fail("corrupt zip: data beyond the end of the file");
  std::vector<uint8_t> bytes(count);
  m_file.clear();
  m_file.seekg(static_cast<std::streamoff>(offset));
  if (count > 0) m_file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(count));
  if (!m_file) Fail("cannot read");
  return bytes;
}

Pk4Archive::Pk4Archive(const std::string& path) : m_path(path), m_file(path, std::ios::binary) {
  if (!m_file) Fail("cannot open package");
  m_file.seekg(0, std::ios::end);
  std::streamoff end = m_file.tellg();
  if (end < 0) Fail("cannot read");
  m_fileSize = static_cast<uint64_t>(end);
  if (m_fileSize < kEndRecordSize) Fail("not a zip package (too short)");

  std::size_t tailSize = static_cast<std::size_t>(std::min<uint64_t>(m_fileSize, kEndRecordSize + kMaxCommentSize));
  std::vector<uint8_t> tail = ReadAt(m_fileSize - tailSize, tailSize);
  std::size_t record = std::string::npos;
  for (std::size_t at = tailSize - kEndRecordSize + 1; at-- > 0;) {
    if (U32(tail, at) == kEndSignature && at + kEndRecordSize + U16(tail, at + 20) == tailSize) {
      record = at;
      break;
    }
  }
  if (record == std::string::npos) Fail("not a zip package (no central directory)");
  if (U16(tail, record + 4) != 0 || U16(tail, record + 6) != 0) Fail("multi-part zip packages are not supported");
  uint16_t count = U16(tail, record + 10);
  uint32_t directorySize = U32(tail, record + 12);
  uint32_t directoryOffset = U32(tail, record + 16);
  if (count == 0xFFFF || directoryOffset == 0xFFFFFFFF) Fail("zip64 packages are not supported");
  uint64_t recordOffset = m_fileSize - tailSize + record;
  if (static_cast<uint64_t>(directoryOffset) + directorySize > recordOffset)
    Fail("corrupt zip: central directory out of range");

  std::vector<uint8_t> dir = ReadAt(directoryOffset, directorySize);
  std::size_t at = 0;
  for (uint16_t i = 0; i < count; ++i) {
    if (at + kCentralHeaderSize > dir.size() || U32(dir, at) != kCentralSignature)
      Fail("corrupt zip: bad central directory entry");
    Entry entry;
    uint16_t flags = U16(dir, at + 8);
    entry.method = U16(dir, at + 10);
    entry.crc = U32(dir, at + 16);
    entry.compressedSize = U32(dir, at + 20);
    entry.size = U32(dir, at + 24);
    std::size_t nameLength = U16(dir, at + 28);
    std::size_t extraLength = U16(dir, at + 30);
    std::size_t commentLength = U16(dir, at + 32);
    entry.localHeader = U32(dir, at + 42);
    if (at + kCentralHeaderSize + nameLength + extraLength + commentLength > dir.size())
      Fail("corrupt zip: central directory entry runs past its end");
    entry.name.assign(reinterpret_cast<const char*>(&dir[at + kCentralHeaderSize]), nameLength);
    at += kCentralHeaderSize + nameLength + extraLength + commentLength;
    if (static_cast<uint64_t>(entry.localHeader) + kLocalHeaderSize + entry.compressedSize > recordOffset)
      Fail("corrupt zip: entry " + entry.name + " lies outside the file");
    if (flags & 1) continue;  // encrypted: never a texture we can use
    m_byLowerName[Lower(entry.name)] = m_entries.size();
    m_entries.push_back(std::move(entry));
  }
}

bool Pk4Archive::Contains(const std::string& name) const { return m_byLowerName.count(Lower(name)) != 0; }

std::vector<std::string> Pk4Archive::EntryNames() const {
  std::vector<std::string> names;
  for (const Entry& entry : m_entries) names.push_back(entry.name);
  return names;
}

std::vector<uint8_t> Pk4Archive::Read(const std::string& name) {
  auto found = m_byLowerName.find(Lower(name));
  if (found == m_byLowerName.end()) Fail("no entry " + name);
  const Entry& entry = m_entries[found->second];
  if (entry.size > kMaxEntrySize || entry.compressedSize > kMaxEntrySize) Fail(entry.name + ": entry too large");
  std::vector<uint8_t> local = ReadAt(entry.localHeader, kLocalHeaderSize);
  if (U32(local, 0) != kLocalSignature) Fail("corrupt zip: bad local header of " + entry.name);
  uint64_t dataOffset = static_cast<uint64_t>(entry.localHeader) + kLocalHeaderSize + U16(local, 26) + U16(local, 28);
  std::vector<uint8_t> packed = ReadAt(dataOffset, entry.compressedSize);

  std::vector<uint8_t> data;
  if (entry.method == 0) {
    if (entry.compressedSize != entry.size) Fail("corrupt zip: stored entry " + entry.name + " has two sizes");
    data = std::move(packed);
  } else if (entry.method == 8) {
    // One spare byte: an empty entry still gets a buffer, and a stream longer than declared shows.
    data.resize(static_cast<std::size_t>(entry.size) + 1);
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) Fail("cannot start inflating " + entry.name);
    stream.next_in = packed.data();
    stream.avail_in = static_cast<uInt>(packed.size());
    stream.next_out = data.data();
    stream.avail_out = static_cast<uInt>(data.size());
    int result = inflate(&stream, Z_FINISH);
    uLong produced = stream.total_out;
    inflateEnd(&stream);
    if (result != Z_STREAM_END || produced != entry.size) Fail("corrupt zip: cannot inflate " + entry.name);
    data.resize(entry.size);
  } else {
    Fail(entry.name + ": unsupported compression method " + std::to_string(entry.method));
  }
  uLong crc = crc32(0L, Z_NULL, 0);
  crc = crc32(crc, data.data(), static_cast<uInt>(data.size()));
  if (crc != entry.crc) Fail("corrupt zip: CRC mismatch in " + entry.name);
  return data;
}

}  // namespace mappreview
