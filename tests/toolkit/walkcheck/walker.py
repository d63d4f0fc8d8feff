"""DOOM 3's player walking a short straight path through a converted map.

The player is an axis-aligned box, 32 x 32 and 74 high standing
(pm_bboxwidth, pm_normalheight). It stands on the highest point of the solid
brushes under its footprint (a box rests on a slope by its lowest corner), and
it climbs as idPhysics_Player::SlideMove does: a rise of at most 16 units
(pm_stepsize) onto ground whose normal's z is above 0.7 (MIN_WALK_NORMAL); a
slope of walkable ground is climbed in many small rises. It must have its full
height of room above the ground wherever it stands. Falling is always allowed.

Not modelled: speed, jumping, crouching, sliding along walls (the path is
straight), monster clip. The world is a list of convex brushes (see Solid);
the walk owns nothing but its own numbers.
"""

STEP = 16.0          # pm_stepsize
HEIGHT = 74.0        # pm_normalheight
HALF_WIDTH = 16.0    # half of pm_bboxwidth
MIN_WALK_NORMAL = 0.7
EPSILON = 0.1        # heights this close count as equal
CONTACT = 0.1        # the footprint is this much smaller per side, so touching a wall is no overlap
ON_PLANE = 0.02
CELL = 128.0


class Solid:
    """One convex brush that stops the player: its planes, corner points and edges."""

    def __init__(self, planes, polygons):
        self.planes = planes
        self.points = [p for w in polygons for p in w]
        self.edges = [(w[i], w[(i + 1) % len(w)]) for w in polygons for i in range(len(w))]
        self.lo = tuple(min(p[k] for p in self.points) for k in range(3))
        self.hi = tuple(max(p[k] for p in self.points) for k in range(3))

    def column(self, x0, y0, x1, y1):
        """(lowest z, highest z, the best upward normal z at the highest point) of the brush inside
        the vertical prism over the rectangle, or None when they do not overlap."""
        if self.hi[0] <= x0 or self.lo[0] >= x1 or self.hi[1] <= y0 or self.lo[1] >= y1:
            return None
        zs = [p for p in self.points if x0 <= p[0] <= x1 and y0 <= p[1] <= y1]
        for p, q in self.edges:
            for axis, value, other, olo, ohi in ((0, x0, 1, y0, y1), (0, x1, 1, y0, y1),
                                                 (1, y0, 0, x0, x1), (1, y1, 0, x0, x1)):
                a, b = p[axis] - value, q[axis] - value
                if (a < 0 < b) or (b < 0 < a):
                    t = a / (a - b)
                    o = p[other] + t * (q[other] - p[other])
                    if olo <= o <= ohi:
                        zs.append(tuple(p[k] + t * (q[k] - p[k]) for k in range(3)))
        for x, y in ((x0, y0), (x0, y1), (x1, y0), (x1, y1)):
            span = self._vertical_span(x, y)
            if span:
                zs += [(x, y, span[0]), (x, y, span[1])]
        if not zs:
            return None
        top = max(zs, key=lambda p: p[2])
        bottom = min(p[2] for p in zs)
        normal_z = max((n[2] for n, d in self.planes
                        if abs(n[0] * top[0] + n[1] * top[1] + n[2] * top[2] - d) < ON_PLANE), default=0.0)
        return bottom, top[2], normal_z

    def _vertical_span(self, x, y):
        """The z interval of the vertical line through (x, y) inside the brush, or None."""
        lo, hi = -float('inf'), float('inf')
        for n, d in self.planes:
            rest = d - n[0] * x - n[1] * y
            if abs(n[2]) < 1e-9:
                if rest < 0:
                    return None
            elif n[2] > 0:
                hi = min(hi, rest / n[2])
            else:
                lo = max(lo, rest / n[2])
        return (lo, hi) if lo < hi else None


class World:
    """The solids bucketed by the grid cells their boxes cover."""

    def __init__(self, solids):
        self.cells = {}
        for s in solids:
            for cx in range(int(s.lo[0] // CELL), int(s.hi[0] // CELL) + 1):
                for cy in range(int(s.lo[1] // CELL), int(s.hi[1] // CELL) + 1):
                    self.cells.setdefault((cx, cy), []).append(s)

    def near(self, x0, y0, x1, y1):
        found = []
        seen = set()
        for cx in range(int(x0 // CELL), int(x1 // CELL) + 1):
            for cy in range(int(y0 // CELL), int(y1 // CELL) + 1):
                for s in self.cells.get((cx, cy), ()):
                    if id(s) not in seen:
                        seen.add(id(s))
                        found.append(s)
        return found


class Outcome:
    """How a walk ended: `ok`, or the reason, where (distance along the path) and the height
    needed (the rise above the feet, or the headroom found)."""

    def __init__(self, ok, reason='', at=0.0, rise=0.0):
        self.ok, self.reason, self.at, self.rise = ok, reason, at, rise


def _columns(solids, x, y):
    h = HALF_WIDTH - CONTACT
    return [c for c in (s.column(x - h, y - h, x + h, y + h) for s in solids) if c]


def stand(solids, x, y, z):
    """The ground the box at (x, y) reaches from feet height z: (ground, normal z, columns), or
    (None, 0, columns) when nothing lies within one step above z or anywhere below."""
    columns = _columns(solids, x, y)
    reachable = [(hi, nz) for _lo, hi, nz in columns if hi <= z + STEP + EPSILON]
    if not reachable:
        return None, 0.0, columns
    # The highest top; of the tops as high as it (within EPSILON of it, not of each other,
    # so that a chain of near ties never settles lower), the best-standing normal.
    ground = max(hi for hi, _nz in reachable)
    normal_z = max(nz for hi, nz in reachable if hi >= ground - EPSILON)
    return ground, normal_z, columns


def blocked(columns, ground, z):
    """None when the box standing on `ground` has its height free, else (reason, height): a
    'rise' (a step up from the ground, its height above the feet z), a 'wall' (a rise as tall as
    the player) or too little 'headroom' (the room found)."""
    worst = None
    for lo, hi, _nz in columns:
        if hi > ground + EPSILON and lo < ground + HEIGHT - EPSILON:
            if lo <= ground + EPSILON:
                found = ('rise' if hi - z < HEIGHT else 'wall', hi - z)
            else:
                found = ('headroom', lo - ground)
            if worst is None or (found[0] != 'headroom' and (worst[0] == 'headroom' or found[1] > worst[1])):
                worst = found
    return worst


def walk(world, start, direction, length, z, step=1.0):
    """Walks from `start` (x, y), feet near z, along the unit `direction` for `length` units;
    the outcome is ok when the box gets to the end."""
    x0, y0 = start
    dx, dy = direction
    ends = [(x0, y0), (x0 + dx * length, y0 + dy * length)]
    solids = world.near(min(p[0] for p in ends) - HALF_WIDTH, min(p[1] for p in ends) - HALF_WIDTH,
                        max(p[0] for p in ends) + HALF_WIDTH, max(p[1] for p in ends) + HALF_WIDTH)
    solids = [s for s in solids if s.lo[2] < z + 4 * HEIGHT and s.hi[2] > z - 4 * HEIGHT]
    count = int(length / step)
    for i in range(count + 1):
        at = min(length, i * step)
        x, y = x0 + dx * at, y0 + dy * at
        ground, normal_z, columns = stand(solids, x, y, z)
        if ground is None:
            return Outcome(False, 'no floor', at)
        if ground > z + EPSILON and normal_z <= MIN_WALK_NORMAL:
            return Outcome(False, 'too steep', at, ground - z)
        stop = blocked(columns, ground, z)
        if stop:
            return Outcome(False, stop[0], at, stop[1])
        z = ground
    return Outcome(True)
