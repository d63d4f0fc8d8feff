// MaskedLines: two-sided lines with a middle texture (grates, bars, fences)
// as thin static brush entities with the texture's own (masked) material.
//
// Each such line gives one func_static named grate_<line> with one slab one
// unit thick along the line, from the higher floor up to the texture's height
// above it, or to the lower ceiling when that is lower or the height is
// unknown. Each long face shows its own side's middle texture (none: hidden),
// the rest is hidden. A line with no opening left is skipped and counted.
#pragma once

#include <vector>

#include "Level.h"
#include "MapModel.h"
#include "MaterialCatalog.h"
#include "MoverPlan.h"

namespace zaro3 {

std::vector<MapEntity> BuildMaskedLineEntities(const wad::Level& level, const MoverPlan& plan, MaterialPicker& picker,
                                               int& skipped);

}  // namespace zaro3
