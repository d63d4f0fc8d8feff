#include "SwitchPanels.h"

#include "MaterialCatalog.h"
#include "MoverEntities.h"
#include "PrismShapes.h"

namespace zaro3 {

namespace {

// DOOM's BUTTONTIME: 35 tics before a repeatable switch shows its first texture again.
constexpr double kSwitchBackSeconds = 1.0;
// How far the panel stands out of its wall, DOOM units (minor-axis steps).
constexpr int64_t kPanelDepth = 1;

struct Span {
  int64_t low = 0, high = 0;
};

bool SkyCeiling(const wad::Level& level, int sector) {
  return MaterialPicker::IsSkyFlat(level.sectors[sector].ceilingFlat);
}

// Where the part shows on the wall at the level's start; nullopt when that changes in play.
std::optional<Span> PartSpan(const wad::Level& level, const MoverPlan& plan, const wad::Linedef& line, WallPart part) {
  const int front = level.sidedefs[line.front].sector;
  const int back = line.back >= 0 ? level.sidedefs[line.back].sector : -1;
  Span span;
  switch (part) {
    case WallPart::Middle:
      if (back >= 0 || plan.Moves(front)) return std::nullopt;
      span = {plan.floor[front], plan.ceiling[front]};
      break;
    case WallPart::Upper:
      if (back < 0 || plan.CeilingMoves(front) || plan.CeilingMoves(back)) return std::nullopt;
      if (SkyCeiling(level, front) && SkyCeiling(level, back)) return std::nullopt;
      span = {plan.ceiling[back], plan.ceiling[front]};
      break;
    case WallPart::Lower:
      if (back < 0 || plan.FloorMoves(front) || plan.FloorMoves(back)) return std::nullopt;
      span = {plan.floor[front], plan.floor[back]};
      break;
  }
  if (span.high <= span.low) return std::nullopt;
  return span;
}

MapEntity LineEntity(const std::string& classname, const std::string& name, int line, int special) {
  MapEntity e;
  e.Set("classname", classname);
  e.Set("name", name);
  e.Set("doom_line", std::to_string(line));
  e.Set("doom_special", std::to_string(special));
  return e;
}

MapEntity ParmSetter(const std::string& name, const std::string& panel, int line, int special, int value,
                     IntPoint3 at) {
  MapEntity e = LineEntity("target_setshaderparm", name, line, special);
  e.Set("shaderParm7", std::to_string(value));
  e.Set("target", panel);
  e.SetPoint("origin", at.x, at.y, at.z);
  return e;
}

}  // namespace

std::optional<WallPart> SwitchPart(const wad::Level& level, int line, const IsSwitchTexture& isSwitch) {
  if (line < 0 || line >= static_cast<int>(level.linedefs.size())) return std::nullopt;
  const int sidedef = level.linedefs[line].front;
  if (sidedef < 0 || !isSwitch) return std::nullopt;
  const wad::Sidedef& side = level.sidedefs[sidedef];
  if (isSwitch(side.upper)) return WallPart::Upper;
  if (isSwitch(side.middle)) return WallPart::Middle;
  if (isSwitch(side.lower)) return WallPart::Lower;
  return std::nullopt;
}

SwitchPanel BuildSwitchPanel(const wad::Level& level, const MoverPlan& plan, int line, int special,
                             bool repeatable, const Surface& face) {
  SwitchPanel out;
  const wad::Linedef& linedef = level.linedefs[line];
  if (linedef.front < 0) return out;
  const std::optional<Span> span = PartSpan(level, plan, linedef, face.part);
  if (!span) return out;
  const IntPoint v1{level.vertices[linedef.v1].x, level.vertices[linedef.v1].y};
  const IntPoint v2{level.vertices[linedef.v2].x, level.vertices[linedef.v2].y};
  const Surface hidden(kNoDrawMaterial);
  Prism prism = OffsetSlab(v1, v2, 0, kPanelDepth, true, span->low, span->high, hidden, hidden);
  // Of the slab's two long faces, the one out in the room shows the switch.
  Surface shown = face;
  shown.switchFace = true;
  const bool firstIsOnLine = prism.sides[0].a == v1 && prism.sides[0].b == v2;
  prism.sides[firstIsOnLine ? 2 : 0].face = shown;
  if (!FootprintIsSound(prism)) return out;

  const std::string name = "switch_" + std::to_string(line);
  MapEntity panel = LineEntity("func_static", name, line, special);
  NameBrushEntity(panel, name);
  panel.brushes.push_back(std::move(prism));
  out.entities.push_back(std::move(panel));

  const IntPoint3 at{(v1.x + v2.x) / 2, (v1.y + v2.y) / 2, (span->low + span->high) / 2};
  out.entities.push_back(ParmSetter(name + "_on", name, line, special, 1, at));
  out.targets.push_back(name + "_on");
  if (repeatable) {
    MapEntity relay = LineEntity("trigger_relay", name + "_back", line, special);
    relay.Set("delay", Seconds(kSwitchBackSeconds));
    relay.Set("target", name + "_off");
    relay.SetPoint("origin", at.x, at.y, at.z);
    out.entities.push_back(std::move(relay));
    out.entities.push_back(ParmSetter(name + "_off", name, line, special, 0, at));
    out.targets.push_back(name + "_back");
  }
  return out;
}

}  // namespace zaro3
