#include "LineActions.h"

#include <algorithm>
#include <vector>

namespace zaro3 {

namespace {

// Speeds in eighths of a unit per tic.
constexpr int kDoorSlow = 16, kDoorFast = 64;
constexpr int kFloorSlow = 8, kFloorFast = 32, kPlatSlow = 4;
constexpr int kLiftSlow = 32, kLiftFast = 64, kPerpetual = 8;
constexpr int kCeilingSlow = 8, kCrusherFast = 16;
constexpr int kStairsSlow = 2, kStairsFast = 32, kDonut = 4, kElevator = 32;
// Waits in tics.
constexpr int kDoorWait = 150, kDoorLongWait = 1050, kLiftWait = 105;

constexpr Activation W = Activation::Walk, S = Activation::Switch, G = Activation::Gun, D = Activation::Manual;

LineSpecial Base(int type, SpecialKind kind, Activation activation, bool repeatable) {
  LineSpecial s;
  s.type = type;
  s.kind = kind;
  s.activation = activation;
  s.repeatable = repeatable;
  return s;
}

LineSpecial Door(int type, Activation a, bool rep, DoorKind kind, int speed, KeyLock key = KeyLock::None,
                 bool monsters = false) {
  LineSpecial s = Base(type, SpecialKind::Door, a, rep);
  s.door = kind;
  s.speed = speed;
  s.waitTics = kind == DoorKind::CloseWaitOpen ? kDoorLongWait : kDoorWait;
  s.key = key;
  s.monsters = monsters;
  return s;
}

LineSpecial Move(int type, SpecialKind kind, Activation a, bool rep, HeightTarget target, int direction, int speed,
                 int amount = 0) {
  LineSpecial s = Base(type, kind, a, rep);
  s.target = target;
  s.direction = direction;
  s.speed = speed;
  s.amount = amount;
  return s;
}

LineSpecial Floor(int type, Activation a, bool rep, HeightTarget target, int direction, int speed, int amount = 0) {
  return Move(type, SpecialKind::Floor, a, rep, target, direction, speed, amount);
}

LineSpecial Ceiling(int type, Activation a, bool rep, HeightTarget target, int direction, int speed, int amount = 0) {
  return Move(type, SpecialKind::Ceiling, a, rep, target, direction, speed, amount);
}

LineSpecial Changing(LineSpecial s) {
  s.changesTexture = true;
  return s;
}

LineSpecial Crushing(LineSpecial s) {
  s.crush = true;
  return s;
}

LineSpecial Lift(int type, Activation a, bool rep, int speed, bool monsters = false) {
  LineSpecial s = Move(type, SpecialKind::Lift, a, rep, HeightTarget::LowestFloor, -1, speed);
  s.waitTics = kLiftWait;
  s.monsters = monsters;
  return s;
}

LineSpecial Perpetual(int type, Activation a, bool rep) {
  LineSpecial s = Base(type, SpecialKind::PerpetualLift, a, rep);
  s.speed = kPerpetual;
  s.waitTics = kLiftWait;
  return s;
}

LineSpecial Crusher(int type, Activation a, bool rep, int speed) {
  LineSpecial s = Base(type, SpecialKind::Crusher, a, rep);
  s.speed = speed;
  s.crush = true;
  return s;
}

LineSpecial Stairs(int type, Activation a, bool rep, int step, int speed) {
  LineSpecial s = Base(type, SpecialKind::Stairs, a, rep);
  s.amount = step;
  s.direction = 1;
  s.speed = speed;
  return s;
}

LineSpecial Elevator(int type, Activation a, bool rep, HeightTarget target, int direction) {
  return Move(type, SpecialKind::Elevator, a, rep, target, direction, kElevator);
}

LineSpecial Exit(int type, Activation a, bool secret) {
  LineSpecial s = Base(type, SpecialKind::Exit, a, false);
  s.secret = secret;
  return s;
}

LineSpecial Teleport(int type, Activation a, bool rep, bool monstersOnly, SpecialKind kind = SpecialKind::Teleport) {
  LineSpecial s = Base(type, kind, a, rep);
  s.monsters = true;
  s.monstersOnly = monstersOnly;
  return s;
}

LineSpecial Light(int type, Activation a, bool rep, LightTarget target, int level = 0) {
  LineSpecial s = Base(type, SpecialKind::Light, a, rep);
  s.light = target;
  s.lightLevel = level;
  return s;
}

LineSpecial Effect(int type, SpecialKind kind = SpecialKind::Effect) { return Base(type, kind, W, false); }

std::vector<LineSpecial> BuildTable() {
  using H = HeightTarget;
  using DK = DoorKind;
  using K = KeyLock;
  std::vector<LineSpecial> t = {
      // Doors.
      Door(1, D, true, DK::OpenWaitClose, kDoorSlow, K::None, true),
      Door(2, W, false, DK::OpenStay, kDoorSlow), Door(3, W, false, DK::CloseStay, kDoorSlow),
      Door(4, W, false, DK::OpenWaitClose, kDoorSlow, K::None, true), Door(16, W, false, DK::CloseWaitOpen, kDoorSlow),
      Door(26, D, true, DK::OpenWaitClose, kDoorSlow, K::Blue), Door(27, D, true, DK::OpenWaitClose, kDoorSlow, K::Yellow),
      Door(28, D, true, DK::OpenWaitClose, kDoorSlow, K::Red), Door(29, S, false, DK::OpenWaitClose, kDoorSlow),
      Door(31, D, false, DK::OpenStay, kDoorSlow), Door(32, D, false, DK::OpenStay, kDoorSlow, K::Blue),
      Door(33, D, false, DK::OpenStay, kDoorSlow, K::Red), Door(34, D, false, DK::OpenStay, kDoorSlow, K::Yellow),
      Door(42, S, true, DK::CloseStay, kDoorSlow), Door(46, G, true, DK::OpenStay, kDoorSlow, K::None, true),
      Door(50, S, false, DK::CloseStay, kDoorSlow), Door(61, S, true, DK::OpenStay, kDoorSlow),
      Door(63, S, true, DK::OpenWaitClose, kDoorSlow), Door(75, W, true, DK::CloseStay, kDoorSlow),
      Door(76, W, true, DK::CloseWaitOpen, kDoorSlow), Door(86, W, true, DK::OpenStay, kDoorSlow),
      Door(90, W, true, DK::OpenWaitClose, kDoorSlow), Door(99, S, true, DK::OpenStay, kDoorFast, K::Blue),
      Door(103, S, false, DK::OpenStay, kDoorSlow), Door(105, W, true, DK::OpenWaitClose, kDoorFast),
      Door(106, W, true, DK::OpenStay, kDoorFast), Door(107, W, true, DK::CloseStay, kDoorFast),
      Door(108, W, false, DK::OpenWaitClose, kDoorFast), Door(109, W, false, DK::OpenStay, kDoorFast),
      Door(110, W, false, DK::CloseStay, kDoorFast), Door(111, S, false, DK::OpenWaitClose, kDoorFast),
      Door(112, S, false, DK::OpenStay, kDoorFast), Door(113, S, false, DK::CloseStay, kDoorFast),
      Door(114, S, true, DK::OpenWaitClose, kDoorFast), Door(115, S, true, DK::OpenStay, kDoorFast),
      Door(116, S, true, DK::CloseStay, kDoorFast), Door(117, D, true, DK::OpenWaitClose, kDoorFast),
      Door(118, D, false, DK::OpenStay, kDoorFast), Door(133, S, false, DK::OpenStay, kDoorFast, K::Blue),
      Door(134, S, true, DK::OpenStay, kDoorFast, K::Red), Door(135, S, false, DK::OpenStay, kDoorFast, K::Red),
      Door(136, S, true, DK::OpenStay, kDoorFast, K::Yellow), Door(137, S, false, DK::OpenStay, kDoorFast, K::Yellow),
      Door(175, S, false, DK::CloseWaitOpen, kDoorSlow), Door(196, S, true, DK::CloseWaitOpen, kDoorSlow),
      // Floors that move to a height and stay.
      Floor(5, W, false, H::LowestCeiling, 1, kFloorSlow), Floor(18, S, false, H::NextFloor, 1, kFloorSlow),
      Floor(19, W, false, H::HighestFloor, -1, kFloorSlow), Floor(23, S, false, H::LowestFloor, -1, kFloorSlow),
      Floor(24, G, false, H::LowestCeiling, 1, kFloorSlow), Floor(30, W, false, H::ShortestLowerTexture, 1, kFloorSlow),
      Floor(36, W, false, H::HighestFloorPlus8, -1, kFloorFast),
      Changing(Floor(37, W, false, H::LowestFloor, -1, kFloorSlow)), Floor(38, W, false, H::LowestFloor, -1, kFloorSlow),
      Floor(45, S, true, H::HighestFloor, -1, kFloorSlow),
      Crushing(Floor(55, S, false, H::LowestCeilingMinus8, 1, kFloorSlow)),
      Crushing(Floor(56, W, false, H::LowestCeilingMinus8, 1, kFloorSlow)),
      Floor(58, W, false, H::ByAmount, 1, kFloorSlow, 24), Changing(Floor(59, W, false, H::ByAmount, 1, kFloorSlow, 24)),
      Floor(60, S, true, H::LowestFloor, -1, kFloorSlow), Floor(64, S, true, H::LowestCeiling, 1, kFloorSlow),
      Crushing(Floor(65, S, true, H::LowestCeilingMinus8, 1, kFloorSlow)), Floor(69, S, true, H::NextFloor, 1, kFloorSlow),
      Floor(70, S, true, H::HighestFloorPlus8, -1, kFloorFast), Floor(71, S, false, H::HighestFloorPlus8, -1, kFloorFast),
      Floor(82, W, true, H::LowestFloor, -1, kFloorSlow), Floor(83, W, true, H::HighestFloor, -1, kFloorSlow),
      Changing(Floor(84, W, true, H::LowestFloor, -1, kFloorSlow)), Floor(91, W, true, H::LowestCeiling, 1, kFloorSlow),
      Floor(92, W, true, H::ByAmount, 1, kFloorSlow, 24), Changing(Floor(93, W, true, H::ByAmount, 1, kFloorSlow, 24)),
      Crushing(Floor(94, W, true, H::LowestCeilingMinus8, 1, kFloorSlow)),
      Floor(96, W, true, H::ShortestLowerTexture, 1, kFloorSlow), Floor(98, W, true, H::HighestFloorPlus8, -1, kFloorFast),
      Floor(101, S, false, H::LowestCeiling, 1, kFloorSlow), Floor(102, S, false, H::HighestFloor, -1, kFloorSlow),
      Floor(119, W, false, H::NextFloor, 1, kFloorSlow), Floor(128, W, true, H::NextFloor, 1, kFloorSlow),
      Floor(129, W, true, H::NextFloor, 1, kFloorFast), Floor(130, W, false, H::NextFloor, 1, kFloorFast),
      Floor(131, S, false, H::NextFloor, 1, kFloorFast), Floor(132, S, true, H::NextFloor, 1, kFloorFast),
      Floor(140, S, false, H::ByAmount, 1, kFloorSlow, 512), Floor(142, W, false, H::ByAmount, 1, kFloorSlow, 512),
      Floor(147, W, true, H::ByAmount, 1, kFloorSlow, 512), Changing(Floor(159, S, false, H::LowestFloor, -1, kFloorSlow)),
      Changing(Floor(160, S, false, H::ByAmount, 1, kFloorSlow, 24)), Floor(161, S, false, H::ByAmount, 1, kFloorSlow, 24),
      Floor(158, S, false, H::ShortestLowerTexture, 1, kFloorSlow),
      Floor(176, S, true, H::ShortestLowerTexture, 1, kFloorSlow),
      Changing(Floor(177, S, true, H::LowestFloor, -1, kFloorSlow)), Floor(178, S, true, H::ByAmount, 1, kFloorSlow, 512),
      Changing(Floor(179, S, true, H::ByAmount, 1, kFloorSlow, 24)), Floor(180, S, true, H::ByAmount, 1, kFloorSlow, 24),
      Floor(219, W, false, H::NextFloor, -1, kFloorSlow), Floor(220, W, true, H::NextFloor, -1, kFloorSlow),
      Floor(221, S, false, H::NextFloor, -1, kFloorSlow), Floor(222, S, true, H::NextFloor, -1, kFloorSlow),
      // Platforms that rise and change their flat (DOOM moves them at half a unit a tic).
      Changing(Floor(14, S, false, H::ByAmount, 1, kPlatSlow, 32)), Changing(Floor(15, S, false, H::ByAmount, 1, kPlatSlow, 24)),
      Changing(Floor(20, S, false, H::NextFloor, 1, kPlatSlow)), Changing(Floor(22, W, false, H::NextFloor, 1, kPlatSlow)),
      Changing(Floor(47, G, false, H::NextFloor, 1, kPlatSlow)), Changing(Floor(66, S, true, H::ByAmount, 1, kPlatSlow, 24)),
      Changing(Floor(67, S, true, H::ByAmount, 1, kPlatSlow, 32)), Changing(Floor(68, S, true, H::NextFloor, 1, kPlatSlow)),
      Changing(Floor(95, W, true, H::NextFloor, 1, kPlatSlow)), Changing(Floor(143, W, false, H::ByAmount, 1, kPlatSlow, 24)),
      Changing(Floor(144, W, false, H::ByAmount, 1, kPlatSlow, 32)), Changing(Floor(148, W, true, H::ByAmount, 1, kPlatSlow, 24)),
      Changing(Floor(149, W, true, H::ByAmount, 1, kPlatSlow, 32)),
      // Ceilings that move to a height and stay.
      Ceiling(41, S, false, H::OwnFloor, -1, kCeilingSlow), Ceiling(43, S, true, H::OwnFloor, -1, kCeilingSlow),
      Ceiling(44, W, false, H::OwnFloorPlus8, -1, kCeilingSlow), Ceiling(72, W, true, H::OwnFloorPlus8, -1, kCeilingSlow),
      Ceiling(145, W, false, H::OwnFloor, -1, kCeilingSlow), Ceiling(152, W, true, H::OwnFloor, -1, kCeilingSlow),
      Ceiling(151, W, true, H::HighestCeiling, 1, kCeilingSlow), Ceiling(166, S, false, H::HighestCeiling, 1, kCeilingSlow),
      Ceiling(186, S, true, H::HighestCeiling, 1, kCeilingSlow), Ceiling(167, S, false, H::OwnFloorPlus8, -1, kCeilingSlow),
      Ceiling(187, S, true, H::OwnFloorPlus8, -1, kCeilingSlow), Ceiling(199, W, false, H::LowestCeiling, -1, kCeilingSlow),
      Ceiling(201, W, true, H::LowestCeiling, -1, kCeilingSlow), Ceiling(203, S, false, H::LowestCeiling, -1, kCeilingSlow),
      Ceiling(205, S, true, H::LowestCeiling, -1, kCeilingSlow), Ceiling(200, W, false, H::HighestFloor, -1, kCeilingSlow),
      Ceiling(202, W, true, H::HighestFloor, -1, kCeilingSlow), Ceiling(204, S, false, H::HighestFloor, -1, kCeilingSlow),
      Ceiling(206, S, true, H::HighestFloor, -1, kCeilingSlow),
      // Lifts.
      Lift(10, W, false, kLiftSlow, true), Lift(21, S, false, kLiftSlow), Lift(62, S, true, kLiftSlow),
      Lift(88, W, true, kLiftSlow, true), Lift(120, W, true, kLiftFast), Lift(121, W, false, kLiftFast),
      Lift(122, S, false, kLiftFast), Lift(123, S, true, kLiftFast),
      Perpetual(53, W, false), Perpetual(87, W, true), Perpetual(162, S, false), Perpetual(181, S, true),
      Base(54, SpecialKind::StopLift, W, false), Base(89, SpecialKind::StopLift, W, true),
      Base(163, SpecialKind::StopLift, S, false), Base(182, SpecialKind::StopLift, S, true),
      // Crushers.
      Crusher(6, W, false, kCrusherFast), Crusher(25, W, false, kCeilingSlow), Crusher(49, S, false, kCeilingSlow),
      Crusher(73, W, true, kCeilingSlow), Crusher(77, W, true, kCrusherFast), Crusher(141, W, false, kCeilingSlow),
      Crusher(150, W, true, kCeilingSlow), Crusher(164, S, false, kCrusherFast), Crusher(165, S, false, kCeilingSlow),
      Crusher(183, S, true, kCrusherFast), Crusher(184, S, true, kCeilingSlow), Crusher(185, S, true, kCeilingSlow),
      Base(57, SpecialKind::StopCrusher, W, false), Base(74, SpecialKind::StopCrusher, W, true),
      Base(168, SpecialKind::StopCrusher, S, false), Base(188, SpecialKind::StopCrusher, S, true),
      // Stairs, donuts, elevators.
      Stairs(7, S, false, 8, kStairsSlow), Stairs(8, W, false, 8, kStairsSlow), Stairs(100, W, false, 16, kStairsFast),
      Stairs(127, S, false, 16, kStairsFast), Stairs(256, W, true, 8, kStairsSlow), Stairs(257, W, true, 16, kStairsFast),
      Stairs(258, S, true, 8, kStairsSlow), Stairs(259, S, true, 16, kStairsFast),
      Base(9, SpecialKind::Donut, S, false), Base(146, SpecialKind::Donut, W, false),
      Base(155, SpecialKind::Donut, W, true), Base(191, SpecialKind::Donut, S, true),
      Elevator(227, W, false, H::NextFloor, 1), Elevator(228, W, true, H::NextFloor, 1),
      Elevator(229, S, false, H::NextFloor, 1), Elevator(230, S, true, H::NextFloor, 1),
      Elevator(231, W, false, H::NextFloor, -1), Elevator(232, W, true, H::NextFloor, -1),
      Elevator(233, S, false, H::NextFloor, -1), Elevator(234, S, true, H::NextFloor, -1),
      // Exits and teleports.
      Exit(11, S, false), Exit(51, S, true), Exit(52, W, false), Exit(124, W, true), Exit(197, G, false),
      Exit(198, G, true),
      Teleport(39, W, false, false), Teleport(97, W, true, false), Teleport(125, W, false, true),
      Teleport(126, W, true, true), Teleport(174, S, false, false), Teleport(195, S, true, false),
      Teleport(207, W, false, false), Teleport(208, W, true, false), Teleport(209, S, false, false),
      Teleport(210, S, true, false), Teleport(268, W, false, true), Teleport(269, W, true, true),
      Teleport(243, W, false, false, SpecialKind::LineTeleport), Teleport(244, W, true, false, SpecialKind::LineTeleport),
      Teleport(262, W, false, false, SpecialKind::LineTeleport), Teleport(263, W, true, false, SpecialKind::LineTeleport),
      Teleport(264, W, false, true, SpecialKind::LineTeleport), Teleport(265, W, true, true, SpecialKind::LineTeleport),
      Teleport(266, W, false, true, SpecialKind::LineTeleport), Teleport(267, W, true, true, SpecialKind::LineTeleport),
      // Lights.
      Light(12, W, false, LightTarget::BrightestNeighbour), Light(13, W, false, LightTarget::Level, 255),
      Light(17, W, false, LightTarget::Blink), Light(35, W, false, LightTarget::Level, 35),
      Light(79, W, true, LightTarget::Level, 35), Light(80, W, true, LightTarget::BrightestNeighbour),
      Light(81, W, true, LightTarget::Level, 255), Light(104, W, false, LightTarget::DimmestNeighbour),
      Light(138, S, true, LightTarget::Level, 255), Light(139, S, true, LightTarget::Level, 35),
      Light(156, W, true, LightTarget::Blink), Light(157, W, true, LightTarget::DimmestNeighbour),
      Light(169, S, false, LightTarget::BrightestNeighbour), Light(170, S, false, LightTarget::Level, 35),
      Light(171, S, false, LightTarget::Level, 255), Light(172, S, false, LightTarget::Blink),
      Light(173, S, false, LightTarget::DimmestNeighbour), Light(192, S, true, LightTarget::BrightestNeighbour),
      Light(193, S, true, LightTarget::Blink), Light(194, S, true, LightTarget::DimmestNeighbour),
      // Texture effects the materials carry, and effects with no entity.
      Effect(48, SpecialKind::Scroll), Effect(85, SpecialKind::Scroll),
  };
  for (int type : {245, 246, 247, 248, 249, 250, 251, 252, 253, 254, 255, 214, 215, 216, 217, 218}) {
    t.push_back(Effect(type, SpecialKind::Scroll));
  }
  for (int type : {78, 153, 154, 189, 190, 239, 240, 241, 211, 212, 213, 223, 224, 225, 226, 242, 260, 261, 271, 272}) {
    t.push_back(Effect(type));
  }
  // Type 40 also asks DOOM to lower the floor, but the ceiling's mover has taken the
  // sector by then, so DOOM never does.
  t.push_back(Ceiling(40, W, false, H::HighestCeiling, 1, kCeilingSlow));
  std::sort(t.begin(), t.end(), [](const LineSpecial& a, const LineSpecial& b) { return a.type < b.type; });
  return t;
}

const std::vector<LineSpecial>& Table() {
  static const std::vector<LineSpecial> table = BuildTable();
  return table;
}

// Boom's generalized types: bits 0-2 the trigger, 3-4 the speed, the rest by range.
void DecodeTrigger(int bits, LineSpecial& s) {
  static constexpr Activation kActivation[] = {W, W, S, S, G, G, D, D};
  s.activation = kActivation[bits & 7];
  s.repeatable = (bits & 1) != 0;
}

LineSpecial DecodeGeneralized(int type) {
  LineSpecial s;
  s.type = type;
  DecodeTrigger(type, s);
  const int speedIndex = (type >> 3) & 3;
  using H = HeightTarget;
  if (type >= 0x4000) {
    const bool floor = type >= 0x6000;
    s.kind = floor ? SpecialKind::Floor : SpecialKind::Ceiling;
    s.speed = kFloorSlow << speedIndex;
    s.direction = (type & 0x40) ? 1 : -1;
    const int change = (type >> 10) & 3;
    s.changesTexture = change != 0;
    s.monsters = change == 0 && (type & 0x20);
    s.crush = (type & 0x1000) != 0;
    static constexpr H kFloorTargets[] = {H::HighestFloor, H::LowestFloor,  H::NextFloor, H::LowestCeiling,
                                          H::OwnCeiling,   H::ShortestLowerTexture, H::ByAmount, H::ByAmount};
    static constexpr H kCeilingTargets[] = {H::HighestCeiling, H::LowestCeiling, H::NextCeiling, H::HighestFloor,
                                            H::OwnFloor,       H::ShortestUpperTexture, H::ByAmount, H::ByAmount};
    const int target = (type >> 7) & 7;
    s.target = floor ? kFloorTargets[target] : kCeilingTargets[target];
    if (target == 6) s.amount = 24;
    if (target == 7) s.amount = 32;
  } else if (type >= 0x3C00) {
    static constexpr DoorKind kKinds[] = {DoorKind::OpenWaitClose, DoorKind::OpenStay, DoorKind::CloseWaitOpen,
                                          DoorKind::CloseStay};
    static constexpr int kDelays[] = {35, 150, 300, 1050};
    s.kind = SpecialKind::Door;
    s.speed = kDoorSlow << speedIndex;
    s.door = kKinds[(type >> 5) & 3];
    s.monsters = (type & 0x80) != 0;
    s.waitTics = kDelays[(type >> 8) & 3];
  } else if (type >= 0x3800) {
    static constexpr KeyLock kLocks[] = {KeyLock::Any, KeyLock::Red, KeyLock::Blue, KeyLock::Yellow,
                                         KeyLock::Red, KeyLock::Blue, KeyLock::Yellow, KeyLock::All};
    s.kind = SpecialKind::Door;
    s.speed = kDoorSlow << speedIndex;
    s.door = (type & 0x20) ? DoorKind::OpenStay : DoorKind::OpenWaitClose;
    s.waitTics = kDoorWait;
    s.key = kLocks[(type >> 6) & 7];
  } else if (type >= 0x3400) {
    static constexpr int kDelays[] = {35, 105, 165, 350};
    const int target = (type >> 8) & 3;
    s.kind = target == 3 ? SpecialKind::PerpetualLift : SpecialKind::Lift;
    s.speed = kFloorSlow << speedIndex;
    s.monsters = (type & 0x20) != 0;
    s.waitTics = kDelays[(type >> 6) & 3];
    s.direction = -1;
    s.target = target == 0 ? H::LowestFloor : target == 1 ? H::NextFloor : H::LowestCeiling;
  } else if (type >= 0x3000) {
    static constexpr int kSteps[] = {4, 8, 16, 24};
    static constexpr int kSpeeds[] = {2, 4, 16, 32};
    s.kind = SpecialKind::Stairs;
    s.speed = kSpeeds[speedIndex];
    s.monsters = (type & 0x20) != 0;
    s.amount = kSteps[(type >> 6) & 3];
    s.direction = (type & 0x100) ? 1 : -1;
    s.ignoreTexture = (type & 0x200) != 0;
  } else {
    s.kind = SpecialKind::Crusher;
    s.speed = kFloorSlow << speedIndex;
    s.monsters = (type & 0x20) != 0;
    s.crush = true;
  }
  return s;
}

}  // namespace

std::optional<LineSpecial> DecodeLineSpecial(int type) {
  if (type >= 0x2F80 && type <= 0x7FFF) return DecodeGeneralized(type);
  const auto& table = Table();
  const auto found = std::lower_bound(table.begin(), table.end(), type,
                                      [](const LineSpecial& s, int t) { return s.type < t; });
  if (found == table.end() || found->type != type) return std::nullopt;
  return *found;
}

const char* CategoryName(SpecialKind kind) {
  switch (kind) {
    case SpecialKind::Door: return "doors";
    case SpecialKind::Floor: return "floors";
    case SpecialKind::Ceiling: return "ceilings";
    case SpecialKind::Lift:
    case SpecialKind::PerpetualLift:
    case SpecialKind::StopLift: return "lifts";
    case SpecialKind::Crusher:
    case SpecialKind::StopCrusher: return "crushers";
    case SpecialKind::Stairs: return "stairs";
    case SpecialKind::Donut: return "donuts";
    case SpecialKind::Elevator: return "elevators";
    case SpecialKind::Exit: return "exits";
    case SpecialKind::Teleport:
    case SpecialKind::LineTeleport: return "teleports";
    case SpecialKind::Light: return "lights";
    case SpecialKind::Scroll: return "scrollers";
    case SpecialKind::Effect: return "other effects";
  }
  return "other effects";
}

const char* ActivationName(const LineSpecial& special) {
  switch (special.activation) {
    case Activation::Walk: return special.repeatable ? "WR" : "W1";
    case Activation::Switch: return special.repeatable ? "SR" : "S1";
    case Activation::Gun: return special.repeatable ? "GR" : "G1";
    case Activation::Manual: return special.repeatable ? "DR" : "D1";
  }
  return "";
}

}  // namespace zaro3
