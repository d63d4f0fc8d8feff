// MaterialCatalog: DOOM texture and flat names to the materials the map names.
//
// Built from the texture source lists ("texture <NAME> <w> <h> <material>",
// "flat <NAME> <w> <h> <material>", '#' comments); lists added later override
// earlier ones, names are matched case-insensitively. Bad lines are warned
// about (with file and line) and skipped. Walls and flats are two name spaces,
// as in DOOM. MaterialPicker borrows a catalog and records what the map
// needed but the lists lacked; it owns only its counts.
#pragma once

#include <istream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "Diagnostics.h"
#include "Level.h"
#include "MapModel.h"
#include "Options.h"

namespace zaro3 {

// The shared materials every converted map may name.
inline const char* const kHiddenMaterial = "zdoom/hidden";
inline const char* const kMissingMaterial = "zdoom/missing";
inline const char* const kTriggerMaterial = "zdoom/trigger";
// Neither drawn nor solid (toolkit/defs/materials/zdoom.mtr).
inline const char* const kNoDrawMaterial = "zdoom/nodraw";

struct MaterialEntry {
  int width = 0;
  int height = 0;
  std::string material;
};

class MaterialCatalog {
public:
  // Reads one list; `source` names it in warnings.
  void AddList(std::istream& in, const std::string& source, Diagnostics& diagnostics);
  // Reads the lists the flags name from `folder`; an absent list is a warning.
  static MaterialCatalog Load(const std::string& folder, const std::vector<TextureSet>& sets,
                              Diagnostics& diagnostics);

  const MaterialEntry* FindTexture(const std::string& name) const;  // nullptr: not listed
  const MaterialEntry* FindFlat(const std::string& name) const;
  // The listed names from `first` to `last` in name order (upper case), or none when either is not listed.
  std::vector<std::string> TexturesFrom(const std::string& first, const std::string& last) const;
  std::vector<std::string> FlatsFrom(const std::string& first, const std::string& last) const;

private:
  std::map<std::string, MaterialEntry> m_textures;  // keyed by upper-cased name
  std::map<std::string, MaterialEntry> m_flats;
};

// The list file and the xtract argument of one texture set.
std::string TextureListFile(TextureSet set);
std::string TextureSetShortName(TextureSet set);

class MaterialPicker {
public:
  MaterialPicker(const MaterialCatalog& catalog, std::string skyMaterial)
      : m_catalog(catalog), m_sky(std::move(skyMaterial)) {}

  // The material of wall texture `name`; "-" or empty gives the missing material.
  std::string Wall(const std::string& name);
  // The material of flat `name`; the sky flat gives the level's sky.
  std::string Flat(const std::string& name);
  const std::string& Sky() const { return m_sky; }
  static bool IsSkyFlat(const std::string& name);
  // Texture height, or 0 when unknown.
  int WallHeight(const std::string& name) const;

  // The face that shows `part` of the sidedef on side `side` (0 front, 1 back) of `linedef`.
  Surface WallSide(const wad::Level& level, int linedef, int side, WallPart part);
  // A sector's floor or ceiling flat; a sky ceiling shows the level's sky.
  Surface FloorFlat(const std::string& flat);
  Surface CeilingFlat(const std::string& flat);

  int untextured = 0;                 // faces that needed a texture their sidedef lacks
  std::set<std::string> missingNames; // listed nowhere ("texture NAME" / "flat NAME")

private:
  const MaterialCatalog& m_catalog;
  std::string m_sky;
};

// The sky material of a level: E<n>M<m> -> sky n (1-4), MAP01-11 -> 1, 12-20 -> 2, 21+ -> 3.
std::string SkyMaterialFor(const std::string& levelName);

}  // namespace zaro3
