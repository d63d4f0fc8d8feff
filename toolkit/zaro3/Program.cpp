#include "Program.h"

#include <stdexcept>

#include "Converter.h"
#include "LevelAlignment.h"
#include "MapWriter.h"
#include "ReplaceFile.h"
#include "WadFile.h"

namespace zaro3 {

namespace {

constexpr const char* kThingTableFile = "D2D3_OBJ.TXT";
// How many missing texture names the summary lists by name.
constexpr std::size_t kMissingNamesShown = 8;

class WriteError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// Writes `text` to `path` through the kit's replacing write; throws WriteError.
void WriteWhole(const std::string& path, const std::string& text) {
  try {
    fileio::WriteFileReplacing(path, text);
  } catch (const fileio::FileError& e) {
    throw WriteError(e.what());
  }
}

// "specials: 52 lines, 50 reproduced (doors 20/20, lifts 4/5, ...); sectors: 9, 9 reproduced (...)".
void PrintSpecials(const SpecialReport& report, std::ostream& out) {
  out << "specials: " << report.LinesFound() << " lines, " << report.LinesReproduced() << " reproduced";
  const char* separator = " (";
  for (const auto& [category, count] : report.lines) {
    out << separator << category << " " << count.reproduced << "/" << count.found;
    separator = ", ";
  }
  if (!report.lines.empty()) out << ")";
  int found = 0, reproduced = 0;
  for (const auto& [kind, count] : report.sectors) {
    found += count.found;
    reproduced += count.reproduced;
  }
  out << "; sector specials: " << found << ", " << reproduced << " reproduced";
  separator = " (";
  for (const auto& [kind, count] : report.sectors) {
    out << separator << kind << " " << count.reproduced << "/" << count.found;
    separator = ", ";
  }
  if (!report.sectors.empty()) out << ")";
  out << "\n";
}

void PrintSummary(const std::string& mapName, const ConversionSummary& s, const AlignmentReport& aligned,
                  std::size_t warnings, std::ostream& out) {
  out << "level pieces: " << s.pieces.sectorPieces << " sector, " << s.pieces.voidPieces << " void ("
      << s.pieces.subsectors << " subsectors, " << (s.pieces.usedNodes ? "from the nodes" : "from the lines") << ")\n";
  out << "brushes: " << s.brushes << " (" << s.worldBrushes << " in the world, " << s.skippedBrushes
      << " degenerate skipped)\n";
  out << "entities: " << s.entities << " (" << s.things.written << " things, " << s.things.unknownTypes
      << " unknown thing types skipped, " << s.things.outside << " outside every sector)\n";
  out << "lights: " << s.lights << "\n";
  out << "steps: " << s.ramps.steps << " DOOM's player walks up, " << s.ramps.walkable << " low enough as they are, "
      << s.ramps.ramps << " ramps (" << s.ramps.hips << " sloped ends), " << s.ramps.unsolved << " still too high\n";
  out << "portals: " << s.portals.portals << " (" << s.portals.doorsWithPortal << " of " << s.portals.doors
      << " doors close one, " << s.portals.doorsHidingNothing << " hide nothing when shut, "
      << s.portals.doorsUnsealable << " are shaped so that no portal seals them; " << s.portals.areas
      << " areas planned, the largest about " << static_cast<int>(s.portals.largestShare * 100 + 0.5)
      << "% of the faces)\n";
  out << "headroom: " << s.headroom.openings << " openings DOOM's player passes, " << s.headroom.crouch
      << " of them DOOM 3's only crouching, " << s.headroom.blocked << " not at all\n";
  out << "movers: " << s.movers << " (" << s.triggers << " triggers), masked lines: " << s.maskedLines << "\n";
  PrintSpecials(s.specials, out);
  out << "warnings: " << warnings << "\n";
  out << "missing textures: " << s.missingNames.size() << " names";
  std::size_t shown = 0;
  for (const std::string& name : s.missingNames) {
    if (shown++ == kMissingNamesShown) {
      out << " ...";
      break;
    }
    out << (shown == 1 ? ": " : ", ") << name;
  }
  out << "; " << s.untextured << " faces without a texture\n";
  out << "aligned faces: " << aligned.faces;
  if (!aligned.package.empty()) {
    out << " (" << aligned.variants << " variants, " << aligned.added << " new in " << aligned.package << ")";
  }
  out << "\n";
  out << "written: " << mapName << "\n";
}

}  // namespace

int RunZaro3(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  Options options;
  try {
    options = ParseOptions(args);
  } catch (const UsageError& e) {
    err << "zaro3: " << e.what() << "\n";
    return 1;
  }
  try {
    Diagnostics diagnostics;
    // Only the level's lumps: a whole IWAD would cost more to read than to convert.
    const wad::WadFile wadFile =
        wad::WadFile::Load(options.wadPath, WithCycleLumps(wad::LevelLumpsOnly(options.levelName)));
    const wad::Level level = wad::LoadLevel(wadFile, options.levelName);
    if (level.problems.Total() > 0) {
      diagnostics.Warn(std::to_string(level.problems.Total()) + " broken records in " + level.name + " dropped");
    }
    const MaterialCatalog catalog = MaterialCatalog::Load(".", options.textureSets, diagnostics);
    const ThingTable table = ThingTable::Load(kThingTableFile, diagnostics);
    const TextureCycles cycles = LevelCycles(wadFile, diagnostics);
    Conversion conversion = ConvertLevel(level, options, catalog, table, diagnostics, cycles.Switches());
    const AlignmentReport aligned = AlignLevel(conversion.model, level, cycles, catalog, options, ".", diagnostics);
    const std::string mapName = level.name + ".map";
    WriteWhole(mapName, WriteMap(conversion.model, options.scale));
    for (const std::string& warning : diagnostics.warnings) err << "zaro3: warning: " << warning << "\n";
    PrintSummary(mapName, conversion.summary, aligned, diagnostics.warnings.size(), out);
    return 0;
  } catch (const wad::WadError& e) {
    err << "zaro3: " << e.what() << "\n";
    return 2;
  } catch (const WriteError& e) {
    err << "zaro3: " << e.what() << "\n";
    return 3;
  } catch (const std::bad_alloc&) {
    err << "zaro3: out of memory\n";
    return 2;
  } catch (const std::exception& e) {
    err << "zaro3: " << e.what() << "\n";
    return 2;
  }
}

}  // namespace zaro3
