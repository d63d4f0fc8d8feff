"""A DOOM level's sectors as the game links them, and DOOM's height and light rules.

Each sector keeps its lines in line-number order (a line belongs to its front sector and,
when different, to its back sector), as the game groups them at load time. A
neighbour is the sector across a line flagged two-sided, as the game's search goes.
The rules read the level's start heights and light levels; nothing moves here.
Texture heights come from the wad's TEXTURE1/TEXTURE2 when present. Line and sector
numbers are DOOM's (indices into the lumps).
"""
import struct

from doomlevel import lump_name

TWO_SIDED = 4
SECRET_LINE = 32
MAXINT = 32767 * 65536


class Sectors:
    def __init__(self, level, wad=None):
        self.level = level
        self.records = level.sector_records
        self.lines = level.line_records
        sides = level.sidedefs
        self.front = [sides[l.right].sector if l.right >= 0 else -1 for l in self.lines]
        self.back = [sides[l.left].sector if l.left >= 0 else -1 for l in self.lines]
        self.lines_of = [[] for _ in self.records]
        for i, (f, b) in enumerate(zip(self.front, self.back)):
            if f >= 0:
                self.lines_of[f].append(i)
            if b >= 0 and b != f:
                self.lines_of[b].append(i)
        self.by_tag = {}
        for s, r in enumerate(self.records):
            self.by_tag.setdefault(r.tag, []).append(s)
        self._wad = wad
        self._texture_heights = None

    # --- the level as it starts --------------------------------------------------
    def floor(self, s):
        return self.records[s].floor

    def ceiling(self, s):
        return self.records[s].ceiling

    def light(self, s):
        return self.records[s].light

    def tagged(self, tag):
        return list(self.by_tag.get(tag, []))

    def next_sector(self, line, s):
        """The sector across `line` from `s`, as the game's search sees it, or -1."""
        if not self.lines[line].flags & TWO_SIDED:
            return -1
        return self.back[line] if self.front[line] == s else self.front[line]

    def neighbours(self, s):
        """The neighbour across each of the sector's lines, in line order, repeats kept."""
        found = []
        for line in self.lines_of[s]:
            other = self.next_sector(line, s)
            if other >= 0:
                found.append(other)
        return found

    # --- DOOM's destination rules (p_spec.c) --------------------------------------
    def lowest_floor_around(self, s):
        return min([self.floor(s)] + [self.floor(o) for o in self.neighbours(s)])

    def highest_floor_around(self, s, start=-500):
        return max([start] + [self.floor(o) for o in self.neighbours(s)])

    def next_higher_floor(self, s, height):
        higher = [self.floor(o) for o in self.neighbours(s) if self.floor(o) > height]
        return min(higher) if higher else height

    def next_lower_floor(self, s, height):
        lower = [self.floor(o) for o in self.neighbours(s) if self.floor(o) < height]
        return max(lower) if lower else height

    def lowest_ceiling_around(self, s):
        return min([32000] + [self.ceiling(o) for o in self.neighbours(s)])

    def highest_ceiling_around(self, s, start=0):
        return max([start] + [self.ceiling(o) for o in self.neighbours(s)])

    def next_higher_ceiling(self, s, height):
        higher = [self.ceiling(o) for o in self.neighbours(s) if self.ceiling(o) > height]
        return min(higher) if higher else height

    def next_lower_ceiling(self, s, height):
        lower = [self.ceiling(o) for o in self.neighbours(s) if self.ceiling(o) < height]
        return max(lower) if lower else height

    def min_light_around(self, s, level):
        return min([level] + [self.light(o) for o in self.neighbours(s)])

    @property
    def texture_heights(self):
        """Texture name: height, read from the wad when first needed."""
        if self._texture_heights is None:
            self._texture_heights = _texture_heights(self._wad) if self._wad is not None else {}
        return self._texture_heights

    def shortest_texture_around(self, s, part):
        """The height of the shortest lower (or upper) texture on the two-sided lines
        around the sector, both sides, '-' left out (Boom's rule); None without any."""
        heights = []
        for line in self.lines_of[s]:
            record = self.lines[line]
            if not record.flags & TWO_SIDED:
                continue
            for side in (record.right, record.left):
                if side < 0:
                    continue
                name = getattr(self.level.sidedefs[side], part)
                if name in self.texture_heights:
                    heights.append(self.texture_heights[name])
        return min(heights) if heights else None

    def bounds(self, s):
        """(min x, min y, max x, max y) of the sector's lines' vertices, or None."""
        points = []
        for line in self.lines_of[s]:
            record = self.lines[line]
            for v in (record.v1, record.v2):
                if v < len(self.level.vertices):
                    points.append(self.level.vertices[v])
        if not points:
            return None
        return (min(p[0] for p in points), min(p[1] for p in points),
                max(p[0] for p in points), max(p[1] for p in points))

    def sector_at(self, x, y):
        """The sector the game puts a thing at (x, y) in: down the node tree, or without
        nodes the smallest sector whose lines enclose the point; -1 when none does."""
        found = self.level.sector_at(x, y)
        if found >= 0 or self.level.nodes:
            return found
        best, best_area = -1, None
        for s in range(len(self.records)):
            if self._encloses(s, x, y):
                box = self.bounds(s)
                area = (box[2] - box[0]) * (box[3] - box[1])
                if best_area is None or area < best_area:
                    best, best_area = s, area
        return best

    def _encloses(self, s, x, y):
        crossings = 0
        for line in self.lines_of[s]:
            if self.front[line] == self.back[line]:
                continue
            points = self.line_points(line)
            if points is None:
                continue
            (x1, y1), (x2, y2) = points
            if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / float(y2 - y1):
                crossings += 1
        return crossings % 2 == 1

    def line_points(self, line):
        """The line's two vertices, or None when they lie outside the vertex table."""
        record = self.lines[line]
        vertices = self.level.vertices
        if record.v1 >= len(vertices) or record.v2 >= len(vertices):
            return None
        return vertices[record.v1], vertices[record.v2]


def _texture_heights(wad):
    heights = {}
    for lump in ('TEXTURE2', 'TEXTURE1'):   # TEXTURE1 wins where both name a texture
        data = wad.last(lump)
        if not data or len(data) < 4:
            continue
        count = struct.unpack_from('<i', data, 0)[0]
        for i in range(max(0, min(count, (len(data) - 4) // 4))):
            at = struct.unpack_from('<i', data, 4 + 4 * i)[0]
            if 0 <= at and at + 16 <= len(data):
                name = lump_name(data[at:at + 8])
                heights[name] = struct.unpack_from('<h', data, at + 14)[0]
    heights.pop('-', None)
    return heights
