#include <algorithm>

#include "ConvexPolygon.h"
#include "DoorCutLines.h"
#include "DoorPortal.h"
#include "RampStrip.h"

namespace zaro3 {

namespace {

using doorcut::At;
using doorcut::Plus;

// Edge tags of an arm's brush that are not walls: its own band, and a mitre with the next arm.
constexpr int kBandTag = -2;
constexpr int kMitreTag = -3;
// Far beyond any level, for the polygon that the cuts trim.
constexpr int64_t kFar = 1 << 17;

// One straight arm of the bent door: its outer run with the door on the left, and the band
// a unit thick at the arm's middle.
struct Arm {
  geo::IntVec a, b;
  geo::IntLine nearCut;  // from a's side to b's, the deeper side on its left: the visportal face
  geo::IntLine farCut;   // the other way, the shallower side on its left
};

geo::IntVec Minus(geo::IntVec p, geo::IntVec q) { return {p.x - q.x, p.y - q.y}; }

// The outer runs in order, each ending where the next starts, with the door on their left;
// false unless they make one chain of two or more that turns at every joint.
bool Chain(const std::vector<PortalSite>& outer, int door, std::vector<Arm>& arms) {
  std::vector<Arm> runs;
  for (const PortalSite& site : outer) {
    Arm arm;
    doorcut::RunWithDoorOnLeft(site, door, arm.a, arm.b);
    runs.push_back(arm);
  }
  int start = -1;
  for (std::size_t i = 0; i < runs.size(); ++i) {
    const bool followsAnother =
        std::any_of(runs.begin(), runs.end(), [&](const Arm& other) { return other.b == runs[i].a; });
    if (followsAnother) continue;
    if (start >= 0) return false;
    start = static_cast<int>(i);
  }
  if (start < 0 || runs.size() < 2) return false;
  arms.clear();
  std::vector<bool> used(runs.size(), false);
  for (int at = start; at >= 0;) {
    used[static_cast<std::size_t>(at)] = true;
    arms.push_back(runs[static_cast<std::size_t>(at)]);
    int next = -1;
    for (std::size_t j = 0; j < runs.size(); ++j) {
      if (used[j] || runs[j].a != arms.back().b) continue;
      if (next >= 0) return false;
      next = static_cast<int>(j);
    }
    if (next >= 0 && geo::Cross(Minus(arms.back().b, arms.back().a), Minus(runs[next].b, runs[next].a)) == 0) {
      return false;
    }
    at = next;
  }
  return arms.size() == runs.size();
}

// Places the arm's band at its middle: half way to the nearest inner run parallel to it, in
// whole steps into the door; false when there is none or the arm is too thin for a band.
bool PlaceBand(const std::vector<PortalSite>& inner, Arm& arm) {
  const geo::IntVec along = Minus(arm.b, arm.a);
  const geo::IntVec in = InwardDirection(along);
  const double cross = static_cast<double>(geo::Cross(along, in));
  double depth = 0;
  for (const PortalSite& site : inner) {
    const geo::IntVec p{site.from.x, site.from.y}, q{site.to.x, site.to.y};
    if (geo::Cross(along, Minus(q, p)) != 0) continue;
    const double d = static_cast<double>(geo::Cross(along, Minus(p, arm.a))) / cross;
    if (d > 0 && (depth == 0 || d < depth)) depth = d;
  }
  const int64_t k = std::max<int64_t>(1, static_cast<int64_t>(depth / 2));
  if (static_cast<double>(k + 1) >= depth) return false;
  arm.nearCut = geo::IntLine::Through(Plus(arm.a, in, k), Plus(arm.b, in, k));
  arm.farCut = geo::IntLine::Through(Plus(arm.b, in, k + 1), Plus(arm.a, in, k + 1));
  return true;
}

// The wall of the part that meets the chain's end `end` off the arm's line: -1 unless there
// is exactly one, and it is a wall.
int EndWall(const wad::Level& level, const MoverPlan& plan, const std::vector<int>& part, geo::IntVec end,
            geo::IntVec along) {
  int found = -1;
  for (const int l : part) {
    const geo::IntVec p = At(level, level.linedefs[l].v1), q = At(level, level.linedefs[l].v2);
    if ((p != end && q != end) || geo::Cross(along, Minus(q, p)) == 0) continue;
    if (found >= 0) return -1;
    found = l;
  }
  return found >= 0 && doorcut::IsWall(level, plan, found) ? found : -1;
}

// The line where the bands of two arms meet, through the crossings of their near lines and
// of their far lines, with the first arm on its left; false where either crossing is not
// a whole point (the brushes' corners must be).
bool Mitre(const Arm& first, const Arm& second, geo::IntLine& mitre) {
  geo::RationalPoint nearCorner, farCorner;
  if (!geo::Intersect(first.nearCut, second.nearCut, nearCorner) ||
      !geo::Intersect(first.farCut, second.farCut, farCorner)) {
    return false;
  }
  if (!nearCorner.IsInteger() || !farCorner.IsInteger() || nearCorner == farCorner) return false;
  mitre = geo::IntLine::Through({nearCorner.x, nearCorner.y}, {farCorner.x, farCorner.y});
  if (mitre.SideValue(first.a) < 0) mitre = mitre.Reversed();
  return mitre.SideValue(first.a) > 0 && mitre.SideValue(second.b) < 0;
}

// Whether the polygon's edges on the wall lie within the wall's ends.
bool WithinWall(const wad::Level& level, const geo::ConvexPolygon& polygon, int wall) {
  const geo::IntVec p = At(level, level.linedefs[wall].v1), q = At(level, level.linedefs[wall].v2);
  const geo::IntVec dir = Minus(q, p);
  const int64_t lo = geo::Dot(dir, p), hi = geo::Dot(dir, q);
  for (std::size_t i = 0; i < polygon.Size(); ++i) {
    if (polygon.Edge(i).tag != wall) continue;
    for (const geo::RationalPoint& v : {polygon.Vertex(i), polygon.EdgeEnd(i)}) {
      if (geo::CompareAlong(dir, v, lo) < 0 || geo::CompareAlong(dir, v, hi) > 0) return false;
    }
  }
  return true;
}

// The arm's brush between its caps (a wall's door side, or a mitre), with its near edge as the
// visportal face; false unless it is sound, within its walls and no line of the door crosses it.
bool ArmSlab(const wad::Level& level, const MoverPlan& plan, int door, const DoorOutline& outline, const Arm& arm,
             const geo::IntLine caps[2], const int capTags[2], DoorCut& cut) {
  geo::ConvexPolygon polygon = geo::ConvexPolygon::Box(-kFar, -kFar, kFar, kFar), left, right;
  const geo::IntLine lines[4] = {arm.nearCut, arm.farCut, caps[0], caps[1]};
  const int tags[4] = {kBandTag, kBandTag, capTags[0], capTags[1]};
  for (int i = 0; i < 4; ++i) {
    polygon.Split(lines[i], left, right, tags[i]);
    polygon = left;
  }
  if (!RampStrip::Sound(polygon)) return false;
  for (int c = 0; c < 2; ++c) {
    if (capTags[c] >= 0 && !WithinWall(level, polygon, capTags[c])) return false;
  }
  for (const std::vector<int>& part : outline.parts) {
    for (const int l : part) {
      if (polygon.Enters(At(level, level.linedefs[l].v1), At(level, level.linedefs[l].v2))) return false;
    }
  }
  return doorcut::CutSlab(polygon, arm.nearCut, plan.floor[door], plan.ceiling[door], cut);
}

}  // namespace

bool DoorBentPortal(const wad::Level& level, const MoverPlan& plan, int door, const DoorOutline& outline,
                    std::size_t part, const std::vector<PortalSite>& outer, const std::vector<PortalSite>& inner,
                    std::vector<DoorCut>& cuts) {
  cuts.clear();
  std::vector<Arm> arms;
  if (!Chain(outer, door, arms)) return false;
  for (Arm& arm : arms) {
    if (!PlaceBand(inner, arm)) return false;
  }
  const std::vector<int>& lines = outline.parts[part];
  const int firstWall = EndWall(level, plan, lines, arms.front().a, Minus(arms.front().b, arms.front().a));
  const int lastWall = EndWall(level, plan, lines, arms.back().b, Minus(arms.back().b, arms.back().a));
  if (firstWall < 0 || lastWall < 0) return false;
  std::vector<geo::IntLine> mitres(arms.size() - 1);
  for (std::size_t i = 0; i + 1 < arms.size(); ++i) {
    if (!Mitre(arms[i], arms[i + 1], mitres[i])) return false;
  }
  for (std::size_t i = 0; i < arms.size(); ++i) {
    const bool first = i == 0, last = i + 1 == arms.size();
    const geo::IntLine caps[2] = {first ? doorcut::DoorSideLine(level, door, firstWall) : mitres[i - 1].Reversed(),
                                  last ? doorcut::DoorSideLine(level, door, lastWall) : mitres[i]};
    const int capTags[2] = {first ? firstWall : kMitreTag, last ? lastWall : kMitreTag};
    DoorCut cut;
    if (!ArmSlab(level, plan, door, outline, arms[i], caps, capTags, cut)) return false;
    cuts.push_back(std::move(cut));
  }
  return true;
}

}  // namespace zaro3
