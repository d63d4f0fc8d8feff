// LightEntities: light entities made from the sectors' light levels and light effects.
//
// Every open sector (ceiling above floor) with a light level above 0 gets a
// light at the centre of its largest piece and at each other large piece,
// just below the ceiling, with a radius that covers the piece and a grey
// colour that grows with the light level. When there are more than the cap,
// the smallest lights are merged into their nearest neighbour (which grows
// to cover them) until the cap holds. Lights cast no shadows, to keep the
// compile and the rendering cheap. Every light uses the kit's light material
// (lights/zdoom_sector in the definitions package), whose shader parm 7 picks
// DOOM's light effect (DOOM's sector special number, 0 steady) and parms 5
// and 6 its dark-to-bright ratio and phase or rate, so a sector's lights
// blink, pulse, flicker or glow with DOOM's rhythm, and specials can change
// them in play. Lights are named light_<sector>_<n>.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Level.h"
#include "MapModel.h"
#include "Pieces.h"
#include "actions/SectorActions.h"

namespace zaro3 {

constexpr std::size_t kMaxLights = 256;

// The light material every converted light uses.
inline const char* const kSectorLightMaterial = "lights/zdoom_sector";

struct LightSet {
  std::vector<MapEntity> entities;
  std::vector<std::vector<std::string>> namesBySector;  // the lights that belong to each sector
};

// The shader parms that give a light DOOM's effect in a sector of level `light`
// whose dimmest neighbour has level `dimmest`; `sector` seeds the phase.
struct LightEffectParms {
  int code = 0;        // shaderParm7
  double ratio = 1;    // shaderParm5: the dark level over the bright one
  double rate = 0;     // shaderParm6: phase (0-1) or cycles a second (glow)
};
LightEffectParms EffectParms(LightEffect effect, int light, int dimmest, int sector);

using DimmestNeighbour = std::function<int(int sector)>;

LightSet BuildLightEntities(const wad::Level& level, const std::vector<Piece>& pieces,
                            const DimmestNeighbour& dimmest, std::size_t maxLights = kMaxLights);

}  // namespace zaro3
