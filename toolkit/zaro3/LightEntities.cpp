#include "LightEntities.h"

#include <algorithm>
#include <cmath>
#include <cstdio>


namespace zaro3 {

namespace {

// A piece this large (square DOOM units) gets a light of its own besides the sector's largest.
constexpr double kOwnLightArea = 256.0 * 256.0;
constexpr std::size_t kLightsPerSector = 8;
// Added to a light's reach so that walls at the piece's corners are lit too.
constexpr double kRadiusReserve = 64.0;

struct Light {
  double x = 0, y = 0;
  int64_t z = 0;
  double radius = 0;       // horizontal
  int64_t height = 0;      // vertical radius
  int level = 0;
  int special = 0;
};

Light LightForPiece(const Piece& piece, const wad::Sector& sector) {
  Light light;
  for (const PieceEdge& e : piece.edges) {
    light.x += e.fromX;
    light.y += e.fromY;
  }
  light.x /= piece.edges.size();
  light.y /= piece.edges.size();
  for (const PieceEdge& e : piece.edges) light.radius = std::max(light.radius, std::hypot(e.fromX - light.x, e.fromY - light.y));
  light.radius += kRadiusReserve;
  const int64_t open = static_cast<int64_t>(sector.ceilingHeight) - sector.floorHeight;
  light.z = sector.ceilingHeight - std::max<int64_t>(1, std::min<int64_t>(16, open / 4));
  light.height = open + static_cast<int64_t>(kRadiusReserve);
  light.level = std::min<int>(255, sector.light);
  light.special = sector.special;
  return light;
}

void MergeSmallest(std::vector<Light>& lights, std::size_t cap) {
  while (lights.size() > cap && lights.size() > 1) {
    std::size_t smallest = 0;
    for (std::size_t i = 1; i < lights.size(); ++i) {
      if (lights[i].radius < lights[smallest].radius) smallest = i;
    }
    std::size_t nearest = smallest == 0 ? 1 : 0;
    double best = -1;
    for (std::size_t i = 0; i < lights.size(); ++i) {
      if (i == smallest) continue;
      const double d = std::hypot(lights[i].x - lights[smallest].x, lights[i].y - lights[smallest].y);
      if (best < 0 || d < best) {
        best = d;
        nearest = i;
      }
    }
    Light& keep = lights[nearest];
    keep.radius = std::max(keep.radius, best + lights[smallest].radius);
    keep.height = std::max(keep.height, lights[smallest].height);
    lights.erase(lights.begin() + static_cast<std::ptrdiff_t>(smallest));
  }
}

MapEntity LightEntity(const Light& light) {
  const double v = light.level / 255.0;
  char colour[64];
  std::snprintf(colour, sizeof colour, "%.3f %.3f %.3f", v, v, v);
  const int64_t r = static_cast<int64_t>(std::ceil(light.radius));
  MapEntity entity;
  entity.Set("classname", "light");
  entity.SetPoint("origin", std::llround(light.x), std::llround(light.y), light.z);
  entity.SetPoint("light_radius", r, r, light.height);
  entity.Set("_color", colour);
  entity.Set("noshadows", "1");
  if (light.special != 0) entity.Set("doom_sector_special", std::to_string(light.special));
  return entity;
}

}  // namespace

std::vector<MapEntity> BuildLightEntities(const wad::Level& level, const std::vector<Piece>& pieces,
                                          std::size_t maxLights) {
  std::vector<std::vector<const Piece*>> bySector(level.sectors.size());
  for (const Piece& piece : pieces) {
    if (piece.sector >= 0 && !piece.edges.empty() && piece.area > 0) bySector[piece.sector].push_back(&piece);
  }
  std::vector<Light> lights;
  for (std::size_t s = 0; s < bySector.size(); ++s) {
    const wad::Sector& sector = level.sectors[s];
    if (sector.light <= 0 || sector.ceilingHeight <= sector.floorHeight || bySector[s].empty()) continue;
    auto& own = bySector[s];
    std::sort(own.begin(), own.end(), [](const Piece* a, const Piece* b) { return a->area > b->area; });
    for (std::size_t i = 0; i < own.size() && i < kLightsPerSector; ++i) {
      if (i > 0 && own[i]->area < kOwnLightArea) break;
      lights.push_back(LightForPiece(*own[i], sector));
    }
  }
  MergeSmallest(lights, maxLights);
  std::vector<MapEntity> entities;
  entities.reserve(lights.size());
  for (const Light& light : lights) entities.push_back(LightEntity(light));
  return entities;
}

}  // namespace zaro3
