"""The texel check on a crafted level against hand-written DOOM 3 maps at scale 2.

The level: a room (floor 0, ceiling 120) with one-sided walls under every pegging
flag and with x/y offsets, one of them diagonal, and south of it a raised alcove
(floor 32, ceiling 96) behind a two-sided line showing an upper, a lower and a
masked middle (a grate opaque in its top half). The right map gives every face a
material whose stage matrix puts DOOM's texel there (phases worked out by hand below,
keyword orders and forms varied); the alcove floor is a func_plat placed 16 units
low that rests 16 up, so its lower face keeps the texture of its placement. Each
wrong map differs in one material and must fail in that surface kind only.
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

# --- the DOOM level --------------------------------------------------------------

VERTICES = {'A': (0, 0), 'B': (0, 192), 'C': (128, 192), 'D': (192, 128), 'E': (192, 0),
            'F': (0, -64), 'G': (192, -64)}
ORDER = 'ABCDEFG'
ROOM, ALCOVE = 0, 1
# (v1, v2, flags, (x offset, y offset, upper, lower, middle, sector), back side or None)
LINES = [
    ('A', 'B', 1, (5, 3, '-', '-', 'WALL64', ROOM), None),
    ('B', 'C', 1 | 16, (0, 10, '-', '-', 'WALL64', ROOM), None),
    ('C', 'D', 1 | 8, (7, 0, '-', '-', 'WALL64', ROOM), None),
    ('D', 'E', 1 | 8 | 16, (-3, -11, '-', '-', 'WALL64', ROOM), None),
    ('E', 'A', 4 | 8, (9, 2, 'WALL64', 'WALL64', 'GRATE', ROOM), (4, 0, '-', '-', 'GRATE', ALCOVE)),
    ('E', 'G', 1, (0, 0, '-', '-', 'WALL64', ALCOVE), None),
    ('G', 'F', 1, (0, 0, '-', '-', 'WALL64', ALCOVE), None),
    ('F', 'A', 1, (0, 0, '-', '-', 'WALL64', ALCOVE), None),
]
SECTORS = [(0, 120, 'FLOOR1', 'CEIL1'), (32, 96, 'FLOOR1', 'CEIL1')]


def patch(width, height, opaque_rows):
    header = struct.pack('<hhhh', width, height, 0, 0)
    offsets, columns = b'', b''
    start = 8 + 4 * width
    for _ in range(width):
        offsets += struct.pack('<I', start + len(columns))
        columns += bytes([0, opaque_rows, 0]) + bytes(opaque_rows) + bytes([0, 0xFF])
    return header + offsets + columns


def texture_lump(textures):
    body, offsets = b'', []
    start = 4 + 4 * len(textures)
    for name, width, height, patch_index in textures:
        offsets.append(start + len(body))
        body += struct.pack('<8sihhih', name.encode(), 0, width, height, 0, 1)
        body += struct.pack('<hhhhh', 0, 0, patch_index, 1, 0)
    return struct.pack('<i', len(textures)) + b''.join(struct.pack('<i', o) for o in offsets) + body


def level_wad(sky=False):
    """With `sky`, both ceilings are sky and the two-sided line's lower is unpegged (its
    grates, which the flag would move, are left out)."""
    sides, lines = [], []
    for v1, v2, flags, front, back in LINES:
        if sky and back:
            flags |= 16
            front, back = front[:4] + ('-',) + front[5:], back[:4] + ('-',) + back[5:]
        right = len(sides)
        sides.append(front)
        left = 0xFFFF
        if back:
            left = len(sides)
            sides.append(back)
        lines.append(struct.pack('<HHHHHHH', ORDER.index(v1), ORDER.index(v2), flags, 0, 0, right, left))
    lumps = [
        ('MAP01', b''), ('THINGS', struct.pack('<hhhHH', 96, 96, 90, 1, 7)),
        ('LINEDEFS', b''.join(lines)),
        ('SIDEDEFS', b''.join(struct.pack('<hh8s8s8sH', xo, yo, u.encode(), lo.encode(), m.encode(), s)
                              for xo, yo, u, lo, m, s in sides)),
        ('VERTEXES', b''.join(struct.pack('<hh', *VERTICES[v]) for v in ORDER)),
        ('SECTORS', b''.join(struct.pack('<hh8s8shHH', f, c, ff.encode(), ('F_SKY1' if sky else cf).encode(),
                                         160, 0, 0) for f, c, ff, cf in SECTORS)),
        ('PNAMES', struct.pack('<i', 2) + b'P_WALL\0\0P_GRATE\0'),
        ('TEXTURE1', texture_lump([('AASTINKY', 8, 8, 0), ('WALL64', 64, 64, 0), ('GRATE', 32, 32, 1)])),
        ('P_START', b''), ('P_WALL', patch(64, 64, 64)), ('P_GRATE', patch(32, 32, 16)), ('P_END', b''),
        ('F_START', b''), ('FLOOR1', bytes(4096)), ('CEIL1', bytes(4096)), ('F_END', b''),
    ]
    data, directory = b'', b''
    for name, body in lumps:
        directory += struct.pack('<II8s', 12 + len(data), len(body), name.encode())
        data += body
    return b'PWAD' + struct.pack('<II', len(lumps), 12 + len(data)) + data + directory


# --- the DOOM 3 side ---------------------------------------------------------------
# Wall phases: column phase a = (x offset - texS . start vertex) / W, row phase
# b = (anchor + y offset) / H, texS the direction along the wall seen from the front.
#   A-B  texS (0, 1),  start (0, 0):      a = 5/64;  flags 0: anchor ceiling 120, +3 -> 59/64
#   B-C  texS (1, 0),  start (0, 192):    a = 0;     lower unpegged: floor + 64, +10 -> 10/64
#   C-D  texS (1,-1)/r2, start (128, 192): a = (7 + 64 r2/2) / 64 = 0.81648178
#        upper unpegged has no effect on a one-sided middle: anchor 120 -> 56/64
#   D-E  texS (0,-1),  start (192, 128):  a = (-3 + 128)/64 = 61/64; floor + 64 - 11 -> 53/64,
#        written translate-last, so in units before the scale of 1/4: 3.8125, 3.3125
#   alcove walls: phase 0 across, anchor 96 -> 1/2 (G-F through centerScale, F-A behind
#        an inactive decoy stage)
#   E-A  texS (-1, 0), start (192, 0), x offset 9: a = 201/64 -> 9/64 (grate: 9/32)
#        upper pegged to the front ceiling: 122 -> 58/64; lower at the back floor: 34, but
#        its brush was placed 16 lower, so 18/64; grate at min ceiling 96 + 2 -> 2/32
#        (opaque from z 82 up, where its brush starts)
#   A-E  the back's grate: texS (1, 0), start (0, 0), x offset 4 -> 4/32; anchor 96 -> 0
# Under a sky the lower, now unpegged, hangs from the back ceiling: 96 + 2 - 16 -> 18/64.
# Flats need DOOM's (x, -y): floors a three-quarter turn, ceilings a reflection.
MATERIALS = '''
table sinTable { { 0, 1, 0, -1 } }
table cosTable { { 1, 0, -1, 0 } }
textures/test/hidden { noShadows }
textures/test/wall_ab { { blend diffusemap
  map textures/test/WALL64.tga
  translate 0.078125, 0.921875
  scale 0.25, 0.25 } }
textures/test/wall_bc { { blend diffusemap
  map textures/test/WALL64.tga
  translate 0, 0.15625
  scale 1 / 4, 0.5 * 0.5 } }
textures/test/wall_cd { { blend diffusemap
  map textures/test/WALL64.tga
  translate 0.81648178, 0.875
  scale 0.25, 0.25 } }
textures/test/wall_de { { blend diffusemap
  map textures/test/WALL64.tga
  scale 0.25, 0.25
  translate 3.8125, 3.3125 } }
textures/test/wall_eg { { blend diffusemap
  map textures/test/WALL64
  translate 0, 0.5
  scale 0.25, 0.25 } }
textures/test/wall_gf { { blend diffusemap
  map textures/test/WALL64.tga
  translate -0.375, 0.125
  centerScale 0.25, 0.25 } }
textures/test/wall_fa {
  { if parm4 > 0
    blend diffusemap
    map textures/test/GRATE.tga }
  { blend diffusemap
    map textures/test/WALL64.tga
    translate 0, 0.5
    scale 0.25, 0.25 } }
textures/test/upper { { blend diffusemap
  map textures/test/WALL64.tga
  translate 0.140625, 0.90625
  scale 0.25, 0.25 } }
textures/test/lower { { blend diffusemap
  map textures/test/WALL64.tga
  translate 0.140625, 0.28125
  scale 0.25, 0.25 } }
textures/test/grate { { blend diffusemap
  map textures/test/GRATE.tga
  alphaTest 0.5
  translate 0.28125, 0.0625
  scale 0.5, 0.5 } }
textures/test/grate_back { { blend diffusemap
  map textures/test/GRATE.tga
  alphaTest 0.5
  translate 0.125, 0
  scale 0.5, 0.5 } }
textures/test/floor { { blend diffusemap
  map textures/test/flats/FLOOR1.tga
  rotate 0.75
  scale 0.25, 0.25 } }
textures/test/ceiling { { blend diffusemap
  map textures/test/flats/CEIL1.tga
  rotate 0.25
  scale -0.25, 0.25 } }
textures/test/wall_cd_one_off { { blend diffusemap
  map textures/test/WALL64.tga
  translate 0.83210678, 0.875
  scale 0.25, 0.25 } }
textures/test/lower_where_it_rests { { blend diffusemap
  map textures/test/WALL64.tga
  translate 0.140625, 0.53125
  scale 0.25, 0.25 } }
textures/test/floor_unturned { { blend diffusemap
  map textures/test/flats/FLOOR1.tga
  scale 0.25, 0.25 } }
textures/test/ceiling_turned { { blend diffusemap
  map textures/test/flats/CEIL1.tga
  rotate 0.75
  scale 0.25, 0.25 } }
'''


def tga(width, height):
    return struct.pack('<BBBHHBHHHHBB', 0, 0, 2, 0, 0, 0, 0, 0, width, height, 32, 8) + bytes(4 * width * height)


def package(path):
    with zipfile.ZipFile(path, 'w') as z:
        z.writestr('materials/test.mtr', MATERIALS)
        z.writestr('textures/test/WALL64.tga', tga(64, 64))
        z.writestr('textures/test/GRATE.tga', tga(32, 32))
        z.writestr('textures/test/flats/FLOOR1.tga', tga(64, 64))
        z.writestr('textures/test/flats/CEIL1.tga', tga(64, 64))


def prism(polygon, bottom, top, edge_materials=None, top_material='test/hidden', bottom_material='test/hidden',
          lift=0):
    """A brush over a counter-clockwise DOOM polygon; edge i runs from point i to i + 1."""
    edge_materials = edge_materials or {}
    z0, z1 = (bottom + lift) * SCALE, (top + lift) * SCALE
    pts = [(x * SCALE, y * SCALE) for x, y in polygon]
    faces = []
    for i, (a, b) in enumerate(zip(pts, pts[1:] + pts[:1])):
        faces.append(((b[0], b[1], z0), (a[0], a[1], z0), (a[0], a[1], z1), edge_materials.get(i, 'test/hidden')))
    (x, y) = pts[0]
    faces.append(((x + 1, y, z1), (x, y, z1), (x, y + 1, z1), top_material))
    faces.append(((x, y + 1, z0), (x, y, z0), (x + 1, y, z0), bottom_material))
    return '{\n' + ''.join('( %g %g %g ) ( %g %g %g ) ( %g %g %g ) %s 0 0 0 1 1\n' % (p + q + r + (m,))
                           for p, q, r, m in faces) + '}\n'


def room_map(m):
    """The converted level by hand; `m` names the material of each visible surface."""
    room = [(0, 0), (192, 0), (192, 128), (128, 192), (0, 192)]
    alcove = [(0, -64), (192, -64), (192, 0), (0, 0)]
    world = [
        prism(room, -16, 0, top_material=m['floor']),
        prism(room, 120, 136, bottom_material=m['ceiling']),
        prism([(-16, 0), (0, 0), (0, 192), (-16, 192)], 0, 120, {1: m['ab']}),
        prism([(0, 192), (128, 192), (128, 208), (0, 208)], 0, 120, {0: m['bc']}),
        prism([(192, 128), (208, 144), (144, 208), (128, 192)], 0, 120, {3: m['cd']}),
        prism([(192, 0), (208, 0), (208, 128), (192, 128)], 0, 120, {3: m['de']}),
        prism(alcove, 96, 136, {2: m['upper']}, bottom_material=m['ceiling']),
        prism([(192, -64), (208, -64), (208, 0), (192, 0)], 32, 96, {3: 'test/wall_eg'}),
        prism([(0, -80), (192, -80), (192, -64), (0, -64)], 32, 96, {2: 'test/wall_gf'}),
        prism([(-16, -64), (0, -64), (0, 0), (-16, 0)], 32, 96, {1: 'test/wall_fa'}),
    ]
    plat = prism(alcove, -16, 32, {2: m['lower']}, top_material=m['floor'], lift=-16)
    grate = prism([(0, -1), (192, -1), (192, 0), (0, 0)], 80, 96, {0: 'test/grate_back', 2: 'test/grate'})
    return ('{\n"classname" "worldspawn"\n' + ''.join(world) + '}\n' +
            '{\n"classname" "func_plat"\n"height" "-32"\n' + plat + '}\n' +
            '{\n"classname" "func_static"\n' + grate + '}\n')


RIGHT = {'floor': 'test/floor', 'ceiling': 'test/ceiling', 'ab': 'test/wall_ab', 'bc': 'test/wall_bc',
         'cd': 'test/wall_cd', 'de': 'test/wall_de', 'upper': 'test/upper', 'lower': 'test/lower'}
WRONG = [  # (what is wrong, the surface changed, its material, the kind that must fail)
    ('diagonal wall one column off', 'cd', 'test/wall_cd_one_off', 'middle'),
    ('floor not turned', 'floor', 'test/floor_unturned', 'floor'),
    ('ceiling turned like a floor', 'ceiling', 'test/ceiling_turned', 'ceiling'),
    ('lower textured where the lift rests, not where it was placed', 'lower', 'test/lower_where_it_rests', 'lower'),
    ('undefined material on the upper', 'upper', 'test/nowhere', 'upper'),
]


def run(tmp, wad, pk4, text, name):
    path = os.path.join(tmp, name + '.map')
    with open(path, 'w') as f:
        f.write(text)
    report = os.path.join(tmp, name + '.json')
    p = subprocess.run([sys.executable, os.path.join(HERE, 'texcheck.py'), wad, 'map01', path, '--pk4', pk4,
                        '--scale', str(SCALE), '--stride', '3', '--min', '100', '--report', '3', '--json', report],
                       stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    print(p.stdout)
    result = json.load(open(report)) if os.path.exists(report) else None
    return p.returncode, result


def main():
    faults = []
    with tempfile.TemporaryDirectory() as tmp:
        wad, pk4 = os.path.join(tmp, 'rooms.wad'), os.path.join(tmp, 'test.pk4')
        with open(wad, 'wb') as f:
            f.write(level_wad())
        package(pk4)
        code, result = run(tmp, wad, pk4, room_map(RIGHT), 'right')
        if code != 0 or result['percent'] != 100.0:
            faults.append('the right map should agree everywhere')
        elif set(result['kinds']) != {'upper', 'lower', 'middle', 'masked', 'floor', 'ceiling'}:
            faults.append('every surface kind should be sampled, got %s' % sorted(result['kinds']))
        for what, surface, material, kind in WRONG:
            code, result = run(tmp, wad, pk4, room_map(dict(RIGHT, **{surface: material})), surface)
            failing = sorted(k for k, v in (result or {}).get('kinds', {}).items() if v['agree'] < v['samples'])
            if code != 1 or failing != [kind]:
                faults.append('%s: expected exit 1 with only %s failing, got %d with %s' % (what, kind, code, failing))
        sky_wad = os.path.join(tmp, 'sky.wad')
        with open(sky_wad, 'wb') as f:
            f.write(level_wad(sky=True))
        code, result = run(tmp, sky_wad, pk4, room_map(RIGHT), 'sky')
        if code != 0 or set(result['kinds']) != {'lower', 'middle', 'floor'}:
            faults.append('under a sky no upper or ceiling is drawn and the lower hangs from the back ceiling')
        missing = subprocess.run([sys.executable, os.path.join(HERE, 'texcheck.py'), wad, 'map01',
                                  os.path.join(tmp, 'none.map'), '--pk4', pk4])
        if missing.returncode != 2:
            faults.append('a missing map should be bad input')
    for f in faults:
        print('FAULT: ' + f)
    return 1 if faults else 0


if __name__ == '__main__':
    sys.exit(main())
