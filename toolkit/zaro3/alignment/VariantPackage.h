// VariantPackage: which texture package receives a level's variants, and
// putting them there.
//
// The package is the one the deploy dialog marks by default for the level's
// textures: the wad's own texture package z<wad name, lower case>tex.pk4 (what
// xtract makes for that wad) when the folder holds it, else the package of the
// highest texture set in use that the folder holds (-plutonia, -tnt, -doom2,
// then -doom, whose package is zdoomtex.pk4 or zdoom1tex.pk4, the newer one when
// both lie there). Deploying merges the variants into the package's variant
// files of their set and image (a set's single file of earlier kits moves into
// them) and rewrites the package whole and atomically
// (pk4::ReplacePackageEntries) only when something is new. Reads and writes
// only the package; throws pk4::PackageError, leaving it as it was.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "Options.h"
#include "VariantFile.h"

namespace zaro3 {

// The package's path in `folder`, or "" when the folder holds none of them.
std::string FindVariantPackage(const std::string& folder, const std::string& wadPath,
                               const std::vector<TextureSet>& sets);

struct VariantDeployment {
  std::size_t variants = 0;  // the level's
  std::size_t added = 0;     // of those, new to the package
  bool written = false;      // false: the package held them all already
};

// `variantsBySet`: set -> the level's variants of that set.
VariantDeployment DeployVariants(const std::string& package,
                                 const std::map<std::string, VariantDecls>& variantsBySet);

}  // namespace zaro3
