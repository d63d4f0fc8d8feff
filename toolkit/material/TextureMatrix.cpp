#include "TextureMatrix.h"

#include <cmath>

namespace material {

namespace {

constexpr double kTwoPi = 6.283185307179586476925;

TextureMatrix Rows(double a, double b, double c, double d, double e, double f) {
  TextureMatrix x;
  x.m[0][0] = a, x.m[0][1] = b, x.m[0][2] = c;
  x.m[1][0] = d, x.m[1][1] = e, x.m[1][2] = f;
  return x;
}

}  // namespace

TextureMatrix Multiply(const TextureMatrix& earlier, const TextureMatrix& later) {
  const auto& o = earlier.m;
  const auto& n = later.m;
  return Rows(o[0][0] * n[0][0] + o[0][1] * n[1][0], o[0][0] * n[0][1] + o[0][1] * n[1][1],
              o[0][0] * n[0][2] + o[0][1] * n[1][2] + o[0][2], o[1][0] * n[0][0] + o[1][1] * n[1][0],
              o[1][0] * n[0][1] + o[1][1] * n[1][1], o[1][0] * n[0][2] + o[1][1] * n[1][2] + o[1][2]);
}

TextureMatrix KeywordMatrix(const MatrixKeyword& k) {
  switch (k.kind) {
    case KeywordKind::Translate: return Rows(1, 0, k.a, 0, 1, k.b);
    case KeywordKind::Scale: return Rows(k.a, 0, 0, 0, k.b, 0);
    case KeywordKind::CenterScale: return Rows(k.a, 0, 0.5 - 0.5 * k.a, 0, k.b, 0.5 - 0.5 * k.b);
    case KeywordKind::Shear: return Rows(1, k.a, -0.5 * k.a, k.b, 1, -0.5 * k.b);
    case KeywordKind::Rotate: {
      const double s = std::sin(kTwoPi * k.a), c = std::cos(kTwoPi * k.a);
      return Rows(c, -s, 0.5 - 0.5 * c + 0.5 * s, s, c, 0.5 - 0.5 * s - 0.5 * c);
    }
  }
  return TextureMatrix{};
}

TextureMatrix Compose(const std::vector<MatrixKeyword>& written) {
  TextureMatrix stage;
  for (const MatrixKeyword& keyword : written) stage = Multiply(stage, KeywordMatrix(keyword));
  return stage;
}

std::optional<std::vector<MatrixKeyword>> KeywordsFor(const TextureMatrix& target) {
  const auto& m = target.m;
  std::vector<MatrixKeyword> keywords;
  // The translation goes first in writing order (it acts last); its value is fixed below.
  keywords.push_back({KeywordKind::Translate, 0, 0});
  if (m[0][1] == 0 && m[1][0] == 0 && m[0][0] != 0 && m[1][1] != 0) {
    keywords.push_back({KeywordKind::Scale, m[0][0], m[1][1]});
  } else if (m[0][0] == 0 && m[1][1] == 0 && m[0][1] != 0 && m[1][0] != 0) {
    // (0, p; q, 0) = diag(-p, q) x quarter turn (0, -1; 1, 0), and the quarter
    // turn is three shears: x by -1, y by 1, x by -1.
    keywords.push_back({KeywordKind::Scale, -m[0][1], m[1][0]});
    keywords.push_back({KeywordKind::Shear, -1, 0});
    keywords.push_back({KeywordKind::Shear, 0, 1});
    keywords.push_back({KeywordKind::Shear, -1, 0});
  } else {
    return std::nullopt;
  }
  // Whatever the later keywords translate (the shears' centre offsets) the first one takes back.
  const TextureMatrix rest = Compose(keywords);
  keywords.front().a = m[0][2] - rest.m[0][2];
  keywords.front().b = m[1][2] - rest.m[1][2];
  return keywords;
}

const char* KeywordName(KeywordKind kind) {
  switch (kind) {
    case KeywordKind::Translate: return "translate";
    case KeywordKind::Scale: return "scale";
    case KeywordKind::CenterScale: return "centerScale";
    case KeywordKind::Shear: return "shear";
    case KeywordKind::Rotate: return "rotate";
  }
  return "translate";
}

}  // namespace material
