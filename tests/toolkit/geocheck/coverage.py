"""How much of each sector's floor and ceiling the converted map's brushes cover.

A sector's area is what DOOM's even-odd rule puts inside its lines (lines with
the sector on both sides bound nothing), cut into trapezoids between the heights
of its vertices. The covering faces are the horizontal faces of worldspawn
brushes: tops at the floor's height for the floor, bottoms at the ceiling's
height for the ceiling, in the scaled plane. Every covering face is subtracted
from every trapezoid exactly (convex polygon clipping), so overlapping brushes
never count twice. An uncovered piece that the level's own node tree puts in
another sector (sector lines that enclose a neighbour's floor) is not the
sector's. What stays uncovered is measured by its area and by the
width of its widest crack: twice the distance from the centre of an uncovered
piece to the nearest covering face or sector line, the largest over the pieces
(a lower bound where a crack bends). Not checked: faces that are not horizontal,
and whether a face that covers a sector belongs to another sector's brush.
"""
HEIGHT_EPSILON = 0.01   # a face this close to a height lies at it, world units
AREA_EPSILON = 1e-6     # pieces smaller than this are rounding, square units
CELL = 128.0
HUGE = 1.0e6            # half size of the first square a face is cut from, beyond any level


def _cross(o, a, b):
    return (a[0] - o[0]) * (b[1] - o[1]) - (a[1] - o[1]) * (b[0] - o[0])


def area(poly):
    """Signed area: positive when counter-clockwise."""
    return 0.5 * sum(p[0] * q[1] - q[0] * p[1] for p, q in zip(poly, poly[1:] + poly[:1]))


def _clip(poly, a, b, keep_left):
    """The part of a convex polygon left (or right) of the directed line a -> b."""
    out = []
    sign = 1.0 if keep_left else -1.0
    count = len(poly)
    for i in range(count):
        p, q = poly[i], poly[(i + 1) % count]
        dp, dq = sign * _cross(a, b, p), sign * _cross(a, b, q)
        if dp >= 0:
            out.append(p)
        if (dp > 0 > dq) or (dp < 0 < dq):
            t = dp / (dp - dq)
            out.append((p[0] + t * (q[0] - p[0]), p[1] + t * (q[1] - p[1])))
    return out if len(out) >= 3 and abs(area(out)) > AREA_EPSILON else None


def subtract(piece, face):
    """The convex pieces of `piece` outside the convex counter-clockwise `face`."""
    left = []
    rest = piece
    for i in range(len(face)):
        a, b = face[i], face[(i + 1) % len(face)]
        outside = _clip(rest, a, b, keep_left=False)
        if outside:
            left.append(outside)
        rest = _clip(rest, a, b, keep_left=True)
        if rest is None:
            break
    return left


def trapezoids(edges):
    """The even-odd inside of some segments, as counter-clockwise convex pieces between the
    heights (y) of their end points."""
    ys = sorted({p[1] for e in edges for p in e})
    slanted = [e for e in edges if e[0][1] != e[1][1]]
    pieces = []
    for ya, yb in zip(ys, ys[1:]):
        mid = (ya + yb) / 2.0
        crossing = []
        for (x1, y1), (x2, y2) in slanted:
            if min(y1, y2) <= ya and max(y1, y2) >= yb:
                xa = x1 + (ya - y1) * (x2 - x1) / (y2 - y1)
                xb = x1 + (yb - y1) * (x2 - x1) / (y2 - y1)
                xm = x1 + (mid - y1) * (x2 - x1) / (y2 - y1)
                crossing.append((xm, xa, xb))
        crossing.sort()
        for left, right in zip(crossing[0::2], crossing[1::2]):
            poly = [(left[1], ya), (right[1], ya), (right[2], yb), (left[2], yb)]
            poly = [p for i, p in enumerate(poly) if p != poly[i - 1]]
            if len(poly) >= 3 and area(poly) > AREA_EPSILON:
                pieces.append(poly)
    return pieces


def _half_plane_clip(poly, a, b, c):
    """The part of a convex polygon where a*x + b*y <= c."""
    out = []
    count = len(poly)
    for i in range(count):
        p, q = poly[i], poly[(i + 1) % count]
        dp, dq = a * p[0] + b * p[1] - c, a * q[0] + b * q[1] - c
        if dp <= 0:
            out.append(p)
        if (dp < 0 < dq) or (dq < 0 < dp):
            t = dp / (dp - dq)
            out.append((p[0] + t * (q[0] - p[0]), p[1] + t * (q[1] - p[1])))
    return out if len(out) >= 3 else []


def horizontal_faces(planes, facing):
    """[(height, counter-clockwise polygon)] of a brush's faces whose normal is (0, 0, facing):
    the square cut by the other planes at that height (a point is inside when n.p <= d)."""
    found = []
    for i, (n, d) in enumerate(planes):
        if abs(n[2] - facing) > 1e-6:
            continue
        z = d / n[2]
        poly = [(-HUGE, -HUGE), (HUGE, -HUGE), (HUGE, HUGE), (-HUGE, HUGE)]
        for j, (m, e) in enumerate(planes):
            if j == i:
                continue
            if abs(m[0]) < 1e-12 and abs(m[1]) < 1e-12:
                if m[2] * z > e + HEIGHT_EPSILON:  # a parallel plane that cuts the face away
                    poly = []
            else:
                poly = _half_plane_clip(poly, m[0], m[1], e - m[2] * z)
            if not poly:
                break
        if poly and abs(area(poly)) > AREA_EPSILON:
            found.append((z, poly))
    return found


class Faces:
    """Horizontal brush faces by height and grid cell, each a counter-clockwise 2D polygon."""

    def __init__(self):
        self.by_height = {}

    def add(self, z, poly):
        cells = self.by_height.setdefault(round(z / HEIGHT_EPSILON), {})
        xs, ys = [p[0] for p in poly], [p[1] for p in poly]
        entry = (poly, min(xs), min(ys), max(xs), max(ys))
        for cx in range(int(min(xs) // CELL), int(max(xs) // CELL) + 1):
            for cy in range(int(min(ys) // CELL), int(max(ys) // CELL) + 1):
                cells.setdefault((cx, cy), []).append(entry)

    def near(self, z, lo, hi):
        """The faces at height z whose boxes overlap the box lo..hi."""
        cells = self.by_height.get(round(z / HEIGHT_EPSILON), {})
        found, seen = [], set()
        for cx in range(int(lo[0] // CELL), int(hi[0] // CELL) + 1):
            for cy in range(int(lo[1] // CELL), int(hi[1] // CELL) + 1):
                for entry in cells.get((cx, cy), ()):
                    poly, x0, y0, x1, y1 = entry
                    if id(poly) in seen or x1 <= lo[0] or x0 >= hi[0] or y1 <= lo[1] or y0 >= hi[1]:
                        continue
                    seen.add(id(poly))
                    found.append(poly)
        return found


def floors_and_ceilings(brushes):
    """(Faces of the brushes' tops, Faces of their bottoms); brushes as lists of (normal, distance)."""
    tops, bottoms = Faces(), Faces()
    for planes in brushes:
        for z, poly in horizontal_faces(planes, 1.0):
            tops.add(z, poly)
        for z, poly in horizontal_faces(planes, -1.0):
            bottoms.add(z, poly)
    return tops, bottoms


def _distance_to_segment(p, a, b):
    dx, dy = b[0] - a[0], b[1] - a[1]
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((p[0] - a[0]) * dx + (p[1] - a[1]) * dy) / length2))
    return ((p[0] - a[0] - t * dx) ** 2 + (p[1] - a[1] - t * dy) ** 2) ** 0.5


def _centre(poly):
    return (sum(p[0] for p in poly) / len(poly), sum(p[1] for p in poly) / len(poly))


class Coverage:
    def __init__(self, total, uncovered, widest):
        self.total, self.uncovered, self.widest = total, uncovered, widest

    def share(self):
        return 1.0 - self.uncovered / self.total if self.total > 0 else 1.0


def measure(edges, faces, z, belongs=None):
    """Coverage of the even-odd inside of `edges` by the faces at height z. `belongs(x, y)` may
    disown an uncovered piece by its centre: it is then left out of the area altogether (where
    a level's lines enclose another sector's floor, the game shows that sector there)."""
    total, uncovered, widest = 0.0, 0.0, 0.0
    for piece in trapezoids(edges):
        total += area(piece)
        xs, ys = [p[0] for p in piece], [p[1] for p in piece]
        near = faces.near(z, (min(xs), min(ys)), (max(xs), max(ys)))
        left = [piece]
        for face in near:
            left = [rest for part in left for rest in subtract(part, face)]
            if not left:
                break
        for part in left:
            if belongs is not None and not belongs(*_centre(part)):
                total -= area(part)
                continue
            uncovered += area(part)
            widest = max(widest, _width_at_centre(part, edges, faces, z))
    return Coverage(total, uncovered, widest)


def _width_at_centre(part, edges, faces, z):
    """Twice the distance from the part's centre to the nearest sector line or covering face."""
    c = _centre(part)
    reach = min(_distance_to_segment(c, a, b) for a, b in edges)
    window = (c[0] - reach, c[1] - reach), (c[0] + reach, c[1] + reach)
    for face in faces.near(z, *window):
        reach = min([reach] + [_distance_to_segment(c, face[i], face[(i + 1) % len(face)])
                               for i in range(len(face))])
    return 2 * reach
