// LevelAlignment: the converter's alignment step, from the converted model to
// aligned faces whose variants lie in the level's texture package.
//
// Reads the wad's ANIMATED and SWITCHES lumps (when it has them) over DOOM's
// own tables, aligns every face it can (FaceAlignment), finds the package
// (VariantPackage) and deploys the variants there; only when they are in place
// do the faces take their variant names. No package, or one that cannot be
// read or written, is a warning and leaves every face with its base material.
// A bad ANIMATED or SWITCHES lump is a warning and DOOM's table stays.
#pragma once

#include <cstddef>
#include <string>

#include "Diagnostics.h"
#include "Level.h"
#include "MapModel.h"
#include "MaterialCatalog.h"
#include "Options.h"
#include "TextureCycles.h"
#include "WadFile.h"

namespace zaro3 {

struct AlignmentReport {
  std::size_t faces = 0;     // faces given a variant
  std::size_t variants = 0;  // distinct variants the level uses
  std::size_t added = 0;     // of those, new to the package
  std::string package;       // where they are, "" when the faces kept their base materials
};

// DOOM's animations and switch list, or the wad's ANIMATED and SWITCHES lumps where it has
// them (a bad lump is a warning and DOOM's table stays).
TextureCycles LevelCycles(const wad::WadFile& wadFile, Diagnostics& diagnostics);

// For a filtered wad load: keeps what `levelLumps` keeps and the ANIMATED and SWITCHES lumps.
wad::LumpFilter WithCycleLumps(wad::LumpFilter levelLumps);

AlignmentReport AlignLevel(MapModel& model, const wad::Level& level, const TextureCycles& cycles,
                           const MaterialCatalog& catalog, const Options& options, const std::string& folder,
                           Diagnostics& diagnostics);

}  // namespace zaro3
