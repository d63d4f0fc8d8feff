"""Crafted DOOM levels made of axis-aligned rectangular sectors, written as a PWAD.

A level is a list of rectangles (one sector each) that touch along their edges and
never overlap. The lines follow from them: every rectangle edge is cut where other
rectangles' corners fall on it; a piece shared with a neighbour becomes one two-sided
line, any other piece a one-sided wall facing in. Specials are put on lines by the
segment they lie on, with the sector that must be their front side (DOOM's manual
doors act on the back sector). The wad holds no nodes: the converter partitions such
levels itself. Nothing checks that the rectangles do not overlap; a tester keeps them
apart. The writer owns nothing but the lists it builds.
"""
import struct


class Rect:
    def __init__(self, x0, y0, x1, y1, floor=0, ceiling=128, light=160, tag=0, special=0,
                 floor_flat='FLOOR', ceiling_flat='CEIL', wall='WALL', step='STEP'):
        self.box = (x0, y0, x1, y1)
        self.floor, self.ceiling, self.light = floor, ceiling, light
        self.tag, self.special = tag, special
        self.floor_flat, self.ceiling_flat = floor_flat, ceiling_flat
        self.wall = wall  # middle texture of its one-sided walls
        self.step = step  # upper and lower texture its neighbours show towards it


class RectLevel:
    def __init__(self, name='MAP01'):
        self.name = name
        self.rects = []
        self.things = []    # (x, y, angle, type, flags)
        self._specials = {}  # segment key -> (special, tag, front sector)

    def add(self, rect):
        """Adds a sector; returns its index."""
        self.rects.append(rect)
        return len(self.rects) - 1

    def thing(self, x, y, angle, kind, flags=7):
        self.things.append((x, y, angle, kind, flags))

    def special(self, x0, y0, x1, y1, special, tag=0, front=None):
        """Puts a special on the line lying on segment (x0,y0)-(x1,y1); `front` picks its front sector."""
        self._specials[_key((x0, y0), (x1, y1))] = (special, tag, front)

    def lines(self):
        """(v1 point, v2 point, front sector, back sector or -1, special, tag) per line."""
        out = []
        done = set()
        for index, rect in enumerate(self.rects):
            for a, b in _inward_edges(rect.box):
                cuts = sorted({a, b} | {p for r in self.rects for p in _corners(r.box) if _inside(a, b, p)},
                              key=lambda p: abs(p[0] - a[0]) + abs(p[1] - a[1]))
                for p, q in zip(cuts, cuts[1:]):
                    key = _key(p, q)
                    if key in done:
                        continue
                    done.add(key)
                    other = self._neighbour(index, p, q)
                    special, tag, front = self._specials.get(key, (0, 0, None))
                    if other >= 0 and front == other:
                        out.append((q, p, other, index, special, tag))
                    else:
                        out.append((p, q, index, other, special, tag))
        return out

    def _neighbour(self, index, p, q):
        for other, rect in enumerate(self.rects):
            if other != index and any(_on_edge(a, b, p) and _on_edge(a, b, q) for a, b in _inward_edges(rect.box)):
                return other
        return -1

    def wad(self):
        """The level as PWAD bytes."""
        vertices, index_of = [], {}

        def vertex(p):
            if p not in index_of:
                index_of[p] = len(vertices)
                vertices.append(p)
            return index_of[p]

        sides, lines = [], []
        for p, q, front, back, special, tag in self.lines():
            front_side = len(sides)
            sides.append(self._side(front, back))
            back_side = 0xFFFF
            if back >= 0:
                back_side = len(sides)
                sides.append(self._side(back, front))
            flags = 1 if back < 0 else 4  # blocking / two-sided
            lines.append(struct.pack('<HHHHHHH', vertex(p), vertex(q), flags, special, tag, front_side, back_side))
        lumps = [
            (self.name, b''),
            ('THINGS', b''.join(struct.pack('<hhhHH', *t) for t in self.things)),
            ('LINEDEFS', b''.join(lines)),
            ('SIDEDEFS', b''.join(sides)),
            ('VERTEXES', b''.join(struct.pack('<hh', x, y) for x, y in vertices)),
            ('SECTORS', b''.join(struct.pack('<hh8s8shHH', r.floor, r.ceiling, _name(r.floor_flat),
                                             _name(r.ceiling_flat), r.light, r.special, r.tag) for r in self.rects)),
        ]
        data, directory = b'', b''
        for name, body in lumps:
            directory += struct.pack('<II8s', 12 + len(data), len(body), _name(name))
            data += body
        return b'PWAD' + struct.pack('<II', len(lumps), 12 + len(data)) + data + directory

    def _side(self, sector, other):
        me = self.rects[sector]
        if other < 0:
            return struct.pack('<hh8s8s8sH', 0, 0, b'-', b'-', _name(me.wall), sector)
        step = _name(self.rects[other].step)
        return struct.pack('<hh8s8s8sH', 0, 0, step, step, b'-', sector)

    def texture_names(self):
        """(wall textures, flats) the level names."""
        walls = {r.wall for r in self.rects} | {r.step for r in self.rects}
        flats = {r.floor_flat for r in self.rects} | {r.ceiling_flat for r in self.rects}
        return sorted(walls), sorted(flats)


def _name(text):
    return text.encode('ascii')[:8]


def _key(p, q):
    return (p, q) if p <= q else (q, p)


def _corners(box):
    x0, y0, x1, y1 = box
    return [(x0, y0), (x1, y0), (x1, y1), (x0, y1)]


def _inward_edges(box):
    """The rectangle's edges in the order whose right-hand side (DOOM's front) is inside."""
    x0, y0, x1, y1 = box
    return [((x1, y0), (x0, y0)), ((x0, y0), (x0, y1)), ((x0, y1), (x1, y1)), ((x1, y1), (x1, y0))]


def _on_edge(a, b, p):
    return p in (a, b) or _inside(a, b, p)


def _inside(a, b, p):
    """Whether p lies strictly between a and b on the axis-aligned segment a-b."""
    if a[0] == b[0] == p[0]:
        return min(a[1], b[1]) < p[1] < max(a[1], b[1])
    if a[1] == b[1] == p[1]:
        return min(a[0], b[0]) < p[0] < max(a[0], b[0])
    return False
