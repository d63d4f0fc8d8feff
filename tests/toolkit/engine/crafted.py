"""The crafted level of the runtime tests, its texture list and its texture package.

One row of rooms along x (DOOM units, y 0..256), and a closed room apart:

    sector 0  start room     x    0..256  player start at (64, 128) facing east
    sector 1  door           x  256..288  closed (ceiling on the floor); DR door lines on both sides
    sector 2  hall           x  288..416  line x=416: WR lift (88) tagged 1
    sector 3  hall           x  416..544
    sector 4  lift           x  544..672  tag 1, floor 64, lowers to 0
    sector 5  upper hall     x  672..800  floor 64; line x=800: WR teleport (97) tagged 2
    sector 6  upper hall     x  800..928  floor 64; line x=928: W1 exit (52)
    sector 7  upper hall     x  928..1056 floor 64
    sector 8  arrival room   x 0..256, y 512..768, tag 2, teleport destination at (128, 640) facing north

A row for a floor that lowers, y 1024..1280:

    sector 9  walk start     x    0..256  line x=256: W1 lower floor to lowest (38) tagged 3
    sector 10 hall           x  256..512  floor 0
    sector 11 raised floor   x  512..640  floor 64, tag 3: lowers to its neighbour's floor 0

A row for a keyed door, y 1536..1792:

    sector 12 key room       x    0..256  the blue keycard at (128, 1664)
    sector 13 blue door      x  256..288  closed; DR blue door lines (26) on both sides
    sector 14 behind         x  288..544

Every texture and flat is listed in CUSTOM.TEX as material `crafted/<NAME>`; the package
gives each its own colour, so a screenshot tells the door from the room behind it.
"""
import io
import struct
import zipfile

from rectlevel import Rect, RectLevel

START = (64, 128)
DOOR_SECTOR, LIFT_SECTOR, ARRIVAL_SECTOR = 1, 4, 8
WALK_LINE_X = 416    # the walk-over lift line
TELEPORT_LINE_X = 800
EXIT_LINE_X = 928
DESTINATION = (128, 640, 90)
LIFT_TRAVEL = 64
LOWER_LINE_X, LOWER_SECTOR, LOWER_TRAVEL, FLOOR_ROW_Y = 256, 11, 64, 1152
KEY_DOOR_SECTOR, KEY_DOOR_X, KEY_ROW_Y = 13, 256, 1664
BLUE_KEYCARD = (128, KEY_ROW_Y)

COLOURS = {
    'WALL': (150, 150, 150), 'STEP': (90, 90, 160), 'DOOR': (200, 40, 40), 'LIFT': (40, 180, 60),
    'FLOOR': (110, 80, 50), 'CEIL': (220, 220, 180), 'BLUEDOOR': (40, 60, 200),
}


def level():
    lv = RectLevel('MAP01')
    row = [(0, 256, 0, 128), (256, 288, 0, 0), (288, 416, 0, 128), (416, 544, 0, 128), (544, 672, 64, 192),
           (672, 800, 64, 192), (800, 928, 64, 192), (928, 1056, 64, 192)]
    for index, (x0, x1, floor, ceiling) in enumerate(row):
        step = {DOOR_SECTOR: 'DOOR', LIFT_SECTOR: 'LIFT'}.get(index, 'STEP')
        lv.add(Rect(x0, 0, x1, 256, floor, ceiling, tag=1 if index == LIFT_SECTOR else 0, step=step))
    lv.add(Rect(0, 512, 256, 768, 0, 128, tag=2))
    lv.special(256, 0, 256, 256, 1, front=0)
    lv.special(288, 0, 288, 256, 1, front=2)
    lv.special(WALK_LINE_X, 0, WALK_LINE_X, 256, 88, tag=1, front=2)
    lv.special(TELEPORT_LINE_X, 0, TELEPORT_LINE_X, 256, 97, tag=2, front=5)
    lv.special(EXIT_LINE_X, 0, EXIT_LINE_X, 256, 52, front=6)
    lv.thing(START[0], START[1], 0, 1)
    lv.thing(DESTINATION[0], DESTINATION[1], DESTINATION[2], 14)
    _floor_row(lv)
    _key_row(lv)
    return lv


def _floor_row(lv):
    y0, y1 = FLOOR_ROW_Y - 128, FLOOR_ROW_Y + 128
    start = lv.add(Rect(0, y0, LOWER_LINE_X, y1))
    lv.add(Rect(LOWER_LINE_X, y0, 512, y1))
    assert lv.add(Rect(512, y0, 640, y1, 64, 192, tag=3, step='LIFT')) == LOWER_SECTOR
    lv.special(LOWER_LINE_X, y0, LOWER_LINE_X, y1, 38, tag=3, front=start)


def _key_row(lv):
    y0, y1 = KEY_ROW_Y - 128, KEY_ROW_Y + 128
    before = lv.add(Rect(0, y0, KEY_DOOR_X, y1))
    assert lv.add(Rect(KEY_DOOR_X, y0, KEY_DOOR_X + 32, y1, 0, 0, step='BLUEDOOR')) == KEY_DOOR_SECTOR
    behind = lv.add(Rect(KEY_DOOR_X + 32, y0, 544, y1))
    lv.special(KEY_DOOR_X, y0, KEY_DOOR_X, y1, 26, front=before)
    lv.special(KEY_DOOR_X + 32, y0, KEY_DOOR_X + 32, y1, 26, front=behind)
    lv.thing(BLUE_KEYCARD[0], BLUE_KEYCARD[1], 0, 5)


def texture_list(lv):
    """CUSTOM.TEX for the level: every texture and flat as crafted/<NAME>."""
    walls, flats = lv.texture_names()
    lines = ['# crafted level textures']
    lines += ['texture %s 64 64 crafted/%s' % (n, n) for n in walls]
    lines += ['flat %s 64 64 crafted/flats/%s' % (n, n) for n in flats]
    return '\n'.join(lines) + '\n'


def tga(colour, size=64):
    """An uncompressed 24-bit TGA: the colour, with a darker checker of 16-texel cells."""
    header = struct.pack('<BBBHHBHHHHBB', 0, 0, 2, 0, 0, 0, 0, 0, size, size, 24, 0)
    r, g, b = colour
    dark = (b * 3 // 4, g * 3 // 4, r * 3 // 4)
    rows = []
    for y in range(size):
        rows.append(b''.join(bytes(dark if (x // 16 + y // 16) % 2 else (b, g, r)) for x in range(size)))
    return header + b''.join(rows)


def texture_package(lv):
    """A .pk4 (bytes) with one coloured image and one lit material per listed name."""
    walls, flats = lv.texture_names()
    names = ['crafted/%s' % n for n in walls] + ['crafted/flats/%s' % n for n in flats]
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, 'w') as z:
        mtr = ['// crafted level materials']
        for name in names:
            z.writestr('textures/%s.tga' % name, tga(COLOURS.get(name.rsplit('/', 1)[1], (255, 0, 255))))
            mtr.append('textures/%s\n{\n\tqer_editorimage textures/%s.tga\n\t{\n\t\tblend diffusemap\n'
                       '\t\tmap textures/%s.tga\n\t}\n\tbumpmap _flat\n}\n' % (name, name, name))
        z.writestr('materials/crafted.mtr', '\n'.join(mtr))
    return buffer.getvalue()
