"""The entities of a DOOM 3 map in the classic brush form, for the specials check.

Each entity keeps its keys (as written, values unquoted) and its brushes as planes
(outward unit normal, distance, material token as written, without `textures/`);
a brush's corners (the planes cut against one another) are worked out when first asked
for, since the world holds thousands. Coordinates are world coordinates as the map
writes them. Patches and other primitives are skipped. Names index entities by their
`name` key; targets are every key whose name begins with `target` (as the game reads
them), in key order, names not found left out. Nothing here knows DOOM or what a class
does. Raises MapError with one line.
"""
import math
import re

PLANE_EPSILON = 0.01      # a corner this close outside a plane is on it, world units
_NUMBER = r'([-+]?(?:\d+\.?\d*|\.\d+)(?:[eE][-+]?\d+)?)'
_POINT = r'\(\s*' + r'\s+'.join([_NUMBER] * 3) + r'\s*\)'
_FACE = re.compile(r'^\s*' + r'\s*'.join([_POINT] * 3) + r'\s*("[^"]*"|[^\s"(){}]+)')
_KEY = re.compile(r'^\s*"([^"\n]*)"\s+"([^"\n]*)"\s*$')
_TOKEN = re.compile(r'"[^"\n]*"|[{}()]|[^\s{}()"]+')


class MapError(Exception):
    pass


class Face:
    def __init__(self, normal, dist, material, corners):
        self.normal = normal        # unit, pointing out of the brush
        self.dist = dist
        self.material = material    # the token as written, without the textures/ prefix
        self.corners = corners      # the face's corners (on the plane, inside every other)


class Entity:
    def __init__(self, index, keys, planes):
        self.index = index
        self.keys = keys
        self.planes = planes        # [[(normal, dist, material)]] one list a brush
        self._solids = {}

    @property
    def classname(self):
        return self.keys.get('classname', '')

    @property
    def name(self):
        return self.keys.get('name', '')

    @property
    def brush_count(self):
        return len(self.planes)

    def solid(self, i):
        """The faces of brush i with their corners (worked out once)."""
        if i not in self._solids:
            self._solids[i] = _solid(self.planes[i])
        return self._solids[i]

    @property
    def brushes(self):
        return [self.solid(i) for i in range(len(self.planes))]

    def number(self, key, default=None):
        """The key's first number, or default when absent or not a number."""
        try:
            return float(self.keys[key].split()[0])
        except (KeyError, ValueError, IndexError):
            return default

    def flag(self, key):
        return self.number(key, 0.0) != 0

    def vector(self, key):
        try:
            values = [float(v) for v in self.keys[key].split()]
        except (KeyError, ValueError):
            return None
        return tuple(values) if len(values) == 3 else None

    def bounds(self):
        """(low corner, high corner) of every brush corner, or None without brushes."""
        points = [p for brush in self.brushes for face in brush for p in face.corners]
        if not points:
            return None
        return (tuple(min(p[k] for p in points) for k in range(3)),
                tuple(max(p[k] for p in points) for k in range(3)))

    def target_names(self):
        return [v for k, v in self.keys.items() if k.lower().startswith('target')]


class MapEntities:
    def __init__(self, entities):
        self.entities = entities
        self.by_name = {}
        for e in entities:
            if e.name:
                self.by_name.setdefault(e.name, e)

    def targets(self, entity):
        return [self.by_name[n] for n in entity.target_names() if n in self.by_name]

    def reachable(self, starts):
        """Every entity the starts' target chains reach, in the order found (a start is
        included only when a chain comes back to it)."""
        seen, order, queue = set(), [], list(starts)
        while queue:
            for t in self.targets(queue.pop(0)):
                if t.index not in seen:
                    seen.add(t.index)
                    order.append(t)
                    queue.append(t)
        return order


def read(path):
    try:
        with open(path, encoding='latin-1') as f:
            text = f.read()
    except OSError as e:
        raise MapError('cannot read %s: %s' % (path, e.strerror))
    return parse(text, path)


def parse(text, where='map'):
    return MapEntities(_Parser(text, where).entities())


class _Parser:
    """Lines as the converter writes them (a face, a key or a brace a line) are read
    whole; any other line is split into tokens."""

    def __init__(self, text, where):
        self.where = where
        self.items = self._items(text)
        self.at = 0

    def _items(self, text):
        items = []
        for line in text.split('\n'):
            line = line.split('//', 1)[0] if '//' in line and '"' not in line else line
            quick = _quick_face(line)
            if quick:
                items.append(('face', quick))
                continue
            face = _FACE.match(line)
            if face:
                g = face.groups()
                points = [tuple(float(v) for v in g[3 * k:3 * k + 3]) for k in range(3)]
                items.append(('face', (points, g[9].strip('"'))))
                continue
            key = _KEY.match(line)
            if key:
                items.append(('key', key.groups()))
                continue
            items.extend(('token', t) for t in _TOKEN.findall(line))
        return items

    def _next(self):
        if self.at >= len(self.items):
            raise MapError('%s ends inside an entity' % self.where)
        self.at += 1
        return self.items[self.at - 1]

    def entities(self):
        found = []
        if self.items and self.items[0][0] == 'token' and self.items[0][1].lower() == 'version':
            self.at = 2
        while self.at < len(self.items):
            kind, value = self._next()
            if (kind, value) != ('token', '{'):
                raise MapError('%s: expected an entity, found %s' % (self.where, str(value)[:30]))
            found.append(self._entity(len(found)))
        return found

    def _entity(self, index):
        keys, planes = {}, []
        while True:
            kind, value = self._next()
            if kind == 'key':
                keys[value[0]] = value[1]
            elif value == '}':
                return Entity(index, keys, planes)
            elif value == '{':
                planes.append(self._brush())
            elif kind == 'token' and value.startswith('"'):
                other_kind, other = self._next()
                if other_kind != 'token' or not other.startswith('"'):
                    raise MapError('%s: key %s has no quoted value' % (self.where, value[:30]))
                keys[value[1:-1]] = other[1:-1]
            else:
                raise MapError('%s: unexpected %s in an entity' % (self.where, str(value)[:30]))

    def _brush(self):
        faces, depth, skipped = [], 1, False
        while depth:
            kind, value = self._next()
            if kind == 'face' and depth == 1:
                plane = _plane(value[0])
                if plane is not None:
                    faces.append((plane[0], plane[1], value[1]))
            elif value == '{':
                depth += 1
            elif value == '}':
                depth -= 1
            elif kind == 'token' and depth == 1 and not faces:
                skipped = True      # a patch or another primitive
        return [] if skipped else faces


def _quick_face(line):
    """A face line spaced as the converter writes it, read without a regular expression."""
    parts = line.split()
    if len(parts) < 16 or parts[0] != '(' or parts[4] != ')' or parts[5] != '(' or parts[9] != ')' \
            or parts[10] != '(' or parts[14] != ')':
        return None
    try:
        points = [(float(parts[k]), float(parts[k + 1]), float(parts[k + 2])) for k in (1, 6, 11)]
    except ValueError:
        return None
    return points, parts[15].strip('"')


def _plane(points):
    (x0, y0, z0), (x1, y1, z1), (x2, y2, z2) = points
    ax, ay, az = x0 - x1, y0 - y1, z0 - z1
    bx, by, bz = x2 - x1, y2 - y1, z2 - z1
    nx, ny, nz = ay * bz - az * by, az * bx - ax * bz, ax * by - ay * bx
    length = math.sqrt(nx * nx + ny * ny + nz * nz)
    if length == 0:
        return None
    nx, ny, nz = nx / length, ny / length, nz / length
    return (nx, ny, nz), nx * x1 + ny * y1 + nz * z1


def _solid(planes):
    """The brush's faces with their corners: each triple of planes meeting at a point
    inside all the others gives a corner of the three faces."""
    corners = [[] for _ in planes]
    count = len(planes)
    for i in range(count):
        for j in range(i + 1, count):
            for k in range(j + 1, count):
                point = _meet(planes[i], planes[j], planes[k])
                if point is None or not all(
                        n[0] * point[0] + n[1] * point[1] + n[2] * point[2] - d <= PLANE_EPSILON for n, d, _m in planes):
                    continue
                for f in (i, j, k):
                    if point not in corners[f]:
                        corners[f].append(point)
    return [Face(n, d, m, c) for (n, d, m), c in zip(planes, corners) if c]


def _meet(a, b, c):
    (n1, d1, _), (n2, d2, _), (n3, d3, _) = a, b, c
    cross23 = _cross(n2, n3)
    det = sum(n1[i] * cross23[i] for i in range(3))
    if abs(det) < 1e-9:
        return None
    cross31, cross12 = _cross(n3, n1), _cross(n1, n2)
    return tuple(round((d1 * cross23[i] + d2 * cross31[i] + d3 * cross12[i]) / det, 6) for i in range(3))


def _cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])
