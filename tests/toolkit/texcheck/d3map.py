"""The brush faces of a DOOM 3 map in the classic brush form, where they rest at the start.

Every brush of every entity is read: `( x y z ) ( x y z ) ( x y z ) material ...`,
the plane through the three points with the normal (p0 - p1) x (p2 - p1) pointing out
of the brush, the material `textures/` + the token as the engine's lexer reads it (a
name stops at a character a name cannot hold). Each face's polygon is its plane cut by
the brush's other planes. Brush coordinates are taken as world coordinates (origin
keys, when present, precede the brushes, as editors write them). Movers rest as the
game spawns them: func_plat `height` below its placement (bounds height minus `lip`
without it), func_door where placed unless `start_open`. Brushes in other forms
(brushDef, patches) are counted and skipped. Raises InputError with one line.
"""
import math
import re

from d3materials import InputError

PLANE_EPSILON = 0.001   # a corner this close to a plane is on it, world units
BASE_SIZE = 262144.0     # half the side of the square a face polygon is cut from

_TOKEN = re.compile(r'"[^"\n]*"|//[^\n]*|/\*.*?\*/|[{}()]|[^\s{}()"]+|\n', re.S)
_NAME = re.compile(r'[A-Za-z0-9_/\\.:]+')


class Face:
    """A drawable candidate: plane (normal, dist) and polygon where it rests, plus the
    offset from its placement, which texture coordinates do not follow."""

    def __init__(self, normal, dist, polygon, material, offset, label):
        self.normal = normal
        self.dist = dist
        self.polygon = polygon
        self.material = material
        self.offset = offset
        self.label = label


class MapFaces:
    def __init__(self):
        self.faces = []
        self.entities = 0
        self.brushes = 0
        self.skipped_primitives = 0


def read(path):
    try:
        with open(path, encoding='latin-1') as f:
            text = f.read()
    except OSError as e:
        raise InputError('cannot read %s: %s' % (path, e.strerror))
    tokens = [t for t in _TOKEN.findall(text) if not t.startswith('//') and not t.startswith('/*')]
    result = MapFaces()
    at = 0
    if at + 1 < len(tokens) and tokens[at].lower() == 'version':
        at += 2
    while True:
        while at < len(tokens) and tokens[at] == '\n':
            at += 1
        if at >= len(tokens):
            return result
        if tokens[at] != '{':
            raise InputError('%s: expected an entity, found %s' % (path, tokens[at][:30]))
        at = _read_entity(tokens, at + 1, result, path)


def _read_entity(tokens, at, result, path):
    keys, brushes = {}, []
    while True:
        tok, at = _next(tokens, at, path)
        if tok == '}':
            break
        if tok == '{':
            first, _ = _next(tokens, at, path)
            if first == '(':
                planes, at = _read_brush(tokens, at, path)
                brushes.append(planes)
            else:
                at = _skip_block(tokens, at, path)
                result.skipped_primitives += 1
        elif tok.startswith('"'):
            value, at = _next(tokens, at, path)
            keys[tok[1:-1]] = value[1:-1] if value.startswith('"') else value
        else:
            raise InputError('%s: unexpected %s in an entity' % (path, tok[:30]))
    solids = [_brush_polygons(faces) for faces in brushes]
    offset = rest_offset(keys, solids)
    for b, solid in enumerate(solids):
        label = 'entity %d (%s) brush %d' % (result.entities, keys.get('classname', '?'), b)
        for i, ((n, d), polygon, material) in enumerate(solid):
            moved = [tuple(p[k] + offset[k] for k in range(3)) for p in polygon]
            dist = d + sum(n[k] * offset[k] for k in range(3))
            result.faces.append(Face(n, dist, moved, material, offset, '%s face %d' % (label, i)))
    result.entities += 1
    result.brushes += len(brushes)
    return at


def _next(tokens, at, path):
    while at < len(tokens) and tokens[at] == '\n':
        at += 1
    if at >= len(tokens):
        raise InputError('%s ends inside an entity' % path)
    return tokens[at], at + 1


def _skip_block(tokens, at, path):
    depth = 1
    while depth:
        tok, at = _next(tokens, at, path)
        depth += {'{': 1, '}': -1}.get(tok, 0)
    return at


def _read_brush(tokens, at, path):
    planes = []
    while True:
        tok, at = _next(tokens, at, path)
        if tok == '}':
            return planes, at
        if tok != '(':
            raise InputError('%s: unreadable brush face near %s' % (path, tok[:30]))
        points = []
        for k in range(3):
            if k:
                tok, at = _next(tokens, at, path)
                if tok != '(':
                    raise InputError('%s: unreadable plane point near %s' % (path, tok[:30]))
            coords = tokens[at:at + 4]
            if len(coords) < 4 or coords[3] != ')':
                raise InputError('%s: unreadable plane point' % path)
            try:
                points.append(tuple(float(c) for c in coords[:3]))
            except ValueError:
                raise InputError('%s: unreadable plane point %s' % (path, ' '.join(coords[:3])))
            at += 4
        tok, at = _next(tokens, at, path)
        name = _NAME.match(tok[1:-1] if tok.startswith('"') else tok)
        while at < len(tokens) and tokens[at] not in ('\n', '}'):
            at += 1
        planes.append((points, 'textures/' + (name.group(0) if name else '')))


def _plane(points):
    p0, p1, p2 = points
    a = [p0[i] - p1[i] for i in range(3)]
    b = [p2[i] - p1[i] for i in range(3)]
    n = (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])
    length = math.sqrt(n[0] ** 2 + n[1] ** 2 + n[2] ** 2)
    if length == 0:
        return None
    n = (n[0] / length, n[1] / length, n[2] / length)
    return n, n[0] * p1[0] + n[1] * p1[1] + n[2] * p1[2]


def _brush_polygons(faces):
    """[(plane, polygon, material)] for the faces with a plane and an area."""
    planes = [_plane(points) for points, _material in faces]
    solid = []
    for i, (plane, (_points, material)) in enumerate(zip(planes, faces)):
        if plane is None:
            continue
        polygon = _base_polygon(*plane)
        for j, other in enumerate(planes):
            if j != i and other is not None and polygon:
                polygon = _clip(polygon, *other)
        if len(polygon) >= 3:
            solid.append((plane, polygon, material))
    return solid


def _base_polygon(n, d):
    axis = max(range(3), key=lambda k: abs(n[k]))
    up = (0.0, 0.0, 1.0) if axis != 2 else (1.0, 0.0, 0.0)
    dot = sum(up[k] * n[k] for k in range(3))
    up = [up[k] - n[k] * dot for k in range(3)]
    length = math.sqrt(sum(u * u for u in up))
    up = [u / length * BASE_SIZE for u in up]
    right = (up[1] * n[2] - up[2] * n[1], up[2] * n[0] - up[0] * n[2], up[0] * n[1] - up[1] * n[0])
    centre = [n[k] * d for k in range(3)]
    return [tuple(centre[k] + sx * right[k] + sy * up[k] for k in range(3))
            for sx, sy in ((-1, 1), (1, 1), (1, -1), (-1, -1))]


def _clip(polygon, n, d):
    """The part of the polygon behind the plane (inside the brush)."""
    out = []
    dists = [n[0] * p[0] + n[1] * p[1] + n[2] * p[2] - d for p in polygon]
    for k, p in enumerate(polygon):
        q, dp, dq = polygon[(k + 1) % len(polygon)], dists[k], dists[(k + 1) % len(polygon)]
        if dp <= PLANE_EPSILON:
            out.append(p)
        if (dp > PLANE_EPSILON and dq < -PLANE_EPSILON) or (dp < -PLANE_EPSILON and dq > PLANE_EPSILON):
            t = dp / (dp - dq)
            out.append(tuple(p[i] + t * (q[i] - p[i]) for i in range(3)))
    return out


def _float(keys, key, default):
    try:
        return float(keys[key].split()[0])
    except (KeyError, ValueError, IndexError):
        return default


def rest_offset(keys, solids):
    """Where the game puts the entity at the start, relative to where the map places it."""
    classname = keys.get('classname', '')
    if classname not in ('func_plat', 'func_door') or not solids:
        return (0.0, 0.0, 0.0)
    lo, hi = _bounds(solids)
    if classname == 'func_plat':
        height = _float(keys, 'height', (hi[2] - lo[2]) - _float(keys, 'lip', 8.0))
        return (0.0, 0.0, -height)
    if keys.get('start_open', '0') in ('0', ''):
        return (0.0, 0.0, 0.0)
    angle = _float(keys, 'movedir', 0.0) if 'movedir' in keys else _float(keys, 'angle', 0.0)
    if angle == -1:
        move = (0.0, 0.0, 1.0)
    elif angle == -2:
        move = (0.0, 0.0, -1.0)
    else:
        move = (math.cos(math.radians(angle)), math.sin(math.radians(angle)), 0.0)
    # The game measures the door by its clip bounds, one unit larger on every side.
    size = [hi[k] - lo[k] + 2.0 for k in range(3)]
    distance = sum(abs(move[k]) * size[k] for k in range(3)) - _float(keys, 'lip', 8.0)
    return tuple(move[k] * distance for k in range(3))


def _bounds(solids):
    points = [p for solid in solids for _plane, polygon, _m in solid for p in polygon]
    if not points:
        return (0.0, 0.0, 0.0), (0.0, 0.0, 0.0)
    return ([min(p[k] for p in points) for k in range(3)], [max(p[k] for p in points) for k in range(3)])
