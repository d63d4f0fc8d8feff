#include "SectorActions.h"

namespace zaro3 {

namespace {

LightEffect LightOf(int code, bool& known) {
  switch (code) {
    case 0: return LightEffect::None;
    case 1: return LightEffect::RandomOff;
    case 2:
    case 4: return LightEffect::FastStrobe;
    case 3: return LightEffect::SlowStrobe;
    case 8: return LightEffect::Glow;
    case 12: return LightEffect::SyncSlowStrobe;
    case 13: return LightEffect::SyncFastStrobe;
    case 17: return LightEffect::FireFlicker;
    default:
      known = false;
      return LightEffect::None;
  }
}

}  // namespace

SectorSpecial DecodeSectorSpecial(int special) {
  SectorSpecial s;
  if (special >= 32) {
    // Boom's generalized types: the low five bits are DOOM's light codes.
    s.light = LightOf(special & 31, s.known);
    static constexpr int kDamage[] = {0, 5, 10, 20};
    s.damage = kDamage[(special >> 5) & 3];
    s.secret = (special & 128) != 0;
    return s;
  }
  switch (special) {
    case 5: s.damage = 10; break;
    case 7: s.damage = 5; break;
    case 16: s.damage = 20; break;
    case 4: s.damage = 20; break;
    case 9: s.secret = true; break;
    case 10: s.door = TimedDoor::CloseAfter30Seconds; break;
    case 11:
      s.damage = 20;
      s.exitWhenDying = true;
      break;
    case 14: s.door = TimedDoor::OpenAfter5Minutes; break;
    default: break;
  }
  if (special != 5 && special != 7 && special != 16 && special != 9 && special != 10 && special != 11 &&
      special != 14) {
    s.light = LightOf(special, s.known);
  }
  return s;
}

}  // namespace zaro3
