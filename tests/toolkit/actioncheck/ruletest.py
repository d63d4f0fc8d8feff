"""DOOM's rules as the specials check plans them, and DOOM 3's movers as it reads them,
on small levels built in memory: rows of square sectors side by side (west to east),
each shared edge a two-sided line whose front is the western sector, so that a stair
builder walks east. Expected values are worked out by hand from linuxdoom's and Boom's
rules (comments say which), not by running the check's own code another way.
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, '..', 'geocheck'))

import d3entities  # noqa: E402
import d3movers  # noqa: E402
import doomlevel  # noqa: E402
import doomplan  # noqa: E402
import doomsectors  # noqa: E402
import linetypes  # noqa: E402

WIDTH = 64


def row(sectors, things=(), specials=None, flipped=()):
    """A level of sectors in a row: each (floor, ceiling, flat, light, special, tag).
    specials: {(part, i): (special, tag)}, part 'south', 'north' or 'between' (the line
    east of sector i). Line numbers: for sector i, its south wall, its north wall, then
    the line east of it (two-sided to i + 1, whose front is i unless i is in `flipped`,
    one-sided after the last); the west wall of sector 0 last."""
    level = doomlevel.Level()
    specials = specials or {}
    count = len(sectors)
    for x in range(count + 1):
        level.vertices += [(x * WIDTH, 0), (x * WIDTH, WIDTH)]

    def add_line(v1, v2, front, back, key):
        special, tag = specials.get(key, (0, 0))
        level.sidedefs.append(doomlevel.Sidedef(0, 0, '-', '-', 'WALL' if back is None else '-', front))
        right = len(level.sidedefs) - 1
        left = -1
        if back is not None:
            level.sidedefs.append(doomlevel.Sidedef(0, 0, '-', '-', '-', back))
            left = len(level.sidedefs) - 1
        flags = 4 if back is not None else 1
        level.line_records.append(doomlevel.Linedef(v1, v2, flags, special, tag, right, left))

    for i, (floor, ceiling, flat, light, special, tag) in enumerate(sectors):
        level.sector_records.append(doomlevel.Sector(floor, ceiling, flat, 'CEIL', light, special, tag))
        sw, nw, se, ne = 2 * i, 2 * i + 1, 2 * i + 2, 2 * i + 3
        add_line(se, sw, i, None, ('south', i))            # runs west: the room lies north, on its right
        add_line(nw, ne, i, None, ('north', i))            # runs east: the room lies south
        if i in flipped:
            add_line(se, ne, i + 1, i, ('between', i))   # runs north: front is east
        else:
            add_line(ne, se, i, i + 1 if i + 1 < count else None, ('between', i))   # runs south: front is west
    add_line(0, 1, 0, None, ('west', 0))
    level.things = list(things)
    return level


def sectors_of(level):
    return doomsectors.Sectors(level)


def plan(level, line, level_name='MAP01'):
    S = sectors_of(level)
    ctx = doomplan.Context(S, level_name, True)
    return doomplan.plan_line(ctx, line, linetypes.describe(S.lines[line].special))


def special_line(level):
    """The number of the one line with a special."""
    return next(i for i, r in enumerate(level.line_records) if r.special)


def moves(p):
    return sorted((m.sector, m.plane, m.start, m.end) + tuple(m.alternatives) for m in p.moves)


def check(faults, what, got, wanted):
    if got != wanted:
        faults.append('%s: got %s, wanted %s' % (what, got, wanted))


def stair_faults():
    faults = []
    # Steps 1-4 share the flat; 5 has another: DOOM 8 (W1, 8 units) tagged step 1 from the
    # line between 0 and 1; each step rises 8 above the one before, from step 1's floor.
    level = row([(0, 128, 'F', 160, 0, 0), (0, 128, 'S', 160, 0, 7), (8, 128, 'S', 160, 0, 0),
                 (40, 128, 'S', 160, 0, 0), (0, 128, 'S', 160, 0, 0), (0, 128, 'X', 160, 0, 0)],
                specials={('between', 0): (8, 7)})
    check(faults, 'stairs', moves(plan(level, special_line(level))),
          [(1, 'floor', 0, 8), (2, 'floor', 8, 16), (3, 'floor', 40, 24), (4, 'floor', 0, 32)])
    # Donut (9, S1, tag 4) on pillar 2: its first line is the one from pool 1 (line 5),
    # so the pool is sector 1; the pool's first line with a back side other than the
    # pillar is line 2, flipped so that its back is sector 0: the model, floor 16. The
    # pillar falls and the pool rises to 16.
    level = row([(16, 128, 'M', 160, 0, 0), (0, 128, 'P', 160, 0, 0), (64, 128, 'P', 160, 0, 4),
                 (0, 128, 'F', 160, 0, 0)], specials={('south', 0): (9, 4)}, flipped=(0,))
    check(faults, 'donut', moves(plan(level, special_line(level))), [(1, 'floor', 0, 16), (2, 'floor', 64, 16)])
    return faults


def floor_faults():
    faults = []
    # Turbo lower (71, S1): the highest neighbour floor + 8, unless it equals the floor itself.
    level = row([(24, 128, 'F', 160, 0, 0), (64, 128, 'F', 160, 0, 3), (40, 128, 'F', 160, 0, 0)],
                specials={('south', 0): (71, 3)})
    check(faults, 'turbo lower', moves(plan(level, special_line(level))), [(1, 'floor', 64, 48)])
    level = row([(24, 128, 'F', 160, 0, 0), (64, 128, 'F', 160, 0, 3), (64, 128, 'F', 160, 0, 0)],
                specials={('south', 0): (71, 3)})
    check(faults, 'turbo lower to its own height', moves(plan(level, special_line(level))),
          [(1, 'floor', 64, 64)])
    # A walk-over line with one side cannot be crossed: DOOM does nothing.
    level = row([(24, 128, 'F', 160, 0, 0), (64, 128, 'F', 160, 0, 3)], specials={('south', 0): (36, 3)})
    check(faults, 'walk-over wall', bool(plan(level, special_line(level)).inert), True)
    # Raise floor (101): the lowest neighbour ceiling, but never above its own ceiling.
    level = row([(0, 200, 'F', 160, 0, 0), (0, 96, 'F', 160, 0, 3), (0, 160, 'F', 160, 0, 0)],
                specials={('south', 0): (101, 3)})
    check(faults, 'raise to lowest ceiling', moves(plan(level, special_line(level))), [(1, 'floor', 0, 96)])
    # Perpetual lift (87): from the lowest floor around (itself included) to the highest
    # neighbour floor (not itself; -500 when every neighbour is lower... kept at its own).
    level = row([(16, 200, 'F', 160, 0, 0), (40, 200, 'F', 160, 0, 3), (96, 200, 'F', 160, 0, 0)],
                specials={('between', 0): (87, 3)})
    check(faults, 'perpetual lift', moves(plan(level, special_line(level))), [(1, 'floor', 16, 96)])
    # Door raise (90): the lowest neighbour ceiling less 4.
    level = row([(0, 128, 'F', 160, 0, 0), (0, 0, 'F', 160, 0, 3), (0, 112, 'F', 160, 0, 0)],
                specials={('between', 0): (90, 3)})
    check(faults, 'door', moves(plan(level, special_line(level))), [(1, 'ceiling', 0, 108)])
    return faults


def light_faults():
    faults = []
    # 12 (W1, brightest neighbour) on two tagged sectors: vanilla searches only for the
    # first (the level found sticks), Boom for each; sector 3's brightest neighbour is 200.
    level = row([(0, 128, 'F', 120, 0, 0), (0, 128, 'F', 100, 0, 6), (0, 128, 'F', 200, 0, 0),
                 (0, 128, 'F', 50, 0, 6), (0, 128, 'F', 90, 0, 0)], specials={('between', 0): (12, 6)})
    p = plan(level, special_line(level))
    check(faults, 'brightest neighbour', sorted((s, sorted(v)) for s, v in p.lights.items()),
          [(1, [200]), (3, [200])])
    level = row([(0, 128, 'F', 120, 0, 0), (0, 128, 'F', 100, 0, 6), (0, 128, 'F', 110, 0, 0),
                 (0, 128, 'F', 50, 0, 6), (0, 128, 'F', 90, 0, 0)], specials={('between', 0): (12, 6)})
    p = plan(level, special_line(level))
    check(faults, 'brightest neighbour, vanilla or Boom', sorted((s, sorted(v)) for s, v in p.lights.items()),
          [(1, [120]), (3, [110, 120])])
    # 104 (W1, darkest neighbour): the darkest of itself and its neighbours.
    level = row([(0, 128, 'F', 120, 0, 0), (0, 128, 'F', 100, 0, 6), (0, 128, 'F', 30, 0, 0)],
                specials={('between', 0): (104, 6)})
    check(faults, 'darkest neighbour', sorted((s, sorted(v)) for s, v in plan(level, special_line(level)).lights.items()),
          [(1, [30])])
    return faults


def teleport_faults():
    faults = []
    # Destinations (14) in the tagged sector 2: the first hard-only, the second for all
    # skills; at medium skill DOOM uses the second, facing 45 * (100 // 45) = 90.
    things = [(160, 32, 0, 14, 4), (170, 40, 100, 14, 7)]
    level = row([(0, 128, 'F', 160, 0, 0), (0, 128, 'F', 160, 0, 0), (24, 128, 'F', 160, 0, 9)],
                things, specials={('between', 0): (97, 9)})
    found = plan(level, special_line(level)).destinations
    check(faults, 'teleport at medium skill first', [(d.x, d.y, d.z, d.angle) for d in found],
          [(170, 40, 24, 90), (160, 32, 24, 0)])
    level = row([(0, 128, 'F', 160, 0, 0), (0, 128, 'F', 160, 0, 0), (24, 128, 'F', 160, 0, 9)],
                [(160, 32, 0, 14, 16 | 7)], specials={('between', 0): (97, 9)})
    found = plan(level, special_line(level)).destinations
    check(faults, 'teleport to a multiplayer destination only', [(d.x, d.y) for d in found], [(160, 32)])
    return faults


def entity(keys, bottom, top):
    """A brush entity: a unit box from `bottom` to `top`, faces as the converter writes them."""
    faces = ['( 0 0 0 ) ( 0 1 0 ) ( 0 0 1 )', '( 1 0 0 ) ( 1 0 1 ) ( 1 1 0 )', '( 0 0 0 ) ( 0 0 1 ) ( 1 0 0 )',
             '( 0 1 0 ) ( 1 1 0 ) ( 0 1 1 )', '( 0 0 %g ) ( 1 0 %g ) ( 0 1 %g )' % ((bottom,) * 3),
             '( 0 0 %g ) ( 0 1 %g ) ( 1 0 %g )' % ((top,) * 3)]
    return '\n'.join(['{'] + ['"%s" "%s"' % kv for kv in keys.items()] + ['{'] +
                     [f + ' a 0 0 0 1 1' for f in faces] + ['}', '}'])


def mover_faults():
    faults = []
    text = '\n'.join(['{', '"classname" "worldspawn"', '}',
                      entity({'classname': 'func_door', 'name': 'door_1', 'movedir': '-1', 'start_open': '1',
                              'lip': '2', 'time': '2'}, 0, 100),
                      entity({'classname': 'func_plat', 'name': 'lift_2', 'lip': '8'}, -50, 0),
                      entity({'classname': 'func_riser', 'name': 'floor_3', 'height': '-6', 'time': '4'}, -10, 0)])
    entities = d3entities.parse(text)
    door, plat, riser = [d3movers.motion(entities.by_name[n]) for n in ('door_1', 'lift_2', 'floor_3')]
    # Door: 100 high, travel 100 + 2 - 2 = 100 up; open at the start; 2 s for the travel.
    check(faults, 'start_open door', (door.rest, door.end, door.speed, door.wait), (100.0, 0.0, 50.0, 3.0))
    # Plat 50 high without `height`: rests 50 - 8 = 42 below its top (0), default speed 200.
    check(faults, 'plat', (plat.rest, plat.end, plat.speed, plat.wait), (-42.0, 0.0, 200.0, 1.0))
    # Riser: -6 units a second for 4 s from where it is.
    check(faults, 'riser', (riser.rest, riser.end, riser.speed, riser.wait), (0.0, -24.0, 6.0, None))
    return faults


def main():
    faults = stair_faults() + floor_faults() + light_faults() + teleport_faults() + mover_faults()
    for f in faults:
        print('FAULT: ' + f)
    print('rules: %d faults' % len(faults))
    return 1 if faults else 0


if __name__ == '__main__':
    sys.exit(main())
