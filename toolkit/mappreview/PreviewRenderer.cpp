#include "PreviewRenderer.h"

#include <algorithm>
#include <cmath>

#include "Canvas.h"
#include "EntityStyle.h"

namespace mappreview {
namespace {

constexpr double kPi = 3.14159265358979323846;
// DOOM 3's classic brush faces lay one texture repeat per this many map units before the stage matrix.
constexpr double kUnitsPerRepeat = 32;
// The canvas is drawn this many samples per pixel each way, fewer for huge pictures.
constexpr int kSupersample = 3;
constexpr double kMaxCanvasSamples = 24.0e6;
// The lowest floor keeps this much of its texture's brightness; the highest all of it.
constexpr double kLowestBrightness = 0.42;

const Rgb kBackground{18, 20, 26};
const Rgb kShadow{0, 0, 0};
const Rgb kWall{238, 228, 206};
const Rgb kFloorStep{170, 160, 142};
const Rgb kCeilingStep{120, 130, 150};
const Rgb kDoorFill{190, 120, 50};
const Rgb kDoorEdge{255, 190, 100};
const Rgb kLiftFill{50, 170, 200};
const Rgb kLiftEdge{130, 230, 255};

struct Bounds {
  double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
  void Add(Vec2 p) {
    minX = std::min(minX, p.x);
    minY = std::min(minY, p.y);
    maxX = std::max(maxX, p.x);
    maxY = std::max(maxY, p.y);
  }
};

Bounds SceneBounds(const Scene& scene) {
  Bounds bounds;
  for (const FloorFace& floor : scene.floors)
    for (Vec2 p : floor.polygon) bounds.Add(p);
  for (const WallLine& wall : scene.walls) {
    bounds.Add(wall.a);
    bounds.Add(wall.b);
  }
  for (const MoverFootprint& mover : scene.movers)
    for (Vec2 p : mover.polygon) bounds.Add(p);
  return bounds;
}

// Map units to canvas samples: north up, the level inside the margin.
struct View {
  double minX = 0, maxY = 0, samplesPerUnit = 1, marginSamples = 0;
  Vec2 ToCanvas(Vec2 p) const {
    return {(p.x - minX) * samplesPerUnit + marginSamples, (maxY - p.y) * samplesPerUnit + marginSamples};
  }
  Vec2 ToWorld(double x, double y) const {
    return {(x - marginSamples) / samplesPerUnit + minX, maxY - (y - marginSamples) / samplesPerUnit};
  }
  std::vector<Vec2> ToCanvas(const std::vector<Vec2>& polygon) const {
    std::vector<Vec2> out;
    out.reserve(polygon.size());
    for (Vec2 p : polygon) out.push_back(ToCanvas(p));
    return out;
  }
};

Rgb Scaled(Rgb c, double f) { return {c.r * f, c.g * f, c.b * f}; }

int PositiveModulo(long long value, int divisor) {
  long long m = value % divisor;
  return static_cast<int>(m < 0 ? m + divisor : m);
}

void PaintFloor(Canvas& canvas, const View& view, const FloorFace& floor, const FloorTexture& texture,
                double brightness, double mapScale) {
  std::vector<Vec2> polygon = view.ToCanvas(floor.polygon);
  if (texture.levels.empty()) {
    canvas.FillConvex(polygon, Scaled(texture.flat, brightness), 1.0);
    return;
  }
  // The halved copy whose texels are about one canvas sample big.
  double texelsPerSample = 1.0 / (view.samplesPerUnit * mapScale);
  int level = texelsPerSample > 1 ? static_cast<int>(std::floor(std::log2(texelsPerSample) + 0.5)) : 0;
  level = std::clamp(level, 0, static_cast<int>(texture.levels.size()) - 1);
  const Picture& picture = texture.levels[level];
  double texelsPerUnit = 1.0 / (mapScale * std::ldexp(1.0, level));
  const material::TextureMatrix& m = texture.matrix;
  canvas.ForEachSpan(polygon, [&](int y, int x0, int x1) {
    for (int x = x0; x < x1; ++x) {
      Vec2 world = view.ToWorld(x + 0.5, y + 0.5);
      int u = 0, v = 0;
      if (texture.staged) {
        // DOOM 3 projects an upward face with s = y / 32, t = x / 32, then the stage matrix.
        const double s = world.y / kUnitsPerRepeat, t = world.x / kUnitsPerRepeat;
        u = PositiveModulo(static_cast<long long>(std::floor(m.S(s, t) * picture.width)), picture.width);
        v = PositiveModulo(static_cast<long long>(std::floor(m.T(s, t) * picture.height)), picture.height);
      } else {
        // DOOM lays flats on the world grid with texture rows running southwards.
        u = PositiveModulo(static_cast<long long>(std::floor(world.x * texelsPerUnit)), picture.width);
        v = PositiveModulo(static_cast<long long>(std::floor(-world.y * texelsPerUnit)), picture.height);
      }
      const uint8_t* texel = picture.At(u, v);
      canvas.Blend(x, y, {texel[0] * brightness, texel[1] * brightness, texel[2] * brightness}, texel[3] / 255.0);
    }
  });
}

void PaintFloors(Canvas& canvas, const View& view, const Scene& scene, TextureLibrary& textures, double mapScale) {
  if (scene.floors.empty()) return;
  double low = scene.floors.front().height, high = scene.floors.back().height;
  for (const FloorFace& floor : scene.floors) {
    double t = high > low ? (floor.height - low) / (high - low) : 1.0;
    PaintFloor(canvas, view, floor, textures.Find(floor.material), kLowestBrightness + (1 - kLowestBrightness) * t,
               mapScale);
  }
}

void PaintMovers(Canvas& canvas, const View& view, const Scene& scene, double pixel) {
  for (const MoverFootprint& mover : scene.movers) {
    bool door = mover.kind == MoverFootprint::Door;
    std::vector<Vec2> polygon = view.ToCanvas(mover.polygon);
    canvas.FillConvex(polygon, door ? kDoorFill : kLiftFill, door ? 0.55 : 0.3);
    for (std::size_t i = 0; i < polygon.size(); ++i)
      canvas.Line(polygon[i], polygon[(i + 1) % polygon.size()], 0.6 * pixel, door ? kDoorEdge : kLiftEdge, 0.9);
  }
}

void PaintWalls(Canvas& canvas, const View& view, const Scene& scene, double pixel) {
  for (const WallLine& line : scene.walls)
    if (line.kind == WallLine::CeilingStep)
      canvas.Line(view.ToCanvas(line.a), view.ToCanvas(line.b), 0.4 * pixel, kCeilingStep, 0.35);
  for (const WallLine& line : scene.walls)
    if (line.kind == WallLine::FloorStep)
      canvas.Line(view.ToCanvas(line.a), view.ToCanvas(line.b), 0.55 * pixel, kFloorStep, 0.85);
  for (const WallLine& line : scene.walls)
    if (line.kind == WallLine::Wall)
      canvas.Line(view.ToCanvas(line.a), view.ToCanvas(line.b), 1.6 * pixel, kShadow, 0.45);
  for (const WallLine& line : scene.walls)
    if (line.kind == WallLine::Wall) canvas.Line(view.ToCanvas(line.a), view.ToCanvas(line.b), 0.85 * pixel, kWall, 1.0);
}

// An arrow as two triangles (it is not convex), pointing along `dir`.
void Arrow(Canvas& canvas, Vec2 c, Vec2 dir, double length, Rgb colour, double alpha) {
  Vec2 side{-dir.y, dir.x};
  auto at = [&](double along, double across) {
    return Vec2{c.x + dir.x * along * length + side.x * across * length,
                c.y + dir.y * along * length + side.y * across * length};
  };
  Vec2 tip = at(0.6, 0), left = at(-0.4, 0.38), right = at(-0.4, -0.38), notch = at(-0.18, 0);
  canvas.FillConvex({tip, left, notch}, colour, alpha);
  canvas.FillConvex({tip, notch, right}, colour, alpha);
}

void PaintMarks(Canvas& canvas, const View& view, const Scene& scene, double pixel, double unit) {
  // Small marks first, so lights never hide a monster and the start lies on top.
  std::vector<std::pair<MarkStyle, const EntityMark*>> marks;
  for (const EntityMark& mark : scene.marks) marks.emplace_back(StyleOf(KindOf(mark.classname, mark.doomKind)), &mark);
  std::stable_sort(marks.begin(), marks.end(), [](const auto& a, const auto& b) { return a.first.size < b.first.size; });
  for (const auto& [style, mark] : marks) {
    Vec2 c = view.ToCanvas(mark->origin);
    double size = style.size * unit;
    if (style.shape == MarkStyle::Dot) {
      if (style.outlined) canvas.Disc(c, size + 0.9 * pixel, kShadow, 0.8);
      canvas.Disc(c, size, style.colour, style.alpha);
    } else {
      double angle = mark->angleDegrees * kPi / 180;
      Vec2 dir{std::cos(angle), -std::sin(angle)};
      if (style.outlined) Arrow(canvas, c, dir, size + 3 * pixel, kShadow, 0.8);
      Arrow(canvas, c, dir, size, style.colour, style.alpha);
    }
  }
}

}  // namespace

Picture RenderPreview(const Scene& scene, TextureLibrary& textures, const RenderOptions& options) {
  Bounds bounds = SceneBounds(scene);
  double width = std::max(1.0, bounds.maxX - bounds.minX);
  double height = std::max(1.0, bounds.maxY - bounds.minY);
  int margin = std::max(8, options.longSide / 28);
  double pixelsPerUnit = (options.longSide - 2.0 * margin) / std::max(width, height);
  int pictureWidth = static_cast<int>(std::lround(width * pixelsPerUnit)) + 2 * margin;
  int pictureHeight = static_cast<int>(std::lround(height * pixelsPerUnit)) + 2 * margin;

  int samples = kSupersample;
  while (samples > 1 && double(pictureWidth) * pictureHeight * samples * samples > kMaxCanvasSamples) --samples;
  View view;
  view.minX = bounds.minX;
  view.maxY = bounds.maxY;
  view.samplesPerUnit = pixelsPerUnit * samples;
  view.marginSamples = margin * samples;
  // Line widths and marks grow with the picture, measured in canvas samples.
  double pixel = samples * std::max(1.0, options.longSide / 1600.0);
  double unit = samples * std::max(2.5, options.longSide / 420.0);

  Canvas canvas(pictureWidth * samples, pictureHeight * samples, kBackground);
  PaintFloors(canvas, view, scene, textures, options.mapScale);
  PaintMovers(canvas, view, scene, pixel);
  PaintWalls(canvas, view, scene, pixel);
  PaintMarks(canvas, view, scene, pixel, unit);
  return canvas.Downsample(samples);
}

}  // namespace mappreview
