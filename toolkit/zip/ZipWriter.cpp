#include "ZipWriter.h"

#include "ZipError.h"

#include <sys/stat.h>
#include <zlib.h>

#include <array>
#include <chrono>
#include <ctime>
#include <random>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace zip {

namespace {

constexpr uint64_t kLimit32 = 0xFFFFFFFFull;
constexpr size_t kChunk = 1 << 16;

class Bytes {
public:
  void U16(uint32_t v) {
    data_.push_back(static_cast<char>(v & 0xFF));
    data_.push_back(static_cast<char>((v >> 8) & 0xFF));
  }
  void U32(uint64_t v) {
    U16(static_cast<uint32_t>(v & 0xFFFF));
    U16(static_cast<uint32_t>((v >> 16) & 0xFFFF));
  }
  void Text(const std::string& s) { data_ += s; }
  const std::string& str() const { return data_; }

private:
  std::string data_;
};

bool NeedsUtf8Flag(const std::string& name) {
  for (unsigned char c : name) {
    if (c >= 0x80) return true;
  }
  return false;
}

// DOS time fields from the file's modification time in local time, clamped to
// the format's range (1980-2107).
void StampDosTime(const fs::path& source, PackedEntry& entry) {
  struct stat info {};
  std::time_t when = std::time(nullptr);
  if (::stat(source.string().c_str(), &info) == 0) when = info.st_mtime;
  std::tm local{};
#ifdef _WIN32
  if (localtime_s(&local, &when) != 0) local = std::tm{};
#else
  if (localtime_r(&when, &local) == nullptr) local = std::tm{};
#endif
  int year = local.tm_year + 1900;
  if (year < 1980) {
    year = 1980;
    local.tm_mon = 0;
    local.tm_mday = 1;
    local.tm_hour = local.tm_min = local.tm_sec = 0;
  } else if (year > 2107) {
    year = 2107;
  }
  entry.dosDate = static_cast<uint16_t>(((year - 1980) << 9) | ((local.tm_mon + 1) << 5) | local.tm_mday);
  entry.dosTime = static_cast<uint16_t>((local.tm_hour << 11) | (local.tm_min << 5) | (local.tm_sec / 2));
}

class Source {
public:
  explicit Source(const fs::path& path) : path_(path), in_(path, std::ios::binary) {
    if (!in_) throw ZipError(Exit::Input, "cannot read " + path.generic_string());
  }
  // Reads up to one chunk; returns 0 at the end.
  size_t Read(std::array<char, kChunk>& buffer) {
    in_.read(buffer.data(), buffer.size());
    if (in_.bad()) throw ZipError(Exit::Input, "cannot read " + path_.generic_string());
    return static_cast<size_t>(in_.gcount());
  }

private:
  fs::path path_;
  std::ifstream in_;
};

// zlib's stream state, released whichever way the packing ends.
class Deflater {
public:
  explicit Deflater(int level) {
    if (deflateInit2(&stream_, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
      throw ZipError(Exit::Output, "cannot start compression");
    }
  }
  ~Deflater() { deflateEnd(&stream_); }
  Deflater(const Deflater&) = delete;
  Deflater& operator=(const Deflater&) = delete;
  z_stream& stream() { return stream_; }

private:
  z_stream stream_{};
};

std::string TemporaryNameFor(const fs::path& archive) {
  std::random_device random;
  const auto tick = std::chrono::steady_clock::now().time_since_epoch().count();
  return archive.filename().string() + ".tmp" + std::to_string((random() ^ static_cast<unsigned>(tick)) % 1000000);
}

void ReplaceFile(const fs::path& from, const fs::path& to) {
#ifdef _WIN32
  if (!MoveFileExA(from.string().c_str(), to.string().c_str(), MOVEFILE_REPLACE_EXISTING)) {
    throw ZipError(Exit::Output, "cannot write " + to.generic_string());
  }
#else
  std::error_code error;
  fs::rename(from, to, error);
  if (error) throw ZipError(Exit::Output, "cannot write " + to.generic_string() + ": " + error.message());
#endif
}

// The fields a local header and its central directory record share, in the
// same order: version needed, flags, method, time, date, CRC, sizes, name length.
void PutSharedFields(Bytes& out, const PackedEntry& entry) {
  out.U16(entry.method == 8 ? 20 : 10);
  out.U16(NeedsUtf8Flag(entry.name) ? 0x0800 : 0);
  out.U16(entry.method);
  out.U16(entry.dosTime);
  out.U16(entry.dosDate);
  out.U32(entry.crc);
  out.U32(entry.packedSize);
  out.U32(entry.size);
  out.U16(static_cast<uint32_t>(entry.name.size()));
}

}  // namespace

ZipWriter::ZipWriter(fs::path archive, int level) : archive_(std::move(archive)), level_(level) {
  temporary_ = archive_.parent_path() / TemporaryNameFor(archive_);
  out_.open(temporary_, std::ios::binary | std::ios::trunc);
  if (!out_) throw ZipError(Exit::Output, "cannot write " + archive_.generic_string());
}

ZipWriter::~ZipWriter() {
  if (committed_) return;
  if (out_.is_open()) out_.close();
  std::error_code ignored;
  fs::remove(temporary_, ignored);
}

void ZipWriter::Write(const void* data, size_t size) {
  out_.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
  if (!out_) throw ZipError(Exit::Output, "cannot write " + archive_.generic_string());
}

uint64_t ZipWriter::Position() {
  const std::streamoff at = out_.tellp();
  if (at < 0) throw ZipError(Exit::Output, "cannot write " + archive_.generic_string());
  return static_cast<uint64_t>(at);
}

PackedEntry& ZipWriter::Begin(const std::string& name, const fs::path& source, bool directory) {
  PackedEntry entry;
  entry.name = name;
  entry.directory = directory;
  entry.headerOffset = Position();
  if (entry.headerOffset > kLimit32) {
    throw ZipError(Exit::Output, "archive would pass 4 GiB, which needs ZIP64 (not supported)");
  }
  StampDosTime(source, entry);
  entries_.push_back(entry);
  return entries_.back();
}

void ZipWriter::WriteLocalHeader(const PackedEntry& entry) {
  Bytes header;
  header.U32(0x04034b50);
  PutSharedFields(header, entry);
  header.U16(0);
  header.Text(entry.name);
  Write(header.str().data(), header.str().size());
}

// Sizes and CRC are known only after the data: they are written into the local
// header afterwards rather than in a trailing descriptor, which some readers
// of game packages do not expect.
void ZipWriter::PatchLocalHeader(const PackedEntry& entry) {
  const uint64_t resume = Position();
  Bytes fields;
  fields.U32(entry.crc);
  fields.U32(entry.packedSize);
  fields.U32(entry.size);
  out_.seekp(static_cast<std::streamoff>(entry.headerOffset + 14));
  Write(fields.str().data(), fields.str().size());
  out_.seekp(static_cast<std::streamoff>(resume));
  if (!out_) throw ZipError(Exit::Output, "cannot write " + archive_.generic_string());
}

const PackedEntry& ZipWriter::AddDirectory(const std::string& name, const fs::path& source) {
  PackedEntry& entry = Begin(name, source, true);
  WriteLocalHeader(entry);
  return entry;
}

const PackedEntry& ZipWriter::AddFile(const std::string& name, const fs::path& source) {
  std::error_code error;
  const uintmax_t size = fs::file_size(source, error);
  if (error) throw ZipError(Exit::Input, "cannot read " + source.generic_string());
  if (size >= kLimit32) {
    throw ZipError(Exit::Input, source.generic_string() + " is 4 GiB or more, which needs ZIP64 (not supported)");
  }
  PackedEntry& entry = Begin(name, source, false);
  entry.method = (level_ == 0 || size == 0) ? 0 : 8;
  WriteLocalHeader(entry);
  const uint64_t dataStart = Position();
  if (entry.method == 8) {
    DeflateData(entry, source);
    if (entry.packedSize >= entry.size) {
      // Incompressible: store it instead, over the deflated bytes; the
      // leftover tail is cut off when the archive is finished.
      out_.seekp(static_cast<std::streamoff>(dataStart));
      entry.method = 0;
      out_.seekp(static_cast<std::streamoff>(entry.headerOffset + 8));
      Bytes method;
      method.U16(0);
      Write(method.str().data(), method.str().size());
      out_.seekp(static_cast<std::streamoff>(dataStart));
      StoreData(entry, source);
    }
  } else {
    StoreData(entry, source);
  }
  PatchLocalHeader(entry);
  return entry;
}

void ZipWriter::StoreData(PackedEntry& entry, const fs::path& source) {
  Source in(source);
  std::array<char, kChunk> buffer;
  uLong crc = crc32(0L, Z_NULL, 0);
  uint64_t total = 0;
  while (size_t got = in.Read(buffer)) {
    crc = crc32(crc, reinterpret_cast<const Bytef*>(buffer.data()), static_cast<uInt>(got));
    Write(buffer.data(), got);
    total += got;
    if (total >= kLimit32) throw ZipError(Exit::Input, source.generic_string() + " grew past 4 GiB");
  }
  entry.crc = static_cast<uint32_t>(crc);
  entry.size = total;
  entry.packedSize = total;
}

void ZipWriter::DeflateData(PackedEntry& entry, const fs::path& source) {
  Source in(source);
  Deflater deflater(level_);
  z_stream& stream = deflater.stream();
  std::array<char, kChunk> buffer;
  std::array<char, kChunk> packed;
  uLong crc = crc32(0L, Z_NULL, 0);
  uint64_t total = 0;
  uint64_t written = 0;
  int flush = Z_NO_FLUSH;
  do {
    const size_t got = in.Read(buffer);
    total += got;
    if (total >= kLimit32) throw ZipError(Exit::Input, source.generic_string() + " grew past 4 GiB");
    crc = crc32(crc, reinterpret_cast<const Bytef*>(buffer.data()), static_cast<uInt>(got));
    flush = got == 0 ? Z_FINISH : Z_NO_FLUSH;
    stream.next_in = reinterpret_cast<Bytef*>(buffer.data());
    stream.avail_in = static_cast<uInt>(got);
    do {
      stream.next_out = reinterpret_cast<Bytef*>(packed.data());
      stream.avail_out = static_cast<uInt>(packed.size());
      if (deflate(&stream, flush) == Z_STREAM_ERROR) throw ZipError(Exit::Output, "compression failed");
      const size_t have = packed.size() - stream.avail_out;
      Write(packed.data(), have);
      written += have;
    } while (stream.avail_out == 0);
  } while (flush != Z_FINISH);
  if (written >= kLimit32) throw ZipError(Exit::Output, "compressed data passes 4 GiB (not supported)");
  entry.crc = static_cast<uint32_t>(crc);
  entry.size = total;
  entry.packedSize = written;
}

void ZipWriter::WriteCentralDirectory() {
  const uint64_t start = Position();
  Bytes central;
  for (const PackedEntry& entry : entries_) {
    central.U32(0x02014b50);
    central.U16(0x0314);  // made by: Unix, so the mode bits below are read
    PutSharedFields(central, entry);
    central.U16(0);  // extra
    central.U16(0);  // comment
    central.U16(0);  // disk
    central.U16(0);  // internal attributes
    central.U32(entry.directory ? ((040755u << 16) | 0x10u) : (0100644u << 16));
    central.U32(entry.headerOffset);
    central.Text(entry.name);
  }
  Write(central.str().data(), central.str().size());
  const uint64_t size = central.str().size();
  if (start > kLimit32 || size > kLimit32) {
    throw ZipError(Exit::Output, "archive would pass 4 GiB, which needs ZIP64 (not supported)");
  }
  Bytes tail;
  tail.U32(0x06054b50);
  tail.U16(0);
  tail.U16(0);
  tail.U16(static_cast<uint32_t>(entries_.size()));
  tail.U16(static_cast<uint32_t>(entries_.size()));
  tail.U32(size);
  tail.U32(start);
  tail.U16(0);
  Write(tail.str().data(), tail.str().size());
}

void ZipWriter::Commit() {
  // The central directory follows the last entry's data; bytes beyond it, left
  // by a stored fallback, are cut off below.
  WriteCentralDirectory();
  const uint64_t finalSize = Position();
  out_.close();
  if (out_.fail()) throw ZipError(Exit::Output, "cannot write " + archive_.generic_string());
  std::error_code error;
  fs::resize_file(temporary_, finalSize, error);
  if (error) throw ZipError(Exit::Output, "cannot write " + archive_.generic_string());
  ReplaceFile(temporary_, archive_);
  committed_ = true;
}

}  // namespace zip
