"""Writes the wad fuzzer's seeds into a folder: small crafted wads, and the smallest
level of a Freedoom wad cut out into a wad of its own."""
import os
import struct
import sys


def wad(lumps, kind=b'PWAD'):
    data = b''
    entries = []
    for name, body in lumps:
        entries.append((12 + len(data), len(body), name))
        data += body
    out = kind + struct.pack('<II', len(lumps), 12 + len(data)) + data
    for offset, size, name in entries:
        out += struct.pack('<II8s', offset, size, name.encode())
    return out


def square(marker='MAP01', nodes=True):
    verts = [(0, 0), (0, 128), (128, 128), (128, 0)]
    things = struct.pack('<hhhHH', 64, 64, 90, 1, 7)
    lines = b''.join(struct.pack('<HHHHHHH', i, (i + 1) % 4, 1, 0, 0, i, 0xFFFF) for i in range(4))
    sides = b''.join(struct.pack('<hh8s8s8sH', 0, 0, b'-', b'-', b'STARTAN3', 0) for _ in range(4))
    vertexes = b''.join(struct.pack('<hh', x, y) for x, y in verts)
    segs = b''.join(struct.pack('<HHhHHh', i, (i + 1) % 4, 0, i, 0, 0) for i in range(4))
    ssectors = struct.pack('<HH', 4, 0)
    node = struct.pack('<hhhh8h', 64, 0, 0, 128, *([0] * 8)) + struct.pack('<HH', 0x8000, 0x8000)
    sectors = struct.pack('<hh8s8shHH', 0, 128, b'FLOOR0_1', b'CEIL1_1', 160, 0, 0)
    lumps = [(marker, b''), ('THINGS', things), ('LINEDEFS', lines), ('SIDEDEFS', sides),
             ('VERTEXES', vertexes), ('SEGS', segs), ('SSECTORS', ssectors)]
    if nodes:
        lumps.append(('NODES', node))
    return lumps + [('SECTORS', sectors)]


def cut_level(path):
    """The smallest level of the wad at `path` as a PWAD of its own, or None."""
    try:
        with open(path, 'rb') as f:
            data = f.read()
    except OSError:
        return None
    count, at = struct.unpack_from('<II', data, 4)
    lumps = [struct.unpack_from('<II8s', data, at + 16 * i) for i in range(count)]
    names = [n.rstrip(b'\0').decode('latin-1') for _, _, n in lumps]
    best = None
    for i in range(count - 1):
        if names[i + 1] == 'THINGS':
            j = i + 1
            while j < count and names[j] in ('THINGS', 'LINEDEFS', 'SIDEDEFS', 'VERTEXES', 'SEGS', 'SSECTORS',
                                             'NODES', 'SECTORS', 'REJECT', 'BLOCKMAP'):
                j += 1
            level = [(names[k], data[lumps[k][0]:lumps[k][0] + lumps[k][1]]) for k in range(i, j)
                     if names[k] not in ('REJECT', 'BLOCKMAP')]
            size = sum(len(b) for _, b in level)
            if best is None or size < best[0]:
                best = (size, level)
    return wad(best[1]) if best else None


def main(out):
    os.makedirs(out, exist_ok=True)
    seeds = {
        'square.wad': wad(square()),
        'square-no-nodes.wad': wad(square(nodes=False)),
        'two-levels.wad': wad(square('E1M1') + square('E1M2'), b'IWAD'),
        'extended-nodes.wad': wad([(n, b'XNOD' + b if n == 'NODES' else b) for n, b in square()]),
        'udmf.wad': wad([('MAP01', b''), ('TEXTMAP', b'thing { x = 0; }'), ('ENDMAP', b'')]),
        'hexen.wad': wad(square() + [('BEHAVIOR', b'ACS\0')]),
    }
    level = cut_level('/usr/share/games/doom/freedoom2.wad')
    if level:
        seeds['freedoom-level.wad'] = level
    for name, body in seeds.items():
        with open(os.path.join(out, name), 'wb') as f:
            f.write(body)
    print(max(len(b) for b in seeds.values()))


if __name__ == '__main__':
    main(sys.argv[1])
