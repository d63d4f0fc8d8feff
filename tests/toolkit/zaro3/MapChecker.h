// MapChecker: reads our classic-form map text back and checks every brush
// the way the map compiler needs it, independently of the writer's code.
//
// Each brush's planes come from their three points (normal (p0-p1)x(p2-p1),
// pointing out); the checker finds the brush's corners as the points where
// three planes meet inside all others, then asks: at least four planes, no
// two planes equal or mirrored, every plane carrying a face (three corners
// not on one line), and corners that span a volume. Numbers must be plain
// decimals (no exponent). Text it cannot parse is a failure, not a throw.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace zaro3test {

struct CheckedPlane {
  double p[3][3];
  std::string material;
};

struct CheckedEntity {
  std::vector<std::pair<std::string, std::string>> keys;
  std::vector<std::vector<CheckedPlane>> brushes;
  std::string Value(const std::string& key) const;
};

struct MapCheck {
  bool parsed = false;
  std::string parseError;
  std::vector<CheckedEntity> entities;
  int brushes = 0;
  int badBrushes = 0;
  std::string firstProblem;  // entity/brush number and what is wrong
};

MapCheck CheckMapText(const std::string& text);

// The problem of one brush, or empty when it is sound.
std::string BrushProblem(const std::vector<CheckedPlane>& planes);

}  // namespace zaro3test
