"""What a converted line's entities do, judged against DOOM's plan for the line.

Every check takes the entities the line's activation reaches (`pool`) and appends
short sentences to `problems`. Heights compare at the map's scale within HEIGHT_SLACK
units, times within TIME_SLACK seconds, speeds within SPEED_SLACK (relative). A mover
belongs to a sector through its `doom_sector` key; lights through `doom_sector` or
their name light_<sector>_<n>. Nothing is printed here.
"""
import math
import re

import activation
import d3movers
import nextlevel

HEIGHT_SLACK = 0.1
TIME_SLACK = 0.05
SPEED_SLACK = 0.02
ANGLE_SLACK = 0.6
LINE_DESTINATION_REACH = 32.0     # DOOM units: a line teleport lands this near its exit line
_LIGHT_NAME = re.compile(r'light_(\d+)_\d+$')
EFFECT_CLASSES = ('func_door', 'func_plat', 'func_riser', 'func_teleporter', 'target_endLevel',
                  'target_setshaderparm', 'target_setkeyval')


def sector_of(entity):
    value = entity.keys.get('doom_sector')
    if value is not None and value.lstrip('-').isdigit():
        return int(value)
    m = _LIGHT_NAME.match(entity.name) if entity.classname == 'light' else None
    return int(m.group(1)) if m else None


def acts(pool):
    return any(e.classname in EFFECT_CLASSES for e in pool)


def check_moves(plan, lt, pool, direct, scale, problems):
    """direct: the entities the activation targets itself (not through a key setter)."""
    wanted = {(m.sector, m.plane) for m in plan.moves}
    for m in plan.moves:
        movers = [e for e in pool if sector_of(e) == m.sector and d3movers.plane_of(e) == m.plane]
        if not movers:
            if m.start != m.end or m.mode == 'perpetual':
                problems.append('the %s of sector %d does not move (DOOM\'s from %s to %s)' % (
                    m.plane, m.sector, fmt(m.start), fmt(m.end)))
            continue
        verdicts = [_judge_move(m, lt, e, direct, pool, scale) for e in movers]
        if not any(not v for v in verdicts):
            problems.extend(verdicts[0])
    for e in pool:
        plane = d3movers.plane_of(e)
        if plane and e.brush_count and (sector_of(e), plane) not in wanted:
            problems.append('%s moves the %s of sector %s, which DOOM\'s line leaves alone' % (
                e.name, plane, sector_of(e)))


def _judge_move(m, lt, entity, direct, pool, scale):
    found = []
    try:
        mo = d3movers.motion(entity)
    except d3movers.MoverError as e:
        return [str(e)]
    what = '%s of sector %d (%s)' % (m.plane, m.sector, entity.name)
    if m.mode == 'perpetual':
        if not (_same_pair((mo.rest, mo.end), (m.start * scale, m.end * scale))):
            found.append('%s moves between %s and %s, DOOM\'s between %s and %s' % (
                what, in_doom_units(mo.rest, scale), in_doom_units(mo.end, scale), fmt(m.start), fmt(m.end)))
    else:
        if abs(mo.rest - m.start * scale) > HEIGHT_SLACK:
            found.append('%s rests at %s, DOOM\'s at %s' % (what, in_doom_units(mo.rest, scale), fmt(m.start)))
        ends = [m.end] + [a for a in m.alternatives if a is not None]
        if all(abs(mo.end - e * scale) > HEIGHT_SLACK for e in ends):
            found.append('%s moves to %s, DOOM\'s to %s' % (what, in_doom_units(mo.end, scale), fmt(m.end)))
    found.extend(_judge_timing(m, lt, entity, mo, what, direct, pool))
    if m.speed is not None and not _instant(m, lt) and mo.speed is not None:
        speed = m.speed * 35.0 * scale
        if abs(mo.speed - speed) > SPEED_SLACK * speed:
            found.append('%s moves at %s units a second, DOOM\'s at %s' % (
                what, fmt(mo.speed / scale), fmt(speed / scale)))
    return found


def _judge_timing(m, lt, entity, mo, what, direct, pool):
    found = []
    if m.mode in ('stay', 'relative'):
        if mo.wait is not None and not mo.toggle:
            found.append('%s comes back after %ss, DOOM\'s stays' % (what, fmt(mo.wait)))
        if mo.toggle and lt.repeat:
            found.append('%s goes back at the next activation, DOOM\'s stays' % what)
        if m.mode == 'relative' and lt.repeat and entity.classname != 'func_riser':
            found.append('%s moves only once, DOOM\'s again at each activation' % what)
    elif m.mode in ('return', 'perpetual', 'crush'):
        wait = m.wait / 35.0
        if mo.toggle or mo.wait is None or abs(mo.wait - wait) > TIME_SLACK:
            found.append('%s %s, DOOM\'s waits %ss' % (
                what, 'stays' if mo.wait is None or mo.toggle else 'waits %ss' % fmt(mo.wait), fmt(wait)))
    elif m.mode == 'toggle' and not mo.toggle:
        found.append('%s does not stay at each end until used again' % what)
    if m.mode in ('perpetual', 'crush'):
        if not _started_for_good(entity, pool):
            found.append('%s is not set to keep moving (no continuous;1 setter reaches it)' % what)
        if entity not in direct:
            found.append('%s is not started by the line itself' % what)
    if m.mode == 'crush' and not (mo.crusher and mo.damage > 0):
        found.append('%s does not crush (crusher and damage)' % what)
    return found


def _started_for_good(entity, pool):
    for e in pool:
        if e.classname == 'target_setkeyval' and e.keys.get('keyval', '').replace(' ', '').lower() == 'continuous;1':
            if entity.name in e.target_names():
                return True
    return False


def _instant(m, lt):
    """DOOM moves a plane at once when its destination lies against the action's way."""
    if m.start == m.end or m.mode in ('perpetual', 'crush', 'toggle'):
        return m.start == m.end
    up = _action_up(lt, m)
    return (m.end > m.start) != up


def _action_up(lt, m):
    kind = lt.action[0]
    if kind == 'door':
        return lt.action[1] in ('raise', 'open')
    if kind in ('floor', 'ceiling'):
        return lt.action[3]
    if kind == 'stairs':
        return lt.action[3]
    if kind == 'lift':
        return False
    return m.end > m.start


def check_stops(plan, pool, entities_by_sector, problems):
    what, sectors = plan.stops
    plane = 'floor' if what == 'lift' else 'ceiling'
    stopped = set()
    for e in pool:
        if e.classname == 'target_setkeyval' and e.keys.get('keyval', '').replace(' ', '').lower() == 'continuous;0':
            stopped.update(e.target_names())
    for s in sectors:
        movers = [e for e in entities_by_sector.get(s, []) if d3movers.plane_of(e) == plane and e.brush_count]
        if not movers:
            problems.append('sector %d has no %s mover to stop' % (s, what))
        elif not any(e.name in stopped for e in movers):
            problems.append('the %s of sector %d is not stopped' % (what, s))


def check_teleport(plan, pool, scale, problems):
    """Each teleporter must land where DOOM does at one of the skills."""
    teleporters = [e for e in pool if e.classname == 'func_teleporter']
    if not teleporters:
        problems.append('nothing teleports')
        return
    for t in teleporters:
        origin = t.vector('origin')
        if origin is None:
            problems.append('%s has no origin' % t.name)
            continue
        verdicts = [_landing(t, origin, d, scale) for d in plan.destinations]
        if all(verdicts):
            problems.extend(verdicts[0])


def _landing(t, origin, d, scale):
    found = []
    if d.near_line is not None:
        (x1, y1), (x2, y2) = d.near_line
        gap = activation.point_segment_distance(origin[:2], (x1 * scale, y1 * scale), (x2 * scale, y2 * scale))
        if gap > LINE_DESTINATION_REACH * scale:
            found.append('%s lands %s units from %s, DOOM\'s exit line' % (t.name, fmt(gap / scale), d.label))
        if all(abs(origin[2] - z * scale) > HEIGHT_SLACK for z in d.z):
            found.append('%s lands at height %s, off the floors beside %s' % (
                t.name, in_doom_units(origin[2], scale), d.label))
        return found
    if math.hypot(origin[0] - d.x * scale, origin[1] - d.y * scale) > HEIGHT_SLACK:
        found.append('%s lands at (%s, %s), DOOM at %s (%d, %d)' % (
            t.name, in_doom_units(origin[0], scale), in_doom_units(origin[1], scale), d.label, d.x, d.y))
    if abs(origin[2] - d.z * scale) > HEIGHT_SLACK:
        found.append('%s lands at height %s, DOOM on the floor at %d' % (t.name, in_doom_units(origin[2], scale), d.z))
    angle = t.number('angle', 0.0) % 360.0
    if min(abs(angle - d.angle), 360.0 - abs(angle - d.angle)) > ANGLE_SLACK:
        found.append('%s faces %s degrees, DOOM %d' % (t.name, fmt(angle), d.angle))
    return found


def check_exit(plan, pool, problems):
    ends = [e for e in pool if e.classname == 'target_endLevel']
    if not ends:
        problems.append('nothing ends the level')
        return
    for e in ends:
        if plan.exit == nextlevel.END:
            if not e.flag('endOfGame'):
                problems.append('%s goes to %s, DOOM ends the game there' % (e.name, e.keys.get('nextMap', 'nowhere')))
            continue
        target = e.keys.get('nextMap', '').replace('\\', '/').split('/')[-1].upper()
        if e.flag('endOfGame'):
            problems.append('%s ends the game, DOOM goes on to %s' % (e.name, plan.exit))
        elif target != plan.exit:
            problems.append('%s goes to %s, DOOM to %s' % (e.name, target or 'nowhere', plan.exit))
    if plan.exit != nextlevel.END:
        removed = [e.keys.get('remove', '').lower() for e in pool if e.classname == 'func_itemremove']
        for colour in ('red', 'blue', 'yellow'):
            if sum(1 for r in removed if r.startswith(colour)) < 2:
                problems.append('the %s keys (card and skull) are not all taken away: '
                                'DOOM starts each level without keys' % colour)


def check_lights(plan, pool, lights_by_sector, problems):
    """Returns False when no tagged sector has a light of its own to change."""
    setters = [e for e in pool if e.classname == 'target_setshaderparm']
    targeted = {}
    for e in setters:
        for name in e.target_names():
            targeted.setdefault(name, []).append(e)
    shown = False
    for s, levels in sorted(plan.lights.items()):
        lights = lights_by_sector.get(s, [])
        if not lights:
            continue
        shown = True
        for light in lights:
            changes = targeted.get(light.name, [])
            if not changes:
                problems.append('the light of sector %d (%s) does not change' % (s, light.name))
                continue
            for e in changes:
                level = _grey(e)
                if level is None or all(abs(level - v) > 0.6 for v in levels):
                    problems.append('%s sets sector %d\'s light to %s, DOOM to %s' % (
                        e.name, s, '?' if level is None else fmt(level), ' or '.join(str(v) for v in sorted(levels))))
    for e in setters:
        for name in e.target_names():
            owner = next((s for s, lights in lights_by_sector.items() if any(l.name == name for l in lights)), None)
            if owner is not None and owner not in plan.lights:
                problems.append('%s changes the light of sector %d, which DOOM\'s line leaves alone' % (e.name, owner))
    return shown


def _grey(entity):
    try:
        values = [float(v) for v in entity.keys.get('_color', '').split()]
    except ValueError:
        return None
    if len(values) != 3 or max(values) - min(values) > 0.01:
        return None
    return values[0] * 255.0


def _same_pair(a, b):
    return (abs(a[0] - b[0]) <= HEIGHT_SLACK and abs(a[1] - b[1]) <= HEIGHT_SLACK) or \
           (abs(a[0] - b[1]) <= HEIGHT_SLACK and abs(a[1] - b[0]) <= HEIGHT_SLACK)


def in_doom_units(value, scale):
    """A DOOM 3 length in DOOM units, for messages."""
    return fmt(value / scale)


def fmt(value):
    return ('%.2f' % value).rstrip('0').rstrip('.')
