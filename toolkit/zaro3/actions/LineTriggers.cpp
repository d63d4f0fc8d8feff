#include "LineTriggers.h"

#include <algorithm>
#include <cmath>

#include "BrushBounds.h"
#include "MaterialCatalog.h"
#include "MoverEntities.h"
#include "PlayerFit.h"
#include "PrismShapes.h"

namespace zaro3 {

namespace {

// Half DOOM's use range: how deep a switch's slab reaches in front of it, DOOM units.
constexpr int64_t kPushDepth = 32;
// A walk-over slab reaches this far to either side of its line.
constexpr int64_t kWalkHalfWidth = 1;
// Teleport slabs: this deep, beyond half DOOM 3's player width (16) plus a margin.
constexpr int64_t kTeleportSlabDepth = 8;
constexpr double kPlayerHalfWidth = 16.0;
constexpr double kTeleportMargin = 1.0;
// Trigger volumes are at least this tall, DOOM units.
constexpr int64_t kMinHeight = 64;

struct Span {
  int64_t low = 0, high = 0;
};

int SectorOf(const wad::Level& level, int sidedef) { return sidedef >= 0 ? level.sidedefs[sidedef].sector : -1; }

Span SectorSpan(const MoverPlan& plan, int sector) {
  Span span{plan.floor[sector], plan.ceiling[sector]};
  span.high = std::max(span.high, span.low + kMinHeight);
  return span;
}

Span LineSpan(const wad::Level& level, const MoverPlan& plan, const wad::Linedef& line) {
  const int front = SectorOf(level, line.front), back = SectorOf(level, line.back);
  const int any = front >= 0 ? front : back;
  Span span = SectorSpan(plan, any);
  for (int s : {front, back}) {
    if (s < 0) continue;
    span.low = std::min(span.low, plan.floor[s]);
    span.high = std::max(span.high, plan.ceiling[s]);
  }
  span.high = std::max(span.high, span.low + kMinHeight);
  return span;
}

MapEntity TriggerEntity(const std::string& classname, const std::string& name, const LineTrigger& trigger) {
  MapEntity e;
  e.Set("classname", classname);
  NameBrushEntity(e, name);
  e.Set("doom_line", std::to_string(trigger.line));
  e.Set("doom_special", std::to_string(trigger.special.type));
  return e;
}

void SetTargets(MapEntity& e, const std::vector<std::string>& targets) {
  for (std::size_t i = 0; i < targets.size(); ++i) e.Set(i == 0 ? "target" : "target" + std::to_string(i), targets[i]);
}

// Who may set it off: players (no key), players and monsters, or monsters only.
void SetToucher(MapEntity& e, const LineSpecial& special) {
  if (special.monstersOnly) e.Set("noClient", "1");
  else if (special.monsters) e.Set("anyTouch", "1");
}

void SetWait(MapEntity& e, const LineTrigger& trigger) {
  if (trigger.waitSeconds >= 0) e.Set("wait", Seconds(std::max(trigger.waitSeconds, 0.5)));
}

std::string ClassFor(const LineTrigger& trigger) {
  return trigger.waitSeconds < 0 ? "trigger_once" : "trigger_multiple";
}

IntPoint Vertex(const wad::Level& level, int v) { return {level.vertices[v].x, level.vertices[v].y}; }

// The offset, in minor-axis units, that keeps a slab beyond half the player's width.
int64_t TeleportOffset(const wad::Level& level, const wad::Linedef& line, double scale) {
  const double perpendicular = (kPlayerHalfWidth / scale) + kTeleportMargin;
  return static_cast<int64_t>(std::ceil(perpendicular / OffsetSpread(Vertex(level, line.v1), Vertex(level, line.v2))));
}

std::vector<MapEntity> TeleportTriggers(const wad::Level& level, const MoverPlan& plan, const LineTrigger& trigger) {
  const wad::Linedef& line = level.linedefs[trigger.line];
  const std::string name = "trigger_" + std::to_string(trigger.line);
  const int64_t near = TeleportOffset(level, line, trigger.scale), far = near + kTeleportSlabDepth;
  const IntPoint v1 = Vertex(level, line.v1), v2 = Vertex(level, line.v2);

  MapEntity arm = TriggerEntity("trigger_multiple", name + "_arm", trigger);
  SetToucher(arm, trigger.special);
  arm.Set("wait", "0");
  arm.Set("toggleTriggerFirst", "1");
  arm.Set("target", name);
  const Span front = SectorSpan(plan, SectorOf(level, line.front));
  arm.brushes.push_back(OffsetSlab(v1, v2, near, far, true, front.low, front.high, Surface(kTriggerMaterial),
                                   Surface(kTriggerMaterial)));

  MapEntity fire = TriggerEntity(ClassFor(trigger), name, trigger);
  SetToucher(fire, trigger.special);
  fire.Set("wait", trigger.waitSeconds < 0 ? "-1" : "0");
  fire.Set("triggerFirst", "1");
  fire.Set("toggleTriggerFirst", "1");
  std::vector<std::string> targets = trigger.targets;
  targets.push_back(name + "_arm");  // fired, it arms the front slab again
  SetTargets(fire, targets);
  const Span back = SectorSpan(plan, SectorOf(level, line.back));
  fire.brushes.push_back(OffsetSlab(v1, v2, near, far, false, back.low, back.high, Surface(kTriggerMaterial),
                                    Surface(kTriggerMaterial)));
  return {fire, arm};
}

Prism Volume(const wad::Level& level, const MoverPlan& plan, const LineTrigger& trigger) {
  const wad::Linedef& line = level.linedefs[trigger.line];
  const IntPoint v1 = Vertex(level, line.v1), v2 = Vertex(level, line.v2);
  const Surface material(kTriggerMaterial);
  if (trigger.special.activation == Activation::Walk) {
    const Span span = LineSpan(level, plan, line);
    return OffsetSlab(v1, v2, -kWalkHalfWidth, kWalkHalfWidth, true, span.low, span.high, material, material);
  }
  // Pushed or shot: in front of the line (DOOM uses only the front side).
  const int sector = SectorOf(level, line.front >= 0 ? line.front : line.back);
  const Span span = SectorSpan(plan, sector);
  const bool front = line.front >= 0;
  if (trigger.special.activation == Activation::Gun) {
    const int64_t from = trigger.beforePanel ? 1 : 0;
    return OffsetSlab(v1, v2, from, from + 1, front, span.low, span.high, Surface(kHiddenMaterial),
                      Surface(kHiddenMaterial));
  }
  // A player who starts inside the volume would press it as he appears: it stops short of him.
  int64_t depth = kPushDepth;
  const double half = kDoom3PlayerWidth / 2.0 / trigger.scale;
  for (const wad::Thing& thing : level.things) {
    if (thing.type < 1 || thing.type > 4) continue;
    Footprint start = FootprintOf(Box(static_cast<int64_t>(std::floor(thing.x - half)),
                                      static_cast<int64_t>(std::floor(thing.y - half)),
                                      static_cast<int64_t>(std::ceil(thing.x + half)),
                                      static_cast<int64_t>(std::ceil(thing.y + half)), span.low, span.high, material));
    while (depth > 1 && Overlap(FootprintOf(OffsetSlab(v1, v2, 0, depth, front, span.low, span.high, material, material)),
                                start)) {
      --depth;
    }
  }
  return OffsetSlab(v1, v2, 0, depth, front, span.low, span.high, material, material);
}

void SetRequires(MapEntity& e, KeyLock key) {
  if (key == KeyLock::Red || key == KeyLock::Blue || key == KeyLock::Yellow) e.Set("requires", KeyItemName(key));
}

}  // namespace

std::string KeyItemName(KeyLock colour) {
  switch (colour) {
    case KeyLock::Red: return "Red key";
    case KeyLock::Blue: return "Blue key";
    case KeyLock::Yellow: return "Yellow key";
    default: return "";
  }
}

std::vector<MapEntity> BuildLineTriggers(const wad::Level& level, const MoverPlan& plan, const LineTrigger& trigger) {
  const LineSpecial& special = trigger.special;
  const wad::Linedef& line = level.linedefs[trigger.line];
  if (special.activation == Activation::Walk &&
      (special.kind == SpecialKind::Teleport || special.kind == SpecialKind::LineTeleport) && line.front >= 0 &&
      line.back >= 0) {
    return TeleportTriggers(level, plan, trigger);
  }
  const std::string name = "trigger_" + std::to_string(trigger.line);
  const Prism volume = Volume(level, plan, trigger);
  if (!FootprintIsSound(volume)) return {};

  if (special.activation == Activation::Gun) {
    MapEntity panel = TriggerEntity("func_damagable", name, trigger);
    panel.Set("health", "1");
    panel.Set("count", special.repeatable ? "-1" : "1");
    panel.Set("wait", "0.5");
    SetTargets(panel, trigger.targets);
    panel.brushes.push_back(volume);
    return {panel};
  }

  std::vector<MapEntity> out;
  if (special.key == KeyLock::Any) {
    // Any one key opens it: one trigger per colour, each asking for its own.
    int n = 0;
    for (KeyLock colour : {KeyLock::Red, KeyLock::Blue, KeyLock::Yellow}) {
      MapEntity e = TriggerEntity(ClassFor(trigger), n == 0 ? name : name + "_" + std::to_string(n), trigger);
      SetWait(e, trigger);
      SetRequires(e, colour);
      SetTargets(e, trigger.targets);
      e.brushes.push_back(volume);
      out.push_back(std::move(e));
      ++n;
    }
    return out;
  }
  MapEntity first = TriggerEntity(ClassFor(trigger), name, trigger);
  SetToucher(first, special);
  SetWait(first, trigger);
  first.brushes.push_back(volume);
  if (special.key != KeyLock::All) {
    SetRequires(first, special.key);
    SetTargets(first, trigger.targets);
    return {first};
  }
  // Every key: the touched trigger asks for red and passes the player on to two
  // untouchable triggers asking for blue, then yellow.
  SetRequires(first, KeyLock::Red);
  first.Set("target", name + "_blue");
  // The relays stand in the middle of the touched volume, inside the level.
  int64_t cx = 0, cy = 0;
  for (const PrismSide& side : volume.sides) {
    cx += side.a.x;
    cy += side.a.y;
  }
  cx /= static_cast<int64_t>(volume.sides.size());
  cy /= static_cast<int64_t>(volume.sides.size());
  const int64_t z = volume.zLow + 8;
  for (KeyLock colour : {KeyLock::Blue, KeyLock::Yellow}) {
    MapEntity relay;
    relay.Set("classname", "trigger_multiple");
    relay.Set("name", name + (colour == KeyLock::Blue ? "_blue" : "_yellow"));
    relay.Set("doom_line", std::to_string(trigger.line));
    relay.Set("doom_special", std::to_string(special.type));
    relay.Set("noTouch", "1");
    relay.Set("wait", "0");
    relay.SetPoint("origin", cx, cy, z);
    SetRequires(relay, colour);
    if (colour == KeyLock::Blue) relay.Set("target", name + "_yellow");
    else SetTargets(relay, trigger.targets);
    out.push_back(std::move(relay));
  }
  out.insert(out.begin(), std::move(first));
  return out;
}

}  // namespace zaro3
