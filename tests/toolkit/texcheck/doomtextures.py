"""DOOM's wall textures and flats as the renderer knows them, read from the wad.

Wall textures come from TEXTURE1 then TEXTURE2 (numbered in that order; a name
used twice resolves to its first number, as the game's name lookup does), patches
through PNAMES to the last lump of each name. Flats are the names between F_START
and F_END (FF_ markers too), all 64 x 64. Opacity of a wall texel is the port
rule: opaque where any patch post covers it (vanilla's composite columns lose
their transparency; nothing here imitates that). Strife's texture layout and
tall-patch offsets are not read. Raises doomlevel.LevelError with one line.
"""
import struct

import doomlevel

FLAT_SIZE = 64
SKY_FLAT = 'F_SKY1'


class WallTexture:
    def __init__(self, name, number, width, height, patches):
        self.name = name
        self.number = number      # 0 is never drawn
        self.width = width
        self.height = height
        self.patches = patches    # [(origin x, origin y, patch lump name)]
        self.opaque_rows = None   # per column, a bytearray of height: 1 where a post covers it


class TextureSet:
    def __init__(self, wad):
        self._wad = wad
        self.walls = {}
        self.flats = set()
        patch_names = _patch_names(wad.last('PNAMES'))
        number = 0
        for lump in ('TEXTURE1', 'TEXTURE2'):
            for name, width, height, patches in _texture_records(wad.last(lump), lump, patch_names):
                self.walls.setdefault(name, WallTexture(name, number, width, height, patches))
                number += 1
        inside = False
        for name, _offset, _size in wad.lumps:
            if name in ('F_START', 'FF_START'):
                inside = True
            elif name in ('F_END', 'FF_END'):
                inside = False
            elif inside:
                self.flats.add(name)

    def wall(self, name):
        """The texture DOOM draws for a sidedef name, or None for "-", texture 0 and unknown names."""
        texture = self.walls.get(name)
        return texture if texture is not None and texture.number > 0 else None

    def opaque(self, texture, column, row):
        if texture.opaque_rows is None:
            texture.opaque_rows = self._compose_mask(texture)
        return texture.opaque_rows[column][row] == 1

    def _compose_mask(self, texture):
        columns = [bytearray(texture.height) for _ in range(texture.width)]
        for ox, oy, patch_name in texture.patches:
            data = self._wad.last(patch_name)
            if data is None or len(data) < 8:
                continue
            width = struct.unpack_from('<h', data, 0)[0]
            for x in range(max(0, width)):
                tx = ox + x
                if not 0 <= tx < texture.width or 8 + 4 * x + 4 > len(data):
                    continue
                at = struct.unpack_from('<I', data, 8 + 4 * x)[0]
                while at + 2 <= len(data) and data[at] != 0xFF:
                    top, length = data[at], data[at + 1]
                    for y in range(oy + top, oy + top + length):
                        if 0 <= y < texture.height:
                            columns[tx][y] = 1
                    at += length + 4
        return columns


def _patch_names(data):
    if data is None or len(data) < 4:
        raise doomlevel.LevelError('the wad has no PNAMES')
    count = struct.unpack_from('<i', data, 0)[0]
    if count < 0 or 4 + 8 * count > len(data):
        raise doomlevel.LevelError('PNAMES is shorter than its count')
    return [doomlevel.lump_name(data[4 + 8 * i:12 + 8 * i]) for i in range(count)]


def _texture_records(data, lump, patch_names):
    if data is None:
        return
    if len(data) < 4:
        raise doomlevel.LevelError('%s is too short' % lump)
    count = struct.unpack_from('<i', data, 0)[0]
    if count < 0 or 4 + 4 * count > len(data):
        raise doomlevel.LevelError('%s is shorter than its count' % lump)
    for i in range(count):
        at = struct.unpack_from('<i', data, 4 + 4 * i)[0]
        if at < 0 or at + 22 > len(data):
            raise doomlevel.LevelError('%s: texture %d lies outside the lump' % (lump, i))
        raw, _masked, width, height, _columns, patch_count = struct.unpack_from('<8sihhih', data, at)
        if at + 22 + 10 * patch_count > len(data):
            raise doomlevel.LevelError('%s: texture %d has more patches than the lump holds' % (lump, i))
        patches = []
        for p in range(patch_count):
            ox, oy, index, _step, _colormap = struct.unpack_from('<hhhhh', data, at + 22 + 10 * p)
            if 0 <= index < len(patch_names):
                patches.append((ox, oy, patch_names[index]))
        if width > 0 and height > 0:
            yield doomlevel.lump_name(raw), width, height, patches
