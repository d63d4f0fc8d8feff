"""What DOOM does with each line special: how it is set off and what it does.

Vanilla types 1-141 as linuxdoom's p_spec.c and p_switch.c handle them, Boom's extended
types (142-272) and generalized types (0x2F80-0x7FFF) as boomref.txt describes them.
A LineType holds the category, the activation (W walk, S switch, G gun, D manual: the
sector behind the line), whether it repeats, who may set it off ('player', 'any',
'monsters'), the key (None, 'blue', 'red', 'yellow', 'any', 'all'), and the action as
a tuple whose first item names it. Speeds are DOOM units a tic, waits tics. Nothing
here looks at a level. describe(type) returns None for a type DOOM and Boom ignore.
"""
import collections

LineType = collections.namedtuple('LineType', 'category trigger repeat who key action')

TIC = 35.0
DOOR_WAIT = 150       # VDOORWAIT
PLAT_WAIT = 105       # PLATWAIT * 35
SLOW_DOOR, BLAZE_DOOR = 2, 8
FLOOR, FLOOR_TURBO = 1, 4
LIFT, LIFT_BLAZE = 4, 8

_TABLE = {}


def _add(types, category, triggers, action, who='player', key=None):
    """types: one number per trigger in `triggers` ('W1 WR S1 ...')."""
    for number, trigger in zip(types, triggers.split()):
        if number is not None:
            _TABLE[number] = LineType(category, trigger[0], trigger[1] == 'R', who, key, action)


# Doors: ('door', kind, speed, wait): raise (open, wait, close), open, close,
# closewait (close, wait, open again).
_add((1,), 'doors', 'DR', ('door', 'raise', SLOW_DOOR, DOOR_WAIT), who='any')
_add((117,), 'doors', 'DR', ('door', 'raise', BLAZE_DOOR, DOOR_WAIT))
for number, colour in ((26, 'blue'), (27, 'yellow'), (28, 'red')):
    _add((number,), 'doors', 'DR', ('door', 'raise', SLOW_DOOR, DOOR_WAIT), key=colour)
for number, colour in ((32, 'blue'), (33, 'red'), (34, 'yellow')):
    _add((number,), 'doors', 'D1', ('door', 'open', SLOW_DOOR, None), key=colour)
_add((31,), 'doors', 'D1', ('door', 'open', SLOW_DOOR, None))
_add((118,), 'doors', 'D1', ('door', 'open', BLAZE_DOOR, None))
_add((4, 90, 29, 63), 'doors', 'W1 WR S1 SR', ('door', 'raise', SLOW_DOOR, DOOR_WAIT))
_TABLE[4] = _TABLE[4]._replace(who='any')
_add((108, 105, 111, 114), 'doors', 'W1 WR S1 SR', ('door', 'raise', BLAZE_DOOR, DOOR_WAIT))
_add((2, 86, 103, 61, 46), 'doors', 'W1 WR S1 SR GR', ('door', 'open', SLOW_DOOR, None))
_TABLE[46] = _TABLE[46]._replace(who='any')
_add((109, 106, 112, 115), 'doors', 'W1 WR S1 SR', ('door', 'open', BLAZE_DOOR, None))
_add((3, 75, 50, 42), 'doors', 'W1 WR S1 SR', ('door', 'close', SLOW_DOOR, None))
_add((110, 107, 113, 116), 'doors', 'W1 WR S1 SR', ('door', 'close', BLAZE_DOOR, None))
_add((16, 76, 175, 196), 'doors', 'W1 WR S1 SR', ('door', 'closewait', SLOW_DOOR, 30 * 35))
for s1, sr, colour in ((133, 99, 'blue'), (135, 134, 'red'), (137, 136, 'yellow')):
    _add((s1, sr), 'doors', 'S1 SR', ('door', 'open', BLAZE_DOOR, None), key=colour)

# Floors: ('floor', target, speed, up); targets: LnF lowest neighbour floor (with
# itself), HnF highest neighbour floor, HnF+8 (turbo lower), NnF next higher floor,
# NnF- next lower floor, LnC lowest neighbour ceiling (capped at its own), LnC-8,
# +N (relative, N may be negative), SLT shortest lower texture, C its ceiling.
_add((38, 82, 23, 60), 'floors', 'W1 WR S1 SR', ('floor', 'LnF', FLOOR, False))
_add((37, 84, 159, 177), 'floors', 'W1 WR S1 SR', ('floor', 'LnF', FLOOR, False))
_add((119, 128, 18, 69), 'floors', 'W1 WR S1 SR', ('floor', 'NnF', FLOOR, True))
_add((130, 129, 131, 132), 'floors', 'W1 WR S1 SR', ('floor', 'NnF', FLOOR_TURBO, True))
_add((219, 220, 221, 222), 'floors', 'W1 WR S1 SR', ('floor', 'NnF-', FLOOR, False))
_add((5, 91, 101, 64, 24), 'floors', 'W1 WR S1 SR G1', ('floor', 'LnC', FLOOR, True))
_add((56, 94, 55, 65), 'floors', 'W1 WR S1 SR', ('floor', 'LnC-8', FLOOR, True))
_add((19, 83, 102, 45), 'floors', 'W1 WR S1 SR', ('floor', 'HnF', FLOOR, False))
_add((36, 98, 71, 70), 'floors', 'W1 WR S1 SR', ('floor', 'HnF+8', FLOOR_TURBO, False))
_add((58, 92, 161, 180), 'floors', 'W1 WR S1 SR', ('floor', '+24', FLOOR, True))
_add((59, 93, 160, 179), 'floors', 'W1 WR S1 SR', ('floor', '+24', FLOOR, True))
_add((30, 96, 158, 176), 'floors', 'W1 WR S1 SR', ('floor', 'SLT', FLOOR, True))
_add((142, 147, 140, 178), 'floors', 'W1 WR S1 SR', ('floor', '+512', FLOOR, True))
_add((153, 154, 189, 190), 'floors', 'W1 WR S1 SR', ('change',))
_add((239, 240, 241, 78), 'floors', 'W1 WR S1 SR', ('change',))
# Raising plats that change the floor: ('floor', target, speed, up) too.
_add((143, 148, 15, 66), 'floors', 'W1 WR S1 SR', ('floor', '+24', 0.5, True))
_add((144, 149, 14, 67), 'floors', 'W1 WR S1 SR', ('floor', '+32', 0.5, True))
_add((22, 95, 20, 68, 47), 'floors', 'W1 WR S1 SR G1', ('floor', 'NnF', 0.5, True))

# Lifts: ('lift', target, speed, wait) down, wait, up; ('perpetual', speed, wait);
# ('liftstop',); ('toggle',) Boom's instant floor-ceiling toggle.
_add((10, 88, 21, 62), 'lifts', 'W1 WR S1 SR', ('lift', 'LnF', LIFT, PLAT_WAIT))
_TABLE[10] = _TABLE[10]._replace(who='any')
_TABLE[88] = _TABLE[88]._replace(who='any')
_add((121, 120, 122, 123), 'lifts', 'W1 WR S1 SR', ('lift', 'LnF', LIFT_BLAZE, PLAT_WAIT))
_add((53, 87, 162, 181), 'lifts', 'W1 WR S1 SR', ('perpetual', 1, PLAT_WAIT))
_add((54, 89, 163, 182), 'lifts', 'W1 WR S1 SR', ('liftstop',))
_add((212, 211), 'lifts', 'WR SR', ('toggle',))
# Boom's elevators move floor and ceiling together: ('elevator', target).
_add((227, 228, 229, 230), 'lifts', 'W1 WR S1 SR', ('elevator', 'NnF'))
_add((231, 232, 233, 234), 'lifts', 'W1 WR S1 SR', ('elevator', 'NnF-'))
_add((235, 236, 237, 238), 'lifts', 'W1 WR S1 SR', ('elevator', 'line'))

# Ceilings: ('ceiling', target, speed, up); targets F its floor, F+8, HnC highest
# neighbour ceiling, LnC lowest neighbour ceiling, HnF highest neighbour floor.
_add((40, 151, 166, 186), 'ceilings', 'W1 WR S1 SR', ('ceiling', 'HnC', 1, True))
_add((145, 152, 41, 43), 'ceilings', 'W1 WR S1 SR', ('ceiling', 'F', 1, False))
_add((44, 72, 167, 187), 'ceilings', 'W1 WR S1 SR', ('ceiling', 'F+8', 1, False))
_add((199, 201, 203, 205), 'ceilings', 'W1 WR S1 SR', ('ceiling', 'LnC', 1, False))
_add((200, 202, 204, 206), 'ceilings', 'W1 WR S1 SR', ('ceiling', 'HnF', 1, False))

# Crushers: ('crusher', speed, silent); ('crusherstop',).
_add((25, 73, 49, 184), 'crushers', 'W1 WR S1 SR', ('crusher', 1, False))
_add((6, 77, 164, 183), 'crushers', 'W1 WR S1 SR', ('crusher', 2, False))
_add((141, 150, 165, 185), 'crushers', 'W1 WR S1 SR', ('crusher', 1, True))
_add((57, 74, 168, 188), 'crushers', 'W1 WR S1 SR', ('crusherstop',))

# Stairs: ('stairs', step, speed, up, ignore_texture).
_add((8, 256, 7, 258), 'stairs', 'W1 WR S1 SR', ('stairs', 8, 0.25, True, False))
_add((100, 257, 127, 259), 'stairs', 'W1 WR S1 SR', ('stairs', 16, 4, True, False))
_add((146, 155, 9, 191), 'donuts', 'W1 WR S1 SR', ('donut',))

# Exits: ('exit', secret).
_add((52, 11, 197), 'exits', 'W1 S1 G1', ('exit', False))
_add((124, 51, 198), 'exits', 'W1 S1 G1', ('exit', True))

# Teleports: ('teleport', destination: 'thing' or 'line').
_add((39, 97, 174, 195), 'teleports', 'W1 WR S1 SR', ('teleport', 'thing'), who='any')
_add((125, 126, 268, 269), 'teleports', 'W1 WR W1 WR', ('teleport', 'thing'), who='monsters')
_add((207, 208, 209, 210), 'teleports', 'W1 WR S1 SR', ('teleport', 'thing'), who='any')
_add((243, 244, 262, 263), 'teleports', 'W1 WR W1 WR', ('teleport', 'line'), who='any')
_add((266, 267, 264, 265), 'teleports', 'W1 WR W1 WR', ('teleport', 'line'), who='monsters')

# Lights: ('light', level): 35, 255, 'max' brightest neighbour, 'min' darkest, 'blink'.
_add((35, 79, 170, 139), 'lights', 'W1 WR S1 SR', ('light', 35))
_add((13, 81, 171, 138), 'lights', 'W1 WR S1 SR', ('light', 255))
_add((12, 80, 169, 192), 'lights', 'W1 WR S1 SR', ('light', 'max'))
_add((104, 157, 173, 194), 'lights', 'W1 WR S1 SR', ('light', 'min'))
_add((17, 156, 172, 193), 'lights', 'W1 WR S1 SR', ('light', 'blink'))

# Effects that need no activation ('-' as trigger): scrolling walls ('scroll', how)
# and property transfers ('effect',).
for number, how in ((48, 'left'), (85, 'right'), (255, 'offsets')):
    _TABLE[number] = LineType('scrollers', '-', True, None, None, ('scroll', how))
for number in (214, 215, 216, 217, 218, 245, 246, 247, 248, 249, 250, 251, 252, 253, 254):
    _TABLE[number] = LineType('scrollers', '-', True, None, None, ('scroll', 'sector'))
for number in (213, 223, 224, 225, 226, 242, 260, 261, 271, 272):
    _TABLE[number] = LineType('other', '-', True, None, None, ('effect',))

_GEN_TRIGGERS = ('W1', 'WR', 'S1', 'SR', 'G1', 'GR', 'D1', 'DR')


def describe(number):
    """The LineType of a special, or None when DOOM and Boom give it no meaning."""
    if number in _TABLE:
        return _TABLE[number]
    if 0x2F80 <= number < 0x8000:
        return _generalized(number)
    return None


def _generalized(n):
    trigger = _GEN_TRIGGERS[n & 7]
    speed_index = (n >> 3) & 3
    if n >= 0x6000 or 0x4000 <= n < 0x6000:
        base = n - (0x6000 if n >= 0x6000 else 0x4000)
        change = (base >> 10) & 3
        monsters = change == 0 and (base >> 5) & 1
        up = bool((base >> 6) & 1)
        target = (base >> 7) & 7
        speed = (1, 2, 4, 8)[speed_index]
        if n >= 0x6000:
            names = ('HnF', 'LnF', 'NnF' if up else 'NnF-', 'LnC', 'C', 'SLT' if up else 'SLT-',
                     '+24' if up else '-24', '+32' if up else '-32')
            action, category = ('floor', names[target], speed, up), 'floors'
        else:
            names = ('HnC', 'LnC', 'NnC' if up else 'NnC-', 'HnF', 'F', 'SUT' if up else 'SUT-',
                     '+24' if up else '-24', '+32' if up else '-32')
            action, category = ('ceiling', names[target], speed, up), 'ceilings'
        return _gen(category, trigger, monsters, None, action)
    if n >= 0x3C00:
        base = n - 0x3C00
        kind = ('raise', 'open', 'closewait', 'close')[(base >> 5) & 3]
        delay = (35, 150, 300, 1050)[(base >> 8) & 3]
        wait = delay if kind in ('raise', 'closewait') else None
        return _gen('doors', trigger, (base >> 7) & 1, None,
                    ('door', kind, (2, 4, 8, 16)[speed_index], wait))
    if n >= 0x3800:
        base = n - 0x3800
        kind = ('raise', 'open')[(base >> 5) & 1]
        lock = ('any', 'red', 'yellow', 'blue', 'red', 'blue', 'yellow', 'all')[(base >> 6) & 7]
        return _gen('doors', trigger, 0, lock,
                    ('door', kind, (2, 4, 8, 16)[speed_index], DOOR_WAIT if kind == 'raise' else None))
    if n >= 0x3400:
        base = n - 0x3400
        delay = (35, 105, 165, 350)[(base >> 6) & 3]
        speed = (1, 2, 4, 8)[speed_index]
        target = (base >> 8) & 3
        action = ('perpetual', speed, delay) if target == 3 else ('lift', ('LnF', 'NnF-', 'LnC')[target], speed, delay)
        return _gen('lifts', trigger, (base >> 5) & 1, None, action)
    if n >= 0x3000:
        base = n - 0x3000
        step = (4, 8, 16, 24)[(base >> 6) & 3]
        return _gen('stairs', trigger, (base >> 5) & 1, None,
                    ('stairs', step, (0.25, 0.5, 2, 4)[speed_index], bool((base >> 8) & 1), bool((base >> 9) & 1)))
    base = n - 0x2F80
    return _gen('crushers', trigger, (base >> 5) & 1, None, ('crusher', (1, 2, 4, 8)[speed_index], bool((base >> 6) & 1)))


def _gen(category, trigger, monsters, key, action):
    return LineType(category, trigger[0], trigger[1] == 'R', 'any' if monsters else 'player', key, action)
