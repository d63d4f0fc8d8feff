// FaceAlignment: every face that shows a DOOM texture or flat gets a material
// variant that lays the texture as DOOM lays it.
//
// DOOM 3 projects a texture on a classic-form face with fixed axes from the
// face's plane (s = texS . P / 32, t = texT . P / 32, world-anchored); the
// variant's stage matrix maps that onto DOOM's texel grid: walls keep their
// direction and take their phase (the side's column at the world origin, the
// pegging anchor's row, both reduced to the image and rounded to a thousandth
// of a texel), floors turn a quarter, ceilings reflect, all at the map's scale.
// A mover's face is aligned where DOOM has it at the level's start (restShift).
// Animated textures and flats cycle their frames at DOOM's rate from the
// face's own frame, scrolling sides move at DOOM's speed, and switch faces show
// their partner texture while shader parm 7 is 1. A face keeps its material
// when nothing is known to align it by: a fixed material, a texture the lists
// lack, a sloped top, a wall face not parallel to its line; a cycle or switch
// partner whose images differ in size from the face's is left static.
//
// Variant names: <base material>/k<scale>, then w<column>_<row> (walls), g...
// (masked middles), m... (a wall face running against its side), f (floors) or
// c (ceilings), then _a<tics>_<first>_<last> (animated), _s<columns>_<rows>
// (scrolling, thousandths of a texel a tic, n for minus) and _sw_<partner>
// (switch): letters, digits, underscores and slashes only, the same name
// always for the same text. Pure: reads the model and the inputs, owns its result.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "Level.h"
#include "MapModel.h"
#include "MaterialCatalog.h"
#include "TextureCycles.h"
#include "WallScrolls.h"

namespace zaro3 {

struct AlignmentInputs {
  const wad::Level& level;
  const MaterialCatalog& catalog;
  const ResolvedCycles& cycles;
  const std::map<int, ScrollRate>& wallScrolls;  // by sidedef
  Scale scale;
};

struct AlignedFaces {
  std::vector<std::string> materials;  // per face in ForEachFace order; "" keeps the face's material
  // By texture set (the base material's first folder): variant name -> its material text.
  std::map<std::string, std::map<std::string, std::string>> variants;
  std::size_t alignedFaces = 0;
};

// Calls `visit(surface, place, prism, side)` for every face of every brush of every
// entity, in the order entities, brushes, sides, top, bottom (`side` null for top and bottom).
enum class FacePlace { Side, Top, Bottom };
template <typename Model, typename Visit>
void ForEachFace(Model& model, Visit visit) {
  for (auto& entity : model.entities) {
    for (auto& prism : entity.brushes) {
      for (auto& side : prism.sides) visit(side.face, FacePlace::Side, prism, &side);
      visit(prism.top, FacePlace::Top, prism, nullptr);
      visit(prism.bottom, FacePlace::Bottom, prism, nullptr);
    }
  }
}

AlignedFaces AlignFaces(const MapModel& model, const AlignmentInputs& inputs);

// Gives each face its variant from `aligned` (made by AlignFaces from this model).
void ApplyAlignment(MapModel& model, const AlignedFaces& aligned);

}  // namespace zaro3
