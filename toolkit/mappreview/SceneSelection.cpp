#include "SceneSelection.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <sstream>

#include "BrushFaces.h"

namespace mappreview {
namespace {

// A face is horizontal or vertical when its normal is this close to the axis;
// the converter writes only exact prisms, so the slack only absorbs rounding.
constexpr double kAxisSlack = 1e-3;
// A brush bottom no higher than this above a floor covers it (a closed door).
constexpr double kCoverHeight = 2.0;

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

std::vector<Vec2> Flatten(const std::vector<Vec3>& points) {
  std::vector<Vec2> flat;
  flat.reserve(points.size());
  for (const Vec3& p : points) flat.push_back({p.x, p.y});
  return flat;
}

double MeanHeight(const std::vector<Vec3>& points) {
  double sum = 0;
  for (const Vec3& p : points) sum += p.z;
  return sum / static_cast<double>(points.size());
}

Vec2 Centroid(const std::vector<Vec2>& polygon) {
  Vec2 c;
  for (const Vec2& p : polygon) {
    c.x += p.x;
    c.y += p.y;
  }
  c.x /= static_cast<double>(polygon.size());
  c.y /= static_cast<double>(polygon.size());
  return c;
}

// Inside a convex polygon of either winding: every edge sees the point on one side.
bool InsideConvex(const std::vector<Vec2>& polygon, Vec2 p) {
  int sign = 0;
  for (std::size_t i = 0; i < polygon.size(); ++i) {
    Vec2 a = polygon[i];
    Vec2 b = polygon[(i + 1) % polygon.size()];
    double cross = (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
    if (std::fabs(cross) < 1e-9) continue;
    int s = cross > 0 ? 1 : -1;
    if (sign != 0 && s != sign) return false;
    sign = s;
  }
  return true;
}

bool IsHorizontalUp(const BrushFace& f) { return f.normal.z > 1 - kAxisSlack; }
bool IsHorizontalDown(const BrushFace& f) { return f.normal.z < -1 + kAxisSlack; }
bool IsVertical(const BrushFace& f) { return std::fabs(f.normal.z) < kAxisSlack; }

enum class EntityRole { World, Trigger, Door, Lift, Other };

EntityRole RoleOf(const MapEntity& entity) {
  std::string classname = Lower(entity.Value("classname"));
  if (classname == "worldspawn") return EntityRole::World;
  if (StartsWith(classname, "trigger")) return EntityRole::Trigger;
  if (classname.find("door") != std::string::npos) return EntityRole::Door;
  if (StartsWith(classname, "func_plat") || classname.find("lift") != std::string::npos ||
      classname.find("elevator") != std::string::npos)
    return EntityRole::Lift;
  return EntityRole::Other;
}

struct Cover {
  double height;
  std::vector<Vec2> polygon;
};

WallLine LineOf(const BrushFace& face, WallLine::Kind kind) {
  // Along the face: perpendicular to its normal in the ground plane.
  Vec2 dir{-face.normal.y, face.normal.x};
  double lo = 0, hi = 0;
  Vec2 a, b;
  for (std::size_t i = 0; i < face.points.size(); ++i) {
    double t = face.points[i].x * dir.x + face.points[i].y * dir.y;
    if (i == 0 || t < lo) {
      lo = t;
      a = {face.points[i].x, face.points[i].y};
    }
    if (i == 0 || t > hi) {
      hi = t;
      b = {face.points[i].x, face.points[i].y};
    }
  }
  return {a, b, kind};
}

bool ReadOrigin(const MapEntity& entity, Vec2& origin) {
  std::istringstream in(entity.Value("origin"));
  double x = 0, y = 0;
  if (!(in >> x >> y) || !std::isfinite(x) || !std::isfinite(y)) return false;
  origin = {x, y};
  return true;
}

}  // namespace

bool IsDrawnMaterial(const std::string& material) {
  std::string m = Lower(material);
  if (StartsWith(m, "textures/")) m = m.substr(9);
  return !m.empty() && m != "zdoom/hidden" && m != "zdoom/trigger" && !StartsWith(m, "zdoom/sky") &&
         !StartsWith(m, "common/") && m != "_default";
}

Scene SelectScene(const MapFile& map) {
  Scene scene;
  std::vector<Cover> covers;
  for (const MapEntity& entity : map.entities) {
    EntityRole role = RoleOf(entity);
    if (role == EntityRole::Trigger) continue;
    if (entity.brushes.empty()) {
      EntityMark mark;
      if (role != EntityRole::World && ReadOrigin(entity, mark.origin)) {
        mark.classname = Lower(entity.Value("classname"));
        mark.doomKind = Lower(entity.Value("doom_kind"));
        std::istringstream angle(entity.Value("angle"));
        if (!(angle >> mark.angleDegrees) || !std::isfinite(mark.angleDegrees)) mark.angleDegrees = 0;
        scene.marks.push_back(mark);
      }
      continue;
    }
    bool mover = role == EntityRole::Door || role == EntityRole::Lift;
    for (const MapBrush& brush : entity.brushes) {
      std::vector<BrushFace> faces = BuildBrushFaces(brush);
      if (faces.empty()) {
        ++scene.skippedBrushes;
        continue;
      }
      bool drawnTop = false, drawnBottom = false;
      for (const BrushFace& face : faces) {
        if (IsHorizontalDown(face)) {
          covers.push_back({MeanHeight(face.points), Flatten(face.points)});
          drawnBottom = drawnBottom || IsDrawnMaterial(face.material);
          if (mover) scene.movers.push_back({Flatten(face.points), role == EntityRole::Door ? MoverFootprint::Door : MoverFootprint::Lift});
        } else if (IsHorizontalUp(face) && IsDrawnMaterial(face.material)) {
          drawnTop = true;
          scene.floors.push_back({Flatten(face.points), MeanHeight(face.points), face.material});
        }
      }
      if (mover) continue;
      WallLine::Kind kind = drawnTop ? WallLine::FloorStep : drawnBottom ? WallLine::CeilingStep : WallLine::Wall;
      for (const BrushFace& face : faces)
        if (IsVertical(face) && IsDrawnMaterial(face.material)) scene.walls.push_back(LineOf(face, kind));
    }
  }

  std::sort(covers.begin(), covers.end(), [](const Cover& a, const Cover& b) { return a.height < b.height; });
  auto covered = [&](const FloorFace& floor) {
    Vec2 centre = Centroid(floor.polygon);
    auto first = std::lower_bound(covers.begin(), covers.end(), floor.height - 1e-6,
                                  [](const Cover& c, double h) { return c.height < h; });
    for (auto it = first; it != covers.end() && it->height <= floor.height + kCoverHeight; ++it)
      if (InsideConvex(it->polygon, centre)) return true;
    return false;
  };
  scene.floors.erase(std::remove_if(scene.floors.begin(), scene.floors.end(), covered), scene.floors.end());
  std::stable_sort(scene.floors.begin(), scene.floors.end(),
                   [](const FloorFace& a, const FloorFace& b) { return a.height < b.height; });
  return scene;
}

}  // namespace mappreview
