#include "MaskedLines.h"

#include <algorithm>

#include "PrismShapes.h"

namespace zaro3 {

namespace {

bool HasTexture(const std::string& name) { return !name.empty() && name != "-"; }

}  // namespace

std::vector<MapEntity> BuildMaskedLineEntities(const wad::Level& level, const MoverPlan& plan, MaterialPicker& picker,
                                               int& skipped) {
  std::vector<MapEntity> entities;
  for (std::size_t l = 0; l < level.linedefs.size(); ++l) {
    const wad::Linedef& line = level.linedefs[l];
    if (line.front < 0 || line.back < 0) continue;
    const wad::Sidedef& front = level.sidedefs[line.front];
    const wad::Sidedef& back = level.sidedefs[line.back];
    const std::string& texture = HasTexture(front.middle) ? front.middle : back.middle;
    if (!HasTexture(texture)) continue;
    const int64_t bottom = std::max(plan.floor[front.sector], plan.floor[back.sector]);
    int64_t top = std::min(plan.ceiling[front.sector], plan.ceiling[back.sector]);
    const int height = picker.WallHeight(texture);
    if (height > 0) top = std::min<int64_t>(top, bottom + height);
    const wad::Vertex& v1 = level.vertices[line.v1];
    const wad::Vertex& v2 = level.vertices[line.v2];
    Prism slab = LineSlab({v1.x, v1.y}, {v2.x, v2.y}, 1, false, bottom, top, Surface(kHiddenMaterial),
                          Surface(kHiddenMaterial));
    if (!FootprintIsSound(slab)) {
      ++skipped;
      continue;
    }
    // Each side shows its own sidedef's middle texture: the face on the line is seen from the front.
    const IntPoint a{v1.x, v1.y}, b{v2.x, v2.y};
    for (PrismSide& side : slab.sides) {
      const bool onLine = (side.a == a || side.a == b) && (side.b == a || side.b == b);
      const bool offLine = !(side.a == a || side.a == b) && !(side.b == a || side.b == b);
      const int sideOfLine = onLine ? 0 : offLine ? 1 : -1;
      if (sideOfLine < 0) continue;
      const wad::Sidedef& shown = sideOfLine == 0 ? front : back;
      if (HasTexture(shown.middle)) side.face = picker.WallSide(level, static_cast<int>(l), sideOfLine, WallPart::Middle);
    }
    MapEntity entity;
    entity.Set("classname", "func_static");
    NameBrushEntity(entity, "grate_" + std::to_string(l));
    entity.brushes.push_back(std::move(slab));
    entities.push_back(std::move(entity));
  }
  return entities;
}

}  // namespace zaro3
