// NextLevel: where DOOM goes when a level is left by its exit or its secret exit.
//
// DOOM's rules: ExMy goes to ExM(y+1), and ExM8 ends the episode; a secret exit
// goes to ExM9, whose normal exit returns to E1M4, E2M6, E3M7 or E4M3. MAPxx
// goes to MAPxx+1 and MAP30 ends the game; a secret exit leaves MAP15 for MAP31
// and MAP31 for MAP32 (elsewhere it is a normal exit); MAP31 and MAP32 return to
// MAP16. Any other level name ends the game. The name is matched without case.
#pragma once

#include <string>

namespace zaro3 {

struct LevelAfter {
  bool endOfGame = false;  // the episode or the game ends here
  std::string level;       // otherwise the next level's name, upper case (MAP02)
};

LevelAfter NextLevel(const std::string& levelName, bool secret);

}  // namespace zaro3
