#include "FaceAlignment.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "MaskedLines.h"
#include "MaterialDecls.h"
#include "WallRuns.h"

namespace {

using zaro3::Surface;
using zaro3::WallPart;

// Sizes of the images the crafted lists name.
struct Image {
  const char* name;
  int width, height;
};
const Image kImages[] = {{"WALL", 64, 128}, {"TALL", 128, 72}, {"GRATE", 64, 32}, {"SW1A", 64, 128}, {"SW2A", 64, 128},
                         {"NUKAGE1", 64, 64}, {"NUKAGE2", 64, 64}, {"NUKAGE3", 64, 64}, {"FLOOR", 64, 64}};

zaro3::MaterialCatalog Catalog() {
  std::ostringstream list;
  for (const Image& image : kImages) {
    const bool flat = std::string(image.name).rfind("NUKAGE", 0) == 0 || std::string(image.name) == "FLOOR";
    list << (flat ? "flat " : "texture ") << image.name << " " << image.width << " " << image.height << " d/"
         << (flat ? "flats/" : "") << image.name << "\n";
  }
  std::istringstream in(list.str());
  zaro3::MaterialCatalog catalog;
  zaro3::Diagnostics diagnostics;
  catalog.AddList(in, "TEST.TEX", diagnostics);
  return catalog;
}

int SizeOf(const std::string& image, bool width) {
  for (const Image& i : kImages) {
    if (image == std::string("d/") + i.name || image == std::string("d/flats/") + i.name) return width ? i.width : i.height;
  }
  return 0;
}

struct Texel {
  std::string image;
  int column = -1, row = -1;
  friend bool operator==(const Texel& a, const Texel& b) { return a.image == b.image && a.column == b.column && a.row == b.row; }
};
std::ostream& operator<<(std::ostream& out, const Texel& t) { return out << t.image << " (" << t.column << ", " << t.row << ")"; }

int Wrap(double value, int size) {
  const int whole = static_cast<int>(std::floor(value)) % size;
  return whole < 0 ? whole + size : whole;
}

// What DOOM 3 shows at DOOM point p (scaled by k) of a face with outward normal n: the classic
// form's fixed axes (texture axes from the normal, one repeat per 32 units), then the material's
// first active diffuse stage, then the image's texel.
Texel Doom3Texel(const material::MaterialDecls& decls, const std::string& materialName, const double n[3],
                 const double p[3], double k, const material::ExpressionInputs& inputs = {}) {
  double nx = n[0], ny = n[1], nz = n[2];
  for (double* c : {&nx, &ny, &nz}) *c = std::abs(*c) < 1e-6 ? 0 : *c;
  const double rotY = -std::atan2(nz, std::sqrt(nx * nx + ny * ny)), rotZ = std::atan2(ny, nx);
  const double texS[3] = {-std::sin(rotZ), std::cos(rotZ), 0};
  const double texT[3] = {-std::sin(rotY) * std::cos(rotZ), -std::sin(rotY) * std::sin(rotZ), -std::cos(rotY)};
  const double s = (texS[0] * p[0] + texS[1] * p[1] + texS[2] * p[2]) * k / 32;
  const double t = (texT[0] * p[0] + texT[1] * p[1] + texT[2] * p[2]) * k / 32;
  const material::MaterialDecl* decl = decls.Find("textures/" + materialName);
  if (!decl) return {"undefined " + materialName};
  const material::StageDecl* stage = material::MaterialDecls::ActiveDiffuse(*decl, inputs);
  if (!stage) return {"no stage"};
  const material::TextureMatrix m = stage->Matrix(inputs);
  const std::string image = stage->image.substr(std::string("textures/").size());
  const double sp = m.S(s, t), tp = m.T(s, t);
  auto frac = [](double v) { return v - std::floor(v); };
  // Stage images are canonical (lower case): name them as the catalog does.
  Texel texel{image};
  for (const Image& i : kImages) {
    for (const std::string folder : {"d/", "d/flats/"}) {
      if (material::CanonicalName(folder + i.name) == image) texel.image = folder + i.name;
    }
  }
  texel.column = static_cast<int>(std::floor(frac(sp) * SizeOf(texel.image, true)));
  texel.row = static_cast<int>(std::floor(frac(tp) * SizeOf(texel.image, false)));
  return texel;
}

// A level of two sectors (A: floor 0, ceiling 128, B: floor 16, ceiling 96) with one
// one-sided line facing A and one two-sided line, A on its front.
struct Fixture {
  wad::Level level;
  zaro3::MaterialCatalog catalog = Catalog();
  zaro3::ResolvedCycles cycles = zaro3::TextureCycles::Builtin().Resolve(catalog);
  std::map<int, zaro3::ScrollRate> scrolls;
  zaro3::Scale scale{15, 1};

  Fixture() {
    level.sectors = {{0, 128, "FLOOR", "FLOOR", 160, 0, 0}, {16, 96, "FLOOR", "FLOOR", 160, 0, 0}};
    level.vertices = {{64, 0}, {264, 0}, {0, 512}, {300, 685}};
    level.sidedefs = {{5, 3, "-", "-", "WALL", 0}, {-7, 11, "TALL", "WALL", "-", 0}, {2, -5, "WALL", "TALL", "-", 1}};
    level.linedefs = {{0, 1, 0, 0, 0, 0, -1}, {2, 3, wad::kLineTwoSided, 0, 0, 1, 2}};
  }

  // The face showing `part` of side `side` of `line`, on the line, facing that side's viewer.
  zaro3::PrismSide Face(int line, int side, WallPart part) {
    zaro3::MaterialPicker picker(catalog, "zdoom/sky1");
    const wad::Linedef& l = level.linedefs[line];
    const wad::Vertex& v1 = level.vertices[l.v1];
    const wad::Vertex& v2 = level.vertices[l.v2];
    zaro3::PrismSide face{{v1.x, v1.y}, {v2.x, v2.y}, picker.WallSide(level, line, side, part)};
    if (side == 1) std::swap(face.a, face.b);
    return face;
  }

  // Aligns one model holding `prisms`; returns the decls of every variant made.
  material::MaterialDecls Align(zaro3::MapModel& model) {
    const zaro3::AlignedFaces aligned = zaro3::AlignFaces(model, {level, catalog, cycles, scrolls, scale});
    zaro3::ApplyAlignment(model, aligned);
    material::MaterialDecls decls;
    for (const auto& [set, variants] : aligned.variants)
      for (const auto& [name, text] : variants) decls.Add(text);
    return decls;
  }

  // The texel DOOM 3 shows at height z, `along` units from the side's start vertex, on a wall face.
  Texel OnWall(zaro3::PrismSide face, int64_t zLow, int64_t zHigh, double along, double z,
               const material::ExpressionInputs& inputs = {}) {
    zaro3::MapModel model;
    model.entities.emplace_back();
    zaro3::Prism prism;
    prism.zLow = zLow;
    prism.zHigh = zHigh;
    prism.sides.push_back(face);
    model.entities[0].brushes.push_back(prism);
    const material::MaterialDecls decls = Align(model);
    const zaro3::PrismSide& aligned = model.entities[0].brushes[0].sides[0];
    const double dx = double(aligned.b.x - aligned.a.x), dy = double(aligned.b.y - aligned.a.y);
    const double length = std::hypot(dx, dy);
    const double n[3] = {dy / length, -dx / length, 0};
    const double p[3] = {aligned.a.x + dx / length * along, aligned.a.y + dy / length * along, z - aligned.face.restShift};
    return Doom3Texel(decls, aligned.face.material, n, p, 1.5, inputs);
  }
};

// DOOM's texel: the column from the side's start plus the x offset, the row down from the anchor plus the y offset.
Texel DoomWall(const std::string& image, double along, int xOffset, int64_t anchor, int yOffset, double z) {
  return {image, Wrap(along + xOffset, SizeOf(image, true)), Wrap(double(anchor + yOffset) - z, SizeOf(image, false))};
}

}  // namespace

TEST(FaceAlignment, OneSidedMiddleRowsHangFromTheCeilingOrStandOnTheFloorWhenLowerUnpegged) {
  Fixture f;
  for (const bool unpegged : {false, true}) {
    f.level.linedefs[0].flags = unpegged ? wad::kLineLowerUnpegged : 0;
    const int64_t anchor = unpegged ? 0 + 128 : 128;
    for (const double along : {0.5, 13.25, 77.5, 190.75}) {
      for (const double z : {0.5, 37.25, 127.5}) {
        EXPECT_EQ(f.OnWall(f.Face(0, 0, WallPart::Middle), 0, 128, along, z), DoomWall("d/WALL", along, 5, anchor, 3, z))
            << "unpegged " << unpegged << " at " << along << ", " << z;
      }
    }
  }
}

TEST(FaceAlignment, UpperAndLowerPartsOnBothSidesFollowTheirPeggingAnchors) {
  Fixture f;
  for (const uint16_t flags : {0, wad::kLineUpperUnpegged | wad::kLineLowerUnpegged}) {
    f.level.linedefs[1].flags = wad::kLineTwoSided | flags;
    const bool upperUnpegged = flags & wad::kLineUpperUnpegged, lowerUnpegged = flags & wad::kLineLowerUnpegged;
    // Front side (sector A, x offset -7, y offset 11): upper TALL between 96 and 128, lower WALL between 0 and 16.
    const int64_t upperAnchor = upperUnpegged ? 128 : 96 + 72, lowerAnchor = lowerUnpegged ? 128 : 16;
    for (const double along : {0.5, 41.3, 250.9}) {
      EXPECT_EQ(f.OnWall(f.Face(1, 0, WallPart::Upper), 96, 128, along, 100.5),
                DoomWall("d/TALL", along, -7, upperAnchor, 11, 100.5));
      EXPECT_EQ(f.OnWall(f.Face(1, 0, WallPart::Lower), 0, 16, along, 7.25),
                DoomWall("d/WALL", along, -7, lowerAnchor, 11, 7.25));
    }
  }
  // The back side (sector B, counted from v2): its upper and lower look into A, whose
  // heights enclose B's, so DOOM draws neither; the anchors still follow the same rules.
  f.level.linedefs[1].flags = wad::kLineTwoSided;
  for (const double along : {0.5, 99.1}) {
    EXPECT_EQ(f.OnWall(f.Face(1, 1, WallPart::Upper), 96, 128, along, 110.5),
              DoomWall("d/WALL", along, 2, 128 + 128, -5, 110.5));
    EXPECT_EQ(f.OnWall(f.Face(1, 1, WallPart::Lower), 0, 16, along, 3.5), DoomWall("d/TALL", along, 2, 0, -5, 3.5));
  }
}

TEST(FaceAlignment, UnpeggedLowerBetweenTwoSkiesHangsFromTheBackCeiling) {
  Fixture f;
  f.level.sectors[0].ceilingFlat = f.level.sectors[1].ceilingFlat = "F_SKY1";
  f.level.linedefs[1].flags = wad::kLineTwoSided | wad::kLineLowerUnpegged;
  EXPECT_EQ(f.OnWall(f.Face(1, 0, WallPart::Lower), 0, 16, 20.5, 9.5), DoomWall("d/WALL", 20.5, -7, 96, 11, 9.5));
}

TEST(FaceAlignment, DiagonalWallsTakeAFractionalColumnPhase) {
  Fixture f;
  // Line 1 runs from (0, 512) to (300, 685): its columns start at a fraction of a texel from the origin.
  int checked = 0;
  for (double along = 0.31; along < 340; along += 7.13) {
    const Texel doom = DoomWall("d/TALL", along, -7, 96 + 72, 11, 100.5);
    EXPECT_EQ(f.OnWall(f.Face(1, 0, WallPart::Upper), 96, 128, along, 100.5), doom) << along;
    ++checked;
  }
  EXPECT_GT(checked, 40);
}

TEST(FaceAlignment, MoversKeepDoomsAlignmentAtTheirStartingPlace) {
  Fixture f;
  zaro3::PrismSide face = f.Face(0, 0, WallPart::Middle);
  face.face.restShift = 40;  // written 40 units below where DOOM has it
  EXPECT_EQ(f.OnWall(face, -40, 88, 10.5, 60.5), DoomWall("d/WALL", 10.5, 5, 128, 3, 60.5));
}

TEST(FaceAlignment, FloorsTurnAQuarterAndCeilingsReflectToDoomsFlatGrid) {
  Fixture f;
  zaro3::MaterialPicker picker(f.catalog, "zdoom/sky1");
  zaro3::MapModel model;
  model.entities.emplace_back();
  zaro3::Prism prism;
  prism.zLow = 0;
  prism.zHigh = 8;
  prism.sides = {{{0, 0}, {64, 0}, Surface("zdoom/hidden")}, {{64, 0}, {0, 64}, Surface("zdoom/hidden")},
                 {{0, 64}, {0, 0}, Surface("zdoom/hidden")}};
  prism.top = picker.FloorFlat("FLOOR");
  prism.bottom = picker.CeilingFlat("NUKAGE3");
  model.entities[0].brushes.push_back(prism);
  const material::MaterialDecls decls = f.Align(model);
  const zaro3::Prism& aligned = model.entities[0].brushes[0];
  const double up[3] = {0, 0, 1}, down[3] = {0, 0, -1};
  for (const double x : {-300.5, -1.25, 0.5, 17.75, 1000.5}) {
    for (const double y : {-77.5, -0.25, 0.5, 63.5, 4001.5}) {
      const double p[3] = {x, y, 8};
      const Texel doom{"d/flats/FLOOR", Wrap(x, 64), Wrap(-y, 64)};
      EXPECT_EQ(Doom3Texel(decls, aligned.top.material, up, p, 1.5), doom) << x << ", " << y;
      // The ceiling flat animates; at time 0 it shows its own frame.
      EXPECT_EQ(Doom3Texel(decls, aligned.bottom.material, down, p, 1.5), (Texel{"d/flats/NUKAGE3", doom.column, doom.row}));
    }
  }
}

TEST(FaceAlignment, AnimatedFlatsCycleFromTheirOwnFrameEightTicsAFrame) {
  Fixture f;
  zaro3::MaterialPicker picker(f.catalog, "zdoom/sky1");
  zaro3::MapModel model;
  model.entities.emplace_back();
  zaro3::Prism prism;
  prism.sides = {{{0, 0}, {64, 0}, Surface("zdoom/hidden")}, {{64, 0}, {0, 64}, Surface("zdoom/hidden")},
                 {{0, 64}, {0, 0}, Surface("zdoom/hidden")}};
  prism.zHigh = 8;
  prism.top = picker.FloorFlat("NUKAGE2");
  model.entities[0].brushes.push_back(prism);
  const material::MaterialDecls decls = f.Align(model);
  const std::string& name = model.entities[0].brushes[0].top.material;
  EXPECT_EQ(name, "d/flats/NUKAGE2/k1_5f_a8_NUKAGE1_NUKAGE3");
  const double up[3] = {0, 0, 1}, p[3] = {10.5, 20.5, 8};
  const char* frames[] = {"d/flats/NUKAGE2", "d/flats/NUKAGE3", "d/flats/NUKAGE1", "d/flats/NUKAGE2"};
  for (int step = 0; step < 4; ++step) {
    material::ExpressionInputs inputs;
    inputs.time = (step * 8 + 3) / 35.0;  // a few tics into the frame
    EXPECT_EQ(Doom3Texel(decls, name, up, p, 1.5, inputs), (Texel{frames[step], 10, 43})) << step;
  }
}

TEST(FaceAlignment, ScrollingWallsMoveOneTexelATicLeftwards) {
  Fixture f;
  f.level.linedefs[0].special = 48;
  f.scrolls = zaro3::FindWallScrolls(f.level);
  ASSERT_EQ(f.scrolls.size(), 1u);
  for (const int tics : {0, 1, 10, 100}) {
    material::ExpressionInputs inputs;
    inputs.time = tics / 35.0;
    // After n tics DOOM's x offset has grown by n.
    EXPECT_EQ(f.OnWall(f.Face(0, 0, WallPart::Middle), 0, 128, 30.5, 50.5, inputs),
              DoomWall("d/WALL", 30.5, 5 + tics, 128, 3, 50.5))
        << tics;
  }
  f.level.linedefs[0].special = 85;  // Boom: rightwards
  EXPECT_EQ(zaro3::FindWallScrolls(f.level).at(0).columns, -1);
}

TEST(FaceAlignment, SwitchFacesShowTheirPartnerWhileParm7IsOne) {
  Fixture f;
  f.catalog = Catalog();
  f.cycles.switchPartners = {{"SW1A", "SW2A"}, {"SW2A", "SW1A"}};
  f.level.sidedefs[0].middle = "SW1A";
  zaro3::PrismSide face = f.Face(0, 0, WallPart::Middle);
  face.face.switchFace = true;
  material::ExpressionInputs on;
  on.parms[7] = 1;
  EXPECT_EQ(f.OnWall(face, 0, 128, 12.5, 70.5), DoomWall("d/SW1A", 12.5, 5, 128, 3, 70.5));
  EXPECT_EQ(f.OnWall(face, 0, 128, 12.5, 70.5, on), DoomWall("d/SW2A", 12.5, 5, 128, 3, 70.5));
}

TEST(FaceAlignment, FacesWithoutAKnownTextureKeepTheirMaterial) {
  Fixture f;
  f.level.sidedefs[0].middle = "NOSUCH";
  zaro3::MapModel model;
  model.entities.emplace_back();
  zaro3::Prism prism;
  prism.sides.push_back(f.Face(0, 0, WallPart::Middle));
  prism.top = Surface("zdoom/sky1");
  model.entities[0].brushes.push_back(prism);
  const zaro3::AlignedFaces aligned = zaro3::AlignFaces(model, {f.level, f.catalog, f.cycles, f.scrolls, f.scale});
  EXPECT_EQ(aligned.alignedFaces, 0u);
  EXPECT_TRUE(aligned.variants.empty());
}

TEST(FaceAlignment, MaskedMiddleSlabsSpanTheTextureOnceFromItsAnchorCutToTheOpening) {
  Fixture f;
  f.level.sidedefs[1].middle = "GRATE";  // front side of line 1: x offset -7, y offset 11
  for (const bool unpegged : {false, true}) {
    f.level.linedefs[1].flags = wad::kLineTwoSided | (unpegged ? wad::kLineLowerUnpegged : 0);
    int skipped = 0;
    zaro3::MaterialPicker picker(f.catalog, "zdoom/sky1");
    zaro3::MapModel model;
    model.entities = zaro3::BuildMaskedLineEntities(f.level, picker, skipped);
    ASSERT_EQ(model.entities.size(), 1u);
    ASSERT_EQ(model.entities[0].brushes.size(), 1u);
    // DOOM: the top row at min(ceilings) (or max(floors) + 32 when unpegged) plus the y offset, 32 rows down.
    const int64_t top = (unpegged ? 16 + 32 : 96) + 11;
    const zaro3::Prism& slab = model.entities[0].brushes[0];
    EXPECT_EQ(slab.zHigh, std::min<int64_t>(top, 96));
    EXPECT_EQ(slab.zLow, std::max<int64_t>(top - 32, 16));
    zaro3::PrismSide face = f.Face(1, 0, WallPart::Middle);
    EXPECT_EQ(f.OnWall(face, slab.zLow, slab.zHigh, 40.5, slab.zLow + 3.5),
              DoomWall("d/GRATE", 40.5, -7, unpegged ? 48 : 96, 11, slab.zLow + 3.5));
  }
}

TEST(WallRuns, CollinearSidesShareAFaceOnlyWhereTheirTexturesRunOnUnbroken) {
  wad::Level level;
  level.sectors = {{0, 128, "FLOOR", "FLOOR", 160, 0, 0}};
  level.vertices = {{0, 0}, {64, 0}, {160, 0}};
  level.sidedefs = {{0, 0, "-", "-", "WALL", 0}, {0, 0, "-", "-", "WALL", 0}};
  level.linedefs = {{0, 1, 0, 0, 0, 0, -1}, {1, 2, 0, 0, 0, 1, -1}};
  const zaro3::MaterialCatalog catalog = Catalog();
  const zaro3::WallRuns runs(level, catalog);
  // Seen from the void behind them (side 1), the faces show the front sides.
  EXPECT_TRUE(runs.Continuous(0, 1, 1, 1));  // the second line starts 64 on: a whole repeat
  level.sidedefs[1].xOffset = 32;
  EXPECT_FALSE(runs.Continuous(0, 1, 1, 1));
  level.sidedefs[1].xOffset = 64;
  EXPECT_TRUE(runs.Continuous(0, 1, 1, 1));
  level.sidedefs[1].yOffset = 8;
  EXPECT_FALSE(runs.Continuous(0, 1, 1, 1));
  level.sidedefs[1].yOffset = 0;
  level.linedefs[1].flags = wad::kLineLowerUnpegged;
  EXPECT_FALSE(runs.Continuous(0, 1, 1, 1));
  level.linedefs[1].special = 48;
  const zaro3::WallRuns scrolling(level, catalog);
  level.linedefs[1].flags = 0;
  EXPECT_FALSE(scrolling.Continuous(0, 1, 1, 1));
  // Textures the lists lack are not aligned: nothing to keep apart.
  level.sidedefs[0].middle = level.sidedefs[1].middle = "NOSUCH";
  level.sidedefs[1].xOffset = 5;
  EXPECT_TRUE(runs.Continuous(0, 1, 1, 1));
}

TEST(TextureCycles, BoomLumpsReplaceDoomsTablesAndRangesResolveByTheListedNames) {
  const zaro3::MaterialCatalog catalog = Catalog();
  zaro3::TextureCycles cycles = zaro3::TextureCycles::Builtin();
  // DOOM's NUKAGE1..3 range, from the listed names.
  const zaro3::ResolvedCycles doom = cycles.Resolve(catalog);
  ASSERT_NE(doom.FlatCycle("nukage2"), nullptr);
  EXPECT_EQ(doom.FlatCycle("NUKAGE2")->frames, (std::vector<std::string>{"NUKAGE1", "NUKAGE2", "NUKAGE3"}));
  EXPECT_EQ(doom.SwitchPartner("SW2STARG"), "SW1STARG");
  // A Boom ANIMATED record: kind (1 texture), last name, first name (9 bytes each), tics; 0xFF ends.
  auto name9 = [](const std::string& n) { std::string s = n; s.resize(9, '\0'); return s; };
  std::string animated = std::string(1, '\0') + name9("NUKAGE2") + name9("NUKAGE1") + std::string("\x05\0\0\0", 4);
  animated += std::string(1, '\xFF');
  ASSERT_TRUE(cycles.ReplaceAnimations(animated));
  const zaro3::ResolvedCycles boom = cycles.Resolve(catalog);
  EXPECT_EQ(boom.FlatCycle("NUKAGE1")->frames, (std::vector<std::string>{"NUKAGE1", "NUKAGE2"}));
  EXPECT_EQ(boom.FlatCycle("NUKAGE1")->tics, 5);
  EXPECT_EQ(boom.FlatCycle("NUKAGE3"), nullptr);
  EXPECT_FALSE(cycles.ReplaceAnimations(animated.substr(0, 10)));  // cut short: the table stays
  EXPECT_EQ(cycles.Animations().size(), 1u);
  // SWITCHES: off name, on name (9 bytes each), episode; episode 0 ends.
  const std::string switches = name9("SW1A") + name9("SW2A") + std::string("\x01\0", 2) + std::string(20, '\0');
  ASSERT_TRUE(cycles.ReplaceSwitches(switches));
  const zaro3::ResolvedCycles swapped = cycles.Resolve(catalog);
  EXPECT_EQ(swapped.SwitchPartner("sw1a"), "SW2A");
  EXPECT_EQ(swapped.SwitchPartner("SW1STARG"), "");
}
