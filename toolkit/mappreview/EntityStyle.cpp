#include "EntityStyle.h"

namespace mappreview {
namespace {

bool Has(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

bool HasAny(const std::string& text, std::initializer_list<const char*> parts) {
  for (const char* part : parts)
    if (Has(text, part)) return true;
  return false;
}

EntityKind KindOfHint(const std::string& hint) {
  if (hint == "monster") return EntityKind::Monster;
  if (hint == "weapon") return EntityKind::Weapon;
  if (hint == "ammo") return EntityKind::Ammo;
  if (hint == "health") return EntityKind::Health;
  if (hint == "armor") return EntityKind::Armor;
  if (hint == "powerup") return EntityKind::Powerup;
  if (hint == "key") return EntityKind::Key;
  return EntityKind::Other;
}

}  // namespace

EntityKind KindOf(const std::string& classname, const std::string& doomKind) {
  if (classname == "info_player_start") return EntityKind::PlayerStart;
  if (classname.rfind("info_player", 0) == 0 || doomKind == "start") return EntityKind::OtherStart;
  if (classname == "light" || classname.rfind("light_", 0) == 0) return EntityKind::Light;
  if (!doomKind.empty()) return KindOfHint(doomKind);
  // Monster names first: "shotgun_guy" is no shotgun, "lost_soul" no skull key.
  if (classname.rfind("monster_", 0) == 0 ||
      HasAny(classname, {"zombie", "shotgun_guy", "chaingunner", "imp", "demon", "spectre", "lost_soul", "knight",
                         "baron", "arachnotron", "pain_elemental", "revenant", "mancubus", "archvile",
                         "mastermind", "wolfenstein", "keen", "boss_brain"}))
    return EntityKind::Monster;
  if (HasAny(classname, {"keycard", "skull", "_key"})) return EntityKind::Key;
  if (HasAny(classname, {"shotgun", "chaingun", "launcher", "plasma", "chainsaw", "bfg"})) return EntityKind::Weapon;
  if (HasAny(classname, {"clip", "ammo", "shell", "rocket", "cell", "backpack"})) return EntityKind::Ammo;
  if (HasAny(classname, {"stimpack", "medikit", "health"})) return EntityKind::Health;
  if (Has(classname, "armor")) return EntityKind::Armor;
  if (HasAny(classname, {"sphere", "berserk", "invul", "invis", "radiation", "light_amp", "computer_map"}))
    return EntityKind::Powerup;
  return EntityKind::Other;
}

MarkStyle StyleOf(EntityKind kind) {
  switch (kind) {
    case EntityKind::PlayerStart: return {MarkStyle::Arrow, {90, 255, 120}, 4.0, 1.0, true};
    case EntityKind::OtherStart: return {MarkStyle::Arrow, {120, 200, 230}, 2.6, 0.8, true};
    case EntityKind::Monster: return {MarkStyle::Dot, {240, 50, 40}, 1.0, 1.0, true};
    case EntityKind::Light: return {MarkStyle::Dot, {255, 230, 90}, 0.45, 0.85, false};
    case EntityKind::Key: return {MarkStyle::Dot, {255, 80, 255}, 1.1, 1.0, true};
    case EntityKind::Weapon: return {MarkStyle::Dot, {255, 150, 30}, 0.95, 1.0, true};
    case EntityKind::Health: return {MarkStyle::Dot, {80, 200, 255}, 0.8, 1.0, true};
    case EntityKind::Armor: return {MarkStyle::Dot, {80, 230, 110}, 0.8, 1.0, true};
    case EntityKind::Ammo: return {MarkStyle::Dot, {220, 200, 120}, 0.7, 1.0, true};
    case EntityKind::Powerup: return {MarkStyle::Dot, {180, 110, 255}, 1.0, 1.0, true};
    case EntityKind::Other: break;
  }
  return {MarkStyle::Dot, {165, 165, 165}, 0.55, 0.8, false};
}

}  // namespace mappreview
