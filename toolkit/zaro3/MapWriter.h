// MapWriter: the map model as text in the classic brush form.
//
// Mirrors MapModel: WriteMap writes each entity (keys in order, then its
// brushes), each prism brush as one plane line per face:
//   ( x y z ) ( x y z ) ( x y z ) <material> 0 0 0 1 1
// The three points are DOOM integer points times the exact decimal scale,
// written in plain decimal without rounding, ordered so that the plane normal
// (p0 - p1) x (p2 - p1) points out of the brush, as DOOM 3's map loader
// builds it. Key values given in DOOM units are scaled here too: this is the
// one place the scale is applied. The writer does not check the prisms (the
// brush stages do).
#pragma once

#include <string>

#include "MapModel.h"

namespace zaro3 {

// value * scale as a plain decimal ("4.5", "-12", "0.75"): exact, no exponent.
std::string FormatScaled(int64_t value, const Scale& scale);
// The same text appended to out, for the writer's inner loop.
void AppendScaled(std::string& out, int64_t value, const Scale& scale);
// A key's value as written: its text, or its DOOM measures times the scale.
std::string FormatValue(const KeyValue& kv, const Scale& scale);

// The whole map text.
std::string WriteMap(const MapModel& model, const Scale& scale);

}  // namespace zaro3
