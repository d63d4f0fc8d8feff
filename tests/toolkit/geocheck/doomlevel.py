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
        self.nodes = []      # (x, y, dx, dy, right child, left child); 0x8000 marks a subsector
        self.subsector_sectors = []  # the sector of each subsector's first seg, or -1

    def sector_at(self, x, y):
        """The sector the game puts at (x, y): down the node tree as the renderer goes,
        to a subsector, whose first seg names the sector. -1 without usable nodes."""
        if not self.nodes or not self.subsector_sectors:
            return -1
        child = len(self.nodes) - 1
        for _ in range(len(self.nodes) + 1):
            nx, ny, dx, dy, right, left = self.nodes[child]
            # Right of the partition is the front; on it, the back (as the game decides).
            child = right if (y - ny) * dx < (x - nx) * dy else left
            if child & 0x8000:
                child &= 0x7FFF
                return self.subsector_sectors[child] if child < len(self.subsector_sectors) else -1
            if child >= len(self.nodes):
                return -1
        return -1


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
    _read_nodes(level, found, sector_of)
    return level


def _read_nodes(level, found, sector_of):
    if not all(n in found for n in ('SEGS', 'SSECTORS', 'NODES')):
        return
    raw_lines = list(struct.iter_unpack('<HHHHHHH', _whole(found['LINEDEFS'], 14)))
    segs = list(struct.iter_unpack('<HHhHhh', _whole(found['SEGS'], 12)))
    for count, first in struct.iter_unpack('<HH', _whole(found['SSECTORS'], 4)):
        sector = -1
        if count > 0 and first < len(segs):
            _v1, _v2, _angle, line, side, _offset = segs[first]
            if line < len(raw_lines):
                sector = sector_of(raw_lines[line][6 if side else 5])
        level.subsector_sectors.append(sector)
    level.nodes = [(x, y, dx, dy, right, left)
                   for x, y, dx, dy, *_box, right, left in struct.iter_unpack('<hhhh8hHH', _whole(found['NODES'], 28))]


def _whole(data, record):
    return data[:len(data) - len(data) % record]
