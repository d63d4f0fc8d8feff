// wad2tga <wad> <outdir> <what>...: picture and flat lumps of a wad as TGA
// images in the wad's palette, and sky cube maps made from wall textures.
//
// <what> is a lump name (a picture: patch, sprite, graphic; or a flat), -flats,
// -patches, -sprites, or -skybox <TEXTURE> <name> (writes env/<name>_forward.tga
// and the five other faces). Every request is checked before anything is
// written. A lump that cannot be converted is named on standard error and the
// others are still written.
// Exit codes: 0 all written; 1 usage; 2 the wad cannot be read, or some lump
// was missing or not a valid picture; 3 an output file cannot be written.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "Compose.h"
#include "Image.h"
#include "Namespaces.h"
#include "OutputFile.h"
#include "Palette.h"
#include "Picture.h"
#include "SafeName.h"
#include "SkyBox.h"
#include "Tga.h"
#include "WadFile.h"
#include "WallTextures.h"

namespace {

struct Request {
  enum class Kind { Lump, Flats, Patches, Sprites, SkyBox } kind = Kind::Lump;
  std::string name;     // lump or texture name, upper-cased
  std::string skyName;  // -skybox output name
};

class Converter {
public:
  Converter(const wad::WadFile& wad, const wad::Palette& palette, std::string outdir)
      : m_wad(wad), m_palette(palette), m_outdir(std::move(outdir)) {}

  int Problems() const { return m_problems; }

  void Run(const Request& request) {
    switch (request.kind) {
      case Request::Kind::Lump: Named(request.name); break;
      case Request::Kind::Flats: Each(wad::FlatLumps(m_wad), "flats", true); break;
      case Request::Kind::Patches:
        Each(wad::LumpsInNamespace(m_wad, {"P_START", "PP_START"}, {"P_END", "PP_END"}), "patches", false);
        break;
      case Request::Kind::Sprites:
        Each(wad::LumpsInNamespace(m_wad, {"S_START", "SS_START"}, {"S_END", "SS_END"}), "sprites", false);
        break;
      case Request::Kind::SkyBox: SkyBox(request.name, request.skyName); break;
    }
  }

private:
  void Problem(const std::string& text) {
    std::fprintf(stderr, "wad2tga: %s\n", text.c_str());
    ++m_problems;
  }

  void Write(const std::string& relative, const image::Image& img) {
    image::WriteFileReplacing((std::filesystem::path(m_outdir) / relative).string(), image::EncodeTga(img));
  }

  void Named(const std::string& name) {
    const int index = m_wad.FindLast(name);
    if (index < 0) return Problem("no lump named " + name);
    Convert(index, wad::IsFlatLump(m_wad, index));
  }

  void Each(const std::vector<int>& lumps, const char* what, bool flats) {
    if (lumps.empty()) return Problem(std::string("the wad has no ") + what);
    for (int index : lumps) Convert(index, flats);
  }

  void Convert(int index, bool flat) {
    const wad::Lump& lump = m_wad.Lumps()[index];
    const std::string file = image::SafeName(lump.name) + ".tga";
    if (flat) {
      if (lump.size != wad::kFlatBytes) return Problem("flat " + lump.name + " is not 4096 bytes, skipped");
      return Write(file, image::FlatToImage(m_wad.Data(index), m_palette));
    }
    try {
      const wad::DecodedPicture decoded = wad::DecodePicture(m_wad.Data(index));
      if (decoded.badColumns > 0) {
        Problem(lump.name + ": " + std::to_string(decoded.badColumns) + " columns point outside the lump, left blank");
      }
      Write(file, image::PictureToImage(decoded.picture, m_palette));
    } catch (const wad::WadError& e) {
      Problem(lump.name + " is not a valid picture (" + e.what() + ")");
    }
  }

  void SkyBox(const std::string& textureName, const std::string& skyName) {
    image::WallTextures walls(m_wad, m_palette);
    const wad::TextureDef* def = walls.Find(textureName);
    if (!def) {
      for (const std::string& problem : walls.Problems()) Problem(problem);
      return Problem("no wall texture named " + textureName);
    }
    std::vector<std::string> problems;
    const image::Image sky = walls.Build(*def, problems);
    for (const std::string& problem : problems) Problem(problem);
    for (const wad2tga::SkyFace& face : wad2tga::MakeSkyBox(sky)) {
      Write("env/" + skyName + face.suffix + ".tga", face.image);
    }
  }

  const wad::WadFile& m_wad;
  const wad::Palette& m_palette;
  std::string m_outdir;
  int m_problems = 0;
};

int Usage(const std::string& why) {
  std::fprintf(stderr, "wad2tga: %s\nusage: wad2tga <wad> <outdir> <lump>|-flats|-patches|-sprites|-skybox <TEXTURE> <name>...\n",
               why.c_str());
  return 1;
}

bool IsFileName(const std::string& name) {
  if (name.empty()) return false;
  for (char c : name) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
    if (!ok) return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) return Usage("missing arguments");
  std::vector<Request> requests;
  for (int i = 3; i < argc; ++i) {
    const std::string arg = argv[i];
    Request request;
    if (arg == "-flats") {
      request.kind = Request::Kind::Flats;
    } else if (arg == "-patches") {
      request.kind = Request::Kind::Patches;
    } else if (arg == "-sprites") {
      request.kind = Request::Kind::Sprites;
    } else if (arg == "-skybox") {
      if (i + 2 >= argc) return Usage("-skybox needs a texture and a name");
      request.kind = Request::Kind::SkyBox;
      request.name = wad::UpperName(argv[++i]);
      request.skyName = argv[++i];
      if (!IsFileName(request.skyName)) return Usage("the sky name '" + request.skyName + "' must be letters, digits, _ or -");
    } else if (!arg.empty() && arg[0] == '-') {
      return Usage("unknown option " + arg);
    } else if (arg.empty() || arg.size() > 8) {
      return Usage("'" + arg + "' cannot be a lump name");
    } else {
      request.name = wad::UpperName(arg);
    }
    requests.push_back(request);
  }
  try {
    wad::WadFile wad;
    wad::Palette palette;
    try {
      wad = wad::WadFile::Load(argv[1]);
      palette = wad::ReadPalette(wad);
    } catch (const wad::WadError& e) {
      std::fprintf(stderr, "wad2tga: %s\n", e.what());
      return 2;
    }
    Converter converter(wad, palette, argv[2]);
    for (const Request& request : requests) converter.Run(request);
    return converter.Problems() == 0 ? 0 : 2;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "wad2tga: %s\n", e.what());
    return 3;
  }
}
