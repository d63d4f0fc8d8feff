"""Reading brush-format .map files for the compile check.

Only what the check needs: the entities (key/value pairs and brush count),
the material names of the faces, and the classic-to-Valve-220 rewrite of face
lines. Geometry is never changed: the rewrite keeps the three points and the
material of every face and only adds texture axes, which the engine requires
in this form but which do not alter a brush.
"""
import re


class MapError(Exception):
    """A .map file the check cannot read; the message is one line."""


_TOKEN = re.compile(r'"[^"\n]*"|//[^\n]*|/\*.*?\*/|[{}()\[\]]|[^\s{}()\[\]"]+', re.S)
_NUM = r'[-+]?(?:\d+\.?\d*|\.\d+)(?:[eE][-+]?\d+)?'
_POINT = r'\(\s*(' + _NUM + r')\s+(' + _NUM + r')\s+(' + _NUM + r')\s*\)'
_CLASSIC_FACE = re.compile(
    r'^(\s*)' + _POINT + r'\s*' + _POINT + r'\s*' + _POINT +
    r'\s*("[^"]*"|[^\s\[\]"]+)\s+(' + _NUM + r')\s+(' + _NUM + r')\s+(' + _NUM + r')\s+(' + _NUM +
    r')\s+(' + _NUM + r')(.*)$')
_VALVE_FACE = re.compile(r'^\s*' + _POINT + r'\s*' + _POINT + r'\s*' + _POINT + r'\s*("[^"]*"|[^\s\[\]"]+)\s*\[')

# The usual base-axis rule: the face's normal picks the nearest of six axes; each axis
# comes with the two texture directions of that projection.
_BASE_AXES = [
    ((0, 0, 1), (1, 0, 0), (0, -1, 0)),
    ((0, 0, -1), (1, 0, 0), (0, -1, 0)),
    ((1, 0, 0), (0, 1, 0), (0, 0, -1)),
    ((-1, 0, 0), (0, 1, 0), (0, 0, -1)),
    ((0, 1, 0), (1, 0, 0), (0, 0, -1)),
    ((0, -1, 0), (1, 0, 0), (0, 0, -1)),
]


def _texture_axes(p1, p2, p3):
    a = [p1[i] - p2[i] for i in range(3)]
    b = [p3[i] - p2[i] for i in range(3)]
    n = (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])
    best, best_dot = _BASE_AXES[0], None
    for axes in _BASE_AXES:
        d = sum(n[i] * axes[0][i] for i in range(3))
        if best_dot is None or d > best_dot:
            best, best_dot = axes, d
    return best[1], best[2]


def _material_name(token):
    return token[1:-1] if token.startswith('"') else token


def to_valve220(text):
    """Returns (text with classic faces rewritten, number of faces rewritten)."""
    out = []
    count = 0
    for line in text.split('\n'):
        m = _CLASSIC_FACE.match(line)
        if not m:
            out.append(line)
            continue
        g = m.groups()
        pts = [tuple(float(v) for v in g[1 + 3 * k:4 + 3 * k]) for k in range(3)]
        u, v = _texture_axes(*pts)
        sx = g[14] if float(g[14]) != 0 else '1'
        sy = g[15] if float(g[15]) != 0 else '1'
        points = ' '.join('( %s %s %s )' % tuple(g[1 + 3 * k:4 + 3 * k]) for k in range(3))
        out.append('%s%s %s [ %d %d %d %s ] [ %d %d %d %s ] %s %s %s%s' % (
            g[0], points, g[10], u[0], u[1], u[2], g[11], v[0], v[1], v[2], g[12], g[13], sx, sy, g[16]))
        count += 1
    return '\n'.join(out), count


def materials_used(text):
    """The engine's names (with the textures/ prefix) of every face material, lower-cased."""
    names = set()
    for line in text.split('\n'):
        m = _CLASSIC_FACE.match(line) or _VALVE_FACE.match(line)
        if m:
            name = _material_name(m.group(11 if m.re is _CLASSIC_FACE else 10)).lower()
            names.add(name if name.startswith('textures/') else 'textures/' + name)
    return names


def read_entities(text):
    """The entities of the map: a list of (keys dict, brush count); raises MapError."""
    entities = []
    depth = 0
    keys, brushes = None, 0
    pending_key = None
    child_first = False
    for m in _TOKEN.finditer(text):
        tok = m.group(0)
        if tok.startswith('//') or tok.startswith('/*'):
            continue
        if tok == '{':
            depth += 1
            if depth == 1:
                keys, brushes, pending_key = {}, 0, None
            elif depth == 2:
                child_first = True
            continue
        if tok == '}':
            if depth == 0:
                raise MapError('unbalanced "}" at offset %d' % m.start())
            if depth == 1:
                entities.append((keys, brushes))
            depth -= 1
            continue
        if depth == 1:
            if not tok.startswith('"'):
                raise MapError('unexpected %s in an entity at offset %d' % (tok[:20], m.start()))
            if pending_key is None:
                pending_key = tok[1:-1]
            else:
                keys[pending_key] = tok[1:-1]
                pending_key = None
        elif depth == 2 and child_first:
            child_first = False
            if tok not in ('patchDef2', 'patchDef3'):
                brushes += 1
        elif depth == 0 and tok.lower() != 'version' and not tok.isdigit():
            raise MapError('unexpected %s outside any entity' % tok[:20])
    if depth != 0:
        raise MapError('the file ends inside an entity')
    return entities


def worldspawn_brushes(entities):
    for keys, brushes in entities:
        if keys.get('classname') == 'worldspawn':
            return brushes
    return 0
