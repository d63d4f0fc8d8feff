"""How fast a DOOM 3 material's diffuse image slides, read from .pk4 packages.

Packages are searched in the order given; a material's first definition wins (names
compared lower case, '\\' as '/'). Only what a slide needs is read: the first diffuse
stage (a `{ blend diffusemap ... }` stage or the `diffusemap` shorthand) and its
texture-matrix keywords (translate or scroll, scale, centerScale, shear, rotate), built
as the engine does (the matrix becomes old x new, so the keyword written last acts
first). Expressions are evaluated at time 0 and time 1; an expression with a table,
a parm or a global cannot be followed and makes the stage unknown. motion() returns
the change of the matrix over one second and its linear part, or None. Raises
PackageError with one line for a package that cannot be read.
"""
import re
import zipfile
import zlib

_TOKEN = re.compile(r'''(?P<space>\s+|//[^\n]*|/\*.*?\*/)|(?P<string>"[^"\n]*")|(?P<number>\d+\.?\d*(?:[eE][-+]?\d+)?|\.\d+)
                        |(?P<name>[A-Za-z_/\\.][A-Za-z0-9_/\\.:]*)|(?P<punct>.)''', re.S | re.X)
_TRANSFORMS = {'translate': 2, 'scroll': 2, 'scale': 2, 'centerscale': 2, 'shear': 2, 'rotate': 1}
_OPERATORS = (('*', '/', '%'), ('+', '-'))


class PackageError(Exception):
    pass


class Unknown(Exception):
    """An expression this reader cannot evaluate over time."""


class ScrollMaterials:
    def __init__(self, package_paths):
        self.texts = {}
        for path in package_paths:
            try:
                with zipfile.ZipFile(path) as archive:
                    for entry in sorted(n for n in archive.namelist() if n.lower().endswith('.mtr')):
                        self._read_decls(archive.read(entry).decode('latin-1'))
            except (OSError, zipfile.BadZipFile, zlib.error) as e:
                raise PackageError('cannot read package %s: %s' % (path, e))

    def _read_decls(self, text):
        tokens = [(m.lastgroup, m.group(0)) for m in _TOKEN.finditer(text) if m.lastgroup != 'space']
        at = 0
        while at < len(tokens):
            kind, tok = tokens[at]
            name = tok
            at += 1
            if tok.lower() in ('table', 'material', 'skin', 'sound', 'particle', 'fx', 'entitydef') \
                    and at < len(tokens) and tokens[at][1] != '{':
                name = tokens[at][1] if tok.lower() == 'material' else None
                at += 1
            if at >= len(tokens) or tokens[at][1] != '{':
                continue
            end = _matching(tokens, at)
            key = name.replace('\\', '/').lower() if name else None
            if key and kind in ('name', 'string') and key not in self.texts:
                self.texts[key] = tokens[at + 1:end]
            at = end + 1

    def defines(self, material):
        return material.replace('\\', '/').lower() in self.texts

    def motion(self, material):
        """(matrix change over one second, matrix at time 0) of the first diffuse stage,
        each ((a, b, c), (d, e, f)); None when no diffuse stage or an unknown one."""
        body = self.texts.get(material.replace('\\', '/').lower())
        if body is None:
            return None
        stage = _first_diffuse_stage(body)
        if stage is None:
            return None
        try:
            m0, m1 = _matrix(stage, 0.0), _matrix(stage, 1.0)
        except Unknown:
            return None
        change = tuple(tuple(m1[r][c] - m0[r][c] for c in range(3)) for r in range(2))
        return change, m0


def _matching(tokens, at):
    depth = 0
    for i in range(at, len(tokens)):
        depth += {'{': 1, '}': -1}.get(tokens[i][1], 0)
        if depth == 0:
            return i
    return len(tokens) - 1


def _first_diffuse_stage(body):
    at = 0
    while at < len(body):
        tok = body[at][1]
        if tok == '{':
            end = _matching(body, at)
            stage = body[at + 1:end]
            words = [t.lower() for _k, t in stage]
            if 'blend' in words and words[words.index('blend') + 1:words.index('blend') + 2] == ['diffusemap']:
                return stage
            at = end + 1
        elif tok.lower() == 'diffusemap':
            return []
        else:
            at += 1
    return None


def _matrix(stage, time):
    m = ((1.0, 0.0, 0.0), (0.0, 1.0, 0.0))
    at = 0
    while at < len(stage):
        word = stage[at][1].lower()
        at += 1
        if word not in _TRANSFORMS:
            continue
        args = []
        for k in range(_TRANSFORMS[word]):
            value, at = _expression(stage, at, time, 2)
            args.append(value)
            if k + 1 < _TRANSFORMS[word]:
                if at >= len(stage) or stage[at][1] != ',':
                    raise Unknown()
                at += 1
        m = _multiply(m, _keyword_matrix(word, args))
    return m


def _keyword_matrix(word, v):
    if word in ('translate', 'scroll'):
        return ((1.0, 0.0, v[0]), (0.0, 1.0, v[1]))
    if word == 'scale':
        return ((v[0], 0.0, 0.0), (0.0, v[1], 0.0))
    if word == 'centerscale':
        return ((v[0], 0.0, 0.5 - 0.5 * v[0]), (0.0, v[1], 0.5 - 0.5 * v[1]))
    if word == 'shear':
        return ((1.0, v[0], -0.5 * v[0]), (v[1], 1.0, -0.5 * v[1]))
    raise Unknown()     # rotate needs the game's sin and cos tables


def _multiply(a, b):
    return tuple((a[r][0] * b[0][0] + a[r][1] * b[1][0],
                  a[r][0] * b[0][1] + a[r][1] * b[1][1],
                  a[r][0] * b[0][2] + a[r][1] * b[1][2] + a[r][2]) for r in range(2))


def _expression(tokens, at, time, level):
    """Operators of one priority group to the right, as the engine parses them."""
    if level == 0:
        return _term(tokens, at, time)
    left, at = _expression(tokens, at, time, level - 1)
    if at < len(tokens) and tokens[at][1] in _OPERATORS[level - 1]:
        op = tokens[at][1]
        right, at = _expression(tokens, at + 1, time, level)
        if op == '*':
            return left * right, at
        if op == '/':
            return (left / right if right else 0.0), at
        if op == '%':
            return float(int(left) % (int(right) or 1)), at
        return (left + right if op == '+' else left - right), at
    return left, at


def _term(tokens, at, time):
    if at >= len(tokens):
        raise Unknown()
    kind, tok = tokens[at]
    if tok == '(':
        value, at = _expression(tokens, at + 1, time, 2)
        if at >= len(tokens) or tokens[at][1] != ')':
            raise Unknown()
        return value, at + 1
    if tok == '-' and at + 1 < len(tokens) and tokens[at + 1][0] == 'number':
        return -float(tokens[at + 1][1]), at + 2
    if kind == 'number':
        return float(tok), at + 1
    if tok.lower() == 'time':
        return time, at + 1
    raise Unknown()
