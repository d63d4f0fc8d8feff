#include "PreviewTool.h"

#include <cmath>
#include <cstdlib>
#include <memory>

#include "MapReader.h"
#include "Pk4Archive.h"
#include "PngWriter.h"
#include "PreviewError.h"
#include "PreviewRenderer.h"
#include "SceneSelection.h"
#include "TextureLibrary.h"

namespace mappreview {
namespace {

constexpr const char* kUsage = "usage: mappreview <map> [<package.pk4>...] -o <level.png> [-size N] [-scale F]";
constexpr int kMinSize = 64;
constexpr int kMaxSize = 16384;

struct Arguments {
  std::string map;
  std::vector<std::string> packages;
  std::string output;
  RenderOptions render;
};

[[noreturn]] void UsageError(const std::string& what) {
  throw PreviewError(ExitCode::Usage, what + " (" + kUsage + ")");
}

std::string ValueOf(const std::vector<std::string>& args, std::size_t& i) {
  if (i + 1 >= args.size()) UsageError(args[i] + " needs a value");
  return args[++i];
}

Arguments ParseArguments(const std::vector<std::string>& args) {
  Arguments parsed;
  std::vector<std::string> files;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "-o") {
      parsed.output = ValueOf(args, i);
    } else if (arg == "-size") {
      std::string text = ValueOf(args, i);
      char* end = nullptr;
      long size = std::strtol(text.c_str(), &end, 10);
      if (text.empty() || *end != '\0' || size < kMinSize || size > kMaxSize)
        UsageError("-size must be a whole number from " + std::to_string(kMinSize) + " to " + std::to_string(kMaxSize));
      parsed.render.longSide = static_cast<int>(size);
    } else if (arg == "-scale") {
      std::string text = ValueOf(args, i);
      char* end = nullptr;
      double scale = std::strtod(text.c_str(), &end);
      if (text.empty() || *end != '\0' || !std::isfinite(scale) || scale <= 0 || scale > 1000)
        UsageError("-scale must be a positive number");
      parsed.render.mapScale = scale;
    } else if (arg.size() > 1 && arg[0] == '-') {
      UsageError("unknown option " + arg);
    } else {
      files.push_back(arg);
    }
  }
  if (files.empty()) UsageError("no map given");
  if (parsed.output.empty()) UsageError("no output given (-o level.png)");
  parsed.map = files.front();
  parsed.packages.assign(files.begin() + 1, files.end());
  return parsed;
}

std::string Summary(const Arguments& arguments, const Picture& picture, const Scene& scene,
                    const TextureLibrary& textures) {
  std::string text = "mappreview: " + arguments.output + " " + std::to_string(picture.width) + "x" +
                     std::to_string(picture.height) + ", " + std::to_string(scene.floors.size()) + " floor faces, " +
                     std::to_string(scene.walls.size()) + " wall lines, " + std::to_string(scene.marks.size()) +
                     " entities, " + std::to_string(textures.MaterialCount()) + " floor materials";
  if (textures.MissingCount() > 0) text += ", " + std::to_string(textures.MissingCount()) + " without image";
  if (textures.BrokenCount() > 0) text += ", " + std::to_string(textures.BrokenCount()) + " unreadable images";
  if (scene.skippedBrushes > 0) text += ", " + std::to_string(scene.skippedBrushes) + " degenerate brushes skipped";
  return text;
}

int Run(const std::vector<std::string>& args, std::ostream& out) {
  Arguments arguments = ParseArguments(args);
  MapFile map = ReadMapFile(arguments.map);
  std::vector<std::unique_ptr<Pk4Archive>> archives;
  std::vector<Pk4Archive*> borrowed;
  for (const std::string& package : arguments.packages) {
    archives.push_back(std::make_unique<Pk4Archive>(package));
    borrowed.push_back(archives.back().get());
  }
  Scene scene = SelectScene(map);
  if (scene.floors.empty() && scene.walls.empty())
    throw PreviewError(ExitCode::BadInput, arguments.map + ": the map has no visible floors or walls to draw");
  TextureLibrary textures(borrowed);
  Picture picture = RenderPreview(scene, textures, arguments.render);
  WriteFileReplacing(arguments.output, EncodePng(picture));
  out << Summary(arguments, picture, scene, textures) << "\n";
  return 0;
}

}  // namespace

int RunPreviewTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  try {
    return Run(args, out);
  } catch (const PreviewError& e) {
    err << "mappreview: " << e.what() << "\n";
    return static_cast<int>(e.Code());
  } catch (const std::bad_alloc&) {
    err << "mappreview: out of memory\n";
    return static_cast<int>(ExitCode::BadInput);
  }
}

}  // namespace mappreview
