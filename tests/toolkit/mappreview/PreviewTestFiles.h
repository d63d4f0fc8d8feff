// Small inputs for the map preview tests, built in memory: box brushes in the
// classic map form, zip packages (stored or deflated entries), TGA images,
// and a scratch folder that removes itself.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace previewtest {

// One axis-aligned box brush, planes written the way the converter writes them
// (outward normals); `top` on the upper face, `sides` on the four walls.
std::string BoxBrush(int x0, int y0, int z0, int x1, int y1, int z1, const std::string& top,
                     const std::string& bottom = "zdoom/hidden", const std::string& sides = "zdoom/hidden");

struct ZipEntry {
  std::string name;
  std::vector<uint8_t> data;
  bool deflate = true;
};
std::vector<uint8_t> MakeZip(const std::vector<ZipEntry>& entries);

// A 32-bit uncompressed TGA; `pixels` RGBA rows from the top, written in the given row order.
std::vector<uint8_t> MakeTga(int width, int height, const std::vector<uint8_t>& pixels, bool topFirst, int bits = 32);

void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);
void WriteText(const std::filesystem::path& path, const std::string& text);

class ScratchFolder {
public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  std::filesystem::path operator/(const std::string& name) const { return m_path / name; }
  const std::filesystem::path& Path() const { return m_path; }

private:
  std::filesystem::path m_path;
};

}  // namespace previewtest
