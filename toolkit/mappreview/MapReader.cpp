#include "MapReader.h"

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <utility>

#include "PreviewError.h"

namespace mappreview {
namespace {

struct Token {
  enum Kind { End, Word, Quoted } kind = End;
  std::string text;
  int line = 0;
};

// Splits map text into words, quoted strings and single-character brackets.
class Lexer {
public:
  Lexer(std::string_view text, std::string name) : m_text(text), m_name(std::move(name)) {}

  Token Next() {
    SkipSpaceAndComments();
    Token token;
    token.line = m_line;
    if (m_at >= m_text.size()) return token;
    char c = m_text[m_at];
    if (c == '"') {
      std::size_t close = m_text.find('"', m_at + 1);
      if (close == std::string_view::npos) Fail(token.line, "unterminated quoted string");
      token.kind = Token::Quoted;
      token.text = std::string(m_text.substr(m_at + 1, close - m_at - 1));
      for (char q : token.text) m_line += q == '\n';
      m_at = close + 1;
      return token;
    }
    token.kind = Token::Word;
    if (c == '{' || c == '}' || c == '(' || c == ')') {
      token.text = std::string(1, c);
      ++m_at;
      return token;
    }
    std::size_t start = m_at;
    while (m_at < m_text.size() && !std::isspace(static_cast<unsigned char>(m_text[m_at])) &&
           m_text[m_at] != '{' && m_text[m_at] != '}' && m_text[m_at] != '(' && m_text[m_at] != ')' &&
           m_text[m_at] != '"')
      ++m_at;
    token.text = std::string(m_text.substr(start, m_at - start));
    return token;
  }

  Token Peek() {
    std::size_t at = m_at;
    int line = m_line;
    Token token = Next();
    m_at = at;
    m_line = line;
    return token;
  }

  [[noreturn]] void Fail(int line, const std::string& what) const {
    throw PreviewError(ExitCode::BadInput, m_name + " line " + std::to_string(line) + ": " + what);
  }

private:
  void SkipSpaceAndComments() {
    while (m_at < m_text.size()) {
      char c = m_text[m_at];
      if (c == '\n') {
        ++m_line;
        ++m_at;
      } else if (std::isspace(static_cast<unsigned char>(c))) {
        ++m_at;
      } else if (c == '/' && m_at + 1 < m_text.size() && m_text[m_at + 1] == '/') {
        while (m_at < m_text.size() && m_text[m_at] != '\n') ++m_at;
      } else {
        return;
      }
    }
  }

  std::string_view m_text;
  std::string m_name;
  std::size_t m_at = 0;
  int m_line = 1;
};

bool IsWord(const Token& token, const char* text) { return token.kind == Token::Word && token.text == text; }

void Expect(Lexer& lexer, const char* text) {
  Token token = lexer.Next();
  if (!IsWord(token, text)) {
    lexer.Fail(token.line, std::string("expected '") + text + "', found " +
                                (token.kind == Token::End ? std::string("end of file") : "'" + token.text + "'"));
  }
}

bool ParseNumber(const std::string& text, double& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return end == text.c_str() + text.size() && std::isfinite(value);
}

double ParseCoordinate(Lexer& lexer) {
  Token token = lexer.Next();
  double value = 0;
  if (token.kind != Token::Word || !ParseNumber(token.text, value))
    lexer.Fail(token.line, "expected a number, found '" + token.text + "'");
  return value;
}

Vec3 ParsePoint(Lexer& lexer) {
  Expect(lexer, "(");
  Vec3 p;
  p.x = ParseCoordinate(lexer);
  p.y = ParseCoordinate(lexer);
  p.z = ParseCoordinate(lexer);
  Expect(lexer, ")");
  return p;
}

MapPlane ParsePlane(Lexer& lexer) {
  MapPlane plane;
  for (Vec3& p : plane.points) p = ParsePoint(lexer);
  Token material = lexer.Next();
  if (material.kind == Token::End || IsWord(material, "(") || IsWord(material, ")") || IsWord(material, "{") ||
      IsWord(material, "}"))
    lexer.Fail(material.line, "expected a material name");
  plane.material = material.text;
  // The texture numbers: read up to the next plane or the brush's end.
  for (Token t = lexer.Peek(); t.kind == Token::Word && !IsWord(t, "(") && !IsWord(t, "}"); t = lexer.Peek()) {
    double ignored = 0;
    if (!ParseNumber(t.text, ignored)) lexer.Fail(t.line, "expected a number, found '" + t.text + "'");
    lexer.Next();
  }
  return plane;
}

MapBrush ParseBrush(Lexer& lexer, int line) {
  MapBrush brush;
  brush.line = line;
  for (;;) {
    Token t = lexer.Peek();
    if (IsWord(t, "}")) {
      lexer.Next();
      return brush;
    }
    if (IsWord(t, "(")) {
      brush.planes.push_back(ParsePlane(lexer));
      continue;
    }
    if (t.kind == Token::End) lexer.Fail(t.line, "brush not closed");
    lexer.Fail(t.line, "unsupported brush form '" + t.text + "' (only the classic plane form is read)");
  }
}

MapEntity ParseEntity(Lexer& lexer) {
  MapEntity entity;
  for (;;) {
    Token t = lexer.Next();
    if (IsWord(t, "}")) return entity;
    if (IsWord(t, "{")) {
      entity.brushes.push_back(ParseBrush(lexer, t.line));
    } else if (t.kind == Token::Quoted) {
      Token value = lexer.Next();
      if (value.kind != Token::Quoted) lexer.Fail(value.line, "key \"" + t.text + "\" has no quoted value");
      entity.keys.emplace_back(t.text, value.text);
    } else if (t.kind == Token::End) {
      lexer.Fail(t.line, "entity not closed");
    } else {
      lexer.Fail(t.line, "unexpected '" + t.text + "' in an entity");
    }
  }
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

}  // namespace

std::string MapEntity::Value(std::string_view key) const {
  for (const auto& [k, v] : keys)
    if (EqualNoCase(k, key)) return v;
  return {};
}

MapFile ParseMap(std::string_view text, const std::string& name) {
  Lexer lexer(text, name);
  MapFile map;
  for (Token t = lexer.Next(); t.kind != Token::End; t = lexer.Next()) {
    if (!IsWord(t, "{")) {
      if (map.entities.empty()) lexer.Fail(t.line, "not a map: expected '{', found '" + t.text + "'");
      lexer.Fail(t.line, "expected '{' to start an entity, found '" + t.text + "'");
    }
    map.entities.push_back(ParseEntity(lexer));
  }
  if (map.entities.empty()) throw PreviewError(ExitCode::BadInput, name + ": not a map: no entities");
  return map;
}

MapFile ReadMapFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw PreviewError(ExitCode::BadInput, "cannot read map " + path);
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) throw PreviewError(ExitCode::BadInput, "cannot read map " + path);
  return ParseMap(text.str(), path);
}

}  // namespace mappreview
