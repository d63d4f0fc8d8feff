#include "MapWriter.h"

namespace zaro3 {

namespace {

struct Point3 {
  int64_t x, y, z;
};

void WritePoint(std::string& out, const Point3& p, const Scale& scale) {
  out += "( ";
  out += FormatScaled(p.x, scale);
  out += ' ';
  out += FormatScaled(p.y, scale);
  out += ' ';
  out += FormatScaled(p.z, scale);
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

void WriteBrush(std::string& out, const Prism& prism, const Scale& scale) {
  out += "{\n";
  // A side a->b with the brush on its left: (b, low), (a, low), (b, high)
  // gives the normal to the right of a->b, out of the brush.
  for (const PrismSide& side : prism.sides) {
    WritePlane(out, {side.b.x, side.b.y, prism.zLow}, {side.a.x, side.a.y, prism.zLow},
               {side.b.x, side.b.y, prism.zHigh}, side.material, scale);
  }
  const IntPoint& o = prism.sides.front().a;
  WritePlane(out, {o.x + 1, o.y, prism.zHigh}, {o.x, o.y, prism.zHigh}, {o.x, o.y + 1, prism.zHigh},
             prism.topMaterial, scale);
  WritePlane(out, {o.x, o.y + 1, prism.zLow}, {o.x, o.y, prism.zLow}, {o.x + 1, o.y, prism.zLow},
             prism.bottomMaterial, scale);
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
  for (const auto& kv : entity.keys) WriteKeyValue(out, kv.first, kv.second);
  for (const Prism& prism : entity.brushes) WriteBrush(out, prism, scale);
  out += "}\n";
}

}  // namespace

std::string FormatScaled(int64_t value, const Scale& scale) {
  __int128 product = static_cast<__int128>(value) * scale.mantissa;
  const bool negative = product < 0;
  if (negative) product = -product;
  std::string digits;
  do {
    digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(product % 10)));
    product /= 10;
  } while (product > 0);
  int decimals = scale.decimals;
  while (static_cast<int>(digits.size()) <= decimals) digits.insert(digits.begin(), '0');
  std::string whole = digits.substr(0, digits.size() - decimals);
  std::string fraction = digits.substr(digits.size() - decimals);
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  std::string text = whole;
  if (!fraction.empty()) text += "." + fraction;
  if (negative && text != "0") text.insert(text.begin(), '-');
  return text;
}

std::string WriteMap(const MapModel& model, const Scale& scale) {
  std::string out;
  for (const MapEntity& entity : model.entities) WriteEntity(out, entity, scale);
  return out;
}

}  // namespace zaro3
