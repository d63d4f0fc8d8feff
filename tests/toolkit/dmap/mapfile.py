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


def to_brushdef3(text):
    """Returns (text with every classic brush rewritten in DOOM 3's own brushDef3 form, number of
    faces rewritten). DOOM 3 reads a classic face as a plane through its three points with the
    texture matrix ((1/32 0 0) (0 1/32 0)) over the plane's own axis base (idMapBrush::ParseQ3);
    brushDef3 spells out exactly that plane and matrix, so the engine lays every texture as the
    original DOOM 3 lays the classic map (Valve 220 axes would not). Without a Version line the
    engine still puts textures/ in front of each material, as for the classic form."""
    out = []
    count = 0
    depth = 0
    in_brush = False
    lines = text.split('\n')
    for i, line in enumerate(lines):
        stripped = line.strip()
        if stripped == '{':
            following = lines[i + 1] if i + 1 < len(lines) else ''
            if depth == 1 and _CLASSIC_FACE.match(following):
                out += [line, 'brushDef3', '{']
                in_brush = True
            else:
                out.append(line)
            depth += 1
            continue
        if stripped == '}':
            depth -= 1
            if in_brush and depth == 1:
                out += ['}', line]
                in_brush = False
            else:
                out.append(line)
            continue
        m = _CLASSIC_FACE.match(line) if in_brush else None
        if not m:
            out.append(line)
            continue
        g = m.groups()
        p1, p2, p3 = [tuple(float(v) for v in g[1 + 3 * k:4 + 3 * k]) for k in range(3)]
        a = [p1[k] - p2[k] for k in range(3)]
        b = [p3[k] - p2[k] for k in range(3)]
        n = (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])
        length = sum(c * c for c in n) ** 0.5
        if length == 0:
            out.append(line)
            continue
        n = tuple(c / length + 0.0 for c in n)  # + 0.0: no negative zeros in the text
        d = -sum(n[k] * p2[k] for k in range(3)) + 0.0
        out.append('%s( %.9g %.9g %.9g %.9g ) ( ( 0.03125 0 0 ) ( 0 0.03125 0 ) ) %s 0 0 0' % (
            g[0], n[0], n[1], n[2], d, g[10]))
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


class Entity:
    """One entity: its keys and its brushes, each a list of faces ((p1, p2, p3), material)."""

    def __init__(self):
        self.keys = {}
        self.brushes = []
        self.patches = 0


def _brush_faces(tokens, at):
    """The faces of one brush from its tokens: three points and the material that follows;
    texture numbers and Valve 220 axes in brackets are skipped."""
    faces = []
    i = 0
    while i < len(tokens):
        if tokens[i] != '(':
            i += 1
            continue
        try:
            points = []
            for _ in range(3):
                if tokens[i] != '(' or tokens[i + 4] != ')':
                    raise ValueError
                points.append(tuple(float(v) for v in tokens[i + 1:i + 4]))
                i += 5
            material = tokens[i]
        except (ValueError, IndexError):
            raise MapError('unreadable face in the brush at offset %d' % at)
        faces.append((tuple(points), _material_name(material)))
        i += 1
        while i < len(tokens) and tokens[i] != '(':
            if tokens[i] == '[':
                i = tokens.index(']', i) + 1 if ']' in tokens[i:] else len(tokens)
            else:
                i += 1
    return faces


def read_entities(text):
    """(keys dict, brush count) of each entity, in file order; raises MapError."""
    return [(entity.keys, len(entity.brushes)) for entity in read_map(text)]


def read_map(text):
    """The entities of the map with their brushes, in file order; raises MapError."""
    entities = []
    depth = 0
    entity = None
    pending_key = None
    brush, brush_at, brush_kind = None, 0, None
    for m in _TOKEN.finditer(text):
        tok = m.group(0)
        if tok.startswith('//') or tok.startswith('/*'):
            continue
        if tok == '{':
            depth += 1
            if depth == 1:
                entity, pending_key = Entity(), None
            elif depth == 2:
                brush, brush_at, brush_kind = [], m.start(), None
            continue
        if tok == '}':
            if depth == 0:
                raise MapError('unbalanced "}" at offset %d' % m.start())
            if depth == 1:
                entities.append(entity)
            elif depth == 2:
                if brush_kind is None:
                    entity.brushes.append(_brush_faces(brush, brush_at))
                elif brush_kind in ('patchDef2', 'patchDef3'):
                    entity.patches += 1
                else:
                    entity.brushes.append([])  # brushDef3: counted, geometry not read
            depth -= 1
            continue
        if depth == 1:
            if not tok.startswith('"'):
                raise MapError('unexpected %s in an entity at offset %d' % (tok[:20], m.start()))
            if pending_key is None:
                pending_key = tok[1:-1]
            else:
                entity.keys[pending_key] = tok[1:-1]
                pending_key = None
        elif depth == 2:
            if not brush and tok in ('patchDef2', 'patchDef3', 'brushDef3', 'brushDef'):
                brush_kind = tok
            elif brush_kind is None:
                brush.append(tok)
        elif depth == 0 and tok.lower() != 'version' and not tok.isdigit():
            raise MapError('unexpected %s outside any entity' % tok[:20])
    if depth != 0:
        raise MapError('the file ends inside an entity')
    return entities


def worldspawn_brushes(entities):
    """The brush count of the worldspawn among entities from read_map."""
    for entity in entities:
        if entity.keys.get('classname') == 'worldspawn':
            return len(entity.brushes)
    return 0


def brush_entities_without_model(entities):
    """Names (or classnames) of the brush entities the game would build no model for: DOOM 3's
    game makes an entity's render and clip model only from its "model" key, and a brush
    entity's compiled model carries the entity's name."""
    faults = []
    for index, entity in enumerate(entities):
        if entity.keys.get('classname') == 'worldspawn' or not entity.brushes:
            continue
        name = entity.keys.get('name')
        label = name or '%s (entity %d)' % (entity.keys.get('classname', '?'), index)
        model = entity.keys.get('model')
        if model is None:
            faults.append(label)
        elif name is not None and model != name:
            faults.append('%s (model "%s")' % (label, model))
    return faults
