"""The geometry check on a crafted 256 x 256 square level against the hand-written room
maps of the compile check: the sealed room passes, the room without its east wall fails."""
import os
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOMS = os.path.join(HERE, '..', 'dmap', 'maps')


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
        if run(wad, 'missing.map') != 2:
            faults.append('a missing map should be bad input')
    for f in faults:
        print('FAULT: ' + f)
    return 1 if faults else 0


if __name__ == '__main__':
    sys.exit(main())
