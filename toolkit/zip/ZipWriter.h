// Writes one zip archive the way DOOM 3 packages need it: raw deflate (method 8)
// or stored (method 0), CRC-32, DOS times, no ZIP64. Everything goes to a
// temporary file beside the archive, which Commit() renames into place; a writer
// destroyed without Commit() removes it, so no half-written archive is left.
// The writer owns the temporary file; it trusts entry names to be normalised.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace zip {

struct PackedEntry {
  std::string name;
  uint16_t method = 0;
  uint16_t dosTime = 0;
  uint16_t dosDate = 0;
  uint32_t crc = 0;
  uint64_t packedSize = 0;
  uint64_t size = 0;
  uint64_t headerOffset = 0;
  bool directory = false;
};

class ZipWriter {
public:
  // level 0 stores every file; 1..9 deflate. Throws ZipError(Exit::Output).
  ZipWriter(std::filesystem::path archive, int level);
  ~ZipWriter();
  ZipWriter(const ZipWriter&) = delete;
  ZipWriter& operator=(const ZipWriter&) = delete;

  const PackedEntry& AddDirectory(const std::string& name, const std::filesystem::path& source);
  // Throws ZipError(Exit::Input) when the source cannot be read or is 4 GiB or more.
  const PackedEntry& AddFile(const std::string& name, const std::filesystem::path& source);
  void Commit();

private:
  PackedEntry& Begin(const std::string& name, const std::filesystem::path& source, bool directory);
  void WriteLocalHeader(const PackedEntry& entry);
  void StoreData(PackedEntry& entry, const std::filesystem::path& source);
  void DeflateData(PackedEntry& entry, const std::filesystem::path& source);
  void PatchLocalHeader(const PackedEntry& entry);
  void WriteCentralDirectory();
  void Write(const void* data, size_t size);
  uint64_t Position();

  std::filesystem::path archive_;
  std::filesystem::path temporary_;
  int level_;
  std::ofstream out_;
  std::vector<PackedEntry> entries_;
  bool committed_ = false;
};

}  // namespace zip
