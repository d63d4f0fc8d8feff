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
  int sector = -1;
  bool effect = false;     // its sector's lights blink, glow or flicker
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
  return light;
}

// Steady lights merge first, and into steady lights, so that sectors whose lights
// blink or glow keep lights of their own.
void MergeSmallest(std::vector<Light>& lights, std::size_t cap) {
  while (lights.size() > cap && lights.size() > 1) {
    std::size_t smallest = 0;
    for (std::size_t i = 1; i < lights.size(); ++i) {
      if (std::make_pair(lights[i].effect, lights[i].radius) <
          std::make_pair(lights[smallest].effect, lights[smallest].radius)) {
        smallest = i;
      }
    }
    std::size_t nearest = smallest == 0 ? 1 : 0;
    double best = -1;
    bool bestDiffers = true;
    for (std::size_t i = 0; i < lights.size(); ++i) {
      if (i == smallest) continue;
      const double d = std::hypot(lights[i].x - lights[smallest].x, lights[i].y - lights[smallest].y);
      const bool differs = lights[i].effect != lights[smallest].effect;
      if (best < 0 || std::make_pair(differs, d) < std::make_pair(bestDiffers, best)) {
        best = d;
        bestDiffers = differs;
        nearest = i;
      }
    }
    Light& keep = lights[nearest];
    keep.radius = std::max(keep.radius, best + lights[smallest].radius);
    keep.height = std::max(keep.height, lights[smallest].height);
    lights.erase(lights.begin() + static_cast<std::ptrdiff_t>(smallest));
  }
}

// DOOM's light codes as the light material knows them (shaderParm7).
int EffectCode(LightEffect effect) {
  switch (effect) {
    case LightEffect::RandomOff: return 1;
    case LightEffect::FastStrobe: return 2;
    case LightEffect::SlowStrobe: return 3;
    case LightEffect::Glow: return 8;
    case LightEffect::SyncSlowStrobe: return 12;
    case LightEffect::SyncFastStrobe: return 13;
    case LightEffect::FireFlicker: return 17;
    default: return 0;
  }
}

// A phase in [0, 1) that differs from sector to sector but never from run to run.
double PhaseOf(int sector) {
  const uint32_t h = static_cast<uint32_t>(sector) * 2654435761u;
  return (h >> 8) / 16777216.0;
}

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4f", value);
  std::string out(text);
  while (out.back() == '0') out.pop_back();
  if (out.back() == '.') out.pop_back();
  return out;
}

MapEntity LightEntity(const Light& light, const std::string& name, const LightEffectParms& parms) {
  const double v = light.level / 255.0;
  char colour[64];
  std::snprintf(colour, sizeof colour, "%.3f %.3f %.3f", v, v, v);
  const int64_t r = static_cast<int64_t>(std::ceil(light.radius));
  MapEntity entity;
  entity.Set("classname", "light");
  entity.Set("name", name);
  entity.SetPoint("origin", std::llround(light.x), std::llround(light.y), light.z);
  entity.SetPoint("light_radius", r, r, light.height);
  entity.Set("_color", colour);
  entity.Set("noshadows", "1");
  entity.Set("texture", kSectorLightMaterial);
  if (parms.code != 0) {
    entity.Set("doom_sector", std::to_string(light.sector));
    entity.Set("shaderParm5", Number(parms.ratio));
    entity.Set("shaderParm6", Number(parms.rate));
    entity.Set("shaderParm7", std::to_string(parms.code));
  }
  return entity;
}

}  // namespace

LightEffectParms EffectParms(LightEffect effect, int light, int dimmest, int sector) {
  LightEffectParms parms;
  parms.code = EffectCode(effect);
  const int bright = std::max(light, 1);
  int dark = std::min(dimmest, light);
  switch (effect) {
    case LightEffect::FastStrobe:
    case LightEffect::SlowStrobe:
    case LightEffect::SyncFastStrobe:
    case LightEffect::SyncSlowStrobe:
      // DOOM strobes down to the dimmest neighbour, or to black when none is dimmer.
      if (dark == light) dark = 0;
      parms.rate = effect == LightEffect::SyncFastStrobe || effect == LightEffect::SyncSlowStrobe ? 0 : PhaseOf(sector);
      break;
    case LightEffect::RandomOff: parms.rate = PhaseOf(sector); break;
    // Glow moves 8 levels a tic: a full cycle takes 2 (bright - dark) / 8 tics.
    case LightEffect::Glow: parms.rate = light > dark ? 35.0 * 8.0 / (2.0 * (light - dark)) : 0; break;
    // Fire never goes below 16 above the dimmest neighbour; parm 6 is one step of 16 levels.
    // Where that floor lies above the sector's own level, DOOM's fire stays at it, brighter.
    case LightEffect::FireFlicker:
      dark = dimmest + 16;
      parms.rate = 16.0 / bright;
      break;
    default: break;
  }
  parms.ratio = static_cast<double>(std::max(dark, 0)) / bright;
  return parms;
}

LightSet BuildLightEntities(const wad::Level& level, const std::vector<Piece>& pieces, const DimmestNeighbour& dimmest,
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
      Light light = LightForPiece(*own[i], sector);
      light.sector = static_cast<int>(s);
      light.effect = DecodeSectorSpecial(sector.special).light != LightEffect::None;
      lights.push_back(light);
    }
  }
  MergeSmallest(lights, maxLights);
  LightSet set;
  set.namesBySector.resize(level.sectors.size());
  set.entities.reserve(lights.size());
  for (const Light& light : lights) {
    auto& names = set.namesBySector[light.sector];
    const std::string name = "light_" + std::to_string(light.sector) + "_" + std::to_string(names.size());
    names.push_back(name);
    const wad::Sector& sector = level.sectors[light.sector];
    const LightEffectParms parms =
        EffectParms(DecodeSectorSpecial(sector.special).light, sector.light, dimmest(light.sector), light.sector);
    set.entities.push_back(LightEntity(light, name, parms));
  }
  return set;
}

}  // namespace zaro3
