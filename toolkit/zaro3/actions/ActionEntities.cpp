#include "ActionEntities.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <deque>
#include <set>
#include <tuple>

#include "LineTriggers.h"
#include "MaterialCatalog.h"
#include "MoverEntities.h"
#include "NextLevel.h"
#include "PrismShapes.h"
#include "SwitchPanels.h"

namespace zaro3 {

namespace {

// DOOM hurts every 32 tics.
constexpr const char* kDamageDelay = "0.9143";
// Volumes over a sector's floor reach this high, DOOM units.
constexpr int64_t kFloorVolumeHeight = 16;
// DOOM's sector 11 hurts by 20 until the player's health is down to 10: five hits from full health.
constexpr int kHitsUntilExit = 5;

const char* const kKeyRemovers[] = {"Red key", "Blue key", "Yellow key"};

class Builder {
public:
  Builder(const SpecialContext& context, Diagnostics& diagnostics) : m_c(context), m_diagnostics(diagnostics) {}

  SpecialEntities Build() {
    const MoverPlan& motion = m_c.plan.motion;
    m_written.assign(motion.movers.size(), false);
    for (std::size_t m = 0; m < motion.movers.size(); ++m) {
      if (m_c.geometry.moverSlabs[m].empty()) continue;
      m_written[m] = true;
      m_out.entities.push_back(MoverEntity(motion.movers[m], m_c.geometry.moverSlabs[m]));
    }
    for (const LineAction& action : m_c.plan.lines) BuildLine(action);
    for (const SectorEffect& effect : m_c.plan.sectors) BuildSector(effect);
    for (auto& helper : m_helpers) m_out.entities.push_back(std::move(helper));
    WarnSkipped();
    return std::move(m_out);
  }

private:
  void Count(const LineAction& action, bool reproduced, const std::string& why = "") {
    CategoryCount& count = m_out.report.lines[CategoryName(action.special.kind)];
    ++count.found;
    if (reproduced) {
      ++count.reproduced;
      return;
    }
    auto& skip = m_skipped[{action.special.type, why}];
    if (skip.first++ == 0) skip.second = action.line;
  }

  void BuildLine(const LineAction& action) {
    const LineSpecial& special = action.special;
    if (special.kind == SpecialKind::Scroll) {
      const bool carried = ScrollCarriedByMaterials(special.type);
      return Count(action, carried, carried ? "" : "scrolls that follow moving sectors are not carried over");
    }
    if (!action.reproduced) return Count(action, false, action.skipped);
    std::vector<std::string> targets;
    std::string why;
    if (!Targets(action, targets, why)) return Count(action, false, why);
    double wait = -1;
    if (special.repeatable) {
      wait = 0.5;
      for (int m : action.movers) wait = std::max(wait, MoverCycleSeconds(m_c.plan.motion.movers[m]));
    }
    // DOOM's plain door opened by hand opens by its own touch.
    if (OpensByTouch(special, m_c.level.linedefs[action.line]) && !action.movers.empty() &&
        std::all_of(action.movers.begin(), action.movers.end(),
                    [&](int m) { return m_c.plan.motion.movers[m].touchable; })) {
      return Count(action, true);
    }
    if (special.activation == Activation::Manual) GateDoors(action, targets);
    const SwitchPanel panel = Panel(action);
    targets.insert(targets.end(), panel.targets.begin(), panel.targets.end());
    LineTrigger trigger{action.line, special, targets, wait, m_c.scale};
    trigger.beforePanel = !panel.entities.empty();
    // DOOM lets no monster use a line marked secret.
    if (special.activation != Activation::Walk && (m_c.level.linedefs[action.line].flags & wad::kLineSecret)) {
      trigger.special.monsters = false;
    }
    std::vector<MapEntity> triggers = BuildLineTriggers(m_c.level, m_c.plan.motion, trigger);
    if (triggers.empty()) return Count(action, false, "the line is too short for a trigger volume");
    for (MapEntity& e : triggers) m_out.entities.push_back(std::move(e));
    for (const MapEntity& e : panel.entities) m_out.entities.push_back(e);
    Count(action, true);
  }

  // Door lines used by hand have triggers on both sides of the door: the one the player
  // reaches on the far side would send a door still opening back down. They fire the door
  // through a relay that ignores them until the door has opened.
  void GateDoors(const LineAction& action, std::vector<std::string>& targets) {
    for (int m : action.movers) {
      const Mover& mover = m_c.plan.motion.movers[m];
      if (!m_written[m] || (mover.build != MoverBuild::Door && mover.build != MoverBuild::ClosingDoor)) continue;
      const std::string door = MoverName(mover);
      const std::string gate = "doorgate_" + std::to_string(mover.sector);
      if (m_gates.insert(m).second) {
        MapEntity& relay = Helper("trigger_relay", gate, -1, 0);
        relay.Set("wait", Seconds(MoverTravelSeconds(mover)));
        relay.Set("target", door);
        const IntPoint3 at = InsideLine(action.line);
        relay.SetPoint("origin", at.x, at.y, at.z);
      }
      std::replace(targets.begin(), targets.end(), door, gate);
    }
  }

  // A switch or gun line's panel, when its front shows a switch texture with a fixed span.
  SwitchPanel Panel(const LineAction& action) const {
    const Activation activation = action.special.activation;
    if ((activation != Activation::Switch && activation != Activation::Gun) || !m_c.switchFace) return {};
    const std::optional<Surface> face = m_c.switchFace(action.line);
    if (!face) return {};
    return BuildSwitchPanel(m_c.level, m_c.plan.motion, action.line, action.special.type, action.special.repeatable,
                            *face);
  }

  // What the line's trigger fires; false (with the reason) when there is nothing it can set off.
  bool Targets(const LineAction& action, std::vector<std::string>& targets, std::string& why) {
    const LineSpecial& special = action.special;
    std::vector<std::string> movers;
    for (int m : action.movers) {
      if (m_written[m]) movers.push_back(MoverName(m_c.plan.motion.movers[m]));
    }
    switch (special.kind) {
      case SpecialKind::Exit:
        targets.push_back(EndLevel(action));
        for (const std::string& remover : KeyRemovers()) targets.push_back(remover);
        return true;
      case SpecialKind::Teleport:
        targets.push_back(Teleporter(action));
        return true;
      case SpecialKind::LineTeleport: {
        const std::string name = LineTeleporter(action);
        if (name.empty()) why = "the destination line has no room behind it";
        else targets.push_back(name);
        return !name.empty();
      }
      case SpecialKind::Light:
        targets = LightSetters(action);
        if (targets.empty()) why = "the tagged sectors have no lights of their own";
        return !targets.empty();
      case SpecialKind::PerpetualLift:
      case SpecialKind::Crusher:
        if (!movers.empty()) targets.push_back(KeyValueSetter(action, "start", "continuous;1", movers));
        break;
      case SpecialKind::StopLift:
      case SpecialKind::StopCrusher:
        if (movers.empty()) {
          why = "nothing to stop";
          return false;
        }
        targets.push_back(KeyValueSetter(action, "stop", "continuous;0", movers));
        return true;
      default: break;
    }
    if (!action.movers.empty() && movers.empty()) {
      why = "its movers have no brushes (options left them out)";
      return false;
    }
    targets.insert(targets.end(), movers.begin(), movers.end());
    return true;
  }

  MapEntity& Helper(const std::string& classname, const std::string& name, int line, int type) {
    m_helpers.emplace_back();
    MapEntity& e = m_helpers.back();
    e.Set("classname", classname);
    e.Set("name", name);
    if (line >= 0) {
      e.Set("doom_line", std::to_string(line));
      e.Set("doom_special", std::to_string(type));
    }
    return e;
  }

  // A point inside the level for helper entities that need an origin: DOOM 3's compiler
  // treats an entity outside the sealed level as a leak.
  IntPoint3 InsideSector(int sector) const {
    const Piece* best = nullptr;
    for (const Piece& piece : m_c.pieces) {
      if (piece.sector == sector && (!best || piece.area > best->area)) best = &piece;
    }
    if (!best) return {0, 0, m_c.plan.motion.floor[sector]};
    double x = 0, y = 0;
    for (const PieceEdge& e : best->edges) {
      x += e.fromX;
      y += e.fromY;
    }
    x /= best->edges.size();
    y /= best->edges.size();
    return {std::llround(x), std::llround(y), m_c.plan.motion.floor[sector] + 8};
  }

  IntPoint3 InsideLine(int line) const {
    const wad::Linedef& l = m_c.level.linedefs[line];
    const int side = l.front >= 0 ? l.front : l.back;
    return InsideSector(m_c.level.sidedefs[side].sector);
  }

  std::string KeyValueSetter(const LineAction& action, const std::string& what, const std::string& keyval,
                             const std::vector<std::string>& movers) {
    const std::string name = what + "_" + std::to_string(action.line);
    MapEntity& e = Helper("target_setkeyval", name, action.line, action.special.type);
    const IntPoint3 at = InsideLine(action.line);
    e.SetPoint("origin", at.x, at.y, at.z);
    e.Set("keyval", keyval);
    for (std::size_t i = 0; i < movers.size(); ++i) e.Set(i == 0 ? "target" : "target" + std::to_string(i), movers[i]);
    return name;
  }

  std::string EndLevel(const LineAction& action) {
    const bool secret = action.special.secret;
    const std::string name = secret ? "endlevel_secret" : "endlevel_next";
    if (m_made.insert(name).second) {
      MapEntity& e = Helper("target_endLevel", name, action.line, action.special.type);
      const IntPoint3 at = InsideLine(action.line);
      e.SetPoint("origin", at.x, at.y, at.z);
      SetNextMap(e, secret);
    }
    return name;
  }

  // The level after this one by DOOM's rules; DOOM 3 loads it as maps/<name>.
  void SetNextMap(MapEntity& e, bool secret) const {
    const LevelAfter next = NextLevel(m_c.level.name, secret);
    if (next.endOfGame) e.Set("endOfGame", "1");
    else e.Set("nextMap", next.level);
  }

  // Two removers a colour: a player may carry both the card and the skull.
  std::vector<std::string> KeyRemovers() {
    std::vector<std::string> names;
    for (const char* key : kKeyRemovers) {
      std::string colour = key;
      colour = colour.substr(0, colour.find(' '));
      for (char& c : colour) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      for (int n = 1; n <= 2; ++n) {
        const std::string name = "keyremove_" + colour + "_" + std::to_string(n);
        names.push_back(name);
        if (!m_made.insert(name).second) continue;
        MapEntity& e = Helper("func_itemremove", name, -1, 0);
        const IntPoint3 at = InsideSector(StartSector());
        e.SetPoint("origin", at.x, at.y, at.z);
        e.Set("remove", key);
      }
    }
    return names;
  }

  int StartSector() const {
    for (const LineAction& action : m_c.plan.lines) {
      if (action.special.kind == SpecialKind::Exit) {
        const wad::Linedef& l = m_c.level.linedefs[action.line];
        return m_c.level.sidedefs[l.front >= 0 ? l.front : l.back].sector;
      }
    }
    return 0;
  }

  std::string Teleporter(const LineAction& action) {
    const std::string name = "teleporter_" + std::to_string(action.destinationThing);
    if (m_made.insert(name).second) {
      const wad::Thing& thing = m_c.level.things[action.destinationThing];
      MapEntity& e = Helper("func_teleporter", name, action.line, action.special.type);
      e.Set("doom_thing", std::to_string(action.destinationThing));
      e.SetPoint("origin", thing.x, thing.y, m_c.level.sectors[action.sectors.front()].floorHeight);
      e.Set("angle", std::to_string(thing.angle));
      e.Set("triggered", "1");
    }
    return name;
  }

  // Boom's line teleports: the traveller leaves the destination line on the side it
  // crossed the entry line to (its back), or the other way round for the reversed kinds.
  std::string LineTeleporter(const LineAction& action) {
    const wad::Linedef& line = m_c.level.linedefs[action.destinationLine];
    const bool reversed = action.special.type >= 262 && action.special.type <= 265;
    const int side = reversed ? line.front : line.back;
    if (side < 0) return "";
    const int sector = m_c.level.sidedefs[side].sector;
    const wad::Vertex& a = m_c.level.vertices[line.v1];
    const wad::Vertex& b = m_c.level.vertices[line.v2];
    const double dx = b.x - a.x, dy = b.y - a.y, length = std::hypot(dx, dy);
    // The front (right) normal of v1->v2 is (dy, -dx).
    const double sign = reversed ? 1.0 : -1.0;
    const double nx = sign * dy / length, ny = sign * -dx / length;
    const int64_t x = std::llround((a.x + b.x) / 2.0 + nx * 24), y = std::llround((a.y + b.y) / 2.0 + ny * 24);
    const std::string name = "teleporter_line_" + std::to_string(action.line);
    MapEntity& e = Helper("func_teleporter", name, action.line, action.special.type);
    e.SetPoint("origin", x, y, m_c.level.sectors[sector].floorHeight);
    e.Set("angle", std::to_string(std::llround(std::atan2(ny, nx) * 180.0 / 3.14159265358979)));
    e.Set("triggered", "1");
    return name;
  }

  std::vector<std::string> LightSetters(const LineAction& action) {
    std::vector<std::string> names;
    for (int sector : action.sectors) {
      const std::vector<std::string>& lights = m_c.lights.namesBySector[sector];
      if (lights.empty()) continue;
      const std::string name = "lightset_" + std::to_string(action.line) + "_" + std::to_string(sector);
      MapEntity& e = Helper("target_setshaderparm", name, action.line, action.special.type);
      e.Set("doom_sector", std::to_string(sector));
      const IntPoint3 at = InsideSector(sector);
      e.SetPoint("origin", at.x, at.y, at.z);
      const int own = m_c.level.sectors[sector].light;
      if (action.special.light == LightTarget::Blink) {
        const LightEffectParms parms =
            EffectParms(LightEffect::SlowStrobe, own, m_c.heights.DimmestNeighbourLight(sector), sector);
        e.Set("shaderParm5", Format(parms.ratio));
        e.Set("shaderParm6", Format(parms.rate));
        e.Set("shaderParm7", std::to_string(parms.code));
      } else {
        int level = action.special.lightLevel;
        if (action.special.light == LightTarget::BrightestNeighbour) level = m_c.heights.BrightestNeighbourLight(sector);
        if (action.special.light == LightTarget::DimmestNeighbour) level = m_c.heights.DimmestNeighbourLight(sector);
        const double v = std::min(255, std::max(0, level)) / 255.0;
        e.Set("_color", Format(v) + " " + Format(v) + " " + Format(v));
      }
      for (std::size_t i = 0; i < lights.size(); ++i) e.Set(i == 0 ? "target" : "target" + std::to_string(i), lights[i]);
      names.push_back(name);
    }
    return names;
  }

  static std::string Format(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", value);
    std::string out(text);
    while (out.back() == '0') out.pop_back();
    if (out.back() == '.') out.pop_back();
    return out;
  }

  // The sector's pieces as prisms over its floor, for volumes the player stands in.
  std::vector<Prism> FloorVolume(int sector) const {
    std::vector<Prism> prisms;
    const int64_t floor = m_c.plan.motion.floor[sector];
    int64_t top = std::max(floor, static_cast<int64_t>(m_c.level.sectors[sector].floorHeight)) + kFloorVolumeHeight;
    for (const Piece& piece : m_c.pieces) {
      if (piece.sector != sector) continue;
      Prism prism;
      prism.zLow = floor;
      prism.zHigh = top;
      prism.top = prism.bottom = Surface(kTriggerMaterial);
      for (const PieceEdge& edge : piece.edges) prism.sides.push_back({edge.lineA, edge.lineB, Surface(kTriggerMaterial)});
      if (FootprintIsSound(prism)) prisms.push_back(std::move(prism));
    }
    return prisms;
  }

  void CountSector(const std::string& what, bool reproduced) {
    CategoryCount& count = m_out.report.sectors[what];
    ++count.found;
    count.reproduced += reproduced;
  }

  void BuildSector(const SectorEffect& effect) {
    const int sector = effect.sector;
    const SectorSpecial& special = effect.special;
    if (!special.known) {
      CountSector("unknown types", false);
      m_diagnostics.Warn("sector " + std::to_string(sector) + ": special " +
                         std::to_string(m_c.level.sectors[sector].special) + " is not a DOOM sector special, left out");
    }
    if (special.light != LightEffect::None) CountSector("light effects", !m_c.lights.namesBySector[sector].empty());
    if (special.damage > 0) CountSector("damage", Damage(sector, special));
    if (special.secret) CountSector("secrets", Secret(sector));
    if (special.door != TimedDoor::None) CountSector("timed doors", TimedDoorTrigger(sector, special));
  }

  bool Damage(int sector, const SectorSpecial& special) {
    std::vector<Prism> volume = FloorVolume(sector);
    if (volume.empty()) return false;
    MapEntity e;
    e.Set("classname", "trigger_hurt");
    NameBrushEntity(e, "hurt_" + std::to_string(sector));
    e.Set("doom_sector", std::to_string(sector));
    e.Set("def_damage", "doom_damage_" + std::to_string(special.damage));
    e.Set("delay", kDamageDelay);
    e.Set("on", "1");
    if (special.exitWhenDying) {
      // No stock entity reads the player's health: the level ends after the hits
      // that take a healthy player down to DOOM's limit.
      const std::string counter = "dying_" + std::to_string(sector);
      MapEntity& count = Helper("trigger_count", counter, -1, 0);
      count.Set("doom_sector", std::to_string(sector));
      const IntPoint3 at = InsideSector(sector);
      count.SetPoint("origin", at.x, at.y, at.z);
      count.Set("count", std::to_string(kHitsUntilExit));
      count.Set("target", EndLevelForSector(sector));
      e.Set("target", counter);
    }
    e.brushes = std::move(volume);
    m_out.entities.push_back(std::move(e));
    return true;
  }

  std::string EndLevelForSector(int sector) {
    const std::string name = "endlevel_next";
    if (m_made.insert(name).second) {
      MapEntity& e = Helper("target_endLevel", name, -1, 0);
      e.Set("doom_sector", std::to_string(sector));
      const IntPoint3 at = InsideSector(sector);
      e.SetPoint("origin", at.x, at.y, at.z);
      SetNextMap(e, false);
    }
    return name;
  }

  bool Secret(int sector) {
    std::vector<Prism> volume = FloorVolume(sector);
    if (volume.empty()) return false;
    const std::string message = "secretmsg_" + std::to_string(sector);
    MapEntity& item = Helper("doom_secret", message, -1, 0);
    item.Set("doom_sector", std::to_string(sector));
    const IntPoint3 at = InsideSector(sector);
    item.SetPoint("origin", at.x, at.y, at.z);
    MapEntity e;
    e.Set("classname", "trigger_once");
    NameBrushEntity(e, "secret_" + std::to_string(sector));
    e.Set("doom_sector", std::to_string(sector));
    e.Set("target", message);
    e.brushes = std::move(volume);
    m_out.entities.push_back(std::move(e));
    return true;
  }

  bool TimedDoorTrigger(int sector, const SectorSpecial& special) {
    const int m = m_c.plan.motion.ceilingMover[sector];
    if (m < 0 || !m_written[m] || !m_c.plan.motion.movers[m].IsDoorEntity()) return false;
    MapEntity& e = Helper("trigger_timer", "timer_" + std::to_string(sector), -1, 0);
    e.Set("doom_sector", std::to_string(sector));
    const IntPoint3 at = InsideSector(sector);
    e.SetPoint("origin", at.x, at.y, at.z);
    e.Set("start_on", "1");
    e.Set("delay", special.door == TimedDoor::CloseAfter30Seconds ? "30" : "300");
    e.Set("wait", "-1");
    e.Set("random", "0");
    e.Set("target", MoverName(m_c.plan.motion.movers[m]));
    return true;
  }

  void WarnSkipped() {
    for (const auto& [key, skip] : m_skipped) {
      const auto& [type, why] = key;
      const std::optional<LineSpecial> special = DecodeLineSpecial(type);
      const std::string what = special ? std::string(CategoryName(special->kind)) + ", " + ActivationName(*special)
                                       : std::string("unknown");
      m_diagnostics.Warn("special " + std::to_string(type) + " (" + what + ") on " + std::to_string(skip.first) +
                         (skip.first == 1 ? " line" : " lines") + " not reproduced: " + why + " (line " +
                         std::to_string(skip.second) + (skip.first > 1 ? " and others)" : ")"));
    }
  }

  const SpecialContext& m_c;
  Diagnostics& m_diagnostics;
  SpecialEntities m_out;
  std::vector<bool> m_written;
  std::deque<MapEntity> m_helpers;  // a deque: references to earlier helpers stay valid
  std::set<int> m_gates;            // movers whose door gate is made
  std::set<std::string> m_made;
  std::map<std::pair<int, std::string>, std::pair<int, int>> m_skipped;  // (type, why) -> (count, first line)
};

}  // namespace

int SpecialReport::LinesFound() const {
  int n = 0;
  for (const auto& [name, count] : lines) n += count.found;
  return n;
}

int SpecialReport::LinesReproduced() const {
  int n = 0;
  for (const auto& [name, count] : lines) n += count.reproduced;
  return n;
}

bool ScrollCarriedByMaterials(int type) { return type == 48 || type == 85 || type == 255; }

SpecialEntities BuildSpecialEntities(const SpecialContext& context, Diagnostics& diagnostics) {
  return Builder(context, diagnostics).Build();
}

}  // namespace zaro3
