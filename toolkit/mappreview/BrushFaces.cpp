#include "BrushFaces.h"

#include <algorithm>
#include <cmath>

namespace mappreview {
namespace {

// Points this close to a plane count as on it: map coordinates are written
// with a few decimals, so anything smaller is rounding, not geometry.
constexpr double kOnPlaneEpsilon = 0.01;
// Half the size of the starting square on each plane, larger than any level.
constexpr double kHugeHalfSize = 1.0e6;

struct Plane {
  Vec3 normal;
  double dist = 0;
};

bool PlaneFromPoints(const MapPlane& mp, Plane& plane) {
  Vec3 n = Cross(mp.points[0] - mp.points[1], mp.points[2] - mp.points[1]);
  double length = Length(n);
  if (length < 1e-9) return false;
  plane.normal = n * (1.0 / length);
  plane.dist = Dot(plane.normal, mp.points[1]);
  return true;
}

std::vector<Vec3> HugeSquareOn(const Plane& plane) {
  // Pick the axis least aligned with the normal to build two in-plane directions.
  Vec3 n = plane.normal;
  Vec3 up = std::fabs(n.z) < 0.9 ? Vec3{0, 0, 1} : Vec3{1, 0, 0};
  Vec3 u = Cross(up, n);
  u = u * (1.0 / Length(u));
  Vec3 v = Cross(n, u);
  Vec3 centre = n * plane.dist;
  u = u * kHugeHalfSize;
  v = v * kHugeHalfSize;
  return {centre - u - v, centre + u - v, centre + u + v, centre - u + v};
}

// Keeps the part of `points` behind `plane` (the brush side).
std::vector<Vec3> ClipBehind(const std::vector<Vec3>& points, const Plane& plane) {
  std::vector<Vec3> kept;
  std::size_t count = points.size();
  for (std::size_t i = 0; i < count; ++i) {
    const Vec3& a = points[i];
    const Vec3& b = points[(i + 1) % count];
    double da = Dot(plane.normal, a) - plane.dist;
    double db = Dot(plane.normal, b) - plane.dist;
    if (da <= kOnPlaneEpsilon) kept.push_back(a);
    if ((da < -kOnPlaneEpsilon && db > kOnPlaneEpsilon) || (da > kOnPlaneEpsilon && db < -kOnPlaneEpsilon)) {
      double t = da / (da - db);
      kept.push_back(a + (b - a) * t);
    }
  }
  return kept;
}

double PolygonArea(const std::vector<Vec3>& points, Vec3 normal) {
  Vec3 sum{0, 0, 0};
  for (std::size_t i = 0; i < points.size(); ++i) sum = sum + Cross(points[i], points[(i + 1) % points.size()]);
  return std::fabs(Dot(sum, normal)) * 0.5;
}

std::vector<BrushFace> FacesOf(const std::vector<Plane>& planes, const MapBrush& brush, const std::vector<int>& source) {
  std::vector<BrushFace> faces;
  for (std::size_t i = 0; i < planes.size(); ++i) {
    std::vector<Vec3> points = HugeSquareOn(planes[i]);
    for (std::size_t j = 0; j < planes.size() && points.size() >= 3; ++j) {
      if (j == i) continue;
      // A duplicate plane would clip the face to nothing; keep the first one.
      bool same = Dot(planes[i].normal, planes[j].normal) > 1 - 1e-9 &&
                  std::fabs(planes[i].dist - planes[j].dist) < kOnPlaneEpsilon;
      if (same && j > i) continue;
      points = ClipBehind(points, planes[j]);
    }
    if (points.size() < 3 || PolygonArea(points, planes[i].normal) < 1e-3) continue;
    faces.push_back({planes[i].normal, std::move(points), brush.planes[source[i]].material});
  }
  return faces;
}

}  // namespace

std::vector<BrushFace> BuildBrushFaces(const MapBrush& brush) {
  std::vector<Plane> planes;
  std::vector<int> source;
  for (std::size_t i = 0; i < brush.planes.size(); ++i) {
    Plane plane;
    if (!PlaneFromPoints(brush.planes[i], plane)) continue;
    planes.push_back(plane);
    source.push_back(static_cast<int>(i));
  }
  if (planes.size() < 4) return {};
  std::vector<BrushFace> faces = FacesOf(planes, brush, source);
  // A face still reaching the starting square means the planes leave the brush open.
  for (const BrushFace& face : faces)
    for (const Vec3& p : face.points)
      if (std::fabs(p.x) > kHugeHalfSize / 2 || std::fabs(p.y) > kHugeHalfSize / 2 || std::fabs(p.z) > kHugeHalfSize / 2)
        return {};
  return faces;
}

}  // namespace mappreview
