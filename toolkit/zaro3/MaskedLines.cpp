#include "MaskedLines.h"

#include <algorithm>
#include <optional>

#include "DoomWallRules.h"
#include "PrismShapes.h"

namespace zaro3 {

namespace {

bool HasTexture(const std::string& name) { return !name.empty() && name != "-"; }

// The slab for side `side` of the line, or nothing when its texture lies outside the opening.
std::optional<Prism> SideSlab(const wad::Level& level, int l, int side, int64_t bottom, int64_t top,
                              MaterialPicker& picker) {
  const wad::Linedef& line = level.linedefs[l];
  const wad::Sidedef& sidedef = level.sidedefs[side == 0 ? line.front : line.back];
  const int height = picker.WallHeight(sidedef.middle);
  if (height > 0) {
    const int64_t textureTop = TextureTop(level, l, side, WallPart::Middle, height);
    top = std::min(top, textureTop);
    bottom = std::max(bottom, textureTop - height);
  }
  if (top <= bottom) return std::nullopt;
  const wad::Vertex& v1 = level.vertices[line.v1];
  const wad::Vertex& v2 = level.vertices[line.v2];
  // The front side's slab lies behind the line, the back side's in front of it.
  Prism slab = LineSlab({v1.x, v1.y}, {v2.x, v2.y}, 1, side == 1, bottom, top, Surface(kHiddenMaterial),
                        Surface(kHiddenMaterial));
  const IntPoint a{v1.x, v1.y}, b{v2.x, v2.y};
  for (PrismSide& face : slab.sides) {
    const bool onLine = (face.a == a && face.b == b) || (face.a == b && face.b == a);
    if (onLine) face.face = picker.WallSide(level, l, side, WallPart::Middle);
  }
  return slab;
}

}  // namespace

std::vector<MapEntity> BuildMaskedLineEntities(const wad::Level& level, MaterialPicker& picker, int& skipped) {
  std::vector<MapEntity> entities;
  for (std::size_t l = 0; l < level.linedefs.size(); ++l) {
    const wad::Linedef& line = level.linedefs[l];
    if (line.front < 0 || line.back < 0) continue;
    const wad::Sidedef& front = level.sidedefs[line.front];
    const wad::Sidedef& back = level.sidedefs[line.back];
    if (!HasTexture(front.middle) && !HasTexture(back.middle)) continue;
    // The opening as DOOM has it when the level starts: a mover's world brushes keep
    // other heights, and a slab reaching into them would cover the steps DOOM shows.
    const wad::Sector& a = level.sectors[front.sector];
    const wad::Sector& b = level.sectors[back.sector];
    const int64_t bottom = std::max(a.floorHeight, b.floorHeight);
    const int64_t top = std::min(a.ceilingHeight, b.ceilingHeight);
    if (top <= bottom) {
      ++skipped;
      continue;
    }
    MapEntity entity;
    for (const int side : {0, 1}) {
      if (!HasTexture((side == 0 ? front : back).middle)) continue;
      std::optional<Prism> slab = SideSlab(level, static_cast<int>(l), side, bottom, top, picker);
      if (!slab) continue;
      if (!FootprintIsSound(*slab)) {
        ++skipped;
        continue;
      }
      entity.brushes.push_back(std::move(*slab));
    }
    if (entity.brushes.empty()) continue;
    entity.Set("classname", "func_static");
    // DOOM's player walks through a middle texture unless the line blocks it.
    if (!(line.flags & wad::kLineBlocking)) entity.Set("solid", "0");
    NameBrushEntity(entity, "grate_" + std::to_string(l));
    entities.push_back(std::move(entity));
  }
  return entities;
}

}  // namespace zaro3
