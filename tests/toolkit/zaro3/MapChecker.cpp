#include "MapChecker.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

namespace zaro3test {

namespace {

struct Vec {
  double x, y, z;
};
Vec Sub(Vec a, Vec b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec Cross(Vec a, Vec b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
double Dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
double Length(Vec a) { return std::sqrt(Dot(a, a)); }

struct Plane {
  Vec n;  // unit, out of the brush
  double d;
};

class Tokens {
public:
  explicit Tokens(const std::string& text) : m_text(text) {}
  bool Next(std::string& token, bool& quoted) {
    while (m_at < m_text.size() && std::isspace(static_cast<unsigned char>(m_text[m_at]))) ++m_at;
    if (m_at >= m_text.size()) return false;
    quoted = m_text[m_at] == '"';
    if (quoted) {
      const std::size_t end = m_text.find('"', m_at + 1);
      if (end == std::string::npos) return false;
      token = m_text.substr(m_at + 1, end - m_at - 1);
      m_at = end + 1;
      return true;
    }
    const std::size_t start = m_at;
    while (m_at < m_text.size() && !std::isspace(static_cast<unsigned char>(m_text[m_at]))) ++m_at;
    token = m_text.substr(start, m_at - start);
    return true;
  }

private:
  const std::string& m_text;
  std::size_t m_at = 0;
};

bool PlainNumber(const std::string& s, double& value) {
  if (s.empty() || s.find_first_of("eE") != std::string::npos) return false;
  char* end = nullptr;
  value = std::strtod(s.c_str(), &end);
  return end == s.c_str() + s.size();
}

bool ParsePlaneLine(Tokens& tokens, CheckedPlane& plane, std::string& error) {
  std::string t;
  bool q;
  for (int i = 0; i < 3; ++i) {
    if (i > 0 && (!tokens.Next(t, q) || t != "(")) return error = "expected (", false;
    for (int k = 0; k < 3; ++k) {
      if (!tokens.Next(t, q) || !PlainNumber(t, plane.p[i][k])) return error = "bad number " + t, false;
    }
    if (!tokens.Next(t, q) || t != ")") return error = "expected )", false;
  }
  if (!tokens.Next(plane.material, q)) return error = "no material", false;
  for (int k = 0; k < 5; ++k) {
    double v;
    if (!tokens.Next(t, q) || !PlainNumber(t, v)) return error = "expected five numbers", false;
  }
  return true;
}

}  // namespace

std::string CheckedEntity::Value(const std::string& key) const {
  for (const auto& kv : keys) {
    if (kv.first == key) return kv.second;
  }
  return "";
}

std::string BrushProblem(const std::vector<CheckedPlane>& input) {
  if (input.size() < 4) return "fewer than four planes";
  std::vector<Plane> planes;
  for (const CheckedPlane& cp : input) {
    const Vec p0{cp.p[0][0], cp.p[0][1], cp.p[0][2]}, p1{cp.p[1][0], cp.p[1][1], cp.p[1][2]},
        p2{cp.p[2][0], cp.p[2][1], cp.p[2][2]};
    Vec n = Cross(Sub(p0, p1), Sub(p2, p1));
    const double len = Length(n);
    if (len < 1e-9) return "plane through three points on one line";
    n = {n.x / len, n.y / len, n.z / len};
    planes.push_back({n, Dot(n, p1)});
  }
  for (std::size_t i = 0; i < planes.size(); ++i) {
    for (std::size_t j = i + 1; j < planes.size(); ++j) {
      const double c = Dot(planes[i].n, planes[j].n);
      if (c > 1 - 1e-9 && std::fabs(planes[i].d - planes[j].d) < 1e-6) return "duplicate plane";
      if (c < -1 + 1e-9 && std::fabs(planes[i].d + planes[j].d) < 1e-6) return "mirrored plane";
    }
  }
  const double eps = 1e-4;
  std::vector<Vec> corners;
  std::vector<std::vector<Vec>> onPlane(planes.size());
  for (std::size_t a = 0; a < planes.size(); ++a) {
    for (std::size_t b = a + 1; b < planes.size(); ++b) {
      for (std::size_t c = b + 1; c < planes.size(); ++c) {
        const Vec bc = Cross(planes[b].n, planes[c].n);
        const double det = Dot(planes[a].n, bc);
        if (std::fabs(det) < 1e-9) continue;
        const Vec ca = Cross(planes[c].n, planes[a].n), ab = Cross(planes[a].n, planes[b].n);
        const Vec x{(planes[a].d * bc.x + planes[b].d * ca.x + planes[c].d * ab.x) / det,
                    (planes[a].d * bc.y + planes[b].d * ca.y + planes[c].d * ab.y) / det,
                    (planes[a].d * bc.z + planes[b].d * ca.z + planes[c].d * ab.z) / det};
        bool inside = true;
        for (const Plane& p : planes) inside = inside && Dot(p.n, x) - p.d <= eps;
        if (!inside) continue;
        corners.push_back(x);
        for (std::size_t k = 0; k < planes.size(); ++k) {
          if (std::fabs(Dot(planes[k].n, x) - planes[k].d) <= eps) onPlane[k].push_back(x);
        }
      }
    }
  }
  if (corners.size() < 4) return "not closed (fewer than four corners)";
  for (std::size_t k = 0; k < planes.size(); ++k) {
    bool face = false;
    const auto& v = onPlane[k];
    for (std::size_t i = 0; i < v.size() && !face; ++i) {
      for (std::size_t j = i + 1; j < v.size() && !face; ++j) {
        for (std::size_t l = j + 1; l < v.size() && !face; ++l) face = Length(Cross(Sub(v[j], v[i]), Sub(v[l], v[i]))) > 1e-6;
      }
    }
    if (!face) return "plane " + std::to_string(k) + " carries no face (open or redundant)";
  }
  double volume = 0;
  for (std::size_t i = 1; i < corners.size() && volume <= 1e-6; ++i) {
    for (std::size_t j = i + 1; j < corners.size() && volume <= 1e-6; ++j) {
      for (std::size_t l = j + 1; l < corners.size() && volume <= 1e-6; ++l) {
        volume = std::fabs(Dot(Sub(corners[i], corners[0]), Cross(Sub(corners[j], corners[0]), Sub(corners[l], corners[0]))));
      }
    }
  }
  if (volume <= 1e-6) return "no volume";
  return "";
}

MapCheck CheckMapText(const std::string& text) {
  MapCheck check;
  Tokens tokens(text);
  std::string t;
  bool quoted;
  while (tokens.Next(t, quoted)) {
    if (quoted || t != "{") return check.parseError = "expected { of an entity", check;
    CheckedEntity entity;
    while (true) {
      if (!tokens.Next(t, quoted)) return check.parseError = "end inside an entity", check;
      if (!quoted && t == "}") break;
      if (quoted) {
        std::string value;
        if (!tokens.Next(value, quoted) || !quoted) return check.parseError = "key without value", check;
        entity.keys.emplace_back(t, value);
        continue;
      }
      if (t != "{") return check.parseError = "unexpected " + t, check;
      std::vector<CheckedPlane> brush;
      while (true) {
        if (!tokens.Next(t, quoted)) return check.parseError = "end inside a brush", check;
        if (t == "}") break;
        if (t != "(") return check.parseError = "expected ( of a plane", check;
        CheckedPlane plane;
        if (!ParsePlaneLine(tokens, plane, check.parseError)) return check;
        brush.push_back(plane);
      }
      ++check.brushes;
      const std::string problem = BrushProblem(brush);
      if (!problem.empty() && check.badBrushes++ == 0) {
        check.firstProblem = "entity " + std::to_string(check.entities.size()) + " brush " +
                             std::to_string(entity.brushes.size()) + ": " + problem;
      }
      entity.brushes.push_back(std::move(brush));
    }
    check.entities.push_back(std::move(entity));
  }
  check.parsed = true;
  return check;
}

}  // namespace zaro3test
