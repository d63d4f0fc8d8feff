"""The walk check on a crafted two-room level (a step at x = 256 up to a second room)
against hand-written maps at scale 1: a 16-unit step passes (also with a visportal in
the opening), a 24-unit step fails, the same step with a sloped player-clip ramp
passes, a too-steep ramp fails, and a low ceiling past the step fails; and where DOOM's
player walks up: never from the floor of a trench narrower than his box, over a sliver to a
floor more than his step above it, or through a wall on his path."""
import os
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..', 'dmap'))
import rooms  # noqa: E402
import walkcheck  # noqa: E402


class TrenchLevel:
    """Floor 0 from x = `west` to 8, floor 8 elsewhere: a step up at x = 8 out of a trench."""
    def __init__(self, west):
        self.west = west
        self.sectors = [(0, 128, 0), (8, 128, 0)]

    def sector_at(self, x, y):
        return 0 if self.west <= x < 8 else 1


class ShutDoorLevel:
    """Floor 0 everywhere, with a shut door (ceiling on the floor) from x = -20 to -10."""
    sectors = [(0, 128, 0), (0, 0, 0)]

    def sector_at(self, x, y):
        return 1 if -20 <= x < -10 else 0


class SillLevel:
    """Floor 0 west of x = 8; east of it a step of 16 from y = `south` to 4, a sill of 64 beyond."""
    sectors = [(0, 128, 0), (16, 128, 0), (64, 128, 0)]

    def __init__(self, south):
        self.south = south

    def sector_at(self, x, y):
        return 0 if x < 8 else (1 if self.south <= y < 4 else 2)


class SliverLevel:
    """Floor 0 west of x = 8, a sliver 4 wide at floor 4, then floor `beyond`."""
    def __init__(self, beyond):
        self.sectors = [(0, 128, 0), (4, 128, 0), (beyond, 128, 0)]

    def sector_at(self, x, y):
        return 0 if x < 8 else (1 if x < 12 else 2)


class WallAcross:
    """A line DOOM's player cannot cross, north to south at x = `x`."""
    def __init__(self, x):
        self.x = x

    def meets_box(self, x0, y0, x1, y1):
        return x0 < self.x < x1


def stance_faults():
    faults = []
    if walkcheck.doom_walks_up(TrenchLevel(0), 8, 0, 1, 0, 0):
        faults.append("DOOM's player stands in a trench 8 wide")
    if not walkcheck.doom_walks_up(TrenchLevel(-64), 8, 0, 1, 0, 0):
        faults.append("DOOM's player does not stand in a room 72 wide")
    shut = ShutDoorLevel()
    if walkcheck.doom_walks_up(shut, 8, 0, 1, 0, 0) or not walkcheck.doom_walks_up(shut, 40, 0, 1, 0, 0):
        faults.append("DOOM's player stands in a shut door's way or not clear of it")
    if walkcheck.doom_walks_up(SillLevel(-8), 8, -2, 1, 0, 0) or not walkcheck.doom_walks_up(SillLevel(-200), 8, -40, 1, 0, 0):
        faults.append("DOOM's player walks up a narrow step beside a sill, or not up a wide one")
    if walkcheck.doom_walks_up(SliverLevel(32), 8, 0, 1, 0, 0) or not walkcheck.doom_walks_up(SliverLevel(28), 8, 0, 1, 0, 0):
        faults.append("DOOM's player walks over a sliver to a floor 28 above it, or not to one 24 above")
    room = TrenchLevel(-64)
    if walkcheck.doom_walks_up(room, 8, 0, 1, 0, 0, WallAcross(30)) or not walkcheck.doom_walks_up(room, 8, 0, 1, 0, 0, WallAcross(60)):
        faults.append("DOOM's player walks through a wall 22 past the step, or not up to one 52 past it")
    return faults


def two_rooms_wad(rise, ceiling):
    """Room A (x 0..256, floor 0, ceiling 128) and room B (x 256..512, floor `rise`)."""
    verts = [(0, 0), (0, 256), (256, 256), (256, 0), (512, 256), (512, 0)]
    # v1, v2, front side, back side; the front lies right of v1 -> v2
    lines = [(0, 1, 0, -1), (1, 2, 1, -1), (3, 0, 2, -1), (2, 4, 3, -1), (4, 5, 4, -1), (5, 3, 5, -1),
             (3, 2, 6, 7)]
    side_sectors = [0, 0, 0, 1, 1, 1, 1, 0]
    lumps = [
        ('MAP01', b''),
        ('THINGS', struct.pack('<hhhHH', 64, 128, 0, 1, 7)),
        ('LINEDEFS', b''.join(struct.pack('<HHHHHHH', a, b, 1 if back < 0 else 4, 0, 0, front,
                                          0xFFFF if back < 0 else back) for a, b, front, back in lines)),
        ('SIDEDEFS', b''.join(struct.pack('<hh8s8s8sH', 0, 0, b'-', b'-', b'WALL', s) for s in side_sectors)),
        ('VERTEXES', b''.join(struct.pack('<hh', x, y) for x, y in verts)),
        ('SECTORS', struct.pack('<hh8s8shHH', 0, 128, b'FLOOR', b'CEIL', 160, 0, 0) +
         struct.pack('<hh8s8shHH', rise, ceiling, b'FLOOR', b'CEIL', 160, 0, 0)),
    ]
    data, directory = b'', b''
    for name, body in lumps:
        directory += struct.pack('<II8s', 12 + len(data), len(body), name.encode())
        data += body
    return b'PWAD' + struct.pack('<II', len(lumps), 12 + len(data)) + data + directory


def two_rooms_map(rise, ceiling, extra=()):
    world = [rooms.box((0, 0, -16), (256, 256, 0), 'test/FLOOR'),
             rooms.box((256, 0, -16), (512, 256, rise), 'test/FLOOR'),
             rooms.box((0, 0, 128), (256, 256, 144), 'test/CEIL'),
             rooms.box((256, 0, ceiling), (512, 256, ceiling + 16), 'test/CEIL')]
    world += rooms.shell((0, 0, -16), (512, 256, 144), 'test/WALL')[2:]
    return '\n'.join([rooms.entity({'classname': 'worldspawn'}, world + list(extra)),
                      rooms.entity({'classname': 'info_player_start', 'origin': '64 128 8'})]) + '\n'


def ramp(run, rise, material='common/player_clip'):
    """A wedge against the step at x = 256, rising `rise` over `run` units."""
    x = 256 - run
    return rooms.brush([
        (((0, 0, 0), (1, 0, 0), (0, 1, 0)), material),
        (((256, 0, 0), (256, 0, 1), (256, 1, 0)), material),
        (((0, 0, 0), (0, 0, 1), (1, 0, 0)), material),
        (((0, 256, 0), (1, 256, 0), (0, 256, 1)), material),
        (((256, 0, rise), (x, 0, 0), (x, 256, 0)), material),
    ])


def run(tmp, name, rise, ceiling, extra=()):
    wad, path = os.path.join(tmp, name + '.wad'), os.path.join(tmp, name + '.map')
    with open(wad, 'wb') as f:
        f.write(two_rooms_wad(rise, ceiling))
    with open(path, 'w') as f:
        f.write(two_rooms_map(rise, ceiling, extra))
    p = subprocess.run([sys.executable, os.path.join(HERE, 'walkcheck.py'), wad, 'map01', path],
                       stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    print('%s:\n%s' % (name, p.stdout))
    return p.returncode, p.stdout


def main():
    portal = rooms.box((254, 0, 0), (258, 256, 128), 'common/nodraw', {'-x': 'editor/visportal'})
    cases = [
        ('step16', 16, 128, (), 0, '1 walkable'),
        ('step16portal', 16, 128, (portal,), 0, '1 walkable'),
        ('step24', 24, 128, (), 1, 'a rise of 24.0'),
        ('step24ramp', 24, 128, (ramp(48, 24),), 0, '1 walkable'),
        ('step24steep', 24, 128, (ramp(12, 24),), 1, 'ground too steep'),
        ('lowceiling', 16, 80, (), 1, 'headroom of 64.0'),
    ]
    faults = stance_faults()
    with tempfile.TemporaryDirectory() as tmp:
        for name, rise, ceiling, extra, code, expected in cases:
            rc, out = run(tmp, name, rise, ceiling, extra)
            if rc != code or expected not in out:
                faults.append('%s: exit %d, expected %d and "%s"' % (name, rc, code, expected))
        p = subprocess.run([sys.executable, os.path.join(HERE, 'walkcheck.py'), os.path.join(tmp, 'step16.wad'),
                            'map01', os.path.join(tmp, 'missing.map')], stdout=subprocess.PIPE,
                           stderr=subprocess.STDOUT, text=True)
        if p.returncode != 2:
            faults.append('a missing map should be bad input, got %d' % p.returncode)
    for f in faults:
        print('FAULT: ' + f)
    return 1 if faults else 0


if __name__ == '__main__':
    sys.exit(main())
