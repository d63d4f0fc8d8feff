"""The DOOM view scripts without the port: the PWAD that moves the player start keeps every
other lump as it was, the demo turns exactly to the asked angle, the floor lookup follows the
nodes, and the pairing's view list and crops. Small wads are built inline."""
import os
import struct
import sys
import tempfile
import unittest
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', '..', 'scripts', 'doomview'))
import doomview  # noqa: E402
import doomwad  # noqa: E402
import pairviews  # noqa: E402

THING = struct.Struct('<hhhHH')


def wad_bytes(kind, lumps):
    data, directory = b'', b''
    for name, body in lumps:
        directory += struct.pack('<II8s', 12 + len(data), len(body), name.encode())
        data += body
    return kind + struct.pack('<II', len(lumps), 12 + len(data)) + data + directory


def two_room_level(things):
    """Two square rooms side by side (x 0..128 floor 0, x 128..256 floor 24), split by one
    node on x = 128; every lump's bytes are distinct so a swap would show."""
    verts = [(0, 0), (0, 128), (128, 128), (128, 0), (256, 128), (256, 0)]
    lines = [(0, 1, 0xFFFF), (1, 2, 0xFFFF), (2, 3, 4), (3, 0, 0xFFFF), (2, 4, 0xFFFF), (4, 5, 0xFFFF),
             (5, 3, 0xFFFF)]
    sides = [0, 0, 0, 0, 1, 1, 1, 1]   # sector of each side; the shared line has sides 2 and 4
    front = [0, 1, 2, 3, 5, 6, 7]
    linedefs = b''.join(struct.pack('<HHHHHHH', a, b, 1, 0, 0, f, back) for (a, b, back), f in zip(lines, front))
    sidedefs = b''.join(struct.pack('<hh8s8s8sH', 0, 0, b'-', b'-', b'WALL', s) for s in sides)
    sectors = (struct.pack('<hh8s8shHH', 0, 128, b'FLOOR', b'CEIL', 160, 0, 0)
               + struct.pack('<hh8s8shHH', 24, 128, b'FLOOR', b'CEIL', 160, 0, 0))
    # Subsector 0 is the west room (its first seg on line 0), subsector 1 the east one (line 4).
    segs = struct.pack('<HHhHhh', 0, 1, 0x4000, 0, 0, 0) + struct.pack('<HHhHhh', 2, 4, 0, 4, 0, 0)
    ssectors = struct.pack('<HH', 1, 0) + struct.pack('<HH', 1, 1)
    # Partition from (128, 0) going north: east of it is the right (front) child.
    nodes = struct.pack('<hhhh8hHH', 128, 0, 0, 128, *([0] * 8), 0x8001, 0x8000)
    return [('MAP01', b''), ('THINGS', b''.join(THING.pack(*t) for t in things)), ('LINEDEFS', linedefs),
            ('SIDEDEFS', sidedefs), ('VERTEXES', b''.join(struct.pack('<hh', *v) for v in verts)),
            ('SEGS', segs), ('SSECTORS', ssectors), ('NODES', nodes), ('SECTORS', sectors),
            ('REJECT', b'\x00'), ('BLOCKMAP', b'\x01\x02\x03\x04')]


THINGS = [(64, 64, 90, 1, 7), (32, 32, 0, 3004, 7), (96, 96, 180, 1, 7), (200, 64, 0, 2, 7)]


class PwadTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.source = os.path.join(self.folder.name, 'source.wad')
        self.level = two_room_level(THINGS)
        with open(self.source, 'wb') as f:
            f.write(wad_bytes(b'IWAD', [('PLAYPAL', b'\x07' * 16)] + self.level + [('MAP02', b''), ('ENDOOM', b'x')]))

    def tearDown(self):
        self.folder.cleanup()

    def test_moves_the_last_player_start_and_keeps_every_other_lump(self):
        kind, lumps = doomwad.read_wad(self.source)
        self.assertEqual(kind, b'IWAD')
        level = doomwad.level_lumps(lumps, 'map01')
        things = doomwad.move_player_start(dict(level)['THINGS'], 200, 100, 45)
        out = os.path.join(self.folder.name, 'view.wad')
        doomwad.write_pwad(out, doomwad.replace_lump(level, 'THINGS', things))

        kind, written = doomwad.read_wad(out)
        self.assertEqual(kind, b'PWAD')
        self.assertEqual([n for n, _ in written], [n for n, _ in self.level])
        for (name, data), (_, original) in zip(written, self.level):
            if name != 'THINGS':
                self.assertEqual(data, original, name)
        moved = list(THING.iter_unpack(dict(written)['THINGS']))
        # DOOM spawns player 1 at the last start; the earlier one stays (a voodoo doll).
        self.assertEqual(moved, [THINGS[0], THINGS[1], (200, 100, 45, 1, 7), THINGS[3]])
        self.assertEqual(sorted(os.listdir(self.folder.name)), ['source.wad', 'view.wad'])

    def test_faulty_levels_are_refused_with_a_message(self):
        _, lumps = doomwad.read_wad(self.source)
        with self.assertRaisesRegex(doomwad.WadError, 'MAP03 is not in'):
            doomwad.level_lumps(lumps, 'MAP03')
        with self.assertRaisesRegex(doomwad.WadError, 'has no NODES'):
            doomwad.level_lumps([l for l in lumps if l[0] != 'NODES'], 'MAP01')
        with self.assertRaisesRegex(doomwad.WadError, 'Hexen format'):
            doomwad.level_lumps(lumps[:-2] + [('BEHAVIOR', b'')], 'MAP01')
        with self.assertRaisesRegex(doomwad.WadError, 'no player 1 start'):
            doomwad.move_player_start(THING.pack(0, 0, 0, 3004, 7), 0, 0, 0)
        with self.assertRaisesRegex(doomwad.WadError, 'outside'):
            doomwad.move_player_start(THING.pack(0, 0, 0, 1, 7), 40000, 0, 0)
        with open(self.source, 'r+b') as f:
            f.truncate(40)
        with self.assertRaisesRegex(doomwad.WadError, 'directory does not fit'):
            doomwad.read_wad(self.source)

    def test_floor_follows_the_nodes(self):
        level = two_room_level(THINGS)
        self.assertEqual(doomwad.floor_at(level, 64, 64), 0)
        self.assertEqual(doomwad.floor_at(level, 200, 64), 24)
        # On the partition line DOOM takes the back (west) side.
        self.assertEqual(doomwad.floor_at(level, 128, 64), 0)


class DemoTest(unittest.TestCase):
    def tics(self, demo):
        self.assertEqual(demo[-1:], b'\x80')
        body = demo[13:-1]
        self.assertEqual(len(body) % 5, 0)
        return [struct.unpack('<bbhB', body[i:i + 5]) for i in range(0, len(body), 5)]

    def test_turns_from_the_start_angle_to_the_asked_one(self):
        for angle, start, turn in ((100, 90, 1820), (0, 0, 0), (359.9, 315, 8174), (-90, 270, 0), (45.5, 45, 91)):
            self.assertEqual(doomview.start_angle(angle), start)
            tics = self.tics(doomview.view_demo('MAP01', angle, False))
            self.assertEqual(tics[0], (0, 0, turn, 0), angle)
            self.assertTrue(all(t == (0, 0, 0, 0) for t in tics[1:]))

    def test_header_names_the_level_and_the_monsters(self):
        self.assertEqual(doomview.view_demo('map07', 0, False)[:13], bytes([111, 2, 1, 7, 0, 0, 0, 1, 0, 1, 0, 0, 0]))
        self.assertEqual(doomview.view_demo('E2M3', 0, True)[:13], bytes([111, 2, 2, 3, 0, 0, 0, 0, 0, 1, 0, 0, 0]))
        for bad in ('MAP', 'MAP100', 'E1', 'START'):
            with self.assertRaises(doomview.ViewError):
                doomview.level_numbers(bad)

    def test_png_holds_the_frame(self):
        rgb = bytes(i * 7 % 256 for i in range(32 * 24 * 3))
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, 'f.png')
            doomview.write_png(path, 32, 24, rgb)
            with open(path, 'rb') as f:
                data = f.read()
        self.assertEqual(data[:8], b'\x89PNG\r\n\x1a\n')
        self.assertEqual(struct.unpack('>II', data[16:24]), (32, 24))
        idat = data[data.index(b'IDAT') + 4:data.index(b'IEND') - 8]
        rows = zlib.decompress(idat)
        self.assertEqual(b''.join(rows[r * 97 + 1:(r + 1) * 97] for r in range(24)), rgb)


class PairTest(unittest.TestCase):
    def test_doom3_view_scales_the_eye_above_the_floor(self):
        self.assertEqual(pairviews.doom3_view(-192, -160, 0, 0, 1.5), '-288 -240 61.5 0')
        self.assertEqual(pairviews.doom3_view(560, -160, -90, -64, 1.5), '840 -240 -34.5 270')

    def test_crops_keep_the_shared_field_of_view(self):
        # A 4:3 DOOM 3 picture 90 degrees wide sees more above and below: its middle 16:10 band.
        self.assertEqual(pairviews.shared_crops((1280, 800), (640, 480), 90), ((1280, 800), (640, 400)))
        # A 16:9 one 106.26 degrees wide (tangent 4/3) sees more at the sides.
        self.assertEqual(pairviews.shared_crops((1280, 800), (1920, 1080), 106.26020470831197),
                         ((1280, 800), (1440, 900)))

    def test_views_file(self):
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, 'views.txt')
            with open(path, 'w') as f:
                f.write('# comment\nstart -192 -160 0  # note\n\nfirst-door 560 -160 22.5\n')
            self.assertEqual(pairviews.read_views(path), [('start', -192, -160, 0.0), ('first-door', 560, -160, 22.5)])
            for bad in ('start 1 2\n', 'start 1.5 2 0\n', 'a/b 1 2 0\n', 'a 1 2 0\na 3 4 0\n', '# none\n'):
                with open(path, 'w') as f:
                    f.write(bad)
                with self.assertRaises(pairviews.PairError, msg=bad):
                    pairviews.read_views(path)


if __name__ == '__main__':
    unittest.main()
