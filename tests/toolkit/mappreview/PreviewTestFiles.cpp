#include "PreviewTestFiles.h"

#include <zlib.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <sstream>

namespace previewtest {
namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

std::vector<uint8_t> RawDeflate(const std::vector<uint8_t>& data) {
  z_stream stream{};
  deflateInit2(&stream, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
  std::vector<uint8_t> out(deflateBound(&stream, static_cast<uLong>(data.size())));
  stream.next_in = const_cast<Bytef*>(data.data());
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = out.data();
  stream.avail_out = static_cast<uInt>(out.size());
  deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

std::string Point(int x, int y, int z) {
  std::ostringstream s;
  s << "( " << x << " " << y << " " << z << " )";
  return s.str();
}

}  // namespace

std::string BoxBrush(int x0, int y0, int z0, int x1, int y1, int z1, const std::string& top, const std::string& bottom,
                     const std::string& sides) {
  std::string out = "{\n";
  auto plane = [&](std::string a, std::string b, std::string c, const std::string& material) {
    out += a + " " + b + " " + c + " " + material + " 0 0 0 1 1\n";
  };
  plane(Point(x0 + 1, y0, z1), Point(x0, y0, z1), Point(x0, y0 + 1, z1), top);
  plane(Point(x0, y0 + 1, z0), Point(x0, y0, z0), Point(x0 + 1, y0, z0), bottom);
  plane(Point(x0, y0, z0), Point(x0, y0 + 1, z0), Point(x0, y0, z0 + 1), sides);
  plane(Point(x1, y0 + 1, z0), Point(x1, y0, z0), Point(x1, y0, z0 + 1), sides);
  plane(Point(x0 + 1, y0, z0), Point(x0, y0, z0), Point(x0, y0, z0 + 1), sides);
  plane(Point(x0, y1, z0), Point(x0 + 1, y1, z0), Point(x0, y1, z0 + 1), sides);
  return out + "}\n";
}

std::vector<uint8_t> MakeZip(const std::vector<ZipEntry>& entries) {
  std::vector<uint8_t> zip, directory;
  for (const ZipEntry& entry : entries) {
    uint32_t crc = static_cast<uint32_t>(crc32(crc32(0L, Z_NULL, 0), entry.data.data(), static_cast<uInt>(entry.data.size())));
    std::vector<uint8_t> packed = entry.deflate ? RawDeflate(entry.data) : entry.data;
    uint32_t offset = static_cast<uint32_t>(zip.size());
    uint16_t method = entry.deflate ? 8 : 0;
    Put32(zip, 0x04034b50);
    Put16(zip, 20);
    Put16(zip, 0);
    Put16(zip, method);
    Put32(zip, 0);
    Put32(zip, crc);
    Put32(zip, static_cast<uint32_t>(packed.size()));
    Put32(zip, static_cast<uint32_t>(entry.data.size()));
    Put16(zip, static_cast<uint32_t>(entry.name.size()));
    Put16(zip, 0);
    zip.insert(zip.end(), entry.name.begin(), entry.name.end());
    zip.insert(zip.end(), packed.begin(), packed.end());

    Put32(directory, 0x02014b50);
    Put16(directory, 20);
    Put16(directory, 20);
    Put16(directory, 0);
    Put16(directory, method);
    Put32(directory, 0);
    Put32(directory, crc);
    Put32(directory, static_cast<uint32_t>(packed.size()));
    Put32(directory, static_cast<uint32_t>(entry.data.size()));
    Put16(directory, static_cast<uint32_t>(entry.name.size()));
    Put16(directory, 0);
    Put16(directory, 0);
    Put16(directory, 0);
    Put16(directory, 0);
    Put32(directory, 0);
    Put32(directory, offset);
    directory.insert(directory.end(), entry.name.begin(), entry.name.end());
  }
  uint32_t directoryOffset = static_cast<uint32_t>(zip.size());
  zip.insert(zip.end(), directory.begin(), directory.end());
  Put32(zip, 0x06054b50);
  Put16(zip, 0);
  Put16(zip, 0);
  Put16(zip, static_cast<uint32_t>(entries.size()));
  Put16(zip, static_cast<uint32_t>(entries.size()));
  Put32(zip, static_cast<uint32_t>(directory.size()));
  Put32(zip, directoryOffset);
  Put16(zip, 0);
  return zip;
}

std::vector<uint8_t> MakeTga(int width, int height, const std::vector<uint8_t>& pixels, bool topFirst, int bits) {
  std::vector<uint8_t> tga(18, 0);
  tga[2] = 2;
  tga[12] = static_cast<uint8_t>(width);
  tga[13] = static_cast<uint8_t>(width >> 8);
  tga[14] = static_cast<uint8_t>(height);
  tga[15] = static_cast<uint8_t>(height >> 8);
  tga[16] = static_cast<uint8_t>(bits);
  tga[17] = static_cast<uint8_t>((topFirst ? 0x20 : 0) | (bits == 32 ? 8 : 0));
  for (int row = 0; row < height; ++row) {
    int y = topFirst ? row : height - 1 - row;
    for (int x = 0; x < width; ++x) {
      const uint8_t* p = &pixels[(static_cast<std::size_t>(y) * width + x) * 4];
      tga.insert(tga.end(), {p[2], p[1], p[0]});
      if (bits == 32) tga.push_back(p[3]);
    }
  }
  return tga;
}

void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void WriteText(const std::filesystem::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

ScratchFolder::ScratchFolder() {
  static std::atomic<int> counter{0};
  auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  m_path = std::filesystem::temp_directory_path() /
           ("mappreview_test_" + std::to_string(stamp) + "_" + std::to_string(counter++));
  std::filesystem::create_directories(m_path);
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(m_path, ignored);
}

}  // namespace previewtest
