// Stand-in for the map converter in tests: logs how it was started and, like
// the real converter, leaves the level as a brush-format map named after it
// ("<level>.map") in its working folder. Arguments: <wad> <level> [options].
#include <cstdio>
#include <string>

#include "StandinRun.h"

namespace {

// One room-sized brush in the world, a player start, a light and one entity
// that already has a name: enough for the map tool and the game's compiler.
const char kConvertedMap[] =
    "{\n"
    "\"classname\" \"worldspawn\"\n"
    "{\n"
    "( -64 -64 -16 ) ( -64 -63 -16 ) ( -64 -64 -15 ) textures/base_wall/lfwall13f3 0 0 0 0.5 0.5\n"
    "( -64 -64 -16 ) ( -64 -64 -15 ) ( -63 -64 -16 ) textures/base_wall/lfwall13f3 0 0 0 0.5 0.5\n"
    "( -64 -64 -16 ) ( -63 -64 -16 ) ( -64 -63 -16 ) textures/base_floor/a_sfloor1_d 0 0 0 0.5 0.5\n"
    "( 64 64 16 ) ( 64 65 16 ) ( 65 64 16 ) textures/base_floor/a_sfloor1_d 0 0 0 0.5 0.5\n"
    "( 64 64 16 ) ( 65 64 16 ) ( 64 64 17 ) textures/base_wall/lfwall13f3 0 0 0 0.5 0.5\n"
    "( 64 64 16 ) ( 64 64 17 ) ( 64 65 16 ) textures/base_wall/lfwall13f3 0 0 0 0.5 0.5\n"
    "}\n"
    "}\n"
    "{\n"
    "\"classname\" \"info_player_start\"\n"
    "\"origin\" \"0 0 24\"\n"
    "\"angle\" \"90\"\n"
    "}\n"
    "{\n"
    "\"classname\" \"light\"\n"
    "\"origin\" \"0 0 96\"\n"
    "\"light_radius\" \"300 300 300\"\n"
    "}\n"
    "{\n"
    "\"classname\" \"info_player_deathmatch\"\n"
    "\"name\" \"deathmatch_1\"\n"
    "\"origin\" \"32 32 24\"\n"
    "}\n";

void WriteConvertedMap(const std::string& level)
{
    if (std::FILE* map = std::fopen((level + ".map").c_str(), "wt")) {
        std::fputs(kConvertedMap, map);
        std::fclose(map);
    }
}

}  // namespace

int main(int argc, char* argv[])
{
    int exitCode = RunStandin("ZarO3.exe");
    if (argc >= 3 && argv[2][0] != '\0')
        WriteConvertedMap(argv[2]);
    return exitCode;
}
