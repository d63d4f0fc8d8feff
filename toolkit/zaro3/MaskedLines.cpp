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
  for (const wad::Linedef& line : level.linedefs) {
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
    Prism slab = LineSlab({v1.x, v1.y}, {v2.x, v2.y}, 1, false, bottom, top, picker.Wall(texture), kHiddenMaterial);
    if (!FootprintIsSound(slab)) {
      ++skipped;
      continue;
    }
    MapEntity entity;
    entity.keys.emplace_back("classname", "func_static");
    entity.brushes.push_back(std::move(slab));
    entities.push_back(std::move(entity));
  }
  return entities;
}

}  // namespace zaro3
