#include "PackageUpdate.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <system_error>

namespace pk4 {

namespace {

namespace fs = std::filesystem;

constexpr uint32_t kEndSignature = 0x06054b50;
constexpr uint32_t kCentralSignature = 0x02014b50;
constexpr uint32_t kLocalSignature = 0x04034b50;
constexpr std::size_t kEndSize = 22;
constexpr std::size_t kCentralSize = 46;
constexpr std::size_t kLocalSize = 30;
constexpr std::size_t kMaxComment = 0xFFFF;
constexpr uint64_t kLimit32 = 0xFFFFFFFFull;
constexpr std::size_t kMaxEntries = 0xFFFF;
constexpr std::size_t kCopyChunk = 1 << 20;

uint16_t Get16(const std::string& b, std::size_t at) {
  return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | (static_cast<uint8_t>(b[at + 1]) << 8));
}
uint32_t Get32(const std::string& b, std::size_t at) { return Get16(b, at) | (static_cast<uint32_t>(Get16(b, at + 2)) << 16); }
void Put16(std::string& b, uint32_t v) {
  b += static_cast<char>(v & 0xFF);
  b += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& b, uint64_t v) {
  Put16(b, static_cast<uint32_t>(v & 0xFFFF));
  Put16(b, static_cast<uint32_t>((v >> 16) & 0xFFFF));
}
void Set32(std::string& b, std::size_t at, uint64_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

struct Entry {
  std::string name;
  std::string record;  // the central directory record as stored
  uint16_t flags = 0;
  uint16_t method = 0;
  uint32_t crc = 0;
  uint32_t packedSize = 0;
  uint32_t size = 0;
  uint32_t localOffset = 0;
};

// The package's open file and its checked central directory.
class Package {
public:
  explicit Package(const std::string& path) : m_path(path), m_in(path, std::ios::binary) {
    if (!m_in) Fail("cannot open the package");
    m_in.seekg(0, std::ios::end);
    const std::streamoff end = m_in.tellg();
    if (end < 0) Fail("cannot read the package");
    m_fileSize = static_cast<uint64_t>(end);
    ReadDirectory();
  }

  const std::vector<Entry>& Entries() const { return m_entries; }
  uint64_t DirectoryOffset() const { return m_directoryOffset; }
  // Lets the package be replaced (Windows keeps an open file from being renamed over).
  void Close() { m_in.close(); }

  std::string Read(uint64_t offset, std::size_t count) {
    std::string bytes(count, '\0');
    ReadInto(offset, count, bytes.data());
    return bytes;
  }
  void ReadInto(uint64_t offset, std::size_t count, char* into) {
    if (offset > m_fileSize || count > m_fileSize - offset) Fail("damaged package: data past its end");
    m_in.clear();
    m_in.seekg(static_cast<std::streamoff>(offset));
    if (count > 0) m_in.read(into, static_cast<std::streamsize>(count));
    if (!m_in) Fail("cannot read the package");
  }

  // The entry's stored (uncompressed) bytes, checked against size and CRC.
  std::string Contents(const Entry& entry) {
    const std::string local = Read(entry.localOffset, kLocalSize);
    if (Get32(local, 0) != kLocalSignature) Fail("damaged package: bad local header of " + entry.name);
    const uint64_t data = uint64_t{entry.localOffset} + kLocalSize + Get16(local, 26) + Get16(local, 28);
    const std::string packed = Read(data, entry.packedSize);
    std::string bytes;
    if (entry.method == 0) {
      bytes = packed;
    } else if (entry.method == 8) {
      bytes.resize(entry.size);
      z_stream stream{};
      if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) Fail("cannot inflate " + entry.name);
      stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
      stream.avail_in = static_cast<uInt>(packed.size());
      char spare = 0;
      stream.next_out = reinterpret_cast<Bytef*>(entry.size > 0 ? bytes.data() : &spare);
      stream.avail_out = static_cast<uInt>(entry.size > 0 ? entry.size : 1);
      const int result = inflate(&stream, Z_FINISH);
      const uLong produced = stream.total_out;
      inflateEnd(&stream);
      if (result != Z_STREAM_END || produced != entry.size) Fail("damaged package: cannot inflate " + entry.name);
    } else {
      Fail(entry.name + " uses compression method " + std::to_string(entry.method));
    }
    if (bytes.size() != entry.size) Fail("damaged package: " + entry.name + " has the wrong size");
    const uLong crc = crc32(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size()));
    if (crc != entry.crc) Fail("damaged package: CRC mismatch in " + entry.name);
    return bytes;
  }

  [[noreturn]] void Fail(const std::string& what) const { throw PackageError(m_path + ": " + what); }

private:
  void ReadDirectory() {
    if (m_fileSize < kEndSize) Fail("not a zip package (too short)");
    const std::size_t tailSize = static_cast<std::size_t>(std::min<uint64_t>(m_fileSize, kEndSize + kMaxComment));
    const std::string tail = Read(m_fileSize - tailSize, tailSize);
    std::size_t record = std::string::npos;
    for (std::size_t at = tailSize - kEndSize + 1; at-- > 0;) {
      if (Get32(tail, at) == kEndSignature && at + kEndSize + Get16(tail, at + 20) == tailSize) {
        record = at;
        break;
      }
    }
    if (record == std::string::npos) Fail("not a zip package (no central directory)");
    if (Get16(tail, record + 4) != 0 || Get16(tail, record + 6) != 0) Fail("multi-part packages are not supported");
    const uint16_t count = Get16(tail, record + 10);
    const uint32_t size = Get32(tail, record + 12);
    m_directoryOffset = Get32(tail, record + 16);
    if (count == 0xFFFF || m_directoryOffset == 0xFFFFFFFF) Fail("ZIP64 packages are not supported");
    const uint64_t recordOffset = m_fileSize - tailSize + record;
    if (m_directoryOffset + uint64_t{size} > recordOffset) Fail("damaged package: central directory out of range");
    const std::string directory = Read(m_directoryOffset, size);
    std::size_t at = 0;
    for (uint16_t i = 0; i < count; ++i) {
      if (at + kCentralSize > directory.size() || Get32(directory, at) != kCentralSignature)
        Fail("damaged package: bad central directory entry");
      const std::size_t length =
          kCentralSize + Get16(directory, at + 28) + Get16(directory, at + 30) + Get16(directory, at + 32);
      if (at + length > directory.size()) Fail("damaged package: central directory entry past its end");
      Entry entry;
      entry.record = directory.substr(at, length);
      entry.flags = Get16(directory, at + 8);
      entry.method = Get16(directory, at + 10);
      entry.crc = Get32(directory, at + 16);
      entry.packedSize = Get32(directory, at + 20);
      entry.size = Get32(directory, at + 24);
      entry.localOffset = Get32(directory, at + 42);
      entry.name = directory.substr(at + kCentralSize, Get16(directory, at + 28));
      if (uint64_t{entry.localOffset} + kLocalSize + entry.packedSize > m_directoryOffset)
        Fail("damaged package: entry " + entry.name + " lies outside the file");
      m_entries.push_back(std::move(entry));
      at += length;
    }
  }

  std::string m_path;
  std::ifstream m_in;
  uint64_t m_fileSize = 0;
  uint64_t m_directoryOffset = 0;
  std::vector<Entry> m_entries;
};

// The new package under construction; removed unless committed.
class TemporaryPackage {
public:
  explicit TemporaryPackage(const std::string& target) : m_target(target) {
    std::random_device random;
    const auto tick = std::chrono::steady_clock::now().time_since_epoch().count();
    m_path = target + ".tmp" + std::to_string((random() ^ static_cast<unsigned>(tick)) % 1000000);
    m_out.open(m_path, std::ios::binary | std::ios::trunc);
    if (!m_out) throw PackageError(m_target + ": cannot write a new package beside it");
  }
  ~TemporaryPackage() {
    if (m_committed) return;
    if (m_out.is_open()) m_out.close();
    std::error_code ignored;
    fs::remove(m_path, ignored);
  }
  TemporaryPackage(const TemporaryPackage&) = delete;
  TemporaryPackage& operator=(const TemporaryPackage&) = delete;

  uint64_t Position() const { return m_written; }
  void Write(const std::string& bytes) { Write(bytes.data(), bytes.size()); }
  void Write(const char* bytes, std::size_t count) {
    m_out.write(bytes, static_cast<std::streamsize>(count));
    if (!m_out) throw PackageError(m_target + ": cannot write the new package");
    m_written += count;
    if (m_written > kLimit32) throw PackageError(m_target + ": the package would pass 4 GiB");
  }
  void Commit() {
    m_out.close();
    if (m_out.fail()) throw PackageError(m_target + ": cannot write the new package");
    std::error_code error;
    fs::rename(m_path, m_target, error);
    if (error) throw PackageError(m_target + ": cannot replace the package: " + error.message());
    m_committed = true;
  }

private:
  std::string m_target;
  std::string m_path;
  std::ofstream m_out;
  uint64_t m_written = 0;
  bool m_committed = false;
};

// Copies through `buffer`, one chunk at a time.
void CopyRange(Package& from, uint64_t offset, uint64_t length, TemporaryPackage& to, std::vector<char>& buffer) {
  buffer.resize(kCopyChunk);
  while (length > 0) {
    const std::size_t chunk = static_cast<std::size_t>(std::min<uint64_t>(length, kCopyChunk));
    from.ReadInto(offset, chunk, buffer.data());
    to.Write(buffer.data(), chunk);
    offset += chunk;
    length -= chunk;
  }
}

std::string Deflate(const std::string& bytes, const std::string& package) {
  z_stream stream{};
  // The fastest level: the files added are text that packs well anyway, and a converter run waits for it.
  if (deflateInit2(&stream, Z_BEST_SPEED, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
    throw PackageError(package + ": cannot start compression");
  std::string packed(deflateBound(&stream, static_cast<uLong>(bytes.size())), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
  stream.avail_in = static_cast<uInt>(bytes.size());
  stream.next_out = reinterpret_cast<Bytef*>(packed.data());
  stream.avail_out = static_cast<uInt>(packed.size());
  const int result = deflate(&stream, Z_FINISH);
  packed.resize(stream.total_out);
  deflateEnd(&stream);
  if (result != Z_STREAM_END) throw PackageError(package + ": compression failed");
  return packed;
}

// DOS date and time of now, in local time.
std::pair<uint16_t, uint16_t> DosNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  if (localtime_s(&local, &now) != 0) local = std::tm{};
#else
  if (localtime_r(&now, &local) == nullptr) local = std::tm{};
#endif
  const int year = std::clamp(local.tm_year + 1900, 1980, 2107);
  const auto date = static_cast<uint16_t>(((year - 1980) << 9) | ((local.tm_mon + 1) << 5) | std::max(1, local.tm_mday));
  const auto time = static_cast<uint16_t>((local.tm_hour << 11) | (local.tm_min << 5) | (local.tm_sec / 2));
  return {date, time};
}

// The local header and data of a new entry, and its central record (offset filled in by the caller).
struct NewEntry {
  std::string local;
  std::string record;
};

NewEntry PackFile(const PackageFile& file, const std::string& package) {
  if (file.bytes.size() >= kLimit32) throw PackageError(package + ": " + file.name + " is 4 GiB or more");
  std::string data = Deflate(file.bytes, package);
  uint16_t method = 8;
  if (data.size() >= file.bytes.size()) {
    data = file.bytes;
    method = 0;
  }
  const uLong crc =
      crc32(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(file.bytes.data()), static_cast<uInt>(file.bytes.size()));
  const auto [date, time] = DosNow();
  std::string shared;
  Put16(shared, method == 8 ? 20 : 10);  // version needed
  Put16(shared, 0);                       // flags
  Put16(shared, method);
  Put16(shared, time);
  Put16(shared, date);
  Put32(shared, crc);
  Put32(shared, data.size());
  Put32(shared, file.bytes.size());
  Put16(shared, static_cast<uint32_t>(file.name.size()));
  NewEntry entry;
  Put32(entry.local, kLocalSignature);
  entry.local += shared;
  Put16(entry.local, 0);  // extra
  entry.local += file.name;
  entry.local += data;
  Put32(entry.record, kCentralSignature);
  Put16(entry.record, 0x0314);  // made by: Unix, so the mode bits are read
  entry.record += shared;
  Put16(entry.record, 0);  // extra
  Put16(entry.record, 0);  // comment
  Put16(entry.record, 0);  // disk
  Put16(entry.record, 0);  // internal attributes
  Put32(entry.record, 0100644u << 16);
  Put32(entry.record, 0);  // offset, set later
  entry.record += file.name;
  return entry;
}

}  // namespace

std::optional<std::string> ReadPackageEntry(const std::string& package, const std::string& name) {
  Package source(package);
  const std::string wanted = Lower(name);
  for (const Entry& entry : source.Entries()) {
    if (Lower(entry.name) == wanted) return source.Contents(entry);
  }
  return std::nullopt;
}

std::map<std::string, std::string> ReadPackageEntries(const std::string& package,
                                                      const std::vector<std::string>& names) {
  Package source(package);
  std::map<std::string, const Entry*> byName;
  for (const Entry& entry : source.Entries()) byName.emplace(Lower(entry.name), &entry);
  std::map<std::string, std::string> found;
  for (const std::string& name : names) {
    const auto entry = byName.find(Lower(name));
    if (entry != byName.end()) found.emplace(name, source.Contents(*entry->second));
  }
  return found;
}

void ReplacePackageEntries(const std::string& package, const std::vector<PackageFile>& files) {
  Package source(package);
  std::set<std::string> replaced;
  for (const PackageFile& file : files) replaced.insert(Lower(file.name));
  auto isReplaced = [&](const Entry& entry) { return replaced.count(Lower(entry.name)) > 0; };

  // Each entry's bytes run from its local header to the next entry's (or the directory):
  // copying that span keeps any data descriptor with it.
  std::vector<const Entry*> byOffset;
  for (const Entry& entry : source.Entries()) byOffset.push_back(&entry);
  std::sort(byOffset.begin(), byOffset.end(), [](const Entry* a, const Entry* b) { return a->localOffset < b->localOffset; });
  std::size_t kept = 0;
  for (const Entry* entry : byOffset) kept += !isReplaced(*entry);
  if (kept + files.size() > kMaxEntries) source.Fail("the package would hold more than 65,535 entries");

  TemporaryPackage target(package);
  std::string directory;
  // Kept entries that follow each other are copied as one run: a package of thousands of
  // small files is then a few large reads and writes.
  uint64_t runStart = 0, runEnd = 0;
  std::vector<char> buffer;
  auto flush = [&] {
    if (runEnd > runStart) CopyRange(source, runStart, runEnd - runStart, target, buffer);
    runStart = runEnd = 0;
  };
  for (std::size_t i = 0; i < byOffset.size(); ++i) {
    const Entry& entry = *byOffset[i];
    if (isReplaced(entry)) {
      flush();
      continue;
    }
    const uint64_t end = i + 1 < byOffset.size() ? byOffset[i + 1]->localOffset : source.DirectoryOffset();
    if (runEnd != entry.localOffset || runEnd == runStart) {
      flush();
      runStart = entry.localOffset;
    }
    runEnd = end;
    std::string record = entry.record;
    Set32(record, 42, target.Position() + (entry.localOffset - runStart));
    directory += record;
  }
  flush();
  for (const PackageFile& file : files) {
    NewEntry packed = PackFile(file, package);
    Set32(packed.record, 42, target.Position());
    directory += packed.record;
    target.Write(packed.local);
  }
  const uint64_t directoryOffset = target.Position();
  std::string end;
  Put32(end, kEndSignature);
  Put16(end, 0);
  Put16(end, 0);
  Put16(end, static_cast<uint32_t>(kept + files.size()));
  Put16(end, static_cast<uint32_t>(kept + files.size()));
  Put32(end, directory.size());
  Put32(end, directoryOffset);
  Put16(end, 0);
  target.Write(directory);
  target.Write(end);
  source.Close();
  target.Commit();
}

}  // namespace pk4
