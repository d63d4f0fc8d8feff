"""The specials check on a crafted level against hand-written maps at scale 2.

The level (DOOM units, y up): room A (floor 0, ceiling 128) with a door by hand to room
B east (type 1 from both sides), a blue-keyed door west (type 26) to a secret closet, a
teleport line standing in the room (97) to a destination facing north in room D (floor
16, tag 5), and a south wall that scrolls left (48); room B (ceiling 160, nukage: 5 of
damage) with a walk-over lift line (88) to a lift 64 high (tag 3) and an exit switch (11);
room D's wall carries a walk-over special nobody can cross. The right map reproduces all
of it; each wrong map differs in one parameter, which the check must name: a door that
opens to the wrong height, a lift resting at the bottom, a teleport to the wrong place,
an exit to the wrong level, a keyed door without its key, a wall scrolling the wrong
way, the wrong damage. A map without the lift misses it; bad input is refused. Before the
maps, DOOM's next-level rules and a few generalized types are checked against values
worked out by hand.
"""
import json
import os
import struct
import subprocess
import sys
import tempfile
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
SCALE = 2

# --- the DOOM level -----------------------------------------------------------------
# Sectors: (floor, ceiling, light, special, tag)
SECTORS = [(0, 128, 160, 0, 0), (0, 0, 160, 0, 0), (0, 160, 160, 7, 0), (64, 160, 160, 0, 3),
           (16, 128, 160, 0, 5), (0, 0, 160, 0, 0), (0, 96, 160, 9, 0)]
ROOM_A, DOOR_EAST, ROOM_B, LIFT, ROOM_D, DOOR_WEST, CLOSET = range(7)
# Lines: (v1, v2, front sector, back sector or None, special, tag, name). Walls run with
# their room on the right, as DOOM's front side lies.
LINES = [
    ((0, 0), (0, 96), ROOM_A, None, 0, 0, None),
    ((0, 96), (0, 160), ROOM_A, DOOR_WEST, 26, 0, 'blue door'),
    ((0, 160), (0, 256), ROOM_A, None, 0, 0, None),
    ((0, 256), (256, 256), ROOM_A, None, 0, 0, None),
    ((256, 256), (256, 160), ROOM_A, None, 0, 0, None),
    ((256, 160), (256, 96), ROOM_A, DOOR_EAST, 1, 0, 'door from A'),
    ((256, 96), (256, 0), ROOM_A, None, 0, 0, None),
    ((256, 0), (0, 0), ROOM_A, None, 48, 0, 'scroll'),
    ((256, 160), (272, 160), DOOR_EAST, None, 0, 0, None),
    ((272, 96), (256, 96), DOOR_EAST, None, 0, 0, None),
    ((272, 0), (272, 96), ROOM_B, None, 0, 0, None),
    ((272, 96), (272, 160), ROOM_B, DOOR_EAST, 1, 0, 'door from B'),
    ((272, 160), (272, 256), ROOM_B, None, 0, 0, None),
    ((272, 256), (528, 256), ROOM_B, None, 0, 0, None),
    ((528, 256), (528, 160), ROOM_B, None, 0, 0, None),
    ((528, 160), (528, 96), ROOM_B, LIFT, 88, 3, 'lift'),
    ((528, 96), (528, 0), ROOM_B, None, 11, 0, 'exit'),
    ((528, 0), (272, 0), ROOM_B, None, 0, 0, None),
    ((528, 160), (592, 160), LIFT, None, 0, 0, None),
    ((592, 160), (592, 96), LIFT, None, 0, 0, None),
    ((592, 96), (528, 96), LIFT, None, 0, 0, None),
    ((-16, 160), (0, 160), DOOR_WEST, None, 0, 0, None),
    ((0, 96), (-16, 96), DOOR_WEST, None, 0, 0, None),
    ((-80, 96), (-80, 160), CLOSET, None, 0, 0, None),
    ((-80, 160), (-16, 160), CLOSET, None, 0, 0, None),
    ((-16, 160), (-16, 96), CLOSET, DOOR_WEST, 0, 0, None),
    ((-16, 96), (-80, 96), CLOSET, None, 0, 0, None),
    ((0, 300), (0, 428), ROOM_D, None, 2, 9, 'inert'),
    ((0, 428), (128, 428), ROOM_D, None, 0, 0, None),
    ((128, 428), (128, 300), ROOM_D, None, 0, 0, None),
    ((128, 300), (0, 300), ROOM_D, None, 0, 0, None),
    ((64, 64), (64, 192), ROOM_A, ROOM_A, 97, 5, 'teleport'),
]
LINE = {name: i for i, (_a, _b, _f, _k, _s, _t, name) in enumerate(LINES) if name}
THINGS = [(128, 128, 0, 1, 7), (64, 364, 90, 14, 7)]   # player start; teleport destination


def level_wad():
    vertices = []

    def vertex(p):
        if p not in vertices:
            vertices.append(p)
        return vertices.index(p)

    sides, lines = [], []
    for a, b, front, back, special, tag, _name in LINES:
        middle = b'-' if back is not None else b'WALL'
        sides.append(struct.pack('<hh8s8s8sH', 0, 0, b'-', b'-', middle, front))
        right = len(sides) - 1
        left = 0xFFFF
        if back is not None:
            sides.append(struct.pack('<hh8s8s8sH', 0, 0, b'-', b'-', b'-', back))
            left = len(sides) - 1
        flags = 4 if back is not None else 1
        lines.append(struct.pack('<HHHHHHH', vertex(a), vertex(b), flags, special, tag, right, left))
    lumps = [('MAP01', b''), ('THINGS', b''.join(struct.pack('<hhhHH', *t) for t in THINGS)),
             ('LINEDEFS', b''.join(lines)), ('SIDEDEFS', b''.join(sides)),
             ('VERTEXES', b''.join(struct.pack('<hh', x, y) for x, y in vertices)),
             ('SECTORS', b''.join(struct.pack('<hh8s8shHH', f, c, b'FLOOR', b'CEIL', light, special, tag)
                                  for f, c, light, special, tag in SECTORS))]
    data, directory = b'', b''
    for name, body in lumps:
        directory += struct.pack('<II8s', 12 + len(data), len(body), name.encode())
        data += body
    return b'PWAD' + struct.pack('<II', len(lumps), 12 + len(data)) + data + directory


# --- the DOOM 3 maps ------------------------------------------------------------------
# Two directions in each face, whose cross product is the face's outward normal.
_FACE_AXES = {'+x': ((0, 1, 0), (0, 0, 1)), '-x': ((0, 0, 1), (0, 1, 0)), '+y': ((0, 0, 1), (1, 0, 0)),
              '-y': ((1, 0, 0), (0, 0, 1)), '+z': ((1, 0, 0), (0, 1, 0)), '-z': ((0, 1, 0), (1, 0, 0))}


def box(low, high, materials=None):
    """An axis-aligned brush from DOOM corners (scaled here); materials by face ('+y'...)."""
    low = [v * SCALE for v in low]
    high = [v * SCALE for v in high]
    lines = ['{']
    for face, (a, b) in sorted(_FACE_AXES.items()):
        c = tuple(high if face[0] == '+' else low)
        p0 = tuple(c[k] + 64 * a[k] for k in range(3))
        p2 = tuple(c[k] + 64 * b[k] for k in range(3))
        material = (materials or {}).get(face, 'zdoom/hidden')
        lines.append('( %g %g %g ) ( %g %g %g ) ( %g %g %g ) %s 0 0 0 1 1' % (p0 + c + p2 + (material,)))
    lines.append('}')
    return '\n'.join(lines)


def entity(keys, brushes=()):
    body = ['{'] + ['"%s" "%s"' % kv for kv in keys.items()] + list(brushes) + ['}']
    return '\n'.join(body)


def right_entities():
    """name: (keys, brushes) of the right map."""
    door = {'classname': 'func_door', 'movedir': '-1', 'lip': '2', 'speed': '140', 'wait': '4.2857'}
    blue = LINE['blue door']
    tele = LINE['teleport']
    exit_line = LINE['exit']
    lift_line = LINE['lift']
    found = {
        'world': ({'classname': 'worldspawn'}, [box((0, -16, 0), (256, 0, 128), {'+y': 'test/FALL'})]),
        'door_1': (dict(door, name='door_1', doom_sector='1'), [box((256, 96, 0), (272, 160, 124))]),
        'door_5': (dict(door, name='door_5', doom_sector='5', no_touch='1'), [box((-16, 96, 0), (0, 160, 92))]),
        'trigger_%d' % blue: ({'classname': 'trigger_multiple', 'name': 'trigger_%d' % blue, 'doom_line': str(blue),
                               'doom_special': '26', 'wait': '5', 'requires': 'Blue key', 'target': 'door_5'},
                              [box((0, 96, 0), (12, 160, 128))]),
        'lift_3': ({'classname': 'func_plat', 'name': 'lift_3', 'doom_sector': '3', 'height': '-128', 'lip': '0',
                    'speed': '280', 'wait': '3', 'accel_time': '0', 'decel_time': '0', 'no_touch': '1'},
                   [box((528, 96, -32), (592, 160, 0))]),
        'trigger_%d' % lift_line: ({'classname': 'trigger_multiple', 'name': 'trigger_%d' % lift_line,
                                    'doom_line': str(lift_line), 'doom_special': '88', 'anyTouch': '1', 'wait': '4',
                                    'target': 'lift_3'}, [box((520, 96, 0), (536, 160, 160))]),
        'trigger_%d' % tele: ({'classname': 'trigger_multiple', 'name': 'trigger_%d' % tele, 'doom_line': str(tele),
                               'doom_special': '97', 'anyTouch': '1', 'wait': '0', 'triggerFirst': '1',
                               'toggleTriggerFirst': '1', 'target': 'teleporter_1',
                               'target1': 'trigger_%d_arm' % tele}, [box((56, 64, 0), (62, 192, 128))]),
        'trigger_%d_arm' % tele: ({'classname': 'trigger_multiple', 'name': 'trigger_%d_arm' % tele,
                                   'doom_line': str(tele), 'doom_special': '97', 'anyTouch': '1', 'wait': '0',
                                   'toggleTriggerFirst': '1', 'target': 'trigger_%d' % tele},
                                  [box((66, 64, 0), (72, 192, 128))]),
        'teleporter_1': ({'classname': 'func_teleporter', 'name': 'teleporter_1', 'doom_line': str(tele),
                          'origin': '128 728 32', 'angle': '90', 'triggered': '1'}, []),
        'trigger_%d' % exit_line: ({'classname': 'trigger_once', 'name': 'trigger_%d' % exit_line,
                                    'doom_line': str(exit_line), 'doom_special': '11', 'target': 'endlevel_next',
                                    'target1': 'keyremove_red_1', 'target2': 'keyremove_red_2',
                                    'target3': 'keyremove_blue_1', 'target4': 'keyremove_blue_2',
                                    'target5': 'keyremove_yellow_1', 'target6': 'keyremove_yellow_2'},
                                   [box((512, 0, 0), (527, 96, 64))]),
        'endlevel_next': ({'classname': 'target_endLevel', 'name': 'endlevel_next', 'nextMap': 'MAP02',
                           'origin': '0 0 0'}, []),
        'hurt_2': ({'classname': 'trigger_hurt', 'name': 'hurt_2', 'doom_sector': '2', 'def_damage': 'doom_damage_5',
                    'delay': '0.9143'}, [box((272, 0, 0), (528, 256, 8))]),
        'secret_6': ({'classname': 'trigger_once', 'name': 'secret_6', 'doom_sector': '6', 'target': 'secretmsg_6'},
                     [box((-80, 96, 0), (-16, 160, 8))]),
        'secretmsg_6': ({'classname': 'doom_secret', 'name': 'secretmsg_6', 'origin': '0 0 0'}, []),
    }
    for colour in ('red', 'blue', 'yellow'):
        for n in (1, 2):
            name = 'keyremove_%s_%d' % (colour, n)
            found[name] = ({'classname': 'func_itemremove', 'name': name, 'remove': '%s key' % colour.title()}, [])
    return found


def map_text(changes=None, leave_out=()):
    """The right map, with some entities' keys changed or brushes replaced."""
    entities = right_entities()
    out = []
    for name, (keys, brushes) in entities.items():
        if name in leave_out:
            continue
        keys, brushes = dict(keys), list(brushes)
        change = (changes or {}).get(name, {})
        brushes = change.pop('brushes', brushes)
        for k, v in change.items():
            if v is None:
                keys.pop(k, None)
            else:
                keys[k] = v
        out.append(entity(keys, brushes))
    return '\n'.join(out) + '\n'


def material_package(path, slide):
    """A package defining test/FALL (64 texels wide, one texel a DOOM unit at the scale)
    sliding `slide` image widths a second along its s axis."""
    text = ('textures/test/FALL\n{\n\t{\n\t\tblend diffusemap\n\t\tmap textures/test/FALL.tga\n'
            '\t\tscale %g, %g\n\t\ttranslate time * %g, 0\n\t}\n}\n' % (32.0 / (SCALE * 64), 32.0 / (SCALE * 64), slide))
    with zipfile.ZipFile(path, 'w') as z:
        z.writestr('materials/test.mtr', text)


# The south wall's face looks north: its s axis runs west (-x), along DOOM's line from
# v1 = (256, 0) to v2 = (0, 0); DOOM 48 moves features towards v1, east, 35 units a second.
# After the scale, `translate` counts in units of 32 world units: 35 * SCALE / 32 a second.
RIGHT_SLIDE = 35.0 * SCALE / 32


def run(tmp, wad, text, name, extra=()):
    path = os.path.join(tmp, name + '.map')
    with open(path, 'w') as f:
        f.write(text)
    report = os.path.join(tmp, name + '.json')
    p = subprocess.run([sys.executable, os.path.join(HERE, 'actioncheck.py'), wad, 'map01', path, '--scale', str(SCALE),
                        '--report', '20', '--json', report] + list(extra),
                       stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    print('--- %s (exit %d)\n%s' % (name, p.returncode, p.stdout))
    document = json.load(open(report)) if os.path.exists(report) else None
    return p.returncode, p.stdout, document


WRONG_MAPS = [
    # (name, changes, what the report must say)
    ('door too low', {'door_1': {'lip': '34'}}, 'door_1) moves to 108, DOOM\'s to 124'),
    ('lift resting low', {'lift_3': {'height': '128'}}, 'lift_3) rests at -64, DOOM\'s at 64'),
    ('teleport elsewhere', {'teleporter_1': {'origin': '128 600 32'}}, 'teleporter_1 lands at (64, 300)'),
    ('exit to MAP03', {'endlevel_next': {'nextMap': 'MAP03'}}, 'endlevel_next goes to MAP03, DOOM to MAP02'),
    ('keyed door without key', {'trigger_%d' % LINE['blue door']: {'requires': None}},
     'needs no key, DOOM\'s line needs the blue key'),
    ('damage 10', {'hurt_2': {'def_damage': 'doom_damage_10'}}, 'hurt_2 deals doom_damage_10, DOOM 5'),
]


def rule_faults():
    """DOOM's rules the check leans on, against values worked out by hand."""
    sys.path.insert(0, HERE)
    import linetypes
    import nextlevel
    faults = []
    chains = [(('E1M3', True), 'E1M9'), (('E1M8', False), nextlevel.END), (('E2M9', False), 'E2M6'),
              (('E4M9', False), 'E4M3'), (('E1M5', True), 'E1M9'), (('MAP15', True), 'MAP31'),
              (('MAP31', True), 'MAP32'), (('MAP31', False), 'MAP16'), (('MAP32', False), 'MAP16'),
              (('MAP30', False), nextlevel.END), (('MAP05', True), 'MAP05'), (('MAP09', False), 'MAP10')]
    for (level, secret), wanted in chains:
        if nextlevel.next_level(level, secret) != wanted:
            faults.append('%s %s exit should lead to %s' % (level, 'secret' if secret else 'normal', wanted))
    if nextlevel.next_level('MAP15', True, has_map31=False) != 'MAP16':
        faults.append('without MAP31 a secret exit is a normal one')
    decoded = [(13331, ('S', True, ('lift', 'LnF', 4, 35))), (15889, ('W', True, ('door', 'raise', 8, 300))),
               (0x3C00 + 0x60 + 6, ('D', False, ('door', 'close', 2, None)))]
    for number, (trigger, repeat, action) in decoded:
        lt = linetypes.describe(number)
        if (lt.trigger, lt.repeat, lt.action) != (trigger, repeat, action):
            faults.append('generalized type %d should decode to %s %s %s' % (number, trigger, repeat, action))
    return faults


def main():
    faults = rule_faults()
    with tempfile.TemporaryDirectory() as tmp:
        wad = os.path.join(tmp, 'rooms.wad')
        with open(wad, 'wb') as f:
            f.write(level_wad())
        right_pk4, wrong_pk4 = os.path.join(tmp, 'right.pk4'), os.path.join(tmp, 'wrong.pk4')
        material_package(right_pk4, RIGHT_SLIDE)
        material_package(wrong_pk4, -RIGHT_SLIDE)

        code, out, doc = run(tmp, wad, map_text(), 'right', ['--pk4', right_pk4])
        if code != 0 or doc is None or doc['lines'] != {'found': 7, 'right': 7, 'wrong': 0, 'missing': 0}:
            faults.append('the right map should pass with all 7 lines right')
        if doc and (doc['inert'] != 1 or doc['sectors']['right'] != 2 or doc['exits'] != {'found': 1, 'right': 1}):
            faults.append('the right map: one inert line, both special sectors and the exit right')

        for name, changes, expected in WRONG_MAPS:
            code, out, doc = run(tmp, wad, map_text(changes), name.replace(' ', '_'), ['--pk4', right_pk4])
            if code != 1 or expected not in out:
                faults.append('%s: should fail naming "%s"' % (name, expected))

        code, out, doc = run(tmp, wad, map_text(), 'wrong_scroll', ['--pk4', wrong_pk4])
        if code != 1 or 'test/FALL slides 35 along and 0 up (units a second), DOOM -35 and 0' not in out:
            faults.append('a wall scrolling the wrong way should be wrong')
        code, out, doc = run(tmp, wad, map_text(), 'no_packages')
        if doc is None or doc['categories']['scrollers']['missing'] != 1:
            faults.append('without packages the scrolling wall should be missing')

        lift_line = LINE['lift']
        code, out, doc = run(tmp, wad, map_text(leave_out=('lift_3', 'trigger_%d' % lift_line)), 'no_lift',
                             ['--pk4', right_pk4, '--min', '80'])
        if code != 0 or doc['categories']['lifts']['missing'] != 1:
            faults.append('a map without the lift should miss it and pass at 80%')

        code, out, _doc = run(tmp, wad, map_text(), 'missing_map_file', ['--pk4', os.path.join(tmp, 'none.pk4')])
        if code != 2 or out.count('\n') != 1:
            faults.append('a package that cannot be read should be bad input with one line')
        p = subprocess.run([sys.executable, os.path.join(HERE, 'actioncheck.py'), wad, 'MAP07', os.path.join(tmp, 'right.map')],
                           stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        if p.returncode != 2 or 'MAP07' not in p.stdout:
            faults.append('a level the wad does not hold should be bad input')
    for f in faults:
        print('FAULT: ' + f)
    return 1 if faults else 0


if __name__ == '__main__':
    sys.exit(main())
