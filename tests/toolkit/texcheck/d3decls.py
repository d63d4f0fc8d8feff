"""The decl files' lexer and the material expression language, as DOOM 3 reads them.

Tokens follow the engine's decl lexer (path names allowed, so a name may hold '/',
'\\', ':' and '.'; a '/' starting a token starts a name). Expressions become trees,
evaluated later with time 0 and every parm and global 0: operators of one priority
group to the right, as the engine's recursive parser does; a leading '-' must be
followed by a number; a name followed by '[' is a table lookup. Tables interpolate
and wrap (or clamp, or snap) as the engine's table decls do. ParseError carries one line.
"""
import math
import re


class ParseError(Exception):
    pass


_TOKEN = re.compile(r'''
    (?P<space>\n|[ \t\r\f\v]+|//[^\n]*|/\*.*?\*/)
  | (?P<string>"[^"\n]*")
  | (?P<number>\d+\.?\d*(?:[eE][-+]?\d+)?|\.\d+)
  | (?P<name>[A-Za-z_/\\.][A-Za-z0-9_/\\.:]*)
  | (?P<punct>&&|\|\||<=|>=|==|!=|.)''', re.X | re.S)


def canonical(name):
    name = name.replace('\\', '/').lower()
    return re.sub(r'\.[a-z0-9]{1,4}$', '', name)


class Lexer:
    """Tokens with their line numbers: (text, kind, line)."""

    def __init__(self, text):
        self.tokens = []
        line = 1
        for m in _TOKEN.finditer(text):
            kind = m.lastgroup
            if kind == 'space':
                line += m.group(0).count('\n')
                continue
            tok = m.group(0)
            self.tokens.append((tok[1:-1] if kind == 'string' else tok, kind, line))
        self.at = 0

    def peek(self):
        return self.tokens[self.at][0] if self.at < len(self.tokens) else None

    def next(self):
        if self.at >= len(self.tokens):
            raise ParseError('unexpected end of file')
        self.at += 1
        return self.tokens[self.at - 1][0]

    def kind(self):
        return self.tokens[self.at][1] if self.at < len(self.tokens) else None

    def skip_line(self, line):
        while self.at < len(self.tokens) and self.tokens[self.at][2] == line and self.tokens[self.at][0] not in '{}':
            self.at += 1

    def line(self):
        return self.tokens[self.at][2] if self.at < len(self.tokens) else -1

    def skip_braced(self):
        depth = 0
        while True:
            tok = self.next()
            depth += {'{': 1, '}': -1}.get(tok, 0)
            if depth == 0:
                return


_VARIABLES = {'time': 0.0, 'fragmentprograms': 1.0, 'sound': 0.0}
_VARIABLES.update(('parm%d' % i, 0.0) for i in range(12))
_VARIABLES.update(('global%d' % i, 0.0) for i in range(8))
_OPERATORS = {1: ('*', '/', '%'), 2: ('+', '-'), 3: ('>', '>=', '<', '<=', '==', '!='), 4: ('&&', '||')}


def parse_expression(lex, priority=4):
    """A tree: ('num', v) | ('table', name, tree) | (op, a, b). Operators of one priority
    group to the right, as the engine's recursive parser does."""
    if priority == 0:
        return _parse_term(lex)
    a = parse_expression(lex, priority - 1)
    if lex.peek() in _OPERATORS[priority]:
        op = lex.next()
        return (op, a, parse_expression(lex, priority))
    return a


def _parse_term(lex):
    kind = lex.kind()
    tok = lex.next()
    if tok == '(':
        inner = parse_expression(lex)
        expect(lex, ')')
        return inner
    if tok == '-':
        if lex.kind() != 'number':
            raise ParseError('bad negative number %s' % lex.peek())
        return ('num', -float(lex.next()))
    if kind == 'number':
        return ('num', float(tok))
    if tok.lower() in _VARIABLES:
        return ('num', _VARIABLES[tok.lower()])
    if lex.peek() == '[':
        lex.next()
        index = parse_expression(lex)
        expect(lex, ']')
        return ('table', tok.lower(), index)
    raise ParseError('bad term %s' % tok)


def expect(lex, wanted):
    tok = lex.next()
    if tok != wanted:
        raise ParseError('expected %s, found %s' % (wanted, tok))


class Table:
    def __init__(self, values, snap, clamp):
        self.values = values + values[:1]  # the first value repeated, so lerping never wraps
        self.snap = snap
        self.clamp = clamp

    def lookup(self, index):
        domain = len(self.values) - 1
        if domain <= 1:
            return 1.0
        if self.clamp:
            index *= domain - 1
            if index >= domain - 1:
                return self.values[domain - 1]
            if index <= 0:
                return self.values[0]
            whole = int(index)
        else:
            index *= domain
            if index < 0:
                index += domain * math.ceil(-index / domain)
            whole = int(math.floor(index))
        frac = index - whole
        whole %= domain
        if self.snap:
            return self.values[whole]
        return self.values[whole] * (1.0 - frac) + self.values[whole + 1] * frac


def evaluate(tree, tables):
    op = tree[0]
    if op == 'num':
        return tree[1]
    if op == 'table':
        if tree[1] not in tables:
            raise ParseError('bad term %s' % tree[1])
        return tables[tree[1]].lookup(evaluate(tree[2], tables))
    a, b = evaluate(tree[1], tables), evaluate(tree[2], tables)
    if op == '%':
        return float(int(a) % (int(b) or 1))
    if op == '/':
        return a / b if b else 0.0
    return {'*': lambda: a * b, '+': lambda: a + b, '-': lambda: a - b, '>': lambda: float(a > b),
            '>=': lambda: float(a >= b), '<': lambda: float(a < b), '<=': lambda: float(a <= b),
            '==': lambda: float(a == b), '!=': lambda: float(a != b),
            '&&': lambda: float(bool(a) and bool(b)), '||': lambda: float(bool(a) or bool(b))}[op]()
