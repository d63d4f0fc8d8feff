// SceneSelection: what the picture shows, chosen from the map's brushes and
// entities and flattened to the ground plane.
//
// Floors are the upward horizontal faces with a drawn material (not hidden,
// sky, trigger or tool materials) that no brush covers from just above (a
// closed door's ceiling resting on its floor); they come lowest first so a
// painter draws higher floors over lower ones. Vertical faces with a drawn
// material become lines: walls, floor steps (faces of a brush whose top is a
// floor) and ceiling steps (faces of a brush whose bottom is drawn). Door and
// lift entities give footprints; trigger entities give nothing. Every point
// entity with an origin gives a mark. The scene owns plain copies of all of it.
#pragma once

#include <string>
#include <vector>

#include "MapReader.h"
#include "Vec.h"

namespace mappreview {

struct FloorFace {
  std::vector<Vec2> polygon;  // convex, in map units
  double height = 0;
  std::string material;
};

struct WallLine {
  enum Kind { Wall, FloorStep, CeilingStep };
  Vec2 a;
  Vec2 b;
  Kind kind = Wall;
};

struct MoverFootprint {
  enum Kind { Door, Lift };
  std::vector<Vec2> polygon;
  Kind kind = Door;
};

struct EntityMark {
  Vec2 origin;
  double angleDegrees = 0;  // DOOM's convention: 0 east, 90 north
  std::string classname;     // lower case
  std::string doomKind;      // the converter's `doom_kind` hint, lower case, may be empty
};

struct Scene {
  std::vector<FloorFace> floors;  // lowest first
  std::vector<WallLine> walls;
  std::vector<MoverFootprint> movers;
  std::vector<EntityMark> marks;
  int skippedBrushes = 0;         // brushes whose planes enclose nothing
};

// True for materials that draw something (not hidden, sky, trigger or tool faces).
bool IsDrawnMaterial(const std::string& material);

// Chooses the scene from `map`; never throws on odd geometry, counts it instead.
Scene SelectScene(const MapFile& map);

}  // namespace mappreview
