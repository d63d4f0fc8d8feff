// MapModel: the converted level as entities of prism brushes, in DOOM units.
//
// Every brush the converter makes is a vertical prism: a convex footprint whose
// edges lie on lines through two integer DOOM points, between two integer
// heights; a prism may instead end above in a sloped plane through three
// integer points (ramps). Keeping the model in DOOM's integers means every
// plane written later passes through exact points (times the scale); nothing
// here is rounded. The footprint's sides run counter-clockwise: the brush lies
// to the left of each side's line (from `a` to `b`).
// Entity keys hold text, or numbers in DOOM units (lengths, points, speeds)
// that only the map writer scales: the scale is applied once, where the map
// is written. Faces carry a Surface: the material, and for DOOM textures and
// flats the facts their alignment is computed from. This header only holds values.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zaro3 {

struct IntPoint {
  int64_t x = 0;
  int64_t y = 0;
  friend bool operator==(const IntPoint& p, const IntPoint& q) { return p.x == q.x && p.y == q.y; }
};

struct IntPoint3 {
  int64_t x = 0;
  int64_t y = 0;
  int64_t z = 0;
};

enum class WallPart { Upper, Lower, Middle };

// What a face shows. `material` is the material as written in the map
// (without "textures/"). For a DOOM wall texture or flat, `kind` says how
// DOOM places it, so that a later stage can align the face as DOOM draws it.
struct Surface {
  enum class Kind { Fixed, Wall, Floor, Ceiling };

  Surface() = default;
  Surface(std::string fixedMaterial) : material(std::move(fixedMaterial)) {}  // NOLINT: a plain material
  Surface(const char* fixedMaterial) : material(fixedMaterial) {}             // NOLINT: a plain material

  std::string material;
  Kind kind = Kind::Fixed;
  std::string texture;   // the DOOM texture or flat name (Wall, Floor, Ceiling)
  int linedef = -1;      // Wall: the line whose side this face shows
  int side = 0;          // Wall: 0 the front sidedef, 1 the back
  WallPart part = WallPart::Middle;
  // How far the face's brush moves from where it is written to where DOOM has
  // it at the level's start (movers placed at their destination), DOOM units.
  int64_t restShift = 0;
  // Wall: a switch panel's face, whose material shows the switch's other
  // texture while its entity's shader parm 7 is 1.
  bool switchFace = false;
};

// One vertical face: the plane through the line a->b, brush on its left.
struct PrismSide {
  IntPoint a;
  IntPoint b;
  Surface face;
};

struct Prism {
  std::vector<PrismSide> sides;  // counter-clockwise, at least three, no two on one line
  int64_t zLow = 0;
  int64_t zHigh = 0;             // zHigh > zLow; with a sloped top, the top's highest point
  Surface bottom;
  Surface top;
  // A sloped top instead of the plane z = zHigh: three points on it, not on one line.
  std::optional<std::array<IntPoint3, 3>> slopedTop;
};

// One number of a key in DOOM units, exact to a thousandth (DOOM's speeds have quarters).
struct DoomMeasure {
  int64_t thousandths = 0;
  static DoomMeasure Units(int64_t units) { return {units * 1000}; }
};

// A key and its value: `text` as written, unless `measures` is given, which
// the writer scales and joins with single spaces ("x y z" for a point).
struct KeyValue {
  std::string key;
  std::string text;
  std::vector<DoomMeasure> measures;
};

struct MapEntity {
  std::vector<KeyValue> keys;  // in writing order, "classname" first
  std::vector<Prism> brushes;

  void Set(const std::string& key, std::string text);
  void SetMeasure(const std::string& key, DoomMeasure value);
  void SetPoint(const std::string& key, int64_t x, int64_t y, int64_t z);
  // The value of `key` as text (measures unscaled, in DOOM units), or nullptr.
  const KeyValue* Find(const std::string& key) const;
  std::string Text(const std::string& key) const;  // "" when absent
};

// A brush entity exists in the game only with a "model" key equal to its name.
void NameBrushEntity(MapEntity& entity, const std::string& name);

struct MapModel {
  std::vector<MapEntity> entities;  // worldspawn first
};

// The scale factor as an exact decimal: value = mantissa / 10^decimals (1.5 is {15, 1}).
struct Scale {
  int64_t mantissa = 1;
  int decimals = 0;
  // The factor as a double, for sizes that need no exact arithmetic.
  double Value() const {
    double value = static_cast<double>(mantissa);
    for (int d = 0; d < decimals; ++d) value /= 10.0;
    return value;
  }
};

}  // namespace zaro3
