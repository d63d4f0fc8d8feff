#include "FaceAlignment.h"

#include <cmath>

#include "DoomWallRules.h"
#include "MaterialVariant.h"
#include "WadFile.h"

namespace zaro3 {

namespace {

constexpr double kTicsPerSecond = 35;
// DOOM 3's classic form lays one repeat per 32 world units before the stage matrix.
constexpr double kUnitsPerRepeat = 32;
// A wall face counts as running along its side when their directions agree this closely.
constexpr double kParallel = 1e-9;

int64_t PositiveModulo(int64_t value, int64_t divisor) {
  const int64_t m = value % divisor;
  return m < 0 ? m + divisor : m;
}

std::string SetOf(const std::string& material) { return material.substr(0, material.find('/')); }
std::string LastPart(const std::string& material) { return material.substr(material.rfind('/') + 1); }

std::string ScaleTag(const Scale& scale) {
  std::string digits = std::to_string(scale.mantissa);
  if (scale.decimals == 0) return digits;
  if (static_cast<int>(digits.size()) <= scale.decimals) digits.insert(0, scale.decimals + 1 - digits.size(), '0');
  return digits.substr(0, digits.size() - scale.decimals) + "_" + digits.substr(digits.size() - scale.decimals);
}

std::string SignedTag(int64_t value) { return value < 0 ? "n" + std::to_string(-value) : std::to_string(value); }

class Aligner {
public:
  Aligner(const AlignmentInputs& inputs, AlignedFaces& out)
      : m_in(inputs), m_out(out), m_scale(inputs.scale.Value()), m_scaleTag("k" + ScaleTag(inputs.scale)) {}

  std::string Align(const Surface& surface, FacePlace place, const Prism& prism, const PrismSide* side) {
    switch (surface.kind) {
      case Surface::Kind::Wall:
        return place == FacePlace::Side ? AlignWall(surface, *side) : "";
      case Surface::Kind::Floor:
        return place == FacePlace::Top && !prism.slopedTop ? AlignFlat(surface, true) : "";
      case Surface::Kind::Ceiling:
        return place == FacePlace::Bottom ? AlignFlat(surface, false) : "";
      case Surface::Kind::Fixed:
        return "";
    }
    return "";
  }

private:
  std::string AlignWall(const Surface& surface, const PrismSide& face) {
    const wad::Level& level = m_in.level;
    if (surface.linedef < 0 || surface.linedef >= static_cast<int>(level.linedefs.size())) return "";
    const wad::Linedef& line = level.linedefs[surface.linedef];
    const int sidedef = surface.side == 0 ? line.front : line.back;
    if (sidedef < 0) return "";
    const MaterialEntry* entry = m_in.catalog.FindTexture(surface.texture);
    if (!entry || entry->material != surface.material) return "";
    const double ex = double(face.b.x - face.a.x), ey = double(face.b.y - face.a.y);
    const double length = std::hypot(ex, ey);
    const SideAxis axis = AxisOfSide(level, surface.linedef, surface.side);
    const double along = (ex * axis.dx + ey * axis.dy) / length;
    if (std::abs(std::abs(along) - 1) > kParallel) return "";
    const bool mirrored = along < 0;
    const bool masked = IsMaskedMiddle(level, surface.linedef, surface.part);

    const int64_t width = entry->width, height = entry->height;
    const int64_t column = PositiveModulo(std::llround(ColumnAtOrigin(level, surface.linedef, surface.side) * kPhaseSteps),
                                          width * kPhaseSteps);
    const int64_t top = TextureTop(level, surface.linedef, surface.side, surface.part, entry->height);
    const int64_t row = PositiveModulo(top - surface.restShift, height) * kPhaseSteps;
    material::TextureMatrix matrix;
    matrix.m[0][0] = (mirrored ? -1 : 1) * kUnitsPerRepeat / (m_scale * width);
    matrix.m[0][2] = double(column) / (kPhaseSteps * width);
    matrix.m[1][1] = kUnitsPerRepeat / (m_scale * height);
    matrix.m[1][2] = double(row) / (kPhaseSteps * height);

    const char* kind = masked ? (mirrored ? "h" : "g") : (mirrored ? "m" : "w");
    std::string tag = m_scaleTag + kind + std::to_string(column) + "_" + std::to_string(row);
    VariantStage stage{entry->material, matrix, 0, 0, ""};
    const auto scroll = m_in.wallScrolls.find(sidedef);
    if (scroll != m_in.wallScrolls.end()) {
      stage.sPerSecond = scroll->second.columns * kTicsPerSecond / width;
      stage.tPerSecond = scroll->second.rows * kTicsPerSecond / height;
      tag += "_s" + SignedTag(std::llround(scroll->second.columns * kPhaseSteps)) + "_" +
             SignedTag(std::llround(scroll->second.rows * kPhaseSteps));
    }
    std::vector<VariantStage> stages = Cycled(stage, *entry, surface.texture, m_in.cycles.TextureCycle(surface.texture),
                                              /*texture=*/true, tag);
    if (stages.size() == 1 && surface.switchFace) stages = Switched(stage, *entry, surface.texture, tag);
    return Record(entry->material + "/" + tag, masked, std::move(stages));
  }

  std::string AlignFlat(const Surface& surface, bool floor) {
    const MaterialEntry* entry = m_in.catalog.FindFlat(surface.texture);
    if (!entry || entry->material != surface.material) return "";
    // Floors: s' = x / W, t' = -y / H from s = k y / 32, t = k x / 32; ceilings see t = -k x / 32.
    material::TextureMatrix matrix;
    matrix.m[0][0] = 0;
    matrix.m[0][1] = (floor ? 1 : -1) * kUnitsPerRepeat / (m_scale * entry->width);
    matrix.m[1][0] = -kUnitsPerRepeat / (m_scale * entry->height);
    matrix.m[1][1] = 0;
    std::string tag = m_scaleTag + (floor ? "f" : "c");
    const VariantStage stage{entry->material, matrix, 0, 0, ""};
    std::vector<VariantStage> stages =
        Cycled(stage, *entry, surface.texture, m_in.cycles.FlatCycle(surface.texture), /*texture=*/false, tag);
    return Record(entry->material + "/" + tag, false, std::move(stages));
  }

  // One stage per frame, each shown while DOOM would show it, starting from the face's own frame.
  std::vector<VariantStage> Cycled(const VariantStage& own, const MaterialEntry& entry, const std::string& name,
                                   const Cycle* cycle, bool texture, std::string& tag) const {
    if (!cycle) return {own};
    std::vector<const MaterialEntry*> frames;
    int index = -1;
    for (const std::string& frame : cycle->frames) {
      const MaterialEntry* e = texture ? m_in.catalog.FindTexture(frame) : m_in.catalog.FindFlat(frame);
      if (!e || e->width != entry.width || e->height != entry.height) return {own};
      if (frame == wad::UpperName(name)) index = static_cast<int>(frames.size());
      frames.push_back(e);
    }
    if (index < 0) return {own};
    const std::string count = std::to_string(frames.size());
    const std::string perSecond = PlainDecimal(kTicsPerSecond / cycle->tics);
    std::vector<VariantStage> stages;
    for (std::size_t f = 0; f < frames.size(); ++f) {
      VariantStage stage = own;
      stage.image = frames[f]->material;
      stage.condition = "( time * " + perSecond + " + " + std::to_string(index) + " ) % " + count + " == " + std::to_string(f);
      stages.push_back(std::move(stage));
    }
    tag += "_a" + std::to_string(cycle->tics) + "_" + LastPart(frames.front()->material) + "_" +
           LastPart(frames.back()->material);
    return stages;
  }

  // The face's own texture while shader parm 7 is 0, its switch partner while it is 1.
  std::vector<VariantStage> Switched(const VariantStage& own, const MaterialEntry& entry, const std::string& name,
                                     std::string& tag) const {
    const std::string partnerName = m_in.cycles.SwitchPartner(name);
    const MaterialEntry* partner = partnerName.empty() ? nullptr : m_in.catalog.FindTexture(partnerName);
    if (!partner || partner->width != entry.width || partner->height != entry.height) return {own};
    VariantStage off = own, on = own;
    off.condition = "parm7 == 0";
    on.condition = "parm7 == 1";
    on.image = partner->material;
    tag += "_sw_" + LastPart(partner->material);
    return {off, on};
  }

  std::string Record(const std::string& name, bool masked, std::vector<VariantStage> stages) {
    std::map<std::string, std::string>& variants = m_out.variants[SetOf(name)];
    if (variants.count(name) == 0) variants.emplace(name, VariantText({name, masked, std::move(stages)}));
    ++m_out.alignedFaces;
    return name;
  }

  const AlignmentInputs& m_in;
  AlignedFaces& m_out;
  double m_scale;
  std::string m_scaleTag;
};

}  // namespace

AlignedFaces AlignFaces(const MapModel& model, const AlignmentInputs& inputs) {
  AlignedFaces aligned;
  Aligner aligner(inputs, aligned);
  ForEachFace(model, [&](const Surface& surface, FacePlace place, const Prism& prism, const PrismSide* side) {
    aligned.materials.push_back(aligner.Align(surface, place, prism, side));
  });
  return aligned;
}

void ApplyAlignment(MapModel& model, const AlignedFaces& aligned) {
  std::size_t index = 0;
  ForEachFace(model, [&](Surface& surface, FacePlace, Prism&, PrismSide*) {
    if (index < aligned.materials.size() && !aligned.materials[index].empty()) surface.material = aligned.materials[index];
    ++index;
  });
}

}  // namespace zaro3
