#include "MoverEntities.h"

#include <cmath>
#include <cstdio>


namespace zaro3 {

namespace {

constexpr double kTicsPerSecond = 35.0;
// A func_door travels its size plus 2 minus lip (its clip bounds are padded by one unit
// on each side), in DOOM 3 units whatever the scale: lip 2 makes it travel its size.
constexpr const char* kDoorLip = "2";
// How far beyond a door its automatic trigger reaches, DOOM units (DOOM's use range is 64).
constexpr int64_t kDoorTouchReach = 32;

double TravelSeconds(int64_t units, int speed) {
  return speed > 0 ? static_cast<double>(units) * 8.0 / (speed * kTicsPerSecond) : 0.0;
}

std::string Wait(const Mover& mover) {
  return mover.waitTics < 0 ? "-1" : Seconds(mover.waitTics / kTicsPerSecond);
}

void DoorKeys(const Mover& mover, MapEntity& e) {
  e.Set("movedir", mover.build == MoverBuild::Crusher ? "-2" : "-1");
  e.Set("lip", kDoorLip);
  e.SetMeasure("speed", SpeedPerSecond(mover.speed));
  switch (mover.build) {
    case MoverBuild::Door:
      e.Set("wait", Wait(mover));
      break;
    case MoverBuild::ClosingDoor:
      e.Set("start_open", "1");
      e.Set("wait", Wait(mover));
      break;
    case MoverBuild::ToggleDoor:
      e.Set("toggle", "1");
      e.Set("wait", "-1");
      if (mover.placed != mover.rest) e.Set("start_open", "1");
      break;
    default:  // Crusher: back up at once; "continuous" is set and cleared while playing.
      e.Set("crusher", "1");
      e.Set("damage", "1");
      e.Set("wait", "0");
      break;
  }
  if (mover.touchable) {
    e.SetMeasure("triggersize", DoomMeasure::Units(kDoorTouchReach));
  } else {
    e.Set("no_touch", "1");
  }
}

void PlatKeys(const Mover& mover, MapEntity& e) {
  // A plat rests `height` below where it is written (negative: above).
  e.SetMeasure("height", DoomMeasure::Units(mover.placed - mover.rest));
  e.Set("lip", "0");
  e.SetMeasure("speed", SpeedPerSecond(mover.speed));
  e.Set("wait", Wait(mover));
  e.Set("accel_time", "0");
  e.Set("decel_time", "0");
  e.Set("no_touch", "1");
}

void RiserKeys(const Mover& mover, MapEntity& e) {
  // A riser moves `height` units a second for `time` seconds at each activation.
  e.Set("time", Seconds(TravelSeconds(mover.riserStep, mover.speed)));
  e.SetMeasure("height", SpeedPerSecond(mover.speed));
  e.Set("neverDormant", "1");
}

}  // namespace

std::string MoverName(const Mover& mover) {
  const std::string sector = std::to_string(mover.sector);
  switch (mover.build) {
    case MoverBuild::Door:
    case MoverBuild::ClosingDoor:
    case MoverBuild::ToggleDoor: return "door_" + sector;
    case MoverBuild::Crusher: return "crusher_" + sector;
    case MoverBuild::Lift:
    case MoverBuild::PerpetualLift: return "lift_" + sector;
    default: return (mover.plane == Plane::Floor ? "floor_" : "ceiling_") + sector;
  }
}

double MoverTravelSeconds(const Mover& mover) { return TravelSeconds(mover.Thickness(), mover.speed); }

double MoverCycleSeconds(const Mover& mover) {
  const double travel = TravelSeconds(mover.Thickness(), mover.speed);
  const double wait = mover.waitTics < 0 ? 0.0 : mover.waitTics / kTicsPerSecond;
  switch (mover.build) {
    case MoverBuild::Door:
    case MoverBuild::ClosingDoor:
    case MoverBuild::Lift: return mover.waitTics < 0 ? travel : 2 * travel + wait;
    case MoverBuild::Riser: return TravelSeconds(mover.riserStep, mover.speed);
    case MoverBuild::Plat: return travel;
    default: return 0.0;
  }
}

DoomMeasure SpeedPerSecond(int eighthsPerTic) {
  // eighths * 35 / 8 units a second, in thousandths of a unit.
  return DoomMeasure{static_cast<int64_t>(eighthsPerTic) * 4375};
}

std::string Seconds(double seconds) {
  if (seconds < 0) return "-1";
  char text[32];
  std::snprintf(text, sizeof text, "%.4f", seconds);
  std::string out(text);
  while (out.back() == '0') out.pop_back();
  if (out.back() == '.') out.pop_back();
  return out;
}

MapEntity MoverEntity(const Mover& mover, std::vector<Prism> slabs) {
  MapEntity e;
  switch (mover.build) {
    case MoverBuild::Plat:
    case MoverBuild::Lift:
    case MoverBuild::PerpetualLift: e.Set("classname", "func_plat"); break;
    case MoverBuild::Riser: e.Set("classname", "func_riser"); break;
    default: e.Set("classname", "func_door"); break;
  }
  NameBrushEntity(e, MoverName(mover));
  e.Set("doom_sector", std::to_string(mover.sector));
  switch (mover.build) {
    case MoverBuild::Plat:
    case MoverBuild::Lift:
    case MoverBuild::PerpetualLift: PlatKeys(mover, e); break;
    case MoverBuild::Riser: RiserKeys(mover, e); break;
    default: DoorKeys(mover, e); break;
  }
  e.brushes = std::move(slabs);
  return e;
}

}  // namespace zaro3
