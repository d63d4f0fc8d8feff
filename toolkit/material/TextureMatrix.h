// TextureMatrix: DOOM 3's texture matrix of one material stage, built from the
// stage keywords exactly as the engine's material parser builds it.
//
// A matrix maps a face's texture coordinates (s, t) to
//   s' = m[0][0] s + m[0][1] t + m[0][2],   t' = m[1][0] s + m[1][1] t + m[1][2].
// Each keyword gives its own matrix; the stage's matrix is the product of the
// matrices in writing order (old x new), so the keyword written last acts
// first on (s, t). `shear` and `centerScale` carry the engine's centre offsets.
// `rotate` uses exact sine and cosine here (the engine looks them up in its
// sinTable and cosTable decls). KeywordsFor goes the other way for the
// matrices a DOOM face needs: a linear part that is a scaled quarter turn or
// reflection (no rotate, no table), any translation. Values only; no I/O.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace material {

struct TextureMatrix {
  double m[2][3] = {{1, 0, 0}, {0, 1, 0}};

  double S(double s, double t) const { return m[0][0] * s + m[0][1] * t + m[0][2]; }
  double T(double s, double t) const { return m[1][0] * s + m[1][1] * t + m[1][2]; }
};

// `earlier` x `later`: the stage matrix after `later` was written behind `earlier`.
TextureMatrix Multiply(const TextureMatrix& earlier, const TextureMatrix& later);

enum class KeywordKind { Translate, Scale, CenterScale, Shear, Rotate };

// One matrix keyword with its two values (Rotate uses only `a`, in full turns).
struct MatrixKeyword {
  KeywordKind kind = KeywordKind::Translate;
  double a = 0;
  double b = 0;
};

// The matrix the engine builds for one keyword.
TextureMatrix KeywordMatrix(const MatrixKeyword& keyword);
// The stage matrix of keywords in writing order.
TextureMatrix Compose(const std::vector<MatrixKeyword>& written);

// Keywords in writing order whose composition is `target`, or nothing when its
// linear part is not a diagonal or anti-diagonal matrix with non-zero entries.
std::optional<std::vector<MatrixKeyword>> KeywordsFor(const TextureMatrix& target);

// The keyword's name as a material file spells it ("translate", "scale", ...).
const char* KeywordName(KeywordKind kind);

}  // namespace material
