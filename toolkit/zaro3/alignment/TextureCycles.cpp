#include "TextureCycles.h"

#include "WadFile.h"

namespace zaro3 {

namespace {

constexpr int kDoomTicsPerFrame = 8;

// DOOM's animation ranges (first, last), flats then textures.
const char* const kFlatRanges[][2] = {
    {"NUKAGE1", "NUKAGE3"}, {"FWATER1", "FWATER4"}, {"SWATER1", "SWATER4"}, {"LAVA1", "LAVA4"},
    {"BLOOD1", "BLOOD3"},   {"RROCK05", "RROCK08"}, {"SLIME01", "SLIME04"}, {"SLIME05", "SLIME08"},
    {"SLIME09", "SLIME12"},
};
const char* const kTextureRanges[][2] = {
    {"BLODGR1", "BLODGR4"},   {"SLADRIP1", "SLADRIP3"}, {"BLODRIP1", "BLODRIP4"}, {"FIREWALA", "FIREWALL"},
    {"GSTFONT1", "GSTFONT3"}, {"FIRELAV3", "FIRELAVA"}, {"FIREMAG1", "FIREMAG3"}, {"FIREBLU1", "FIREBLU2"},
    {"ROCKRED1", "ROCKRED3"}, {"BFALL1", "BFALL4"},     {"SFALL1", "SFALL4"},     {"WFALL1", "WFALL4"},
    {"DBRAIN1", "DBRAIN4"},
};
// DOOM's switch list: the shareware, registered and commercial groups together.
const char* const kSwitchNames[] = {
    "BRCOM", "BRN1",  "BRN2",  "BRNGN", "BROWN", "COMM",  "COMP",  "DIRT",  "EXIT",  "GRAY",  "GRAY1",
    "METAL", "PIPE",  "SLAD",  "STARG", "STON1", "STON2", "STONE", "STRTN", "BLUE",  "CMT",   "GARG",
    "GSTON", "HOT",   "LION",  "SATYR", "SKIN",  "VINE",  "WOOD",  "PANEL", "ROCK",  "MET2",  "WDMET",
    "BRIK",  "MOD1",  "ZIM",   "STON6", "TEK",   "MARB",  "SKULL",
};

// Boom's lump records: ANIMATED 23 bytes (kind, last, first, tics), SWITCHES 20 (off, on, episode).
constexpr std::size_t kAnimatedRecord = 23;
constexpr std::size_t kSwitchesRecord = 20;
constexpr uint8_t kAnimatedEnd = 0xFF;

std::string Name9(std::string_view bytes, std::size_t at) {
  std::string name;
  for (std::size_t i = 0; i < 9 && bytes[at + i] != '\0'; ++i) name += bytes[at + i];
  return wad::UpperName(name);
}

const Cycle* FindCycle(const std::map<std::string, Cycle>& cycles, const std::string& name) {
  const auto found = cycles.find(wad::UpperName(name));
  return found == cycles.end() ? nullptr : &found->second;
}

}  // namespace

const Cycle* ResolvedCycles::TextureCycle(const std::string& name) const { return FindCycle(textures, name); }
const Cycle* ResolvedCycles::FlatCycle(const std::string& name) const { return FindCycle(flats, name); }

std::string ResolvedCycles::SwitchPartner(const std::string& name) const {
  const auto found = switchPartners.find(wad::UpperName(name));
  return found == switchPartners.end() ? "" : found->second;
}

TextureCycles TextureCycles::Builtin() {
  TextureCycles cycles;
  for (const auto& range : kFlatRanges) cycles.m_animations.push_back({false, range[0], range[1], kDoomTicsPerFrame});
  for (const auto& range : kTextureRanges) cycles.m_animations.push_back({true, range[0], range[1], kDoomTicsPerFrame});
  for (const char* name : kSwitchNames) cycles.m_switches.push_back({std::string("SW1") + name, std::string("SW2") + name});
  return cycles;
}

bool TextureCycles::ReplaceAnimations(std::string_view lump) {
  std::vector<AnimationRange> ranges;
  std::size_t at = 0;
  for (; at + 1 <= lump.size() && static_cast<uint8_t>(lump[at]) != kAnimatedEnd; at += kAnimatedRecord) {
    if (at + kAnimatedRecord > lump.size()) return false;
    AnimationRange range;
    range.texture = (static_cast<uint8_t>(lump[at]) & 1) != 0;
    range.last = Name9(lump, at + 1);
    range.first = Name9(lump, at + 10);
    range.tics = wad::ReadI32(lump, at + 19);
    if (range.tics > 0 && !range.first.empty() && !range.last.empty()) ranges.push_back(range);
  }
  if (at >= lump.size() && ranges.empty()) return false;
  m_animations = std::move(ranges);
  return true;
}

bool TextureCycles::ReplaceSwitches(std::string_view lump) {
  std::vector<SwitchPair> pairs;
  std::size_t at = 0;
  for (; at + kSwitchesRecord <= lump.size(); at += kSwitchesRecord) {
    if (wad::ReadI16(lump, at + 18) == 0) break;
    pairs.push_back({Name9(lump, at), Name9(lump, at + 9)});
  }
  if (pairs.empty()) return false;
  m_switches = std::move(pairs);
  return true;
}

ResolvedCycles TextureCycles::Resolve(const MaterialCatalog& catalog) const {
  ResolvedCycles resolved;
  for (const AnimationRange& range : m_animations) {
    Cycle cycle;
    cycle.frames = range.texture ? catalog.TexturesFrom(range.first, range.last) : catalog.FlatsFrom(range.first, range.last);
    cycle.tics = range.tics;
    if (cycle.frames.size() < 2) continue;
    auto& into = range.texture ? resolved.textures : resolved.flats;
    for (const std::string& frame : cycle.frames) into[frame] = cycle;
  }
  for (const SwitchPair& pair : m_switches) {
    resolved.switchPartners[pair.off] = pair.on;
    resolved.switchPartners[pair.on] = pair.off;
  }
  return resolved;
}

}  // namespace zaro3
