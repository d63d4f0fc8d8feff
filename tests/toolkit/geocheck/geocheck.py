"""Checks a converted map against its DOOM level by sampling points and by area.

  geocheck.py WAD LEVEL MAP [--scale F] [--tolerance N] [--min-coverage PERCENT]

For each sector (doors and lifts, which become moving entities, are skipped) a
few points well inside its polygon: just below the floor and just above the
ceiling lie inside a worldspawn brush, mid height lies in none (unless floor
meets ceiling). Behind the middle of every one-sided line, at mid height, lies
a brush. Visportal brushes and brushes that only clip (ramps) are not geometry
and are left out. The player start (DOOM's last player 1 start) is an info_player_start
over its sector, near the floor. Sectors whose own point sampling finds no inner point are counted and
allowed up to the tolerance. Then each such sector's floor must be covered by
the tops of worldspawn brushes at its floor height, and its ceiling by brush
bottoms at its ceiling height, to at least --min-coverage of its area (default
99.9%; coverage.py measures it exactly); a sector below it is a fault that names
its widest crack. Exit 0 when all pass, 1 on failures, 2 on bad input.
"""
import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'dmap'))
import convex  # noqa: E402
import coverage  # noqa: E402
import doomlevel  # noqa: E402
import mapfile  # noqa: E402

CELL = 256.0          # grid cell for brush buckets, world units
OFFSET = 2.0          # how far below a floor or above a ceiling to probe, world units
WALL_DEPTH = 4.0      # how far behind a one-sided line to probe, DOOM units
INNER_MARGINS = (6.0, 2.0, 0.75, 0.3)  # sample points keep this far from every sector line, DOOM units
INSIDE_EPS = 0.01

# Line specials that move the sector behind the line (manual doors) or the tagged sectors
# (remote doors, lifts, moving floors and ceilings): such sectors become movers.
_MANUAL_DOORS = {1, 26, 27, 28, 31, 32, 33, 34, 117, 118}


class InputError(Exception):
    pass




def is_geometry(materials):
    """Whether a brush with these face materials is a floor, ceiling or wall: not a visportal
    brush, and not one drawn nowhere that only clips (a step's ramp)."""
    names = [m.lower() for m in materials]
    if any(n.endswith('visportal') for n in names):
        return False
    return not names or not all(n.endswith('clip') or n.endswith('nodraw') for n in names)


def read_map(path):
    """(worldspawn brushes as plane lists, every entity's keys); portal and clip brushes are
    left out."""
    try:
        with open(path, encoding='latin-1') as f:
            text = f.read()
    except OSError as e:
        raise InputError('cannot read %s: %s' % (path, e.strerror))
    try:
        entities = mapfile.read_map(text)
    except mapfile.MapError as e:
        raise InputError('%s: %s' % (path, e))
    brushes = []
    for faces in entities[0].brushes if entities else []:
        if is_geometry([material for _points, material in faces]):
            brushes.append([p for p in (convex.plane(points) for points, _material in faces) if p])
    return brushes, [entity.keys for entity in entities]


def brush_bounds(planes):
    """The brush's box from the corners where three of its planes meet."""
    pts = []
    for i in range(len(planes)):
        for j in range(i + 1, len(planes)):
            for k in range(j + 1, len(planes)):
                p = _meet(planes[i], planes[j], planes[k])
                if p and all(n[0] * p[0] + n[1] * p[1] + n[2] * p[2] - d < 0.1 for n, d in planes):
                    pts.append(p)
    if not pts:
        return None
    return [min(p[a] for p in pts) for a in range(3)], [max(p[a] for p in pts) for a in range(3)]


def _meet(p1, p2, p3):
    (a, da), (b, db), (c, dc) = p1, p2, p3
    bc = (b[1] * c[2] - b[2] * c[1], b[2] * c[0] - b[0] * c[2], b[0] * c[1] - b[1] * c[0])
    det = a[0] * bc[0] + a[1] * bc[1] + a[2] * bc[2]
    if abs(det) < 1e-9:
        return None
    ca = (c[1] * a[2] - c[2] * a[1], c[2] * a[0] - c[0] * a[2], c[0] * a[1] - c[1] * a[0])
    ab = (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])
    return tuple((da * bc[i] + db * ca[i] + dc * ab[i]) / det for i in range(3))


class BrushGrid:
    """Worldspawn brushes bucketed by the 2D grid cells their boxes touch."""

    def __init__(self, brushes):
        self.cells = {}
        for planes in brushes:
            box = brush_bounds(planes)
            if box is None:
                continue
            lo, hi = box
            for cx in range(int(lo[0] // CELL), int(hi[0] // CELL) + 1):
                for cy in range(int(lo[1] // CELL), int(hi[1] // CELL) + 1):
                    self.cells.setdefault((cx, cy), []).append(planes)

    def solid(self, p):
        for planes in self.cells.get((int(p[0] // CELL), int(p[1] // CELL)), ()):
            if all(n[0] * p[0] + n[1] * p[1] + n[2] * p[2] - d < -INSIDE_EPS for n, d in planes):
                return True
        return False


def inside_polygon(x, y, edges):
    """Even-odd rule over the sector's lines (any orientation)."""
    inside = False
    for (x1, y1), (x2, y2) in edges:
        if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
            inside = not inside
    return inside


def distance_to_segment(x, y, a, b):
    dx, dy = b[0] - a[0], b[1] - a[1]
    t = max(0.0, min(1.0, ((x - a[0]) * dx + (y - a[1]) * dy) / float(dx * dx + dy * dy)))
    return ((x - a[0] - t * dx) ** 2 + (y - a[1] - t * dy) ** 2) ** 0.5


def inner_points(edges, accept, wanted=3):
    """Up to `wanted` accepted points inside the polygon and clear of its lines, on a
    grid: as far from the lines as the sector allows (narrow strips get closer)."""
    xs = [p[0] for e in edges for p in e]
    ys = [p[1] for e in edges for p in e]
    for margin in INNER_MARGINS:
        for steps in (8, 24, 64):
            found = []
            for i in range(1, steps):
                for j in range(1, steps):
                    # Off the integer lattice: a grid point on a vertex or a cut between two
                    # brushes lies on both and strictly inside neither.
                    x = min(xs) + (max(xs) - min(xs)) * i / steps + 0.173
                    y = min(ys) + (max(ys) - min(ys)) * j / steps + 0.291
                    if inside_polygon(x, y, edges) and all(distance_to_segment(x, y, a, b) > margin
                                                           for a, b in edges) and accept(x, y):
                        found.append((x, y))
            if found:
                return found[::max(1, len(found) // wanted)][:wanted]
    return []


class LineGrid:
    """The level's lines bucketed by cell, to find the nearest line a short ray meets."""

    SIZE = 64.0

    def __init__(self, level, keep=None):
        """`keep(index)` may leave lines out of the search (their indices stay those of the level)."""
        self.segs = [(level.vertices[v1], level.vertices[v2]) for v1, v2, *_rest in level.lines]
        self.cells = {}
        for i, ((x1, y1), (x2, y2)) in enumerate(self.segs):
            if keep is not None and not keep(i):
                continue
            for cx in range(int(min(x1, x2) // self.SIZE), int(max(x1, x2) // self.SIZE) + 1):
                for cy in range(int(min(y1, y2) // self.SIZE), int(max(y1, y2) // self.SIZE) + 1):
                    self.cells.setdefault((cx, cy), []).append(i)

    def first_hit(self, x, y, dx, dy, reach, skip):
        """Distance along the unit ray (dx, dy) from (x, y) to the first line other than
        `skip` within `reach`, or `reach` when there is none."""
        x2, y2 = x + dx * reach, y + dy * reach
        candidates = set()
        for cx in range(int(min(x, x2) // self.SIZE), int(max(x, x2) // self.SIZE) + 1):
            for cy in range(int(min(y, y2) // self.SIZE), int(max(y, y2) // self.SIZE) + 1):
                candidates.update(self.cells.get((cx, cy), ()))
        best = reach
        for i in candidates - {skip}:
            (ax, ay), (bx, by) = self.segs[i]
            ex, ey = bx - ax, by - ay
            denom = dx * ey - dy * ex
            if denom == 0:
                continue
            t = ((ax - x) * ey - (ay - y) * ex) / denom  # along the ray
            u = ((ax - x) * dy - (ay - y) * dx) / denom  # along the line
            if 0 < t < best and 0 <= u <= 1:
                best = t
        return best

    def meets_box(self, x0, y0, x1, y1):
        """Whether a kept line passes through the inside of the box (touching its edge is no
        meeting)."""
        candidates = set()
        for cx in range(int(x0 // self.SIZE), int(x1 // self.SIZE) + 1):
            for cy in range(int(y0 // self.SIZE), int(y1 // self.SIZE) + 1):
                candidates.update(self.cells.get((cx, cy), ()))
        return any(_segment_enters_box(self.segs[i], x0, y0, x1, y1) for i in candidates)


def _segment_enters_box(seg, x0, y0, x1, y1):
    """Whether the segment has a point strictly inside the box (clipped as Liang and Barsky do)."""
    (ax, ay), (bx, by) = seg
    lo, hi = 0.0, 1.0
    for p, q in ((ax - bx, ax - x0), (bx - ax, x1 - ax), (ay - by, ay - y0), (by - ay, y1 - ay)):
        if p == 0:
            if q <= 0:
                return False
            continue
        t = q / p
        if p < 0:
            lo = max(lo, t)
        else:
            hi = min(hi, t)
        if lo >= hi:
            return False
    return True


def mover_sectors(level):
    tags = {tag for _v1, _v2, special, tag, _f, _b in level.lines if special and tag}
    movers = set()
    for _v1, _v2, special, _tag, _front, back in level.lines:
        if special in _MANUAL_DOORS and back >= 0:
            movers.add(back)
    return movers, tags


def check_coverage(level, brushes, scale, sectors, edges, minimum):
    """Faults for the sectors whose floor or ceiling brushes cover less than `minimum`."""
    tops, bottoms = coverage.floors_and_ceilings(brushes)
    faults = []
    for s in sectors:
        floor, ceiling, _tag = level.sectors[s]
        scaled = [((a[0] * scale, a[1] * scale), (b[0] * scale, b[1] * scale)) for a, b in edges[s]]
        def belongs(x, y, s=s):
            return level.sector_at(x / scale, y / scale) in (s, -1)

        for what, faces, z in (('floor', tops, floor), ('ceiling', bottoms, max(floor, ceiling))):
            found = coverage.measure(scaled, faces, z * scale, belongs)
            if found.share() < minimum:
                faults.append('sector %d: %s %.2f%% covered at %g, %.1f square units open, widest crack %.1f' % (
                    s, what, 100 * found.share(), z * scale, found.uncovered, found.widest))
    return faults


def check(level, brushes, entities, scale, tolerance, min_coverage=0.999):
    grid = BrushGrid(brushes)
    movers, tags = mover_sectors(level)
    edges = {}
    for v1, v2, _sp, _tag, front, back in level.lines:
        # A line with the sector on both sides lies inside it and bounds nothing.
        if front == back:
            continue
        seg = (level.vertices[v1], level.vertices[v2])
        for s in {front, back} - {-1}:
            edges.setdefault(s, []).append(seg)
    faults, unsampled, checked = [], 0, 0
    still = [s for s in range(len(level.sectors)) if s not in movers and level.sectors[s][2] not in tags and s in edges]
    for s in still:
        floor, ceiling, _tag = level.sectors[s]
        # Where the sector's lines do not close, the even-odd rule can place a point in
        # another sector or outside the level: keep the points the game puts in this one.
        points = inner_points(edges[s], lambda x, y, s=s: level.sector_at(x, y) in (s, -1))
        if not points:
            unsampled += 1
            continue
        checked += 1
        for x, y in points:
            X, Y = x * scale, y * scale
            if not grid.solid((X, Y, floor * scale - OFFSET)):
                faults.append('sector %d: no floor brush under (%g, %g)' % (s, x, y))
            if not grid.solid((X, Y, ceiling * scale + OFFSET)):
                faults.append('sector %d: no ceiling brush over (%g, %g)' % (s, x, y))
            if ceiling > floor and grid.solid((X, Y, (floor + ceiling) / 2.0 * scale)):
                faults.append('sector %d: a brush fills the room at (%g, %g)' % (s, x, y))
    walls = 0
    lines = LineGrid(level)
    for index, (v1, v2, _sp, _tag, front, back) in enumerate(level.lines):
        if back >= 0 or front < 0 or front in movers or level.sectors[front][2] in tags:
            continue
        floor, ceiling, _tag = level.sectors[front]
        if ceiling <= floor:
            continue
        (x1, y1), (x2, y2) = level.vertices[v1], level.vertices[v2]
        length = ((x2 - x1) ** 2 + (y2 - y1) ** 2) ** 0.5
        # The front faces right of v1->v2, so the solid side is to the left.
        # Slightly off the middle and off the lattice, so the probe never sits on a
        # cut between two brushes (on both, strictly inside neither).
        # Short lines (thin pillars, small notches) are probed less deep, and never past
        # half way to the next line behind (DOOM walls can be a few units thick), so the
        # probe does not pass through a solid that is thinner than the probe depth.
        # A probe can still fall on the seam of two brushes (a neighbour's wall line carried
        # on through the solid): a second probe a little aside decides.
        nx, ny = -(y2 - y1) / length, (x2 - x1) / length
        depth = min(WALL_DEPTH, length / 4.0) + 0.137
        z = (floor + ceiling) / 2.0 * scale
        walls += 1

        def backed(t, shallower):
            mx, my = x1 + (x2 - x1) * t, y1 + (y2 - y1) * t
            hit = lines.first_hit(mx, my, nx, ny, depth * 2, index)
            d = min(depth, hit / 2 + 0.0731, hit * 0.75) * shallower  # off the lattice again
            return grid.solid(((mx + nx * d) * scale, (my + ny * d) * scale, z))

        if not (backed(0.5 + 0.0137, 1.0) or backed(0.5 - 0.0391, 0.83)):
            faults.append('line %d-%d: no wall brush behind it' % (v1, v2))
    starts = [e for e in entities if e.get('classname') == 'info_player_start']
    # DOOM leaves the player at the last player 1 start; earlier ones are voodoo dolls.
    player_starts = [t for t in level.things if t[3] == 1][-1:]
    for x, y, _angle, kind, _flags in player_starts:
        ok = False
        for e in starts:
            try:
                ox, oy, oz = (float(v) for v in e.get('origin', '').split())
            except ValueError:
                continue
            sector = [s for s in edges if inside_polygon(x, y, edges[s])]
            floors = [level.sectors[s][0] * scale for s in sector]
            if abs(ox - x * scale) <= 1 and abs(oy - y * scale) <= 1 and any(
                    -1 <= oz - f <= 64 * scale for f in floors):
                ok = True
        if not ok:
            faults.append('player start at (%d, %d): no info_player_start over its sector near the floor' % (x, y))
    if unsampled > tolerance:
        faults.append('%d sectors could not be sampled (tolerance %d)' % (unsampled, tolerance))
    faults += check_coverage(level, brushes, scale, still, edges, min_coverage)
    return faults, checked, unsampled, walls


def main(argv):
    p = argparse.ArgumentParser(prog='geocheck.py')
    p.add_argument('wad')
    p.add_argument('level')
    p.add_argument('map')
    p.add_argument('--scale', type=float, default=1.0)
    p.add_argument('--tolerance', type=int, default=-1, help='sectors allowed unsampled (default: 5%%)')
    p.add_argument('--min-coverage', type=float, default=99.9, metavar='PERCENT',
                   help='the share of each floor and ceiling that brushes must cover (default 99.9)')
    try:
        args = p.parse_args(argv)
        level = doomlevel.load(args.wad, args.level)
        brushes, entities = read_map(args.map)
    except (doomlevel.LevelError, InputError) as e:
        print('geocheck: %s' % e, file=sys.stderr)
        return 2
    tolerance = args.tolerance if args.tolerance >= 0 else max(1, len(level.sectors) // 20)
    faults, checked, unsampled, walls = check(level, brushes, entities, args.scale, tolerance,
                                              args.min_coverage / 100.0)
    for f in faults[:20]:
        print('  ' + f)
    print('geocheck %s %s: %d brushes, %d sectors checked, %d unsampled, %d walls, %d faults' % (
        os.path.basename(args.wad), args.level.upper(), len(brushes), checked, unsampled, walls, len(faults)))
    return 1 if faults else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
