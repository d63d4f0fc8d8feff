"""A small reader for binary DOOM levels, written apart from the converter so the
geometry check does not share its faults. Raises LevelError with one line."""
import struct


class LevelError(Exception):
    pass


_MAP_LUMPS = ('THINGS', 'LINEDEFS', 'SIDEDEFS', 'VERTEXES', 'SEGS', 'SSECTORS', 'NODES', 'SECTORS',
              'REJECT', 'BLOCKMAP')


class Level:
    def __init__(self):
        self.vertices = []   # (x, y)
        self.lines = []      # (v1, v2, special, tag, front sector or -1, back sector or -1)
        self.sectors = []    # (floor, ceiling, tag)
        self.things = []     # (x, y, angle, type, flags)


def load(path, name):
    try:
        with open(path, 'rb') as f:
            data = f.read()
    except OSError as e:
        raise LevelError('cannot read %s: %s' % (path, e.strerror))
    if len(data) < 12 or data[:4] not in (b'IWAD', b'PWAD'):
        raise LevelError('%s is not a wad' % path)
    count, at = struct.unpack_from('<II', data, 4)
    if at + 16 * count > len(data):
        raise LevelError('%s: the lump directory does not fit in the file' % path)
    lumps = []
    for i in range(count):
        offset, size, raw = struct.unpack_from('<II8s', data, at + 16 * i)
        lumps.append((raw.split(b'\0')[0].decode('latin-1').upper(), offset, size))
    marker = max((i for i, l in enumerate(lumps) if l[0] == name.upper()), default=-1)
    if marker < 0:
        raise LevelError('level %s is not in %s' % (name.upper(), path))
    found = {}
    for lump in lumps[marker + 1:]:
        if lump[0] not in _MAP_LUMPS or lump[0] in found:
            break
        if lump[1] + lump[2] > len(data):
            raise LevelError('lump %s lies outside the file' % lump[0])
        found[lump[0]] = data[lump[1]:lump[1] + lump[2]]
    for needed in ('THINGS', 'LINEDEFS', 'SIDEDEFS', 'VERTEXES', 'SECTORS'):
        if needed not in found:
            raise LevelError('level %s has no %s' % (name.upper(), needed))
    level = Level()
    level.vertices = [v for v in struct.iter_unpack('<hh', _whole(found['VERTEXES'], 4))]
    level.sectors = [(f, c, t) for f, c, _fl, _cl, _li, _sp, t in struct.iter_unpack('<hh8s8shHH', _whole(found['SECTORS'], 26))]
    sides = [s[-1] for s in struct.iter_unpack('<hh8s8s8sH', _whole(found['SIDEDEFS'], 30))]

    def sector_of(side):
        if side == 0xFFFF or side >= len(sides) or sides[side] >= len(level.sectors):
            return -1
        return sides[side]

    for v1, v2, _flags, special, tag, front, back in struct.iter_unpack('<HHHHHHH', _whole(found['LINEDEFS'], 14)):
        if v1 < len(level.vertices) and v2 < len(level.vertices) and level.vertices[v1] != level.vertices[v2]:
            level.lines.append((v1, v2, special, tag, sector_of(front), sector_of(back)))
    level.things = list(struct.iter_unpack('<hhhHH', _whole(found['THINGS'], 10)))
    return level


def _whole(data, record):
    return data[:len(data) - len(data) % record]
