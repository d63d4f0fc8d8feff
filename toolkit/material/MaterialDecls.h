// MaterialDecls: the materials of DOOM 3 material files, read as the engine
// reads what a picture or a check needs of them.
//
// A file is a run of declarations `name { ... }` (other decl kinds such as
// `table x { ... }` are skipped). Within a material, a braced block is a stage;
// `diffusemap X` is a diffuse stage of image X. A stage keeps its blend
// (diffuse or not), its image (the first name of an image program), its `if`
// condition and its matrix keywords (`translate`/`scroll`, `scale`,
// `centerScale`, `shear`, `rotate`) with their expressions, and `alphaTest`.
// Expressions follow the engine's grammar: numbers, `time`, `parm0`..`parm11`,
// `global0`..`global7`, + - * / % comparisons && ||, parentheses, where
// operators of one priority group to the right as the engine parses them;
// table lookups are not supported (such an expression fails its material).
// Other keywords are skipped to the end of their line (the files we read keep
// one keyword a line). Names are compared as the engine does: lower case,
// '\' as '/', without an extension; the first definition of a name wins.
// A material that does not parse is recorded as broken, never thrown out of Add.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "TextureMatrix.h"

namespace material {

// What an expression reads: the time in seconds and the shader parms.
struct ExpressionInputs {
  double time = 0;
  double parms[12] = {};
};

// An expression tree; Evaluate follows the engine's register arithmetic (% on truncated integers).
class Expression {
public:
  struct Node;
  explicit Expression(std::shared_ptr<const Node> root) : m_root(std::move(root)) {}
  double Evaluate(const ExpressionInputs& inputs) const;

private:
  std::shared_ptr<const Node> m_root;
};

struct KeywordDecl {
  KeywordKind kind = KeywordKind::Translate;
  std::vector<Expression> values;  // two, or one for rotate
};

struct StageDecl {
  bool diffuse = false;
  std::string image;                     // canonical, "" when none
  std::optional<Expression> condition;   // `if`
  std::vector<KeywordDecl> transforms;   // in writing order
  bool alphaTest = false;

  bool Active(const ExpressionInputs& inputs) const;
  TextureMatrix Matrix(const ExpressionInputs& inputs) const;
};

struct MaterialDecl {
  std::string name;  // canonical
  std::vector<StageDecl> stages;
  bool broken = false;  // the text did not parse; the engine would use a default
};

class MaterialDecls {
public:
  // Reads every declaration of one file's text; returns how many materials were new.
  int Add(const std::string& text);
  // The material named `name` (any case, with or without an extension), or nullptr.
  const MaterialDecl* Find(const std::string& name) const;
  std::size_t Count() const { return m_materials.size(); }

  // The first diffuse stage active for `inputs`, or nullptr.
  static const StageDecl* ActiveDiffuse(const MaterialDecl& material, const ExpressionInputs& inputs);

private:
  std::map<std::string, MaterialDecl> m_materials;
};

// The engine's canonical form of a decl or image name.
std::string CanonicalName(const std::string& name);

}  // namespace material
