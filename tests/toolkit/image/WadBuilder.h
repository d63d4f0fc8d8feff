// Small crafted wads and picture lumps for the texture tests.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace testwad {

inline void PutU16(std::string& s, int v) {
  s.push_back(static_cast<char>(v & 0xFF));
  s.push_back(static_cast<char>((v >> 8) & 0xFF));
}
inline void PutU32(std::string& s, uint32_t v) {
  for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
inline void PutName(std::string& s, const std::string& name) {
  std::string n = name;
  n.resize(8, '\0');
  s += n;
}

// A PWAD holding the lumps in order.
inline std::vector<uint8_t> BuildWad(const std::vector<std::pair<std::string, std::string>>& lumps) {
  std::string body;
  std::string dir;
  for (const auto& lump : lumps) {
    PutU32(dir, static_cast<uint32_t>(12 + body.size()));
    PutU32(dir, static_cast<uint32_t>(lump.second.size()));
    PutName(dir, lump.first);
    body += lump.second;
  }
  std::string out = "PWAD";
  PutU32(out, static_cast<uint32_t>(lumps.size()));
  PutU32(out, static_cast<uint32_t>(12 + body.size()));
  out += body + dir;
  return std::vector<uint8_t>(out.begin(), out.end());
}

struct Post {
  int delta;
  std::string pixels;
};

// A picture lump: one list of posts per column.
inline std::string BuildPicture(int width, int height, const std::vector<std::vector<Post>>& columns) {
  std::string head;
  PutU16(head, width);
  PutU16(head, height);
  PutU16(head, 0);
  PutU16(head, 0);
  std::string data;
  std::string offsets;
  const std::size_t tableEnd = 8 + 4 * columns.size();
  for (const auto& column : columns) {
    PutU32(offsets, static_cast<uint32_t>(tableEnd + data.size()));
    for (const Post& post : column) {
      data.push_back(static_cast<char>(post.delta));
      data.push_back(static_cast<char>(post.pixels.size()));
      data.push_back('\0');
      data += post.pixels;
      data.push_back('\0');
    }
    data.push_back(static_cast<char>(0xFF));
  }
  return head + offsets + data;
}

// A palette where index i is (i, 255 - i, i / 2).
inline std::string BuildPalette() {
  std::string p;
  for (int i = 0; i < 256; ++i) {
    p.push_back(static_cast<char>(i));
    p.push_back(static_cast<char>(255 - i));
    p.push_back(static_cast<char>(i / 2));
  }
  return p;
}

// PNAMES for the names given.
inline std::string BuildPatchNames(const std::vector<std::string>& names) {
  std::string s;
  PutU32(s, static_cast<uint32_t>(names.size()));
  for (const auto& n : names) PutName(s, n);
  return s;
}

struct Placement {
  int x, y, patch;
};
struct TextureSpec {
  std::string name;
  int width, height;
  std::vector<Placement> patches;
};

// A TEXTURE1/TEXTURE2 lump in the DOOM layout.
inline std::string BuildTextures(const std::vector<TextureSpec>& textures) {
  std::string entries;
  std::string offsets;
  const std::size_t tableEnd = 4 + 4 * textures.size();
  for (const auto& t : textures) {
    PutU32(offsets, static_cast<uint32_t>(tableEnd + entries.size()));
    PutName(entries, t.name);
    PutU32(entries, 0);
    PutU16(entries, t.width);
    PutU16(entries, t.height);
    PutU32(entries, 0);
    PutU16(entries, static_cast<int>(t.patches.size()));
    for (const auto& p : t.patches) {
      PutU16(entries, p.x & 0xFFFF);
      PutU16(entries, p.y & 0xFFFF);
      PutU16(entries, p.patch);
      PutU16(entries, 1);
      PutU16(entries, 0);
    }
  }
  std::string out;
  PutU32(out, static_cast<uint32_t>(textures.size()));
  return out + offsets + entries;
}

}  // namespace testwad
