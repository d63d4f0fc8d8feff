"""The geometry check on a crafted 256 x 256 square level against the hand-written room
maps of the compile check: the sealed room passes, the room without its east wall fails,
the room whose floor has a 2-unit crack fails on coverage (too narrow for the point
samples to see). Then the coverage measure itself: overlapping faces count once, a
pillar's hole is no part of the floor, and the crack's width is found."""
import os
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOMS = os.path.join(HERE, '..', 'dmap', 'maps')
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, '..', 'dmap'))
import coverage  # noqa: E402
import rooms  # noqa: E402


def square_wad():
    verts = [(0, 0), (0, 256), (256, 256), (256, 0)]
    lumps = [('MAP01', b''), ('THINGS', struct.pack('<hhhHH', 128, 128, 90, 1, 7)),
             ('LINEDEFS', b''.join(struct.pack('<HHHHHHH', i, (i + 1) % 4, 1, 0, 0, i, 0xFFFF) for i in range(4))),
             ('SIDEDEFS', b''.join(struct.pack('<hh8s8s8sH', 0, 0, b'-', b'-', b'WALL', 0) for _ in range(4))),
             ('VERTEXES', b''.join(struct.pack('<hh', x, y) for x, y in verts)),
             ('SECTORS', struct.pack('<hh8s8shHH', 0, 128, b'FLOOR', b'CEIL', 160, 0, 0))]
    data, directory = b'', b''
    for name, body in lumps:
        directory += struct.pack('<II8s', 12 + len(data), len(body), name.encode())
        data += body
    return b'PWAD' + struct.pack('<II', len(lumps), 12 + len(data)) + data + directory


def without_east_wall(path, out):
    """The room with its fourth brush (the wall at x = 256) left out."""
    blocks = open(path).read().split('\n{\n')
    with open(out, 'w') as f:
        f.write('\n{\n'.join(blocks[:5] + blocks[6:]))


def cracked_room(out):
    """The sealed room with its floor in two brushes and a 2-unit crack between them at x = 127."""
    shell = rooms.shell((0, 0, 0), (256, 256, 128), 'test/WALL')
    floor = [rooms.box((-16, -16, -16), (127, 272, 0), 'test/FLOOR'),
             rooms.box((129, -16, -16), (272, 272, -8), 'test/FLOOR'),
             rooms.box((129, -16, -8), (272, 272, 0), 'test/FLOOR')]
    with open(out, 'w') as f:
        f.write(rooms.entity({'classname': 'worldspawn'}, floor + shell[1:]) + '\n' +
                rooms.entity({'classname': 'info_player_start', 'origin': '128 128 8'}) + '\n')


def measure_faults():
    faults = []
    square = [((0, 0), (256, 0)), ((256, 0), (256, 256)), ((256, 256), (0, 256)), ((0, 256), (0, 0))]
    pillar = [((96, 96), (96, 160)), ((96, 160), (160, 160)), ((160, 160), (160, 96)), ((160, 96), (96, 96))]
    faces = coverage.Faces()
    faces.add(0, [(0, 0), (200, 0), (200, 256), (0, 256)])
    faces.add(0, [(100, 0), (256, 0), (256, 256), (100, 256)])   # overlaps the first
    whole = coverage.measure(square, faces, 0)
    if abs(whole.total - 65536) > 1e-6 or whole.uncovered > 1e-6:
        faults.append('overlapping faces: %g of %g open' % (whole.uncovered, whole.total))
    holed = coverage.measure(square + pillar, faces, 0)
    if abs(holed.total - (65536 - 4096)) > 1e-6:
        faults.append('a pillar should leave %d square units, got %g' % (65536 - 4096, holed.total))
    split = coverage.Faces()
    split.add(0, [(0, 0), (127, 0), (127, 256), (0, 256)])
    split.add(0, [(129, 0), (256, 0), (256, 256), (129, 256)])
    crack = coverage.measure(square + pillar, split, 0)
    if abs(crack.uncovered - 2 * (256 - 64)) > 1e-6 or abs(crack.widest - 2) > 1e-6:
        faults.append('the crack: %g open, %g wide' % (crack.uncovered, crack.widest))
    if coverage.measure(square, split, 8).uncovered != 65536:
        faults.append('faces at another height should cover nothing')
    return faults


def run(wad, room):
    p = subprocess.run([sys.executable, os.path.join(HERE, 'geocheck.py'), wad, 'map01',
                        room if os.path.isabs(room) else os.path.join(ROOMS, room)], stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    print(p.stdout)
    return p.returncode


def main():
    with tempfile.TemporaryDirectory() as tmp:
        wad = os.path.join(tmp, 'square.wad')
        with open(wad, 'wb') as f:
            f.write(square_wad())
        faults = []
        if run(wad, 'box.map') != 0:
            faults.append('the sealed room should match the square level')
        open_room = os.path.join(tmp, 'open.map')
        without_east_wall(os.path.join(ROOMS, 'box.map'), open_room)
        if run(wad, open_room) != 1:
            faults.append('the room without its east wall should miss a wall')
        cracked = os.path.join(tmp, 'cracked.map')
        cracked_room(cracked)
        if run(wad, cracked) != 1:
            faults.append('the room with a cracked floor should fail on coverage')
        if run(wad, 'missing.map') != 2:
            faults.append('a missing map should be bad input')
        faults += measure_faults()
    for f in faults:
        print('FAULT: ' + f)
    return 1 if faults else 0


if __name__ == '__main__':
    sys.exit(main())
