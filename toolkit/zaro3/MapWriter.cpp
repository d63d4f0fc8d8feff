#include "MapWriter.h"

#include <array>
#include <cstdint>

namespace zaro3 {

namespace {

// The digits of magnitude / 10^decimals, right to left, ending at p: trailing zeros
// of the fraction left out. Unsigned so that 64-bit values divide by a multiply.
template <typename Unsigned>
char* WriteDigits(Unsigned magnitude, int decimals, char* p) {
  int place = 0;
  bool fractionDigits = false;
  do {
    const int digit = static_cast<int>(magnitude % 10);
    magnitude /= 10;
    if (place < decimals) {
      if (digit != 0 || fractionDigits) {
        *--p = static_cast<char>('0' + digit);
        fractionDigits = true;
      }
    } else {
      if (place == decimals && fractionDigits) *--p = '.';
      *--p = static_cast<char>('0' + digit);
    }
    ++place;
  } while (magnitude > 0 || place <= decimals);
  return p;
}

struct Point3 {
  int64_t x, y, z;
};

void WritePoint(std::string& out, const Point3& p, const Scale& scale) {
  out += "( ";
  AppendScaled(out, p.x, scale);
  out += ' ';
  AppendScaled(out, p.y, scale);
  out += ' ';
  AppendScaled(out, p.z, scale);
  out += " ) ";
}

void WritePlane(std::string& out, const Point3& p0, const Point3& p1, const Point3& p2,
                const std::string& material, const Scale& scale) {
  WritePoint(out, p0, scale);
  WritePoint(out, p1, scale);
  WritePoint(out, p2, scale);
  out += material;
  out += " 0 0 0 1 1\n";
}

// The sloped top's points ordered so that (p0 - p1) x (p2 - p1) points up.
void WriteSlopedTop(std::string& out, const std::array<IntPoint3, 3>& p, const std::string& material,
                    const Scale& scale) {
  const __int128 ax = p[0].x - p[1].x, ay = p[0].y - p[1].y;
  const __int128 bx = p[2].x - p[1].x, by = p[2].y - p[1].y;
  const bool up = ax * by - ay * bx > 0;
  const IntPoint3& first = up ? p[0] : p[2];
  const IntPoint3& last = up ? p[2] : p[0];
  WritePlane(out, {first.x, first.y, first.z}, {p[1].x, p[1].y, p[1].z}, {last.x, last.y, last.z}, material, scale);
}

void WriteBrush(std::string& out, const Prism& prism, const Scale& scale) {
  out += "{\n";
  // A side a->b with the brush on its left: (b, low), (a, low), (b, high)
  // gives the normal to the right of a->b, out of the brush.
  for (const PrismSide& side : prism.sides) {
    WritePlane(out, {side.b.x, side.b.y, prism.zLow}, {side.a.x, side.a.y, prism.zLow},
               {side.b.x, side.b.y, prism.zHigh}, side.face.material, scale);
  }
  const IntPoint& o = prism.sides.front().a;
  if (prism.slopedTop) {
    WriteSlopedTop(out, *prism.slopedTop, prism.top.material, scale);
  } else {
    WritePlane(out, {o.x + 1, o.y, prism.zHigh}, {o.x, o.y, prism.zHigh}, {o.x, o.y + 1, prism.zHigh},
               prism.top.material, scale);
  }
  WritePlane(out, {o.x, o.y + 1, prism.zLow}, {o.x, o.y, prism.zLow}, {o.x + 1, o.y, prism.zLow},
             prism.bottom.material, scale);
  out += "}\n";
}

void WriteKeyValue(std::string& out, const std::string& key, const std::string& value) {
  out += '"';
  out += key;
  out += "\" \"";
  out += value;
  out += "\"\n";
}

void WriteEntity(std::string& out, const MapEntity& entity, const Scale& scale) {
  out += "{\n";
  for (const KeyValue& kv : entity.keys) WriteKeyValue(out, kv.key, FormatValue(kv, scale));
  for (const Prism& prism : entity.brushes) WriteBrush(out, prism, scale);
  out += "}\n";
}

}  // namespace

void AppendScaled(std::string& out, int64_t value, const Scale& scale) {
  const __int128 product = static_cast<__int128>(value) * scale.mantissa;
  const bool negative = product < 0;
  const unsigned __int128 magnitude = negative ? -static_cast<unsigned __int128>(product) : product;
  // A 128-bit value has at most 39 digits, plus the point and the sign.
  char buffer[48];
  char* end = buffer + sizeof(buffer);
  char* p = magnitude <= UINT64_MAX ? WriteDigits(static_cast<uint64_t>(magnitude), scale.decimals, end)
                                    : WriteDigits(magnitude, scale.decimals, end);
  if (negative && !(end - p == 1 && *p == '0')) *--p = '-';
  out.append(p, static_cast<size_t>(end - p));
}

std::string FormatScaled(int64_t value, const Scale& scale) {
  std::string text;
  AppendScaled(text, value, scale);
  return text;
}

std::string FormatValue(const KeyValue& kv, const Scale& scale) {
  if (kv.measures.empty()) return kv.text;
  // Measures are thousandths of a unit: three more decimals on the scale.
  const Scale milli{scale.mantissa, scale.decimals + 3};
  std::string text;
  for (std::size_t i = 0; i < kv.measures.size(); ++i) {
    if (i > 0) text += ' ';
    AppendScaled(text, kv.measures[i].thousandths, milli);
  }
  return text;
}

std::string WriteMap(const MapModel& model, const Scale& scale) {
  // About 90 characters a face: one allocation for the whole text.
  size_t faces = 0;
  for (const MapEntity& entity : model.entities)
    for (const Prism& prism : entity.brushes) faces += prism.sides.size() + 2;
  std::string out;
  out.reserve(faces * 96 + model.entities.size() * 128);
  for (const MapEntity& entity : model.entities) WriteEntity(out, entity, scale);
  return out;
}

}  // namespace zaro3
