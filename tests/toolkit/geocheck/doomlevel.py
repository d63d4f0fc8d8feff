"""A small reader for binary DOOM levels, written apart from the converter so the
geometry and texel checks do not share its faults. Raises LevelError with one line.

Wad keeps the file's bytes and lump directory; load() decodes one level. Vertex and
side indices are checked here once; records pointing outside their tables are dropped
(lines) or marked -1 (sides, sectors). Texture names are kept as the wad spells them,
upper-cased."""
import collections
import struct


class LevelError(Exception):
    pass


_MAP_LUMPS = ('THINGS', 'LINEDEFS', 'SIDEDEFS', 'VERTEXES', 'SEGS', 'SSECTORS', 'NODES', 'SECTORS',
              'REJECT', 'BLOCKMAP')


Linedef = collections.namedtuple('Linedef', 'v1 v2 flags special tag right left')  # sides or -1
Sidedef = collections.namedtuple('Sidedef', 'x_offset y_offset upper lower middle sector')  # sector or -1
Sector = collections.namedtuple('Sector', 'floor ceiling floor_flat ceiling_flat light special tag')


class Wad:
    """A wad file's bytes and its lump directory [(NAME, offset, size)] in file order."""

    def __init__(self, path):
        try:
            with open(path, 'rb') as f:
                self.data = f.read()
        except OSError as e:
            raise LevelError('cannot read %s: %s' % (path, e.strerror))
        self.path = path
        if len(self.data) < 12 or self.data[:4] not in (b'IWAD', b'PWAD'):
            raise LevelError('%s is not a wad' % path)
        count, at = struct.unpack_from('<II', self.data, 4)
        if at + 16 * count > len(self.data):
            raise LevelError('%s: the lump directory does not fit in the file' % path)
        self.lumps = []
        for i in range(count):
            offset, size, raw = struct.unpack_from('<II8s', self.data, at + 16 * i)
            self.lumps.append((lump_name(raw), offset, size))

    def lump(self, index):
        name, offset, size = self.lumps[index]
        if offset + size > len(self.data):
            raise LevelError('lump %s lies outside the file' % name)
        return self.data[offset:offset + size]

    def last(self, name):
        """The bytes of the last lump called `name` (the one the game uses), or None."""
        for i in range(len(self.lumps) - 1, -1, -1):
            if self.lumps[i][0] == name:
                return self.lump(i)
        return None


def lump_name(raw):
    return raw.split(b'\0')[0].decode('latin-1').upper()


class Level:
    def __init__(self):
        self.vertices = []   # (x, y)
        self.lines = []      # (v1, v2, special, tag, front sector or -1, back sector or -1)
        self.sectors = []    # (floor, ceiling, tag)
        self.linedefs = []   # Linedef, every line with valid distinct vertices, in lump order
        self.line_numbers = []  # each of those lines' index in the LINEDEFS lump
        self.line_records = []  # Linedef, every record of the lump (its index is DOOM's line number)
        self.sidedefs = []   # Sidedef
        self.sector_records = []  # Sector
        self.things = []     # (x, y, angle, type, flags)
        self.nodes = []      # (x, y, dx, dy, right child, left child); 0x8000 marks a subsector
        self.subsector_sectors = []  # the sector of each subsector's first seg, or -1

    def sector_at(self, x, y):
        """The sector the game puts at (x, y): down the node tree as the renderer goes,
        to a subsector, whose first seg names the sector. -1 without usable nodes."""
        subsector = self.subsector_at(x, y)
        return self.subsector_sectors[subsector] if subsector >= 0 else -1

    def subsector_at(self, x, y):
        """The subsector (a convex region) holding (x, y), or -1 without usable nodes."""
        if not self.nodes or not self.subsector_sectors:
            return -1
        child = len(self.nodes) - 1
        for _ in range(len(self.nodes) + 1):
            nx, ny, dx, dy, right, left = self.nodes[child]
            # Right of the partition is the front; on it, the back (as the game decides).
            child = right if (y - ny) * dx < (x - nx) * dy else left
            if child & 0x8000:
                child &= 0x7FFF
                return child if child < len(self.subsector_sectors) else -1
            if child >= len(self.nodes):
                return -1
        return -1


def load(path, name):
    return load_from(Wad(path), name)


def load_from(wad, name):
    lumps = wad.lumps
    marker = max((i for i, l in enumerate(lumps) if l[0] == name.upper()), default=-1)
    if marker < 0:
        raise LevelError('level %s is not in %s' % (name.upper(), wad.path))
    found = {}
    for index in range(marker + 1, len(lumps)):
        entry = lumps[index][0]
        if entry not in _MAP_LUMPS or entry in found:
            break
        found[entry] = wad.lump(index)
    for needed in ('THINGS', 'LINEDEFS', 'SIDEDEFS', 'VERTEXES', 'SECTORS'):
        if needed not in found:
            raise LevelError('level %s has no %s' % (name.upper(), needed))
    level = Level()
    level.vertices = [v for v in struct.iter_unpack('<hh', _whole(found['VERTEXES'], 4))]
    for f, c, ff, cf, light, special, t in struct.iter_unpack('<hh8s8shHH', _whole(found['SECTORS'], 26)):
        level.sectors.append((f, c, t))
        level.sector_records.append(Sector(f, c, lump_name(ff), lump_name(cf), light, special, t))
    for xo, yo, upper, lower, middle, sector in struct.iter_unpack('<hh8s8s8sH', _whole(found['SIDEDEFS'], 30)):
        level.sidedefs.append(Sidedef(xo, yo, lump_name(upper), lump_name(lower), lump_name(middle),
                                      sector if sector < len(level.sectors) else -1))

    def side_index(side):
        return side if side < len(level.sidedefs) else -1

    def sector_of(side):
        return level.sidedefs[side].sector if 0 <= side_index(side) else -1

    raw_lines = struct.iter_unpack('<HHHHHHH', _whole(found['LINEDEFS'], 14))
    for number, (v1, v2, flags, special, tag, front, back) in enumerate(raw_lines):
        level.line_records.append(Linedef(v1, v2, flags, special, tag, side_index(front), side_index(back)))
        if v1 < len(level.vertices) and v2 < len(level.vertices) and level.vertices[v1] != level.vertices[v2]:
            level.lines.append((v1, v2, special, tag, sector_of(front), sector_of(back)))
            level.linedefs.append(Linedef(v1, v2, flags, special, tag, side_index(front), side_index(back)))
            level.line_numbers.append(number)
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
