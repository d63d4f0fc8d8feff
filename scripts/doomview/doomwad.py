"""The wad side of a DOOM view: one level's lumps read from a wad, the player 1 start
moved to a chosen place, a small PWAD that holds that level, and the floor height DOOM
puts under a point.

Deliberately not checked: the level's geometry (DOOM itself judges it), Hexen-format
levels (refused with a message, their things are laid out otherwise). Every fault is a
WadError with one line; the caller reports it. Nothing here keeps a file open."""
import os
import struct
import tempfile


class WadError(Exception):
    pass


# The lumps that follow a level's marker, in any order the editors leave them.
MAP_LUMPS = ('THINGS', 'LINEDEFS', 'SIDEDEFS', 'VERTEXES', 'SEGS', 'SSECTORS', 'NODES',
             'SECTORS', 'REJECT', 'BLOCKMAP', 'BEHAVIOR')
THING = struct.Struct('<hhhHH')   # x, y, angle, type, flags
PLAYER1_START = 1


def read_wad(path):
    """(kind, [(name, data)]) in directory order; kind is b'IWAD' or b'PWAD'."""
    try:
        with open(path, 'rb') as f:
            data = f.read()
    except OSError as e:
        raise WadError('cannot read %s: %s' % (path, e.strerror))
    if len(data) < 12 or data[:4] not in (b'IWAD', b'PWAD'):
        raise WadError('%s is not a wad' % path)
    count, at = struct.unpack_from('<II', data, 4)
    if at + 16 * count > len(data):
        raise WadError('%s: the lump directory does not fit in the file' % path)
    lumps = []
    for i in range(count):
        offset, size, raw = struct.unpack_from('<II8s', data, at + 16 * i)
        name = raw.split(b'\0')[0].decode('latin-1').upper()
        if offset + size > len(data):
            raise WadError('%s: lump %s lies outside the file' % (path, name))
        lumps.append((name, data[offset:offset + size]))
    return data[:4], lumps


def level_lumps(lumps, level):
    """The level's marker and map lumps, as DOOM finds them (the last marker of that name)."""
    level = level.upper()
    marker = max((i for i, (name, _) in enumerate(lumps) if name == level), default=-1)
    if marker < 0:
        raise WadError('level %s is not in the wad' % level)
    found = [lumps[marker]]
    for name, data in lumps[marker + 1:]:
        if name not in MAP_LUMPS or any(name == seen for seen, _ in found):
            break
        found.append((name, data))
    names = [name for name, _ in found]
    if 'BEHAVIOR' in names:
        raise WadError('level %s is in Hexen format, which is not supported' % level)
    for needed in ('THINGS', 'LINEDEFS', 'SIDEDEFS', 'VERTEXES', 'SEGS', 'SSECTORS', 'NODES', 'SECTORS'):
        if needed not in names:
            raise WadError('level %s has no %s' % (level, needed))
    return found


def move_player_start(things, x, y, angle):
    """THINGS with the player 1 start at (x, y) facing angle. DOOM spawns the player at
    the last player 1 start (earlier ones become voodoo dolls), so that one moves."""
    records = [list(t) for t in THING.iter_unpack(things[:len(things) - len(things) % THING.size])]
    starts = [i for i, t in enumerate(records) if t[3] == PLAYER1_START]
    if not starts:
        raise WadError('the level has no player 1 start')
    for value in (x, y):
        if not -32768 <= value <= 32767:
            raise WadError('%d lies outside DOOM\'s map coordinates' % value)
    records[starts[-1]][0:3] = [x, y, angle]
    return b''.join(THING.pack(*t) for t in records)


def replace_lump(lumps, name, data):
    return [(n, data if n == name else d) for n, d in lumps]


def write_pwad(path, lumps):
    """Writes a PWAD of these lumps: to a temporary file beside path, then renamed."""
    header = struct.Struct('<4sII')
    body = b''.join(data for _, data in lumps)
    directory = bytearray()
    offset = header.size
    for name, data in lumps:
        directory += struct.pack('<II8s', offset, len(data), name.encode('latin-1'))
        offset += len(data)
    content = header.pack(b'PWAD', len(lumps), header.size + len(body)) + body + directory
    folder = os.path.dirname(os.path.abspath(path))
    try:
        fd, temporary = tempfile.mkstemp(dir=folder, prefix='.doomview-', suffix='.tmp')
        try:
            with os.fdopen(fd, 'wb') as f:
                f.write(content)
            os.replace(temporary, path)
        except BaseException:
            os.unlink(temporary)
            raise
    except OSError as e:
        raise WadError('cannot write %s: %s' % (path, e.strerror))


def floor_at(lumps, x, y):
    """The floor height DOOM gives the point: down the node tree to a subsector, whose
    first seg's side names the sector."""
    lump = dict(lumps)
    nodes = list(struct.iter_unpack('<hhhh8hHH', _whole(lump['NODES'], 28)))
    subsectors = list(struct.iter_unpack('<HH', _whole(lump['SSECTORS'], 4)))
    segs = list(struct.iter_unpack('<HHhHhh', _whole(lump['SEGS'], 12)))
    lines = list(struct.iter_unpack('<HHHHHHH', _whole(lump['LINEDEFS'], 14)))
    sides = list(struct.iter_unpack('<hh8s8s8sH', _whole(lump['SIDEDEFS'], 30)))
    sectors = list(struct.iter_unpack('<hh8s8shHH', _whole(lump['SECTORS'], 26)))
    child = len(nodes) - 1 if nodes else 0x8000
    for _ in range(len(nodes) + 1):
        if child & 0x8000:
            break
        if child >= len(nodes):
            raise WadError('the level\'s nodes are broken')
        nx, ny, dx, dy, *_box, right, left = nodes[child]
        # On the partition line counts as its back, as DOOM decides.
        child = right if (y - ny) * dx < (x - nx) * dy else left
    try:
        count, first = subsectors[child & 0x7FFF]
        _v1, _v2, _angle, line, side, _offset = segs[first]
        sector = sides[lines[line][6 if side else 5]][5]
        return sectors[sector][0]
    except IndexError:
        raise WadError('the level\'s nodes do not lead to a sector at (%d, %d)' % (x, y))


def _whole(data, record):
    return data[:len(data) - len(data) % record]
