// LightEntities: light entities made from the sectors' light levels.
//
// Every open sector (ceiling above floor) with a light level above 0 gets a
// light at the centre of its largest piece and at each other large piece,
// just below the ceiling, with a radius that covers the piece and a grey
// colour that grows with the light level. When there are more than the cap,
// the smallest lights are merged into their nearest neighbour (which grows
// to cover them) until the cap holds. Lights cast no shadows, to keep the
// compile and the rendering cheap.
#pragma once

#include <vector>

#include "Level.h"
#include "MapModel.h"
#include "Pieces.h"

namespace zaro3 {

constexpr std::size_t kMaxLights = 256;

std::vector<MapEntity> BuildLightEntities(const wad::Level& level, const std::vector<Piece>& pieces,
                                          std::size_t maxLights = kMaxLights);

}  // namespace zaro3
