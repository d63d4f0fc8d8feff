// Pk4Archive: read access to the files in a pk4 (zip) package.
//
// Open reads the end-of-central-directory record and the central directory and
// checks every entry's local data range against the file size, so a corrupt
// directory fails at once. Entries are read on demand: stored or deflated
// (zlib raw inflate), sizes and CRC-32 checked. Multi-disk, zip64 and
// encrypted archives are refused. Names are matched case-insensitively, as
// the engine does. The archive owns its open file.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <unordered_map>
#include <vector>

namespace mappreview {

class Pk4Archive {
public:
  // Opens and checks `path`; throws PreviewError (BadInput) when missing or not a readable zip.
  explicit Pk4Archive(const std::string& path);

  const std::string& Path() const { return m_path; }
  std::size_t EntryCount() const { return m_entries.size(); }
  bool Contains(const std::string& name) const;
  // The names of every entry, in directory order.
  std::vector<std::string> EntryNames() const;
  // The bytes of entry `name`; throws PreviewError (BadInput) when absent or damaged.
  std::vector<uint8_t> Read(const std::string& name);

private:
  struct Entry {
    std::string name;
    uint16_t method = 0;
    uint32_t crc = 0;
    uint32_t compressedSize = 0;
    uint32_t size = 0;
    uint32_t localHeader = 0;
  };

  std::vector<uint8_t> ReadAt(uint64_t offset, std::size_t count);
  [[noreturn]] void Fail(const std::string& what) const;

  std::string m_path;
  std::ifstream m_file;
  uint64_t m_fileSize = 0;
  std::vector<Entry> m_entries;
  std::unordered_map<std::string, std::size_t> m_byLowerName;
};

}  // namespace mappreview
