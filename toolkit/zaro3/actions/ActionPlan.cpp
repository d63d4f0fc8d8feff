#include "ActionPlan.h"

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

namespace zaro3 {

namespace {

// DOOM opens a door to this far below the lowest neighbouring ceiling.
constexpr int64_t kDoorLip = 4;
// A crusher stops this far above its floor.
constexpr int64_t kCrusherGap = 8;
constexpr int kTeleportDestination = 14;

// One wish to move a sector's plane, before wishes for the same plane are reconciled.
struct Request {
  int action = -1;  // index into the plan's lines; -1 for a sector special
  Mover mover;
  bool opens = false;   // doors: opens (or closes) the door
  bool closes = false;
  bool byHand = false;  // a door opened by hand: walking into it opens it
  bool keyed = false;   // a door line opened by hand that asks for a key
};

class Planner {
public:
  Planner(const wad::Level& level, const SectorHeights& heights, const ThingSector& thingSector)
      : m_level(level), m_heights(heights), m_thingSector(thingSector), m_requests(level.sectors.size() * 2) {}

  SpecialPlan Plan(bool withMovers) {
    std::vector<int64_t> floors, ceilings;
    for (const wad::Sector& s : m_level.sectors) {
      floors.push_back(s.floorHeight);
      ceilings.push_back(s.ceilingHeight);
    }
    m_plan.motion = StaticPlan(floors, ceilings);
    for (std::size_t l = 0; l < m_level.linedefs.size(); ++l) {
      if (m_level.linedefs[l].special == 0) continue;
      LineAction action;
      action.line = static_cast<int>(l);
      m_plan.lines.push_back(action);
      PlanLine(m_plan.lines.size() - 1, withMovers);
    }
    for (std::size_t s = 0; s < m_level.sectors.size(); ++s) {
      if (m_level.sectors[s].special == 0) continue;
      SectorEffect effect{static_cast<int>(s), DecodeSectorSpecial(m_level.sectors[s].special)};
      if (withMovers) RequestTimedDoor(effect);
      m_plan.sectors.push_back(effect);
    }
    Reconcile();
    for (LineAction& action : m_plan.lines) {
      if (action.special.kind == SpecialKind::StopLift || action.special.kind == SpecialKind::StopCrusher) {
        PlanStop(action);
      }
    }
    return std::move(m_plan);
  }

private:
  LineAction& Action(std::size_t index) { return m_plan.lines[index]; }

  static void Skip(LineAction& action, const std::string& why) {
    action.reproduced = false;
    if (action.skipped.empty()) action.skipped = why;
  }

  void PlanLine(std::size_t index, bool withMovers) {
    LineAction& action = Action(index);
    const wad::Linedef& line = m_level.linedefs[action.line];
    const std::optional<LineSpecial> special = DecodeLineSpecial(line.special);
    if (!special) {
      action.special.type = line.special;
      Skip(action, "not a DOOM special");
      return;
    }
    action.special = *special;
    if (special->kind == SpecialKind::Scroll) return;  // the materials carry it
    if (special->kind == SpecialKind::Effect) return Skip(action, "an effect DOOM 3's stock entities cannot show");
    if (!withMovers) {
      Skip(action, "moving parts left out (-nomove)");
      return;
    }
    if (special->activation == Activation::Walk && (line.front < 0 || line.back < 0)) {
      Skip(action, "a walk-over special on a one-sided line, which nobody can cross");
      return;
    }
    action.reproduced = true;
    switch (special->kind) {
      case SpecialKind::Exit: return;
      case SpecialKind::Teleport: FindTeleportThing(action); return;
      case SpecialKind::LineTeleport: FindTeleportLine(action); return;
      default: break;
    }
    action.sectors = TargetSectors(action);
    if (action.sectors.empty()) return;
    for (int sector : action.sectors) {
      switch (special->kind) {
        case SpecialKind::Door: RequestDoor(index, sector); break;
        case SpecialKind::Floor:
        case SpecialKind::Ceiling: RequestPlaneMove(index, sector); break;
        case SpecialKind::Lift: RequestLift(index, sector); break;
        case SpecialKind::PerpetualLift: RequestPerpetual(index, sector); break;
        case SpecialKind::Crusher: RequestCrusher(index, sector); break;
        case SpecialKind::Stairs: break;  // one chain per line, below
        case SpecialKind::Donut: RequestDonut(index, sector); break;
        case SpecialKind::Elevator: RequestElevator(index, sector); break;
        default: break;
      }
    }
    if (special->kind == SpecialKind::Stairs) RequestStairs(index);
  }

  // Manual specials act on the sector behind the line; the others on the tagged sectors.
  std::vector<int> TargetSectors(LineAction& action) {
    const wad::Linedef& line = m_level.linedefs[action.line];
    std::vector<int> sectors;
    if (action.special.activation == Activation::Manual) {
      if (line.back < 0) {
        Skip(action, "a door special on a one-sided line: no door behind it");
      } else {
        sectors.push_back(m_level.sidedefs[line.back].sector);
      }
      return sectors;
    }
    if (line.tag == 0) {
      Skip(action, "tag 0: no sector to act on");
      return sectors;
    }
    for (std::size_t s = 0; s < m_level.sectors.size(); ++s) {
      if (m_level.sectors[s].tag == line.tag) sectors.push_back(static_cast<int>(s));
    }
    if (sectors.empty()) Skip(action, "tag " + std::to_string(line.tag) + " names no sector");
    return sectors;
  }

  void Add(Plane plane, int sector, Request request) {
    request.mover.plane = plane;
    request.mover.sector = sector;
    m_requests[static_cast<std::size_t>(sector) * 2 + (plane == Plane::Ceiling)].push_back(std::move(request));
  }

  Request Base(int action, MoverBuild build, int speed, int wait) {
    Request r;
    r.action = action;
    r.mover.build = build;
    r.mover.speed = speed;
    r.mover.waitTics = wait;
    if (action >= 0) r.mover.lines.push_back(Action(action).line);
    return r;
  }

  void RequestDoor(std::size_t index, int sector) {
    const LineSpecial& special = Action(index).special;
    const bool opens = special.door == DoorKind::OpenWaitClose || special.door == DoorKind::OpenStay;
    const bool waits = special.door == DoorKind::OpenWaitClose || special.door == DoorKind::CloseWaitOpen;
    Request r = Base(static_cast<int>(index), opens ? MoverBuild::Door : MoverBuild::ClosingDoor, special.speed,
                     waits ? special.waitTics : -1);
    r.opens = opens;
    r.closes = !opens;
    // DOOM's plain door opens when walked into, by players and monsters as in DOOM.
    r.byHand = OpensByTouch(special, m_level.linedefs[Action(index).line]);
    r.keyed = special.activation == Activation::Manual && special.key != KeyLock::None;
    // Where DOOM moves nothing (the door is already as far as it goes), neither do we.
    if (!SetDoorHeights(r, sector)) return;
    Add(Plane::Ceiling, sector, std::move(r));
  }

  // Opening doors rise from their ceiling to the lowest neighbouring ceiling less 4;
  // closing doors come down to their floor. False when there is nothing to move.
  bool SetDoorHeights(Request& r, int sector) {
    const wad::Sector& s = m_level.sectors[sector];
    Mover& m = r.mover;
    m.rest = s.ceilingHeight;
    if (r.opens) {
      const std::optional<int64_t> lowest = m_heights.LowestCeiling(sector);
      if (!lowest || *lowest - kDoorLip <= s.ceilingHeight) return false;
      m.low = s.ceilingHeight;
      m.high = *lowest - kDoorLip;
      m.placed = m.low;
    } else {
      if (s.ceilingHeight <= s.floorHeight) return false;
      m.low = s.floorHeight;
      m.high = s.ceilingHeight;
      m.placed = m.low;
    }
    return true;
  }

  void RequestTimedDoor(const SectorEffect& effect) {
    if (effect.special.door == TimedDoor::None) return;
    const bool opens = effect.special.door == TimedDoor::OpenAfter5Minutes;
    Request r = Base(-1, opens ? MoverBuild::Door : MoverBuild::ClosingDoor, 16, -1);
    r.opens = opens;
    r.closes = !opens;
    if (SetDoorHeights(r, effect.sector)) Add(Plane::Ceiling, effect.sector, std::move(r));
  }

  void RequestPlaneMove(std::size_t index, int sector) {
    LineAction& action = Action(index);
    const LineSpecial& special = action.special;
    const bool floor = special.kind == SpecialKind::Floor;
    const wad::Sector& s = m_level.sectors[sector];
    const int64_t start = floor ? s.floorHeight : s.ceilingHeight;
    if (special.target == HeightTarget::ShortestLowerTexture || special.target == HeightTarget::ShortestUpperTexture) {
      if (!m_heights.ShortestTexture(sector, special.target == HeightTarget::ShortestLowerTexture)) {
        Skip(action, "no texture height known around sector " + std::to_string(sector));
        return;
      }
    }
    const std::optional<int64_t> destination = m_heights.Destination(sector, special, floor);
    if (!destination || *destination == start) return;  // DOOM moves nothing either
    const bool rises = special.target == HeightTarget::ByAmount && special.direction > 0 && special.repeatable;
    if (rises && floor) {
      Request r = Base(static_cast<int>(index), MoverBuild::Riser, special.speed, -1);
      r.mover.riserStep = special.amount;
      r.mover.rest = start;
      r.mover.low = start;
      r.mover.high = std::max<int64_t>(start + special.amount, s.ceilingHeight);
      r.mover.placed = start;
      Add(Plane::Floor, sector, std::move(r));
    } else {
      AddPlat(static_cast<int>(index), floor ? Plane::Floor : Plane::Ceiling, sector, start, *destination,
              special.speed);
    }
  }

  void AddPlat(int action, Plane plane, int sector, int64_t start, int64_t destination, int speed) {
    Request r = Base(action, MoverBuild::Plat, speed, -1);
    r.mover.rest = start;
    r.mover.low = std::min(start, destination);
    r.mover.high = std::max(start, destination);
    r.mover.placed = destination;
    Add(plane, sector, std::move(r));
  }

  void RequestLift(std::size_t index, int sector) {
    const LineSpecial& special = Action(index).special;
    const int64_t start = m_level.sectors[sector].floorHeight;
    std::optional<int64_t> low;
    switch (special.target) {
      case HeightTarget::NextFloor: low = m_heights.NextFloor(sector, start, -1); break;
      case HeightTarget::LowestCeiling: low = m_heights.LowestCeiling(sector); break;
      default: low = m_heights.LowestFloor(sector); break;
    }
    if (!low || *low >= start) return;
    Request r = Base(static_cast<int>(index), MoverBuild::Lift, special.speed, special.waitTics);
    r.mover.rest = start;
    r.mover.low = *low;
    r.mover.high = start;
    r.mover.placed = *low;
    Add(Plane::Floor, sector, std::move(r));
  }

  void RequestPerpetual(std::size_t index, int sector) {
    const LineSpecial& special = Action(index).special;
    const int64_t start = m_level.sectors[sector].floorHeight;
    const int64_t low = std::min(m_heights.LowestFloor(sector), start);
    const int64_t high = std::max(m_heights.HighestNeighbourFloor(sector).value_or(start), start);
    if (low == high) return;
    Request r = Base(static_cast<int>(index), MoverBuild::PerpetualLift, special.speed, special.waitTics);
    // A plat has two places: it rests at the end nearer to where DOOM starts the floor.
    r.mover.rest = start - low <= high - start ? low : high;
    r.mover.low = low;
    r.mover.high = high;
    r.mover.placed = r.mover.rest == high ? low : high;
    Add(Plane::Floor, sector, std::move(r));
  }

  void RequestCrusher(std::size_t index, int sector) {
    const LineSpecial& special = Action(index).special;
    const wad::Sector& s = m_level.sectors[sector];
    if (s.ceilingHeight <= s.floorHeight + kCrusherGap) return;
    Request r = Base(static_cast<int>(index), MoverBuild::Crusher, special.speed, 0);
    r.mover.rest = s.ceilingHeight;
    r.mover.low = s.floorHeight + kCrusherGap;
    r.mover.high = s.ceilingHeight;
    r.mover.placed = s.ceilingHeight;
    Add(Plane::Ceiling, sector, std::move(r));
  }

  // DOOM's stair builder: from each tagged sector, the next step is the sector behind the
  // first two-sided line (in line order) whose front faces the current step and whose
  // back has the same flat; every step ends one step higher than the last.
  void RequestStairs(std::size_t index) {
    const LineAction& action = Action(index);
    const LineSpecial& special = action.special;
    const int step = special.amount * (special.direction >= 0 ? 1 : -1);
    std::set<int>& moving = m_stairSteps;
    for (std::size_t i = 0; i < action.sectors.size(); ++i) {
      int sector = action.sectors[i];
      if (moving.count(sector)) continue;
      const std::string flat = m_level.sectors[sector].floorFlat;
      int64_t height = m_level.sectors[sector].floorHeight + step;
      AddStep(index, sector, height);
      moving.insert(sector);
      for (bool more = true; more;) {
        more = false;
        for (int l : m_heights.Lines(sector)) {
          const wad::Linedef& line = m_level.linedefs[l];
          if (!(line.flags & wad::kLineTwoSided) || line.front < 0 || line.back < 0) continue;
          if (m_level.sidedefs[line.front].sector != sector) continue;
          const int next = m_level.sidedefs[line.back].sector;
          if (!special.ignoreTexture && m_level.sectors[next].floorFlat != flat) continue;
          height += step;
          if (moving.count(next)) continue;
          AddStep(index, next, height);
          moving.insert(next);
          sector = next;
          more = true;
          break;
        }
      }
    }
  }

  void AddStep(std::size_t index, int sector, int64_t height) {
    const int64_t start = m_level.sectors[sector].floorHeight;
    if (height != start) AddPlat(static_cast<int>(index), Plane::Floor, sector, start, height, Action(index).special.speed);
  }

  // DOOM's donut: the tagged pillar lowers and the pool around it rises, both to the floor
  // beyond the pool.
  void RequestDonut(std::size_t index, int pillar) {
    const std::vector<int>& pillarLines = m_heights.Lines(pillar);
    if (pillarLines.empty()) return;
    const int pool = m_heights.Across(pillarLines.front(), pillar);
    if (pool < 0) {
      Skip(Action(index), "the donut's pillar has no pool around it");
      return;
    }
    int model = -1;
    for (int l : m_heights.Lines(pool)) {
      const wad::Linedef& line = m_level.linedefs[l];
      if (line.back < 0) continue;
      const int back = m_level.sidedefs[line.back].sector;
      if (back == pillar) continue;
      model = back;
      break;
    }
    if (model < 0) {
      Skip(Action(index), "the donut's pool has no floor beyond it");
      return;
    }
    const int64_t destination = m_level.sectors[model].floorHeight;
    const int speed = Action(index).special.speed > 0 ? Action(index).special.speed : 4;
    if (m_level.sectors[pool].floorHeight != destination) {
      AddPlat(static_cast<int>(index), Plane::Floor, pool, m_level.sectors[pool].floorHeight, destination, speed);
    }
    if (m_level.sectors[pillar].floorHeight != destination) {
      AddPlat(static_cast<int>(index), Plane::Floor, pillar, m_level.sectors[pillar].floorHeight, destination, speed);
    }
  }

  // Boom's elevators move floor and ceiling together by the same distance.
  void RequestElevator(std::size_t index, int sector) {
    const LineAction& action = Action(index);
    const wad::Sector& s = m_level.sectors[sector];
    std::optional<int64_t> floor;
    if (action.special.type >= 235) {
      const wad::Linedef& line = m_level.linedefs[action.line];
      if (line.front >= 0) floor = m_level.sectors[m_level.sidedefs[line.front].sector].floorHeight;
    } else {
      floor = m_heights.NextFloor(sector, s.floorHeight, action.special.direction);
    }
    if (!floor || *floor == s.floorHeight) return;
    const int64_t by = *floor - s.floorHeight;
    AddPlat(static_cast<int>(index), Plane::Floor, sector, s.floorHeight, *floor, action.special.speed);
    AddPlat(static_cast<int>(index), Plane::Ceiling, sector, s.ceilingHeight, s.ceilingHeight + by,
            action.special.speed);
  }

  // The first tagged sector (by number) holding a teleport destination, and the first
  // destination thing in it, as DOOM searches.
  void FindTeleportThing(LineAction& action) {
    const wad::Linedef& line = m_level.linedefs[action.line];
    if (line.tag == 0) return Skip(action, "tag 0: no destination sector");
    std::map<int, int> firstInSector;
    for (std::size_t t = 0; t < m_level.things.size(); ++t) {
      if (m_level.things[t].type != kTeleportDestination) continue;
      const int sector = m_thingSector(static_cast<int>(t));
      if (sector >= 0 && m_level.sectors[sector].tag == line.tag) firstInSector.emplace(sector, static_cast<int>(t));
    }
    if (firstInSector.empty()) return Skip(action, "no teleport destination in the sectors tagged " + std::to_string(line.tag));
    action.destinationThing = firstInSector.begin()->second;
    action.sectors.push_back(firstInSector.begin()->first);
  }

  void FindTeleportLine(LineAction& action) {
    const wad::Linedef& line = m_level.linedefs[action.line];
    for (std::size_t l = 0; l < m_level.linedefs.size() && line.tag != 0; ++l) {
      if (static_cast<int>(l) != action.line && m_level.linedefs[l].tag == line.tag) {
        action.destinationLine = static_cast<int>(l);
        return;
      }
    }
    Skip(action, "no line tagged " + std::to_string(line.tag) + " to teleport to");
  }

  void PlanStop(LineAction& action) {
    if (!action.reproduced) return;
    const bool lift = action.special.kind == SpecialKind::StopLift;
    for (int sector : action.sectors) {
      const int m = lift ? m_plan.motion.floorMover[sector] : m_plan.motion.ceilingMover[sector];
      if (m < 0) continue;
      const MoverBuild build = m_plan.motion.movers[m].build;
      if (build == (lift ? MoverBuild::PerpetualLift : MoverBuild::Crusher)) action.movers.push_back(m);
    }
    if (action.movers.empty()) Skip(action, lift ? "no perpetual lift to stop" : "no crusher to stop");
  }

  // The request that decides a plane's mover: the sector's own special, else the move
  // most of its lines ask for (the first of them on a tie), so that a door opened by
  // many plain lines and one fast line moves as the many do.
  static std::size_t Leader(const std::vector<Request>& requests) {
    if (requests.front().action < 0) return 0;
    const auto signature = [](const Mover& m) {
      return std::make_tuple(static_cast<int>(m.build), m.low, m.high, m.placed, m.speed, m.waitTics);
    };
    std::size_t best = 0;
    int bestCount = 0;
    for (std::size_t i = 0; i < requests.size(); ++i) {
      int count = 0;
      for (const Request& r : requests) count += signature(r.mover) == signature(requests[i].mover) ? 1 : 0;
      if (count > bestCount) {
        best = i;
        bestCount = count;
      }
    }
    return best;
  }

  // One mover per sector plane: the leading request decides; the others join when they
  // build the same thing, doors join when they open or close it.
  void Reconcile() {
    for (std::size_t key = 0; key < m_requests.size(); ++key) {
      std::vector<Request>& requests = m_requests[key];
      if (requests.empty()) continue;
      const Request& leader = requests[Leader(requests)];
      Mover mover = leader.mover;
      const bool door = mover.build == MoverBuild::Door || mover.build == MoverBuild::ClosingDoor;
      bool opens = false, closes = false;
      bool byHand = false, keyedSide = false;
      std::vector<int> joined;
      for (const Request& r : requests) {
        const bool doorToo = r.mover.build == MoverBuild::Door || r.mover.build == MoverBuild::ClosingDoor;
        const bool same = r.mover.build == mover.build && r.mover.low == mover.low && r.mover.high == mover.high &&
                          r.mover.placed == mover.placed;
        if ((door && doorToo) || same) {
          opens = opens || r.opens;
          closes = closes || r.closes;
          byHand = byHand || r.byHand;
          keyedSide = keyedSide || r.keyed;
          joined.push_back(r.action);
          continue;
        }
        if (r.action >= 0) {
          const std::string plane = r.mover.plane == Plane::Floor ? "floor" : "ceiling";
          const std::string first = leader.action >= 0 ? "line " + std::to_string(Action(leader.action).line)
                                                        : "its sector special";
          Skip(Action(r.action), "the " + plane + " of sector " + std::to_string(r.mover.sector) +
                                     " already moves differently for " + first);
        }
      }
      if (door && opens && closes) MakeToggleDoor(mover, requests);
      SetTouch(mover, byHand, keyedSide);
      mover.lines.clear();
      for (int a : joined) {
        if (a >= 0) mover.lines.push_back(Action(a).line);
      }
      const int index = static_cast<int>(m_plan.motion.movers.size());
      const int sector = mover.sector;
      if (mover.plane == Plane::Floor) {
        m_plan.motion.floorMover[sector] = index;
        m_plan.motion.floor[sector] = mover.low;
      } else {
        m_plan.motion.ceilingMover[sector] = index;
        m_plan.motion.ceiling[sector] = mover.high;
      }
      m_plan.motion.movers.push_back(mover);
      for (int a : joined) {
        if (a >= 0 && Action(a).reproduced) Action(a).movers.push_back(index);
      }
    }
    // A ceiling never ends below its floor in the world.
    for (std::size_t s = 0; s < m_level.sectors.size(); ++s) {
      m_plan.motion.ceiling[s] = std::max<int64_t>(m_plan.motion.ceiling[s], m_plan.motion.floor[s]);
    }
  }

  // DOOM's plain door opens by touch; a door with a keyed side opens by its lines' triggers
  // only, since touching it would let anybody through from that side.
  static void SetTouch(Mover& mover, bool byHand, bool keyedSide) {
    mover.touchable = byHand && !keyedSide && mover.build == MoverBuild::Door;
  }

  // A door both opened and closed by its lines stays at each end until set off again.
  void MakeToggleDoor(Mover& mover, const std::vector<Request>& requests) {
    const wad::Sector& s = m_level.sectors[mover.sector];
    int64_t open = s.ceilingHeight;
    for (const Request& r : requests) {
      if (r.opens) open = std::max(open, r.mover.high);
    }
    mover.build = MoverBuild::ToggleDoor;
    mover.rest = s.ceilingHeight;
    mover.low = std::min<int64_t>(s.floorHeight, s.ceilingHeight);
    // Two places only: shut at the start, it opens to the opening lines' height; open at
    // the start, it rests where DOOM has it and shuts to the floor.
    mover.high = s.ceilingHeight > s.floorHeight ? s.ceilingHeight : std::max<int64_t>(open, s.ceilingHeight);
    // Shut at the start: written where it rests; open at the start: written shut, resting open.
    mover.placed = s.ceilingHeight > s.floorHeight ? s.floorHeight : s.ceilingHeight;
    mover.waitTics = -1;
    mover.touchable = false;
  }

  const wad::Level& m_level;
  const SectorHeights& m_heights;
  const ThingSector& m_thingSector;
  std::vector<std::vector<Request>> m_requests;  // per sector plane: sector * 2 + (ceiling)
  std::set<int> m_stairSteps;
  SpecialPlan m_plan;
};

}  // namespace

bool OpensByTouch(const LineSpecial& special, const wad::Linedef& line) {
  return special.activation == Activation::Manual && special.kind == SpecialKind::Door && special.monsters &&
         special.repeatable && special.door == DoorKind::OpenWaitClose && special.key == KeyLock::None &&
         !(line.flags & wad::kLineSecret);
}

SpecialPlan PlanSpecials(const wad::Level& level, const SectorHeights& heights, const ThingSector& thingSector,
                         bool withMovers) {
  return Planner(level, heights, thingSector).Plan(withMovers);
}

MoverPlan PlanMovers(const wad::Level& level, bool withMovers) {
  const SectorHeights heights(level, nullptr);
  return PlanSpecials(level, heights, [](int) { return -1; }, withMovers).motion;
}

}  // namespace zaro3
