#!/usr/bin/env python3
"""Draws the front-end's icons (16 x 16 and 32 x 32, 4-bit colour with a mask).

The pictures are kept here as character grids so they can be reviewed and changed
in text; run this script to rewrite the .ico files in frontend/app/resources/.
"""
import os
import struct

# Standard 16-colour palette (index: (r, g, b)).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
# Grid characters: '.' transparent, others map to palette indices.
COLOURS = {'k': 0, 'r': 1, 'g': 2, 'o': 3, 'n': 4, 'p': 5, 't': 6, 's': 7,
           'd': 8, 'R': 9, 'G': 10, 'Y': 11, 'B': 12, 'M': 13, 'C': 14, 'W': 15}

ICONS = {
    'blank': ["." * 16] * 16,
    'tick': [
        "................",
        "................",
        "..............B.",
        ".............BB.",
        "............BBn.",
        "...........BBn..",
        "..........BBn...",
        ".B.......BBn....",
        ".BB.....BBn.....",
        ".nBB...BBn......",
        "..nBB.BBn.......",
        "...nBBBn........",
        "....nBn.........",
        ".....n..........",
        "................",
        "................",
    ],
    'cross': [
        "................",
        "................",
        "..RR........RR..",
        "..RRR......RRR..",
        "...RRR....RRR...",
        "....RRR..RRR....",
        ".....RRRRRR.....",
        "......RRRR......",
        "......RRRR......",
        ".....RRRRRR.....",
        "....RRR..RRR....",
        "...RRR....RRR...",
        "..RRR......RRR..",
        "..RR........RR..",
        "................",
        "................",
    ],
    'folder': [
        "................",
        "................",
        "..kkkkk.........",
        ".kYYYYYk........",
        "kYYYYYYYkkkkkkk.",
        "kYWWWWWWWWWWWYk.",
        "kYWYYYYYYYYYYok.",
        "kYWYYYYYYYYYYok.",
        "kYWYYYYYYYYYYok.",
        "kYWYYYYYYYYYYok.",
        "kYWYYYYYYYYYYok.",
        "kYWYYYYYYYYYYok.",
        "kYooooooooooook.",
        ".kkkkkkkkkkkkkk.",
        "................",
        "................",
    ],
    'unchecked': [
        "................",
        "................",
        "..dddddddddddd..",
        "..dWWWWWWWWWWk..",
        "..dWWWWWWWWWWk..",
        "..dWWWWWWWWWWk..",
        "..dWWWWWWWWWWk..",
        "..dWWWWWWWWWWk..",
        "..dWWWWWWWWWWk..",
        "..dWWWWWWWWWWk..",
        "..dWWWWWWWWWWk..",
        "..dWWWWWWWWWWk..",
        "..dWWWWWWWWWWk..",
        "..dkkkkkkkkkkk..",
        "................",
        "................",
    ],
    'checked': [
        "................",
        "................",
        "..dddddddddddd..",
        "..dWWWWWWWWWWk..",
        "..dWWWWWWWWkWk..",
        "..dWWWWWWWkkWk..",
        "..dWWWWWWkkkWk..",
        "..dWkWWWkkkWWk..",
        "..dWkkWkkkWWWk..",
        "..dWkkkkkWWWWk..",
        "..dWWkkkWWWWWk..",
        "..dWWWkWWWWWWk..",
        "..dWWWWWWWWWWk..",
        "..dkkkkkkkkkkk..",
        "................",
        "................",
    ],
    'arrow': [
        "................",
        "................",
        "................",
        ".........k......",
        ".........kk.....",
        ".........kGk....",
        "kkkkkkkkkkGGk...",
        "kGGGGGGGGGGGGk..",
        "kgggggggggggggk.",
        "kkkkkkkkkkgggk..",
        ".........kggk...",
        ".........kgk....",
        ".........kk.....",
        ".........k......",
        "................",
        "................",
    ],
    'app': [
        "................",
        ".kkkkkkkkkkkkkk.",
        ".kRRRRRRRRRRRRk.",
        ".kRkkRRRRkkRRRk.",
        ".kRkkRRRkkRRRRk.",
        ".kRkkRRkkRRRRRk.",
        ".kRkkRkkRRRRRRk.",
        ".kRkkkkRRRRRRRk.",
        ".kRkkkkRRRRRRRk.",
        ".kRkkRkkRRRRRRk.",
        ".kRkkRRkkRRRRRk.",
        ".kRkkRRRkkRRRRk.",
        ".kRkkRRRRkkRRRk.",
        ".kRRRRRRRRRRRRk.",
        ".kkkkkkkkkkkkkk.",
        "................",
    ],
}

FILES = {'blank': 'blank.ico', 'tick': 'tick.ico', 'cross': 'cross.ico',
         'folder': 'folder.ico', 'unchecked': 'unchecked.ico',
         'checked': 'checked.ico', 'arrow': 'arrow.ico', 'app': 'Kolvanta.ico'}


def scaled(grid, factor):
    return [''.join(ch * factor for ch in row) for row in grid for _ in range(factor)]


def image(grid):
    size = len(grid)
    xor_stride = ((size * 4 + 31) // 32) * 4
    and_stride = ((size + 31) // 32) * 4
    xor = bytearray()
    mask = bytearray()
    for row in reversed(grid):  # bottom-up
        line = bytearray(xor_stride)
        bits = bytearray(and_stride)
        for x, ch in enumerate(row):
            index = 0 if ch == '.' else COLOURS[ch]
            line[x // 2] |= index << (4 if x % 2 == 0 else 0)
            if ch == '.':
                bits[x // 8] |= 0x80 >> (x % 8)
        xor += line
        mask += bits
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0,
                         len(xor) + len(mask), 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    return size, header + palette + bytes(xor) + bytes(mask)


def write_icon(path, grid):
    images = [image(grid), image(scaled(grid, 2))]
    data = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    body = b''
    for size, blob in images:
        data += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(blob), offset + len(body))
        body += blob
    with open(path, 'wb') as out:
        out.write(data + body)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    target = os.path.join(here, '..', 'frontend', 'app', 'resources')
    for name, grid in ICONS.items():
        assert len(grid) == 16 and all(len(row) == 16 for row in grid), name
        write_icon(os.path.join(target, FILES[name]), grid)


if __name__ == '__main__':
    main()
