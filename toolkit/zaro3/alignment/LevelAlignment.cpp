#include "LevelAlignment.h"

#include "FaceAlignment.h"
#include "PackageUpdate.h"
#include "TextureCycles.h"
#include "VariantPackage.h"
#include "WallScrolls.h"

namespace zaro3 {

namespace {

constexpr const char* kAnimatedLump = "ANIMATED";
constexpr const char* kSwitchesLump = "SWITCHES";

}  // namespace

TextureCycles LevelCycles(const wad::WadFile& wadFile, Diagnostics& diagnostics) {
  TextureCycles cycles = TextureCycles::Builtin();
  const int animated = wadFile.FindLast(kAnimatedLump);
  if (animated >= 0 && !cycles.ReplaceAnimations(wadFile.Data(animated))) {
    diagnostics.Warn("the ANIMATED lump is cut short: DOOM's own animations are used");
  }
  const int switches = wadFile.FindLast(kSwitchesLump);
  if (switches >= 0 && !cycles.ReplaceSwitches(wadFile.Data(switches))) {
    diagnostics.Warn("the SWITCHES lump holds no switch: DOOM's own switch list is used");
  }
  return cycles;
}

wad::LumpFilter WithCycleLumps(wad::LumpFilter levelLumps) {
  return [levelLumps](const std::vector<wad::Lump>& directory, int index) {
    const std::string& name = directory[index].name;
    return name == kAnimatedLump || name == kSwitchesLump || levelLumps(directory, index);
  };
}

AlignmentReport AlignLevel(MapModel& model, const wad::Level& level, const TextureCycles& levelCycles,
                           const MaterialCatalog& catalog, const Options& options, const std::string& folder,
                           Diagnostics& diagnostics) {
  AlignmentReport report;
  const ResolvedCycles cycles = levelCycles.Resolve(catalog);
  const std::map<int, ScrollRate> scrolls = FindWallScrolls(level);
  const AlignedFaces aligned = AlignFaces(model, {level, catalog, cycles, scrolls, options.scale});
  if (aligned.variants.empty()) return report;
  for (const auto& entry : aligned.variants) report.variants += entry.second.size();
  const std::string package = FindVariantPackage(folder, options.wadPath, options.textureSets);
  if (package.empty()) {
    diagnostics.Warn("no texture package for " + options.wadPath +
                     " here (run xtract first): the textures keep their unaligned base materials");
    return report;
  }
  try {
    report.added = DeployVariants(package, aligned.variants).added;
  } catch (const pk4::PackageError& e) {
    diagnostics.Warn(std::string(e.what()) + ": the textures keep their unaligned base materials");
    return report;
  }
  ApplyAlignment(model, aligned);
  report.faces = aligned.alignedFaces;
  report.package = package;
  return report;
}

}  // namespace zaro3
