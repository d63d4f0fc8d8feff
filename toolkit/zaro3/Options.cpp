#include "Options.h"

#include <algorithm>
#include <cctype>

namespace zaro3 {

namespace {

// Enough digits for "%f" output (six decimals) while mantissa * DOOM
// coordinate * 10 stays far inside 64 bits.
constexpr int kMaxDecimals = 9;

bool TextureFlag(const std::string& arg, TextureSet& set) {
  if (arg == "-doom") set = TextureSet::Doom;
  else if (arg == "-doom2") set = TextureSet::Doom2;
  else if (arg == "-tnt") set = TextureSet::Tnt;
  else if (arg == "-plutonia") set = TextureSet::Plutonia;
  else if (arg == "-custom") set = TextureSet::Custom;
  else return false;
  return true;
}

bool BoolFlag(const std::string& arg, Options& options) {
  if (arg == "-nowall") options.noWall = true;
  else if (arg == "-noceil") options.noCeiling = true;
  else if (arg == "-nofloor") options.noFloor = true;
  else if (arg == "-nomove") options.noMove = true;
  else if (arg == "-noent") options.noEntities = true;
  else if (arg == "-bound") options.bound = true;
  else if (arg == "-direct") options.direct = true;
  else return false;
  return true;
}

}  // namespace

std::string UsageText() {
  return "usage: zaro3 <wad> <level> [-nowall] [-noceil] [-nofloor] [-nomove] [-noent] [-bound] "
         "[-direct] [-scale F] [-doom] [-doom2] [-tnt] [-plutonia] [-custom]";
}

Scale ParseScale(const std::string& text) {
  const std::string bad = "bad scale \"" + text + "\": expected a decimal number above 0 and at most " +
                          std::to_string(kMaxScale);
  std::size_t i = 0;
  if (i < text.size() && text[i] == '+') ++i;
  int64_t mantissa = 0;
  int decimals = 0;
  bool point = false;
  bool digits = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '.' && !point) {
      point = true;
      continue;
    }
    if (!std::isdigit(static_cast<unsigned char>(c))) throw UsageError(bad);
    digits = true;
    if (point) {
      if (decimals == kMaxDecimals) {
        if (c != '0') throw UsageError(bad);  // more precision than we keep exactly
        continue;
      }
      ++decimals;
    }
    mantissa = mantissa * 10 + (c - '0');
    if (mantissa > kMaxScale * 1000000000LL * 10) throw UsageError(bad);
  }
  if (!digits) throw UsageError(bad);
  while (decimals > 0 && mantissa % 10 == 0) {
    mantissa /= 10;
    --decimals;
  }
  int64_t unit = 1;
  for (int d = 0; d < decimals; ++d) unit *= 10;
  if (mantissa <= 0 || mantissa > kMaxScale * unit) throw UsageError(bad);
  return Scale{mantissa, decimals};
}

Options ParseOptions(const std::vector<std::string>& args) {
  Options options;
  std::vector<std::string> positional;
  std::vector<TextureSet> sets;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    TextureSet set;
    if (BoolFlag(arg, options)) continue;
    if (TextureFlag(arg, set)) {
      sets.push_back(set);
      continue;
    }
    if (arg == "-scale") {
      if (i + 1 == args.size()) throw UsageError("-scale needs a number");
      options.scale = ParseScale(args[++i]);
      continue;
    }
    if (!arg.empty() && arg[0] == '-') throw UsageError("unknown option " + arg);
    positional.push_back(arg);
  }
  if (positional.size() != 2) throw UsageError(UsageText());
  options.wadPath = positional[0];
  options.levelName = positional[1];
  if (options.wadPath.empty() || options.levelName.empty()) throw UsageError(UsageText());
  std::sort(sets.begin(), sets.end());
  sets.erase(std::unique(sets.begin(), sets.end()), sets.end());
  options.textureSets = sets;
  return options;
}

}  // namespace zaro3
