// Options: the converter's command line turned into plain values.
//
// ParseOptions accepts exactly the front-end's command line: a wad file name,
// a level name and the known flags in any order after them. It checks only
// the syntax (known flags, a sane scale); whether the wad and the level exist
// is found out later by the wad reader. The scale is kept as an exact decimal
// so that every written coordinate is exact.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "MapModel.h"

namespace zaro3 {

// The one exception type of the command line: a one-line usage message.
class UsageError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// Texture source list flags, in the order in which later ones win.
enum class TextureSet { Doom, Doom2, Tnt, Plutonia, Custom };

struct Options {
  std::string wadPath;
  std::string levelName;   // as typed; matched case-insensitively by the reader
  bool noWall = false;
  bool noCeiling = false;
  bool noFloor = false;
  bool noMove = false;
  bool noEntities = false;
  bool bound = false;
  bool direct = false;
  Scale scale;             // 1 unless -scale is given
  std::vector<TextureSet> textureSets;  // distinct, in the fixed precedence order
};

// The largest scale accepted: beyond it DOOM's coordinates leave DOOM 3's world.
constexpr int64_t kMaxScale = 64;

// Parses argv[1..]; throws UsageError naming the first bad argument.
Options ParseOptions(const std::vector<std::string>& args);

// Parses a positive plain decimal ("1.5", "1.500000", "2") no larger than
// kMaxScale into an exact, normalised Scale; throws UsageError.
Scale ParseScale(const std::string& text);

// The one-line usage text.
std::string UsageText();

}  // namespace zaro3
