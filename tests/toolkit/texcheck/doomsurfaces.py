"""What DOOM draws at the start of a level, as sample points with the texel shown there.

Every sidedef's upper, lower and middle part and every sector's floor and ceiling
is sampled at texel centres on a lattice of `stride` texels (centred on the surface,
so a small surface still gets a sample). The texel follows the renderer's rules:
  - column = distance from the side's start vertex (v1 on the front, v2 on the back)
    along the linedef + x offset; the node builder's rounded seg vertices and offsets
    are not modelled (the wall is the linedef);
  - row = anchor + y offset - height, the anchor by part and pegging flag; both wrap
    by the texture's own width and height (the port rule, not vanilla's power-of-two
    column mask and 128-row repeat);
  - a line is two-sided when it has the two-sided flag and a second side; when both
    ceilings are F_SKY1 the front's top is the back's ceiling (no upper, and an unpegged
    lower hangs from it); "-", unknown names and texture 0 draw nothing;
  - a two-sided middle is drawn once vertically, inside the opening (highest floor to
    lowest ceiling), repeated horizontally, and only its opaque texels are sampled;
  - flats at world (x, -y) mod 64, anchored at the origin; F_SKY1 is not sampled;
    a point belongs to the sector the BSP puts it in (even-odd over the sector's lines
    when the level has no nodes).
Sample = (kind, name, is_flat, x, y, z, viewer normal (nx, ny, nz), column, row, where),
in DOOM units; the viewer normal points from the surface to the side DOOM sees it from.
"""
import math

from doomtextures import FLAT_SIZE, SKY_FLAT

ML_DONTPEGTOP = 8
ML_DONTPEGBOTTOM = 16
ML_TWOSIDED = 4


def lattice(count, stride):
    """Indices 0..count-1 every `stride`, centred so that any count >= 1 gets one."""
    return range(((count - 1) % stride) // 2, count, stride) if count > 0 else range(0)


class Sampler:
    def __init__(self, level, textures, stride):
        self.level = level
        self.textures = textures
        self.stride = stride
        self.samples = []
        self.unknown_names = set()

    def run(self):
        for index, line in enumerate(self.level.linedefs):
            self._line(index, line)
        for index, sector in enumerate(self.level.sector_records):
            if sector.ceiling > sector.floor:
                self._flat(index, sector.floor, sector.floor_flat, 'floor', 1)
                self._flat(index, sector.ceiling, sector.ceiling_flat, 'ceiling', -1)
        return self.samples

    def _texture(self, name):
        if name == '-':
            return None
        texture = self.textures.wall(name)
        if texture is None and name not in self.textures.walls:
            self.unknown_names.add(name)
        return texture

    def _line(self, index, line):
        level = self.level
        for label, this, other, start, end in (('front', line.right, line.left, line.v1, line.v2),
                                               ('back', line.left, line.right, line.v2, line.v1)):
            if this < 0 or level.sidedefs[this].sector < 0:
                continue
            side = level.sidedefs[this]
            front = level.sector_records[side.sector]
            back = None
            if line.flags & ML_TWOSIDED and other >= 0 and level.sidedefs[other].sector >= 0:
                back = level.sector_records[level.sidedefs[other].sector]
            wall = Wall(level.vertices[start], level.vertices[end], side, 'line %d %s' % (index, label))
            if back is None:
                texture = self._texture(side.middle)
                if texture:
                    anchor = front.floor + texture.height if line.flags & ML_DONTPEGBOTTOM else front.ceiling
                    self._wall_part(wall, 'middle', texture, front.floor, front.ceiling, anchor)
                continue
            top = front.ceiling
            if front.ceiling_flat == SKY_FLAT and back.ceiling_flat == SKY_FLAT:
                top = back.ceiling
            texture = self._texture(side.upper)
            if texture and back.ceiling < top:
                anchor = top if line.flags & ML_DONTPEGTOP else back.ceiling + texture.height
                self._wall_part(wall, 'upper', texture, max(back.ceiling, front.floor), top, anchor)
            texture = self._texture(side.lower)
            if texture and back.floor > front.floor:
                anchor = top if line.flags & ML_DONTPEGBOTTOM else back.floor
                self._wall_part(wall, 'lower', texture, front.floor, min(back.floor, top), anchor)
            texture = self._texture(side.middle)
            if texture:
                bottom, ceiling = max(front.floor, back.floor), min(front.ceiling, back.ceiling)
                anchor = bottom + texture.height if line.flags & ML_DONTPEGBOTTOM else ceiling
                self._wall_part(wall, 'masked', texture, bottom, ceiling, anchor)

    def _wall_part(self, wall, kind, texture, bottom, top, anchor):
        anchor += wall.side.y_offset
        if kind == 'masked':   # drawn once: rows 0..height-1 below the anchor
            bottom, top = max(bottom, anchor - texture.height), min(top, anchor)
        if top <= bottom or wall.length <= 0.5:
            return
        columns = int(math.floor(wall.length - 0.5)) + 1
        w, h = texture.width, texture.height
        for k in lattice(columns, self.stride):
            column = (k + wall.side.x_offset) % w
            x, y = wall.x + wall.dx * (k + 0.5), wall.y + wall.dy * (k + 0.5)
            for m in lattice(top - bottom, self.stride):
                z = bottom + m
                row = anchor - z - 1
                if kind == 'masked' and not self.textures.opaque(texture, column, row):
                    continue
                self.samples.append((kind, texture.name, False, x, y, z + 0.5, wall.dy, -wall.dx, 0.0,
                                     column, row % h, wall.where))

    def _flat(self, sector, height, flat, kind, up):
        if flat == SKY_FLAT:
            return
        if flat not in self.textures.flats:
            self.unknown_names.add(flat)
            return
        edges = [(self.level.vertices[v1], self.level.vertices[v2])
                 for v1, v2, _sp, _tag, front, back in self.level.lines if (front == sector) != (back == sector)]
        if not edges:
            return
        xs = [p[0] for e in edges for p in e]
        ys = [p[1] for e in edges for p in e]
        x0, y0 = min(xs), min(ys)
        first_column = x0 + ((max(xs) - x0 - 1) % self.stride) // 2
        where = 'sector %d %s' % (sector, kind)
        for j in lattice(max(ys) - y0, self.stride):
            y = y0 + j + 0.5
            crossings = sorted(x1 + (y - y1) * (x2 - x1) / (y2 - y1)
                               for (x1, y1), (x2, y2) in edges if (y1 > y) != (y2 > y))
            row = (-int(y0 + j) - 1) % FLAT_SIZE
            for a, b in zip(crossings[0::2], crossings[1::2]):
                first = math.ceil(a - 0.5)
                first += (first_column - first) % self.stride
                columns = range(first, int(math.floor(b - 0.5)) + 1, self.stride)
                for i in self._in_sector(columns, y, sector):
                    self.samples.append((kind, flat, True, i + 0.5, y, float(height), 0.0, 0.0, float(up),
                                         i % FLAT_SIZE, row, where))

    def _in_sector(self, columns, y, sector):
        """The columns of a row whose texel centres the BSP puts in the sector. Subsectors are
        convex, so a run whose two ends share one subsector lies wholly in it."""
        if not columns:
            return []
        ends = [self.level.subsector_at(columns[0] + 0.5, y), self.level.subsector_at(columns[-1] + 0.5, y)]
        if ends[0] == ends[1] or len(columns) <= 2:
            kept = []
            for i, subsector in zip((columns[0], columns[-1]), ends):
                if subsector < 0 or self.level.subsector_sectors[subsector] == sector:
                    kept.append(i)
            if ends[0] == ends[1]:
                return list(columns) if kept else []
            return sorted(set(kept))
        middle = len(columns) // 2
        return self._in_sector(columns[:middle], y, sector) + self._in_sector(columns[middle:], y, sector)


class Wall:
    """A side's wall line from its start vertex, with the unit direction along it."""

    def __init__(self, start, end, side, where):
        self.x, self.y = start
        self.length = math.hypot(end[0] - start[0], end[1] - start[1])
        self.dx, self.dy = (end[0] - start[0]) / self.length, (end[1] - start[1]) / self.length
        self.side = side
        self.where = where
