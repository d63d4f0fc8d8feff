"""Checks that DOOM 3's player can walk up every step DOOM's player walks up.

  walkcheck.py WAD LEVEL MAP [--scale F] [--min PERCENT] [--report N] [--pk4 FILE]...

A step-up is a line that DOOM's player crosses upwards: two-sided, not marked
blocking, a floor rise of at most 24 DOOM units, an opening at least 56 high, and
neither sector moved by a line special (the doors, lifts, floors and ceilings a
special tags, a manual door's back sector, timed door sectors). For each, the
player's box walks a short straight path across the middle of the line, from
where it stands wholly on the lower side (up to 32 units before the line) to
where it stands wholly on the upper side (up to 32 units after), in the scaled
map (walker.py says how it climbs); once the box stands wholly past the line the
step is climbed, whatever it meets farther on; where the walk fails with a ramp already
rising under the box at that start (walkable sloped ground under it), it starts
at the nearest place up to 200 units back, short of any wall, where the box
stands on the lower floor (not below it), or where there is none (a ledge over a
drop), on the ramp itself. Where a short line ends against a wall, the
path is also tried where the box just clears either end. The map's solids are
the brushes of the world and of every solid brush entity (triggers and
"solid" "0" entities are left out) that have a face whose material stops the
player: solid, or player clip; a door that starts open ("start_open") stands
where the game moves it when the level starts. Materials come from the packages given (their
.mtr files), DOOM 3's own tool materials and, for names nothing defines, an
opaque solid stand-in, as in the compile check.

A step is walked up only where DOOM's player stands on its lower floor and his
box walks the same straight path until it stands wholly past the line: DOOM
stands him on the highest floor his box touches, so a step out of a trench or a
sliver narrower than his box, with a higher floor behind it, is never walked up
there, nor a narrow step beside a higher sill that his box meets as it crosses,
nor a path on which his box meets a wall, a blocking line, a floor more than his
step above him or a ceiling too low (where DOOM's player cannot walk the path,
its failure is not the conversion's). Prints the count of step-ups, those
checked (a step with no room for the box, before the line or between walls at a
line narrower than the box, or where DOOM's player does not walk up, is counted
apart), the walkable share and the worst steps, highest first. Exit 0
when the walkable share is at least --min (default 99), 1 below it, 2 on bad input.
"""
import argparse
import os
import sys
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, '..', 'geocheck'))
sys.path.insert(0, os.path.join(HERE, '..', 'dmap'))
import convex  # noqa: E402
import doomlevel  # noqa: E402
import engine_base  # noqa: E402
import geocheck  # noqa: E402
import mapfile  # noqa: E402
import walker  # noqa: E402

DOOM_STEP = 24        # the highest rise DOOM's player walks up
DOOM_HEIGHT = 56      # DOOM's player height: the smallest opening it passes
REACH = 32.0          # how far the path goes on either side of the line at most, DOOM 3 units
RUN_UP = 200.0        # how far back a path may start when the box cannot stand at the near start, DOOM 3 units
RUN_UP_STEP = 4.0     # ... tried at this spacing, nearest first
RAMP_RISE = 48.0      # the highest a ramp under the start may stand above the lower floor, DOOM 3 units
SLAB = 2.0            # DOOM 3 units a fence's slab (a masked texture, a switch panel) stands off its line
DOOM_HALF_WIDTH = 16  # DOOM's player's box reaches this far either way from its middle, DOOM units
STANCE_SAMPLES = 5    # points across the box each way where DOOM's player's stance is read
BLOCKING = 0x0001     # linedef flag: blocks players and monsters

_MANUAL_DOORS = {1, 26, 27, 28, 31, 32, 33, 34, 117, 118}
# Tagged specials that move nothing: light changes, teleports, exits, scrolling.
_STILL_SPECIALS = {12, 13, 17, 35, 79, 80, 81, 104, 138, 139, 39, 97, 125, 126, 11, 51, 52, 124, 48}
# Sector types that open or close the sector's door on a timer.
_TIMED_DOOR_SECTORS = {10, 14}


class InputError(Exception):
    pass


def moving_sectors(level):
    """The sectors DOOM moves: tagged by a line special that moves something, behind a manual
    door's line, or with a timed door type."""
    tags = {tag for _v1, _v2, special, tag, _f, _b in level.lines
            if special and tag and special not in _STILL_SPECIALS}
    moving = {s for s, (_f, _c, tag) in enumerate(level.sectors) if tag in tags}
    moving |= {s for s, record in enumerate(level.sector_records) if record.special in _TIMED_DOOR_SECTORS}
    moving |= {back for _v1, _v2, special, _t, _f, back in level.lines if special in _MANUAL_DOORS and back >= 0}
    return moving


class StepUp:
    def __init__(self, index, low, high, rise):
        self.index = index          # into level.lines
        self.low, self.high = low, high
        self.rise = rise            # DOOM units
        self.outcome = None
        self.no_room = False


def step_ups(level):
    moving = moving_sectors(level)
    found = []
    for index, (_v1, _v2, _sp, _tag, front, back) in enumerate(level.lines):
        if front < 0 or back < 0 or front == back or level.linedefs[index].flags & BLOCKING:
            continue
        if front in moving or back in moving:
            continue
        (ff, fc, _), (bf, bc, _) = level.sectors[front], level.sectors[back]
        if min(fc, bc) - max(ff, bf) < DOOM_HEIGHT or ff == bf or abs(ff - bf) > DOOM_STEP:
            continue
        low, high = (front, back) if ff < bf else (back, front)
        found.append(StepUp(index, low, high, abs(ff - bf)))
    return found


def material_table(packages):
    keywords = engine_base.engine_material_keywords()
    for pk4 in packages:
        try:
            keywords.update(engine_base.package_material_keywords(pk4))
        except (OSError, zipfile.BadZipFile) as e:
            raise InputError('cannot read package %s: %s' % (pk4, getattr(e, 'strerror', None) or e))
    return keywords


def spawn_lift(entity, brushes):
    """How far up the game moves a door that starts open (a func_door with "start_open")
    when it spawns: its bounds' height less its lip, along "movedir" -1 (up) or -2 (down)."""
    keys = entity.keys
    if keys.get('classname') != 'func_door' or keys.get('start_open') != '1' or not brushes:
        return 0.0
    direction = {'-1': 1.0, '-2': -1.0}.get(keys.get('movedir', keys.get('angle', '')))
    if direction is None:
        return 0.0
    height = max(b.hi[2] for b in brushes) - min(b.lo[2] for b in brushes)
    try:
        lip = float(keys.get('lip', '8'))
    except ValueError:
        lip = 8.0
    return direction * max(0.0, height - lip)


def solids(entities, keywords):
    """The brushes that stop the player, as walker.Solid, where the game has them when the
    level starts."""
    found = []
    for entity in entities:
        keys = entity.keys
        if keys.get('classname', '').startswith('trigger_') or keys.get('solid') == '0':
            continue
        own = []
        for brush in entity.brushes:
            planes, stops = [], False
            for points, material in brush:
                p = convex.plane(points)
                if p is None:
                    continue
                planes.append(p)
                name = material.lower()
                name = name if name.startswith('textures/') else 'textures/' + name
                stops = stops or engine_base.blocks_player(keywords.get(name, set()))
            polygons = [w for _, w in convex.faces(planes)]
            if stops and len(polygons) >= 4:
                own.append((planes, polygons))
        lift = spawn_lift(entity, [walker.Solid(pl, po) for pl, po in own])
        for planes, polygons in own:
            if lift:
                planes = [(n, d + n[2] * lift) for n, d in planes]
                polygons = [[(x, y, z + lift) for x, y, z in w] for w in polygons]
            found.append(walker.Solid(planes, polygons))
    return found


def _ground(world, at, z):
    x, y = at
    solids = world.near(x - walker.HALF_WIDTH, y - walker.HALF_WIDTH, x + walker.HALF_WIDTH, y + walker.HALF_WIDTH)
    return walker.stand(solids, x, y, z)


def slope_under(world, at, floor):
    """The height of the highest ground under the box at `at`, within a ramp's height above
    the floor, when it is a walkable slope (a ramp), not a flat top or a wall; else None."""
    ground, normal_z, _ = _ground(world, at, floor + RAMP_RISE - walker.STEP)
    if ground is not None and ground > floor + walker.EPSILON and walker.MIN_WALK_NORMAL < normal_z < 1 - 1e-6:
        return ground
    return None


def stands_on(world, at, floor):
    """Whether the box at `at` stands on ground at the floor's height (not lower)."""
    ground, _, _ = _ground(world, at, floor)
    return ground is not None and abs(ground - floor) <= walker.EPSILON


def _box_sectors(level, cx, cy):
    """The floors and ceilings of the sectors under DOOM's player's box centred at (cx, cy)."""
    reach = DOOM_HALF_WIDTH - 0.5
    for i in range(STANCE_SAMPLES):
        for j in range(STANCE_SAMPLES):
            px = cx - reach + 2 * reach * i / (STANCE_SAMPLES - 1)
            py = cy - reach + 2 * reach * j / (STANCE_SAMPLES - 1)
            sector = level.sector_at(px, py)
            if sector >= 0:
                yield level.sectors[sector][:2]


def doom_walks_up(level, x, y, dx, dy, low, walls=None):
    """Whether DOOM's player walks up the line at (x, y), his box's middle going straight
    along (dx, dy) from where it stands wholly before the line to where it stands wholly past
    it. DOOM stands him on the highest floor his box touches: beside a higher floor behind
    the step (a trench narrower than his box) he never stands on the lower floor, nor where
    a shut door or a pillar (a ceiling too low to stand under) is in his box's way; on the
    way his box must meet no floor more than his step above the one he stands on (a higher
    sill beside a narrow step, a sliver with a higher floor behind), room to stand under the
    ceiling and, given `walls` (lines he cannot cross, with `meets_box`), none of them: where
    he cannot walk the path, its failure in DOOM 3 is not the conversion's."""
    back = DOOM_HALF_WIDTH * (abs(dx) + abs(dy)) + 0.5
    z = low
    steps = int(2 * back)
    for i in range(steps + 1):
        t = -back + 2 * back * i / steps
        cx, cy = x + dx * t, y + dy * t
        found = list(_box_sectors(level, cx, cy))
        if walls is not None:
            reach = DOOM_HALF_WIDTH - 0.01
            if walls.meets_box(cx - reach, cy - reach, cx + reach, cy + reach):
                return False
        if not found:
            continue
        highest = max(floor for floor, _ceiling in found)
        lowest_ceiling = min(ceiling for _floor, ceiling in found)
        if (i == 0 and highest > low) or highest > z + DOOM_STEP or lowest_ceiling - highest < DOOM_HEIGHT:
            return False
        z = highest
    return True


def probe(level, lines, walls, world, step, scale):
    """Walks the player's box across the step; keeps the outcome of the first lateral position
    that works, or of the first where DOOM's player stands on the lower floor. Where the walk
    fails with a ramp already rising under the box at the start (a walkable slope), the path
    starts at the nearest place farther back, short of any wall, where the box stands on the
    lower floor, as a player comes up the ramp from there; with no such floor behind (a
    ledge over a drop, a tread the ramp covers) or no way on from there, on the ramp
    itself, as one who came up it from its foot."""
    v1, v2, *_ = level.lines[step.index]
    (x1, y1), (x2, y2) = level.vertices[v1], level.vertices[v2]
    length = ((x2 - x1) ** 2 + (y2 - y1) ** 2) ** 0.5
    ux, uy = (x2 - x1) / length, (y2 - y1) / length
    # The front lies right of v1 -> v2; the path runs from the lower sector to the higher.
    dx, dy = (-uy, ux) if level.lines[step.index][4] == step.low else (uy, -ux)
    low_floor = level.sectors[step.low][0] * scale
    # How far the square box reaches along the path and along the line: more than half its
    # width when they are diagonal.
    deep = walker.HALF_WIDTH * (abs(dx) + abs(dy))
    wide = walker.HALF_WIDTH * (abs(ux) + abs(uy))
    clear = (wide + 1.0) / scale   # DOOM units from an end where the box clears it
    along = [length / 2]
    if length > 2 * clear:
        along += [clear, length - clear]
    first = None
    for t in along:
        mx, my = x1 + ux * t, y1 + uy * t
        stands = doom_walks_up(level, mx, my, dx, dy, level.sectors[step.low][0], walls)
        before = lines.first_hit(mx, my, -dx, -dy, 2 * REACH / scale, step.index) * scale
        after = lines.first_hit(mx, my, dx, dy, 2 * REACH / scale, step.index) * scale
        # The box starts wholly on the lower side where the sector allows and ends wholly on
        # the upper side, but never reaches past the next line there: where the upper sector
        # is narrower than the box, it ends with its front edge just short of that line.
        back = max(deep + 1, min(REACH, before - deep - walker.CONTACT))
        ahead = max(1 - deep, min(REACH, after - deep - walker.CONTACT - SLAB))
        start = (mx * scale - dx * back, my * scale - dy * back)
        # Once the box stands wholly past the line the step is climbed: what it meets farther
        # on (a cave's wall beside a short path) is no longer the step's.
        def across(path_start, run_up, z):
            outcome = walker.walk(world, path_start, (dx, dy), run_up + ahead, z)
            return walker.Outcome(True) if not outcome.ok and outcome.at > run_up + deep else outcome

        outcome = across(start, back, low_floor)
        slope = slope_under(world, start, low_floor) if not outcome.ok else None
        if slope is not None:
            behind = walls.first_hit(mx, my, -dx, -dy, RUN_UP / scale, step.index) * scale
            run_up = back + RUN_UP_STEP
            while run_up <= min(RUN_UP, behind - deep - walker.CONTACT):
                back_start = (mx * scale - dx * run_up, my * scale - dy * run_up)
                if stands_on(world, back_start, low_floor) and walker.walk(world, back_start, (dx, dy), 0, low_floor).ok:
                    outcome = across(back_start, run_up, low_floor)
                    break
                run_up += RUN_UP_STEP
            if not outcome.ok:
                # No floor behind to come up from (a ledge over a drop), or the ramp's end in the
                # way from there: the box stands on the ramp, as one who came up it from its foot.
                outcome = across(start, back, slope)
        if outcome.ok:
            step.outcome = outcome
            return
        # Only where DOOM's player walks up does a failure count.
        if first is None and stands:
            first = outcome
    if first is None:
        step.outcome = walker.Outcome(False, "DOOM's player does not walk up there")
        step.no_room = True
        return
    step.outcome = first
    # No room: the box cannot stand before the line, or a wall stops it at a line narrower
    # than itself (DOOM's wider player cannot pass there either).
    step.no_room = first.at == 0 or (first.reason == 'wall' and length * scale < 2 * wide)


def check(level, entities, keywords, scale):
    world = walker.World(solids(entities, keywords))
    # Lines inside a sector (the same on both sides) bound nothing, unless DOOM's player may
    # not cross them (a blocking fence across a ledge ends the ledge).
    lines = geocheck.LineGrid(level, keep=lambda i: level.lines[i][4] != level.lines[i][5] or
                              bool(level.linedefs[i].flags & BLOCKING))
    walls = geocheck.LineGrid(level, keep=lambda i: level.lines[i][5] < 0 or
                              bool(level.linedefs[i].flags & BLOCKING))
    steps = step_ups(level)
    for step in steps:
        probe(level, lines, walls, world, step, scale)
    return steps


def describe(level, step, scale):
    v1, v2, *_ = level.lines[step.index]
    (x1, y1), (x2, y2) = level.vertices[v1], level.vertices[v2]
    o = step.outcome
    what = {'rise': 'a rise of %.1f' % o.rise, 'wall': 'a wall (%.1f high)' % o.rise,
            'headroom': 'headroom of %.1f (needs %g)' % (o.rise, walker.HEIGHT),
            'too steep': 'ground too steep (rise %.1f)' % o.rise, 'no floor': 'no floor'}.get(o.reason, o.reason)
    if step.no_room:
        what = 'no room for the box (%s)' % what
    return 'line %d (sector %d to %d, DOOM rise %d) at (%g, %g): %s, %.0f units along the path' % (
        level.line_numbers[step.index], step.low, step.high, step.rise,
        (x1 + x2) / 2.0 * scale, (y1 + y2) / 2.0 * scale, what, o.at)


def main(argv):
    p = argparse.ArgumentParser(prog='walkcheck.py')
    p.add_argument('wad')
    p.add_argument('level')
    p.add_argument('map')
    p.add_argument('--scale', type=float, default=1.0)
    p.add_argument('--min', type=float, default=99.0, help='the walkable share needed, percent (default 99)')
    p.add_argument('--report', type=int, default=10, metavar='N', help='print the N worst steps (default 10)')
    p.add_argument('--pk4', action='append', default=[], metavar='FILE', help='a package whose materials count')
    try:
        args = p.parse_args(argv)
        if args.scale <= 0:
            raise InputError('the scale must be positive')
        level = doomlevel.load(args.wad, args.level)
        try:
            with open(args.map, encoding='latin-1') as f:
                entities = mapfile.read_map(f.read())
        except OSError as e:
            raise InputError('cannot read %s: %s' % (args.map, e.strerror))
        keywords = material_table(args.pk4)
    except (doomlevel.LevelError, mapfile.MapError, InputError) as e:
        print('walkcheck: %s' % e, file=sys.stderr)
        return 2
    steps = check(level, entities, keywords, args.scale)
    checked = [s for s in steps if not s.no_room]
    walkable = [s for s in checked if s.outcome.ok]
    share = 100.0 * len(walkable) / len(checked) if checked else 100.0
    failed = sorted((s for s in steps if not s.outcome.ok), key=lambda s: (s.no_room, -s.outcome.rise))
    for s in failed[:args.report]:
        print('  ' + describe(level, s, args.scale))
    reasons = {}
    for s in checked:
        if not s.outcome.ok:
            reasons[s.outcome.reason] = reasons.get(s.outcome.reason, 0) + 1
    print('walkcheck %s %s: %d step-ups, %d checked (%d without room for the box), %d walkable (%.1f%%)%s' % (
        os.path.basename(args.wad), args.level.upper(), len(steps), len(checked), len(steps) - len(checked),
        len(walkable), share, ''.join(', %d %s' % (n, r) for r, n in sorted(reasons.items()))))
    return 0 if share >= args.min else 1


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
