"""Reading the engine's screenshots (PNG) for checks, with the standard library only.

Only what the engine writes is read: 8-bit RGB or RGBA, not interlaced. Anything else
raises PngError with one line. A Picture holds rows of (r, g, b) tuples and answers the
few questions the checks ask: how many distinct colours, how bright, and which share of a
region is near a colour.
"""
import struct
import zlib


class PngError(Exception):
    pass


class Picture:
    def __init__(self, width, height, rows):
        self.width, self.height, self.rows = width, height, rows

    def region(self, x0, y0, x1, y1):
        """The pixels of the region given in fractions of the picture (0..1), left to right, top down."""
        xs = range(int(x0 * self.width), max(int(x0 * self.width) + 1, int(x1 * self.width)))
        ys = range(int(y0 * self.height), max(int(y0 * self.height) + 1, int(y1 * self.height)))
        return [self.rows[y][x] for y in ys for x in xs]

    def colours(self):
        return len({p for row in self.rows for p in row})

    def brightest(self):
        return max(max(p) for row in self.rows for p in row)

    def share_near(self, colour, region=(0, 0, 1, 1), tolerance=40):
        """The share of the region's pixels within `tolerance` of `colour` on every channel."""
        pixels = self.region(*region)
        near = sum(1 for p in pixels if all(abs(a - b) <= tolerance for a, b in zip(p, colour)))
        return near / len(pixels)

    def difference(self, other, region=(0, 0, 1, 1)):
        """The share of the region's pixels that differ by more than 24 on some channel."""
        a, b = self.region(*region), other.region(*region)
        return sum(1 for p, q in zip(a, b) if any(abs(x - y) > 24 for x, y in zip(p, q))) / len(a)


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    return a if pa <= pb and pa <= pc else (b if pb <= pc else c)


def _unfilter(data, width, height, channels):
    stride = width * channels
    rows, previous, pos = [], bytearray(stride), 0
    for _ in range(height):
        kind = data[pos]
        line = bytearray(data[pos + 1:pos + 1 + stride])
        pos += 1 + stride
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = previous[i]
            corner = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                line[i] = (line[i] + _paeth(left, up, corner)) & 255
            elif kind != 0:
                raise PngError('unknown PNG row filter %d' % kind)
        rows.append([tuple(line[x * channels:x * channels + 3]) for x in range(width)])
        previous = line
    return rows


def read(path):
    """The picture in a PNG file; raises PngError or OSError."""
    with open(path, 'rb') as f:
        data = f.read()
    if data[:8] != b'\x89PNG\r\n\x1a\n':
        raise PngError('%s is not a PNG file' % path)
    pos, header, idat = 8, None, b''
    while pos + 8 <= len(data):
        length, kind = struct.unpack('>I4s', data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b'IHDR':
            header = struct.unpack('>IIBBBBB', body)
        elif kind == b'IDAT':
            idat += body
        pos += 12 + length
    if header is None:
        raise PngError('%s has no header' % path)
    width, height, depth, colour_type, _, _, interlace = header
    channels = {2: 3, 6: 4}.get(colour_type)
    if depth != 8 or channels is None or interlace:
        raise PngError('%s: only 8-bit RGB or RGBA without interlacing is read' % path)
    try:
        raw = zlib.decompress(idat)
    except zlib.error as e:
        raise PngError('%s: %s' % (path, e))
    if len(raw) < height * (1 + width * channels):
        raise PngError('%s is cut short' % path)
    return Picture(width, height, _unfilter(raw, width, height, channels))
