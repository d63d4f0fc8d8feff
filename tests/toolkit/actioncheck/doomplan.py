"""What one special line does in DOOM, worked out from the level as it starts.

plan_line() follows the EV_ functions of p_doors.c, p_floor.c, p_plats.c, p_ceilng.c,
p_lights.c, p_telept.c and p_spec.c (and Boom's versions for its types): which
sectors, from which height to which, how fast, whether the plane waits and comes back,
where a teleport lands, which level an exit leads to, what light level a sector gets.
Every plane starts where the level puts it (nothing else has moved). Where vanilla and
Boom disagree (stair heights past an already moving step, the brightest-neighbour
search), both answers are kept and either is right. A plan with `inert` set says why
DOOM does nothing with the line; `unsupported` names an effect DOOM 3's stock entities
cannot show. Heights are DOOM units, speeds units a tic, waits tics.
"""
import collections
import math

import linetypes
import nextlevel

PlaneMove = collections.namedtuple('PlaneMove', 'sector plane start end speed wait mode alternatives')
# mode: 'stay' (moves once and stays), 'relative' (stays; each activation moves again),
# 'return' (waits `wait` tics, comes back), 'perpetual' (between start and end),
# 'crush' (cycles between start and end), 'toggle' (stays at each end until used again).
Destination = collections.namedtuple('Destination', 'label x y z angle near_line')

TELEPORT_DESTINATION = 14
EASY_SKILLS, MEDIUM_SKILL, HARD_SKILLS, MULTIPLAYER_ONLY = 1, 2, 4, 16


class Plan:
    def __init__(self):
        self.moves = []
        self.stops = None         # ('lift' or 'crusher', [sectors]) movers a stop line halts
        self.destinations = []    # Destination, one for each skill where they differ
        self.exit = None          # the next level's name or nextlevel.END
        self.lights = {}          # sector: {acceptable light levels}
        self.scroll = None        # 'left', 'right' or (dx, dy) texels a tic
        self.unsupported = None
        self.inert = None


class Context:
    """The level, its name and what the plan needs from the wad."""

    def __init__(self, sectors, level_name, has_map31):
        self.sectors = sectors
        self.level_name = level_name
        self.has_map31 = has_map31
        self.starters = _starters(sectors)


def plan_line(ctx, line, lt):
    S = ctx.sectors
    record = S.lines[line]
    plan = Plan()
    kind = lt.action[0]
    if lt.trigger == 'W' and record.left < 0:
        plan.inert = 'a walk-over line with one side, which nobody can cross'
        return plan
    if kind in ('effect', 'change'):
        plan.unsupported = 'a texture or property change' if kind == 'change' else 'a property transfer'
        return plan
    if kind == 'scroll':
        _plan_scroll(S, record, lt.action[1], plan)
        return plan
    if kind == 'exit':
        plan.exit = nextlevel.next_level(ctx.level_name, lt.action[1], ctx.has_map31)
        if plan.exit is None:
            plan.inert = 'a level name DOOM does not chain'
        return plan
    if kind == 'teleport':
        _plan_teleport(S, line, lt.action[1], plan)
        return plan
    sectors = _acted_on(S, line, lt, plan)
    if plan.inert:
        return plan
    if kind == 'door':
        _plan_doors(S, sectors, lt.action, plan)
    elif kind in ('floor', 'ceiling'):
        _plan_planes(S, sectors, lt.action, kind, plan)
    elif kind == 'lift':
        _plan_lifts(S, sectors, lt.action, plan)
    elif kind == 'perpetual':
        for s in sectors:
            low = min(S.lowest_floor_around(s), S.floor(s))
            high = max(S.highest_floor_around(s), S.floor(s))
            plan.moves.append(PlaneMove(s, 'floor', low, high, lt.action[1], lt.action[2], 'perpetual', ()))
    elif kind == 'toggle':
        for s in sectors:
            plan.moves.append(PlaneMove(s, 'floor', S.floor(s), S.ceiling(s), None, None, 'toggle', ()))
    elif kind == 'elevator':
        _plan_elevators(S, line, sectors, lt.action[1], plan)
    elif kind == 'crusher':
        for s in sectors:
            plan.moves.append(PlaneMove(s, 'ceiling', S.ceiling(s), S.floor(s) + 8, lt.action[1], 0, 'crush', ()))
    elif kind in ('liftstop', 'crusherstop'):
        what = 'lift' if kind == 'liftstop' else 'crusher'
        stopped = [s for s in sectors if s in ctx.starters[what].get(record.tag, ())]
        if not stopped:
            plan.inert = 'no %s started with tag %d to stop' % ('perpetual lift' if what == 'lift' else what, record.tag)
        plan.stops = (what, stopped)
    elif kind == 'stairs':
        _plan_stairs(S, sectors, lt.action, plan)
    elif kind == 'donut':
        _plan_donuts(S, sectors, plan)
    elif kind == 'light':
        _plan_lights(S, sectors, lt.action[1], plan)
    return plan


def _acted_on(S, line, lt, plan):
    record = S.lines[line]
    if lt.trigger == 'D':
        behind = S.back[line]
        if behind < 0:
            plan.inert = 'a line used by hand with nothing behind it'
            return []
        return [behind]
    if record.tag == 0 and not _works_untagged(lt):
        plan.inert = 'tag 0 (Boom acts on no sector)'
        return []
    sectors = S.tagged(record.tag)
    if not sectors:
        plan.inert = 'no sector has tag %d' % record.tag
    return sectors


def _works_untagged(lt):
    return lt.category == 'lights'


def _plan_doors(S, sectors, action, plan):
    _kind, how, speed, wait = action
    for s in sectors:
        top = S.lowest_ceiling_around(s) - 4
        if how == 'raise':
            move = (top, 'return', wait)
        elif how == 'open':
            move = (top, 'stay', None)
        elif how == 'close':
            move = (S.floor(s), 'stay', None)
        else:
            move = (S.floor(s), 'return', wait)
        plan.moves.append(PlaneMove(s, 'ceiling', S.ceiling(s), move[0], speed, move[2], move[1], ()))


def _plan_planes(S, sectors, action, plane, plan):
    """Floors and ceilings moved to a height found around them, or by an amount."""
    _kind, target, speed, _up = action
    for s in sectors:
        start = S.floor(s) if plane == 'floor' else S.ceiling(s)
        end = (_floor_end if plane == 'floor' else _ceiling_end)(S, s, target)
        mode = 'stay'
        if end is None:
            step = _relative_step(S, s, target, 'lower' if plane == 'floor' else 'upper')
            if step is None:
                plan.unsupported = 'no texture height to move by (textures not in the wad)'
                return
            end, mode = start + step, 'relative'
        plan.moves.append(PlaneMove(s, plane, start, end, speed, None, mode, ()))


def _floor_end(S, s, target):
    """Where a floor goes (p_floor.c), or None for a move by an amount."""
    floor = S.floor(s)
    if target == 'LnF':
        return S.lowest_floor_around(s)
    if target in ('HnF', 'HnF+8'):
        end = S.highest_floor_around(s)
        return end + 8 if target == 'HnF+8' and end != floor else end
    if target == 'NnF':
        return S.next_higher_floor(s, floor)
    if target == 'NnF-':
        return S.next_lower_floor(s, floor)
    if target in ('LnC', 'LnC-8'):
        return min(S.lowest_ceiling_around(s), S.ceiling(s)) - (8 if target == 'LnC-8' else 0)
    if target == 'C':
        return S.ceiling(s)
    return None


def _ceiling_end(S, s, target):
    """Where a ceiling goes (p_ceilng.c, Boom's ceilings), or None for a move by an amount."""
    ceiling = S.ceiling(s)
    if target == 'HnC':
        return S.highest_ceiling_around(s)
    if target == 'LnC':
        return S.lowest_ceiling_around(s)
    if target == 'NnC':
        return S.next_higher_ceiling(s, ceiling)
    if target == 'NnC-':
        return S.next_lower_ceiling(s, ceiling)
    if target == 'HnF':
        return S.highest_floor_around(s)
    if target in ('F', 'F+8'):
        return S.floor(s) + (8 if target == 'F+8' else 0)
    return None


def _relative_step(S, s, target, part):
    """'+24', '-32', or the shortest lower/upper texture ('SLT', 'SUT-'...); None
    without a texture height."""
    if target[:3] in ('SLT', 'SUT'):
        step = S.shortest_texture_around(s, part)
        return None if step is None else (-step if target.endswith('-') else step)
    return int(target)


def _plan_lifts(S, sectors, action, plan):
    _kind, target, speed, wait = action
    for s in sectors:
        floor = S.floor(s)
        if target == 'LnF':
            low = S.lowest_floor_around(s)
        elif target == 'NnF-':
            low = S.next_lower_floor(s, floor)
        else:
            low = S.lowest_ceiling_around(s)
        plan.moves.append(PlaneMove(s, 'floor', floor, min(low, floor), speed, wait, 'return', ()))


def _plan_elevators(S, line, sectors, target, plan):
    for s in sectors:
        floor = S.floor(s)
        if target == 'NnF':
            end = S.next_higher_floor(s, floor)
        elif target == 'NnF-':
            end = S.next_lower_floor(s, floor)
        else:
            front = S.front[line]
            end = S.floor(front) if front >= 0 else floor
        plan.moves.append(PlaneMove(s, 'floor', floor, end, 4, None, 'stay', ()))
        plan.moves.append(PlaneMove(s, 'ceiling', S.ceiling(s), S.ceiling(s) + end - floor, 4, None, 'stay', ()))


def _plan_stairs(S, sectors, action, plan):
    """DOOM's stair builder from each tagged sector: through the lowest-numbered two-sided
    line whose front faces the step, to a step with the same floor flat. Vanilla adds a
    step height even for a neighbour already moving; Boom only for the step it takes."""
    _kind, step, speed, up, ignore_texture = action
    delta = step if up else -step
    vanilla = _build_stairs(S, sectors, delta, ignore_texture, boom=False)
    boom = _build_stairs(S, sectors, delta, ignore_texture, boom=True)
    for s, height in vanilla.items():
        other = boom.get(s)
        alternatives = (other,) if other is not None and other != height else ()
        plan.moves.append(PlaneMove(s, 'floor', S.floor(s), height, speed, None, 'stay', alternatives))


def _build_stairs(S, sectors, delta, ignore_texture, boom):
    heights = {}
    for first in sectors:
        if first in heights:
            continue
        height = S.floor(first) + delta
        heights[first] = height
        flat = S.records[first].floor_flat
        current = first
        while True:
            taken = None
            for line in S.lines_of[current]:
                if not S.lines[line].flags & 4 or S.front[line] != current:
                    continue
                step = S.back[line]
                if step < 0 or (not ignore_texture and S.records[step].floor_flat != flat):
                    continue
                if not boom:
                    height += delta
                if step in heights:
                    continue
                if boom:
                    height += delta
                taken = step
                break
            if taken is None:
                break
            heights[taken] = height
            current = taken
    return heights


def _plan_donuts(S, sectors, plan):
    moving = set()
    for pillar in sectors:
        if pillar in moving or not S.lines_of[pillar]:
            continue
        pool = S.next_sector(S.lines_of[pillar][0], pillar)
        if pool < 0:
            continue
        for line in S.lines_of[pool]:
            model = S.back[line]
            if model < 0 or model == pillar:
                continue
            height = S.floor(model)
            plan.moves.append(PlaneMove(pool, 'floor', S.floor(pool), height, 0.5, None, 'stay', ()))
            plan.moves.append(PlaneMove(pillar, 'floor', S.floor(pillar), height, 0.5, None, 'stay', ()))
            moving.update((pool, pillar))
            break


def _plan_lights(S, sectors, level, plan):
    if level == 'blink':
        plan.unsupported = 'blinking started by a line'
        return
    for boom in (False, True):
        levels = [S.light(s) for s in range(len(S.records))]
        bright = 0
        for s in sectors:
            if level == 'min':
                value = min([levels[s]] + [levels[o] for o in S.neighbours(s)])
            elif level == 'max':
                if boom or not bright:
                    bright = max([0] + [levels[o] for o in S.neighbours(s)])
                value = bright
            else:
                value = level
            levels[s] = value
            plan.lights.setdefault(s, set()).add(value)


def _plan_scroll(S, record, how, plan):
    if how in ('left', 'right'):
        plan.scroll = how
    elif how == 'offsets' and record.right >= 0:
        side = S.level.sidedefs[record.right]
        plan.scroll = (side.x_offset, side.y_offset)
    else:
        plan.unsupported = 'scrolling of tagged floors, ceilings or walls'


def _plan_teleport(S, line, destination, plan):
    tag = S.lines[line].tag
    if destination == 'thing':
        plan.destinations = thing_destinations(S, tag)
        if not plan.destinations:
            plan.inert = 'no teleport destination in the sectors tagged %d' % tag
        return
    for other in range(len(S.lines)):
        if other != line and S.lines[other].tag == tag and S.back[other] >= 0:
            points = S.line_points(other)
            floors = {S.floor(S.front[other]), S.floor(S.back[other])} if S.front[other] >= 0 else set()
            plan.destinations = [Destination('line %d' % other, None, None, floors, None, points)]
            return
    plan.inert = 'no other two-sided line has tag %d' % tag


def thing_destinations(S, tag):
    """DOOM's teleport destination at each skill (medium first): the first sector by
    number with the tag that holds a destination spawned at that skill, and the first
    such thing in it; single player first, multiplayer games (which spawn the things
    flagged for them too) only when single player has none, for one converted map
    serves both. Distinct destinations only."""
    placed = [(i, t, S.sector_at(t[0], t[1])) for i, t in enumerate(S.level.things) if t[3] == TELEPORT_DESTINATION]
    found = []
    for multiplayer in (False, True):
        for skill in (MEDIUM_SKILL, EASY_SKILLS, HARD_SKILLS):
            spots = [(i, t, s) for i, t, s in placed if t[4] & skill and (multiplayer or not t[4] & MULTIPLAYER_ONLY)]
            here = next((d for s in S.tagged(tag) for d in _spot_in(S, spots, s)), None)
            if here is not None and here not in found:
                found.append(here)
        if found:
            return found
    return found


def _spot_in(S, spots, s):
    for index, (x, y, angle, _type, _flags), sector in spots:
        if sector == s:
            yaw = 45 * int(math.trunc(angle / 45.0)) % 360
            yield Destination('thing %d' % index, x, y, S.floor(s), yaw, None)


def _starters(S):
    """Sectors each tag's perpetual-lift and crusher lines start, for the stop lines."""
    found = {'lift': {}, 'crusher': {}}
    for line, record in enumerate(S.lines):
        lt = linetypes.describe(record.special)
        if lt is None or lt.trigger == 'D' or record.tag == 0:
            continue
        what = {'perpetual': 'lift', 'crusher': 'crusher'}.get(lt.action[0])
        if what:
            found[what].setdefault(record.tag, set()).update(S.tagged(record.tag))
    return found
