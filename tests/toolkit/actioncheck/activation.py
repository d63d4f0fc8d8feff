"""How a converted line is set off, judged against DOOM's activation of the line.

DOOM 3's side, from the stock classes: trigger_once / trigger_multiple fire once when
their `wait` is negative (trigger_once's definition sets -1, trigger_multiple's 0.5);
`anyTouch` lets players and monsters touch, `noClient` monsters only, neither the player
only; `requires` names an inventory item a player must carry (every non-player passes).
func_damagable fires when shot, once with `count` 1 (its default), without end at 0 or
below. A func_door without `no_touch` opens for anyone who touches it. DOOM's side:
walk-over lines fire when crossed (the volume must lie astride the line, or stand off it
by no more than a body's half-width), switches and
doors by hand when used from the front, gun lines when shot. Teleport lines fire only
when crossed from the front: an arming volume in front that a volume behind needs.
Problems are returned as short sentences; nothing is printed here.
"""
import math

KEY_COLOURS = ('blue', 'red', 'yellow')
TOUCH_SLACK = 2.0      # DOOM units a volume may stand off the line it belongs to ...
BODY_REACH = 16.0      # ... beyond DOOM 3's player half-width, for a body touches a volume
USE_RANGE = 64.0       # DOOM's use range: a switch's volume reaches no further


def who(entity):
    if entity.classname in ('func_door', 'func_damagable'):
        return 'any'
    if entity.flag('noTouch'):
        return 'nobody'
    if entity.flag('anyTouch'):
        return 'any'
    if entity.flag('noClient'):
        return 'monsters'
    return 'player'


def repeats(entity):
    if entity.classname == 'func_damagable':
        return entity.number('count', 1.0) != 1
    if entity.classname == 'func_door':
        return True
    default = -1.0 if entity.classname == 'trigger_once' else 0.5
    return entity.number('wait', default) >= 0


def key_of(entity):
    """The DOOM key colour a `requires` names, '' for another item, None without one."""
    value = entity.keys.get('requires', '').lower()
    if not value:
        return None
    for colour in KEY_COLOURS:
        if value.startswith(colour):
            return colour
    return ''


def is_trigger(entity):
    return entity.classname in ('trigger_once', 'trigger_multiple') or entity.classname == 'func_damagable'


def check(lt, record, starts, arms, line_points, scale, problems):
    """Appends what is wrong with the activation. starts: the entities that fire the
    line's effect (triggers, or the door itself for a door opened by touch); arms: the
    volumes that arm them (teleports)."""
    expected_who = lt.who
    if lt.trigger == 'D' and record.flags & 32:
        expected_who = 'player'     # monsters never use a secret line
    for e in starts + arms:
        # DOOM 3 cannot tell whose shot hit a func_damagable: gun lines are not judged here.
        if lt.trigger != 'G' and who(e) != expected_who:
            problems.append('%s is set off by %s, DOOM\'s line by %s' % (e.name, _people(who(e)), _people(expected_who)))
    for e in starts:
        if lt.trigger == 'G' and e.classname != 'func_damagable':
            problems.append('%s is not shot: DOOM\'s line is a gun line' % e.name)
        if lt.trigger != 'G' and e.classname == 'func_damagable':
            problems.append('%s is set off by a shot: DOOM\'s line is not a gun line' % e.name)
        if repeats(e) != lt.repeat:
            problems.append('%s fires %s, DOOM\'s line %s' % (
                e.name, 'again' if repeats(e) else 'once', 'again' if lt.repeat else 'once'))
    _check_keys(lt.key, starts, arms, problems)
    if line_points is not None:
        _check_volumes(lt, starts, arms, line_points, scale, problems)


def _people(group):
    return {'any': 'players and monsters', 'player': 'the player only', 'monsters': 'monsters only',
            'nobody': 'nobody'}[group]


def _check_keys(key, starts, arms, problems):
    chains = []
    for e in starts:
        keys = {key_of(x) for x in [e] + arms if key_of(x) is not None}
        chains.append((e, keys))
    for e, keys in chains:
        if key is None and keys:
            problems.append('%s asks for a key (%s) DOOM\'s line does not' % (e.name, ', '.join(sorted(keys))))
        elif key in KEY_COLOURS and keys != {key}:
            problems.append('%s %s, DOOM\'s line needs the %s key' % (
                e.name, 'asks for ' + ', '.join(sorted(keys)) if keys else 'needs no key', key))
        elif key == 'all' and keys != set(KEY_COLOURS):
            problems.append('%s does not need all three keys' % e.name)
        elif key == 'any' and len(keys) != 1:
            problems.append('%s needs %s, DOOM\'s line any one key' % (e.name, ', '.join(sorted(keys)) or 'no key'))
    if key == 'any' and set().union(*[k for _e, k in chains]) != set(KEY_COLOURS):
        problems.append('not every key colour opens it')


def _check_volumes(lt, starts, arms, points, scale, problems):
    (x1, y1), (x2, y2) = [(x * scale, y * scale) for x, y in points]
    slack = TOUCH_SLACK * scale + BODY_REACH
    for e in starts + arms:
        if e.classname == 'func_door':
            continue
        box = e.bounds()
        if box is None:
            continue
        corners = [p[:2] for brush in e.brushes for face in brush for p in face.corners]
        gap = _segment_box_distance((x1, y1), (x2, y2), box)
        sides = {_side_of((x1, y1), (x2, y2), c) for c in corners} - {'on'}
        if lt.trigger == 'W' and not arms:
            if gap > slack or sides != {'front', 'back'}:
                problems.append('%s does not lie astride the line' % e.name)
        elif lt.trigger == 'W':
            wanted = 'front' if e in arms else 'back'
            if gap > slack or _centre_side((x1, y1), (x2, y2), box) != wanted:
                problems.append('%s is not %s the line' % (e.name, 'in front of' if wanted == 'front' else 'behind'))
        elif lt.trigger in ('S', 'D'):
            if gap > slack or _centre_side((x1, y1), (x2, y2), box) != 'front':
                problems.append('%s is not in front of the line' % e.name)
            elif _far_reach((x1, y1), (x2, y2), corners) > (USE_RANGE + TOUCH_SLACK) * scale:
                problems.append('%s reaches beyond DOOM\'s use range' % e.name)
        elif gap > slack:
            problems.append('%s is not on the line' % e.name)


def _side_of(a, b, p):
    cross = (b[0] - a[0]) * (p[1] - a[1]) - (b[1] - a[1]) * (p[0] - a[0])
    return 'front' if cross < 0 else 'back' if cross > 0 else 'on'


def _corners(box):
    (x0, y0, _z0), (x1, y1, _z1) = box
    return [(x0, y0), (x0, y1), (x1, y0), (x1, y1)]


def _centre_side(a, b, box):
    (x0, y0, _), (x1, y1, _) = box
    return _side_of(a, b, ((x0 + x1) / 2, (y0 + y1) / 2))


def _far_reach(a, b, corners):
    """How far the farthest brush corner lies from the line (not the segment)."""
    length = math.hypot(b[0] - a[0], b[1] - a[1]) or 1.0
    return max(abs((b[0] - a[0]) * (c[1] - a[1]) - (b[1] - a[1]) * (c[0] - a[0])) / length for c in corners)


def _segment_box_distance(a, b, box):
    (x0, y0, _), (x1, y1, _) = box
    if _segment_meets_box(a, b, x0, y0, x1, y1):
        return 0.0
    best = min(point_segment_distance(c, a, b) for c in _corners(box))
    for p in (a, b):
        dx = max(x0 - p[0], 0.0, p[0] - x1)
        dy = max(y0 - p[1], 0.0, p[1] - y1)
        best = min(best, math.hypot(dx, dy))
    return best


def _segment_meets_box(a, b, x0, y0, x1, y1):
    t0, t1 = 0.0, 1.0
    for p, d, low, high in ((a[0], b[0] - a[0], x0, x1), (a[1], b[1] - a[1], y0, y1)):
        if abs(d) < 1e-12:
            if p < low or p > high:
                return False
            continue
        u0, u1 = (low - p) / d, (high - p) / d
        t0, t1 = max(t0, min(u0, u1)), min(t1, max(u0, u1))
        if t0 > t1:
            return False
    return True


def point_segment_distance(p, a, b):
    dx, dy = b[0] - a[0], b[1] - a[1]
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((p[0] - a[0]) * dx + (p[1] - a[1]) * dy) / length2))
    return math.hypot(p[0] - a[0] - t * dx, p[1] - a[1] - t * dy)
