// TextureCycles: DOOM's animated textures and flats and its switch pairs, as
// data, and what they mean for the textures a level's lists hold.
//
// The tables are DOOM's own (the animation ranges of p_spec.c, 8 tics a frame,
// and the switch list of p_switch.c, all three episode groups); a Boom
// ANIMATED lump replaces the animation table and a SWITCHES lump the switch
// list, as Boom does. A range runs from its first to its last name; DOOM takes
// the names between them in the wad's order, Resolve takes the listed names
// between them in name order (the same for every range of DOOM, DOOM II and
// Freedoom; a PWAD range whose wad order differs from its name order is
// resolved by name). A range whose ends are not both listed, or that holds
// fewer than two names, is left out, as DOOM leaves out an absent range.
// Values only; Resolve borrows the catalog for the call.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "MaterialCatalog.h"

namespace zaro3 {

struct AnimationRange {
  bool texture = false;  // false: a flat range
  std::string first;
  std::string last;
  int tics = 8;          // per frame, at 35 tics a second
};

struct SwitchPair {
  std::string off;  // SW1...
  std::string on;   // SW2...
};

// The frames of one animated texture or flat, in showing order.
struct Cycle {
  std::vector<std::string> frames;  // upper-case names
  int tics = 8;
};

// What the level's textures do: by upper-case name, the cycle it belongs to and its switch partner.
struct ResolvedCycles {
  std::map<std::string, Cycle> textures;
  std::map<std::string, Cycle> flats;
  std::map<std::string, std::string> switchPartners;  // both ways: SW1 -> SW2 and SW2 -> SW1

  const Cycle* TextureCycle(const std::string& name) const;
  const Cycle* FlatCycle(const std::string& name) const;
  std::string SwitchPartner(const std::string& name) const;  // "" when none
};

class TextureCycles {
public:
  // DOOM's own tables.
  static TextureCycles Builtin();

  // Replace the animation table by a Boom ANIMATED lump, or the switch list by a
  // SWITCHES lump; false (nothing replaced) when the lump is cut short or empty.
  bool ReplaceAnimations(std::string_view animatedLump);
  bool ReplaceSwitches(std::string_view switchesLump);

  ResolvedCycles Resolve(const MaterialCatalog& catalog) const;

  const std::vector<AnimationRange>& Animations() const { return m_animations; }
  const std::vector<SwitchPair>& Switches() const { return m_switches; }

private:
  std::vector<AnimationRange> m_animations;
  std::vector<SwitchPair> m_switches;
};

}  // namespace zaro3
