#include "MaterialDecls.h"

#include <cctype>
#include <cmath>
#include <stdexcept>

namespace material {

namespace {

struct Token {
  std::string text;
  bool number = false;
  bool quoted = false;
  int line = 0;
};

bool NameChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '/' || c == '\\' || c == ':' || c == '.';
}

// The engine's lexer as the material parser configures it: path names are one token.
std::vector<Token> Tokenize(const std::string& text) {
  std::vector<Token> tokens;
  int line = 1;
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n) {
    const char c = text[i];
    if (c == '\n') {
      ++line, ++i;
    } else if (std::isspace(static_cast<unsigned char>(c))) {
      ++i;
    } else if (c == '/' && i + 1 < n && text[i + 1] == '/') {
      while (i < n && text[i] != '\n') ++i;
    } else if (c == '/' && i + 1 < n && text[i + 1] == '*') {
      i += 2;
      while (i + 1 < n && !(text[i] == '*' && text[i + 1] == '/')) line += text[i++] == '\n';
      i += 2;
    } else if (c == '"') {
      const std::size_t end = text.find('"', i + 1);
      const std::size_t stop = end == std::string::npos ? n : end;
      tokens.push_back({text.substr(i + 1, stop - i - 1), false, true, line});
      i = stop + 1;
    } else if (std::isdigit(static_cast<unsigned char>(c)) ||
               (c == '.' && i + 1 < n && std::isdigit(static_cast<unsigned char>(text[i + 1])))) {
      std::size_t j = i;
      while (j < n && (std::isdigit(static_cast<unsigned char>(text[j])) || text[j] == '.')) ++j;
      tokens.push_back({text.substr(i, j - i), true, false, line});
      i = j;
    } else if (NameChar(c)) {
      std::size_t j = i;
      while (j < n && NameChar(text[j])) ++j;
      tokens.push_back({text.substr(i, j - i), false, false, line});
      i = j;
    } else {
      static const char* const kPairs[] = {"&&", "||", "<=", ">=", "==", "!="};
      std::string punct(1, c);
      for (const char* pair : kPairs) {
        if (i + 1 < n && c == pair[0] && text[i + 1] == pair[1]) punct = pair;
      }
      tokens.push_back({punct, false, false, line});
      i += punct.size();
    }
  }
  return tokens;
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

class ParseError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

}  // namespace

struct Expression::Node {
  enum class Op { Constant, Time, Parm, Add, Subtract, Multiply, Divide, Modulo, Greater, GreaterEqual, Less,
                  LessEqual, Equal, NotEqual, And, Or };
  Op op = Op::Constant;
  double value = 0;  // Constant; the parm index for Parm
  std::shared_ptr<const Node> a, b;
};

double Expression::Evaluate(const ExpressionInputs& in) const {
  struct Walker {
    const ExpressionInputs& in;
    double Eval(const Node& n) const {
      using Op = Node::Op;
      switch (n.op) {
        case Op::Constant: return n.value;
        case Op::Time: return in.time;
        case Op::Parm: return in.parms[static_cast<int>(n.value)];
        default: break;
      }
      const double a = Eval(*n.a), b = Eval(*n.b);
      switch (n.op) {
        case Op::Add: return a + b;
        case Op::Subtract: return a - b;
        case Op::Multiply: return a * b;
        case Op::Divide: return b != 0 ? a / b : 0;
        case Op::Modulo: {
          const long long divisor = static_cast<long long>(b);
          return static_cast<double>(static_cast<long long>(a) % (divisor != 0 ? divisor : 1));
        }
        case Op::Greater: return a > b;
        case Op::GreaterEqual: return a >= b;
        case Op::Less: return a < b;
        case Op::LessEqual: return a <= b;
        case Op::Equal: return a == b;
        case Op::NotEqual: return a != b;
        case Op::And: return a != 0 && b != 0;
        case Op::Or: return a != 0 || b != 0;
        default: return 0;
      }
    }
  };
  return Walker{in}.Eval(*m_root);
}

namespace {

using Node = Expression::Node;
using NodePtr = std::shared_ptr<const Node>;

class Parser {
public:
  explicit Parser(std::vector<Token> tokens) : m_tokens(std::move(tokens)) {}

  bool AtEnd() const { return m_at >= m_tokens.size(); }
  const Token& Peek() const {
    if (AtEnd()) throw ParseError("unexpected end of file");
    return m_tokens[m_at];
  }
  const Token& Next() {
    const Token& token = Peek();
    ++m_at;
    return token;
  }
  void Expect(const std::string& text) {
    if (Next().text != text) throw ParseError("expected " + text);
  }
  void SkipLine(int line) {
    while (!AtEnd() && m_tokens[m_at].line == line && m_tokens[m_at].text != "{" && m_tokens[m_at].text != "}") ++m_at;
  }
  // From an opening brace to just past its closing brace.
  void SkipBraced() {
    int depth = 0;
    do {
      const std::string& text = Next().text;
      depth += text == "{" ? 1 : text == "}" ? -1 : 0;
    } while (depth > 0);
  }
  std::size_t Position() const { return m_at; }
  void Rewind(std::size_t at) { m_at = at; }

  NodePtr ParseExpression(int priority = 4) {
    if (priority == 0) return ParseTerm();
    NodePtr a = ParseExpression(priority - 1);
    if (AtEnd()) return a;
    const Node::Op op = OperatorOf(Peek(), priority);
    if (op == Node::Op::Constant) return a;
    Next();
    auto node = std::make_shared<Node>();
    node->op = op;
    node->a = a;
    node->b = ParseExpression(priority);
    return node;
  }

  std::string ParseImage() {
    const Token& token = Next();
    if (!AtEnd() && Peek().text == "(") {
      Next();
      std::string found;
      int depth = 1;
      while (depth > 0) {
        const Token& inner = Next();
        if (inner.text == "(") ++depth;
        else if (inner.text == ")") --depth;
        else if (found.empty() && !inner.number && (std::isalpha(static_cast<unsigned char>(inner.text[0])) || inner.quoted))
          found = inner.text;
      }
      return found.empty() ? "" : CanonicalName(found);
    }
    return CanonicalName(token.text);
  }

private:
  static Node::Op OperatorOf(const Token& token, int priority) {
    using Op = Node::Op;
    if (token.quoted) return Op::Constant;
    const std::string& t = token.text;
    switch (priority) {
      case 1: return t == "*" ? Op::Multiply : t == "/" ? Op::Divide : t == "%" ? Op::Modulo : Op::Constant;
      case 2: return t == "+" ? Op::Add : t == "-" ? Op::Subtract : Op::Constant;
      case 3:
        return t == ">" ? Op::Greater : t == ">=" ? Op::GreaterEqual : t == "<" ? Op::Less : t == "<=" ? Op::LessEqual
             : t == "==" ? Op::Equal : t == "!=" ? Op::NotEqual : Op::Constant;
      default: return t == "&&" ? Op::And : t == "||" ? Op::Or : Op::Constant;
    }
  }

  static NodePtr Constant(double value) {
    auto node = std::make_shared<Node>();
    node->value = value;
    return node;
  }

  NodePtr ParseTerm() {
    const Token& token = Next();
    if (token.text == "(") {
      NodePtr inner = ParseExpression();
      Expect(")");
      return inner;
    }
    if (token.number) return Constant(std::stod(token.text));
    if (token.text == "-") {
      const Token& number = Next();
      if (!number.number) throw ParseError("bad negative number " + number.text);
      return Constant(-std::stod(number.text));
    }
    const std::string word = Lower(token.text);
    if (word == "time") {
      auto node = std::make_shared<Node>();
      node->op = Node::Op::Time;
      return node;
    }
    for (int parm = 0; parm < 12; ++parm) {
      if (word == "parm" + std::to_string(parm)) {
        auto node = std::make_shared<Node>();
        node->op = Node::Op::Parm;
        node->value = parm;
        return node;
      }
    }
    if (word.rfind("global", 0) == 0 || word == "sound") return Constant(0);
    if (word == "fragmentprograms") return Constant(1);
    throw ParseError("unsupported term " + token.text);
  }

  std::vector<Token> m_tokens;
  std::size_t m_at = 0;
};

const KeywordKind* MatrixKeywordOf(const std::string& word) {
  static const std::pair<const char*, KeywordKind> kKeywords[] = {
      {"translate", KeywordKind::Translate}, {"scroll", KeywordKind::Translate}, {"scale", KeywordKind::Scale},
      {"centerscale", KeywordKind::CenterScale}, {"shear", KeywordKind::Shear}, {"rotate", KeywordKind::Rotate}};
  for (const auto& [name, kind] : kKeywords) {
    if (word == name) return &kind;
  }
  return nullptr;
}

StageDecl ParseStage(Parser& p) {
  StageDecl stage;
  p.Expect("{");
  while (p.Peek().text != "}") {
    const int line = p.Peek().line;
    const std::string word = Lower(p.Next().text);
    if (word == "blend") {
      stage.diffuse = Lower(p.Next().text) == "diffusemap";
      if (p.Peek().text == ",") p.Next(), p.Next();
    } else if (word == "map") {
      stage.image = p.ParseImage();
    } else if (word == "if") {
      stage.condition = Expression(p.ParseExpression());
    } else if (word == "alphatest") {
      p.ParseExpression();
      stage.alphaTest = true;
    } else if (const KeywordKind* kind = MatrixKeywordOf(word)) {
      KeywordDecl keyword;
      keyword.kind = *kind;
      keyword.values.emplace_back(p.ParseExpression());
      if (*kind != KeywordKind::Rotate) {
        p.Expect(",");
        keyword.values.emplace_back(p.ParseExpression());
      }
      stage.transforms.push_back(std::move(keyword));
    } else {
      p.SkipLine(line);
    }
  }
  p.Next();
  return stage;
}

void ParseMaterialBody(Parser& p, MaterialDecl& material) {
  p.Expect("{");
  while (p.Peek().text != "}") {
    if (p.Peek().text == "{") {
      material.stages.push_back(ParseStage(p));
      continue;
    }
    const int line = p.Peek().line;
    const std::string word = Lower(p.Next().text);
    if (word == "diffusemap" || word == "bumpmap" || word == "specularmap") {
      StageDecl stage;
      stage.diffuse = word == "diffusemap";
      stage.image = p.ParseImage();
      material.stages.push_back(std::move(stage));
    } else {
      p.SkipLine(line);
    }
  }
  p.Next();
}

bool IsOtherDeclKind(const std::string& word) {
  static const char* const kKinds[] = {"table", "skin", "sound", "particle", "fx", "entitydef", "mapdef", "af", "pda",
                                       "email", "video", "audio", "guide"};
  for (const char* kind : kKinds) {
    if (word == kind) return true;
  }
  return false;
}

}  // namespace

bool StageDecl::Active(const ExpressionInputs& inputs) const {
  return !condition || condition->Evaluate(inputs) != 0;
}

TextureMatrix StageDecl::Matrix(const ExpressionInputs& inputs) const {
  TextureMatrix matrix;
  for (const KeywordDecl& keyword : transforms) {
    MatrixKeyword values{keyword.kind, keyword.values[0].Evaluate(inputs), 0};
    if (keyword.values.size() > 1) values.b = keyword.values[1].Evaluate(inputs);
    matrix = Multiply(matrix, KeywordMatrix(values));
  }
  return matrix;
}

std::string CanonicalName(const std::string& name) {
  std::string canonical = Lower(name);
  for (char& c : canonical) {
    if (c == '\\') c = '/';
  }
  const std::size_t dot = canonical.rfind('.');
  const std::size_t slash = canonical.rfind('/');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) canonical.erase(dot);
  return canonical;
}

int MaterialDecls::Add(const std::string& text) {
  Parser p(Tokenize(text));
  int added = 0;
  try {
    while (!p.AtEnd()) {
      std::string name = p.Next().text;
      const std::string word = Lower(name);
      if (IsOtherDeclKind(word) && p.Peek().text != "{") {
        p.Next();
        p.SkipBraced();
        continue;
      }
      if (word == "material" && p.Peek().text != "{") name = p.Next().text;
      if (p.Peek().text != "{") throw ParseError("expected { after " + name);
      MaterialDecl material;
      material.name = CanonicalName(name);
      const std::size_t start = p.Position();
      try {
        ParseMaterialBody(p, material);
      } catch (const ParseError&) {
        material.broken = true;
        material.stages.clear();
        p.Rewind(start);
        p.SkipBraced();
      } catch (const std::logic_error&) {  // a number the library cannot convert
        material.broken = true;
        material.stages.clear();
        p.Rewind(start);
        p.SkipBraced();
      }
      if (m_materials.count(material.name) == 0) {
        ++added;
        m_materials.emplace(material.name, std::move(material));
      }
    }
  } catch (const ParseError&) {
    // An unbalanced file: what was read before the fault stays.
  }
  return added;
}

const MaterialDecl* MaterialDecls::Find(const std::string& name) const {
  const auto found = m_materials.find(CanonicalName(name));
  return found == m_materials.end() ? nullptr : &found->second;
}

const StageDecl* MaterialDecls::ActiveDiffuse(const MaterialDecl& material, const ExpressionInputs& inputs) {
  for (const StageDecl& stage : material.stages) {
    if (stage.diffuse && stage.Active(inputs)) return &stage;
  }
  return nullptr;
}

}  // namespace material
