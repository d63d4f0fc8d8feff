// MaskedLines: two-sided lines with a middle texture (grates, bars, fences)
// as thin static brush entities with the texture's own (masked) material.
//
// Each such line gives one func_static named grate_<line>. DOOM draws a masked
// texture once, not repeated upwards: from its anchor (the lower ceiling, or
// the higher floor plus the texture's height when lower-unpegged, plus the y
// offset) down by the texture's height, cut to the opening between the higher
// floor and the lower ceiling as DOOM has them when the level starts (the whole
// opening when the height is unknown); a line shut then (a closed door) gets none.
// Each side with a middle texture gets its own slab one unit thick on the far
// side of the line, so the face showing it lies on the line and faces that
// side's viewer; every other face is hidden. A line with no opening left is
// skipped and counted; a texture wholly outside the opening gives no slab.
// Only a line that blocks DOOM's player gives a solid slab; through the others
// DOOM's player walks, and so does DOOM 3's ("solid" "0").
#pragma once

#include <vector>

#include "Level.h"
#include "MapModel.h"
#include "MaterialCatalog.h"

namespace zaro3 {

std::vector<MapEntity> BuildMaskedLineEntities(const wad::Level& level, MaterialPicker& picker, int& skipped);

}  // namespace zaro3
