"""The smallest base folder the DOOM 3 BFG engine starts from, and material lookup.

Everything here is generated; no game data is used. The engine needs a config
file, the `_default` and `_tracemodel` materials, its default font in the
binary font format, the two startup scripts (empty is fine) and, for the
area-awareness files, an `aas48` type. The engine's own tool materials a
converted map uses (visportal, player and monster clip, draw-nothing) are
written with DOOM 3's keywords, unless a package defines them. Materials the
packages define are read from the `.pk4` files themselves, so an opaque stand-in
is made only where nothing defines a name. Material keywords are read only at
a definition's top level, for the contents they give (solid, clip, portal);
stages are not looked into.
"""
import os
import re
import struct
import zipfile

_AAS_TYPES = '''entityDef aas_types {
\t"type"\t"aas48"
}

entityDef aas48 {
\t"mins"\t"-24 -24 0"
\t"maxs"\t"24 24 82"
\t"usePatches"\t"0"
\t"writeBrushMap"\t"0"
\t"playerFlood"\t"1"
\t"allowSwimReachabilities"\t"0"
\t"allowFlyReachabilities"\t"0"
\t"fileExtension"\t"aas48"
\t"gravity"\t"0 0 -1066"
\t"maxStepHeight"\t"18"
\t"maxBarrierHeight"\t"32"
\t"maxWaterJumpHeight"\t"20"
\t"maxFallHeight"\t"64"
\t"minFloorCos"\t"0.7"
\t"tt_barrierJump"\t"100"
\t"tt_startCrouching"\t"100"
\t"tt_waterJump"\t"100"
\t"tt_startWalkOffLedge"\t"100"
}
'''

# DOOM 3's tool materials, by their keywords: none has a stage, so none is drawn or seals the
# map. "areaportal" and "nonsolid" clear the solid contents; "playerclip" and "monsterclip" block
# only the player or only monsters (the material keyword table of the renderer's Material.cpp).
ENGINE_MATERIALS = {
    'textures/editor/visportal': ('areaportal', 'noshadows'),
    'textures/common/player_clip': ('nonsolid', 'noshadows', 'noimpact', 'playerclip'),
    'textures/common/monster_clip': ('nonsolid', 'noshadows', 'noimpact', 'monsterclip'),
    'textures/common/nodraw': ('nonsolid', 'noshadows'),
}


def _engine_material(name):
    return '%s\n{\n\tqer_editorimage _default\n%s}\n' % (
        name, ''.join('\t%s\n' % k for k in ENGINE_MATERIALS[name]))


def _standin(name):
    """An opaque material; qer_editorimage takes the rest of its line, so every keyword gets its own."""
    return '%s\n{\n\tqer_editorimage _default\n\t{\n\t\tblend diffusemap\n\t\tmap _default\n\t}\n}\n' % name


def _font_bytes():
    """The binary font: a big-endian header, then little-endian glyph records and code points."""
    magic = 42 | (ord('i') << 24) | (ord('d') << 16) | (ord('f') << 8)
    codes = list(range(32, 127))
    data = struct.pack('>IhhhH', magic, 48, 38, -10, len(codes))
    for i, _ in enumerate(codes):
        # width, height, top, left, advance, padding, then the cell's place in a 512 x 512 atlas
        data += struct.pack('<BBbbBxHH', 24, 40, 36, 0, 26, (i % 16) * 32, (i // 16) * 48)
    data += struct.pack('<%dI' % len(codes), *codes)
    return data


def _write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'wb' if isinstance(data, bytes) else 'w') as f:
        f.write(data)


_DECL = re.compile(r'"[^"\n]*"|//[^\n]*|/\*.*?\*/|[{}]|[^\s{}"]+', re.S)
_NOT_MATERIALS = {'table', 'skin', 'particle', 'sound', 'entitydef', 'fx', 'guide', 'mapdef'}


def material_keywords(text):
    """{lower-cased material name: set of its lower-cased top-level keywords} of a .mtr text."""
    found = {}
    depth = 0
    previous = None
    current = None   # the keyword set of the material being read, at depth 1
    other_kind = False  # the name that follows declares something other than a material
    for m in _DECL.finditer(text):
        tok = m.group(0)
        if tok.startswith('//') or tok.startswith('/*'):
            continue
        if tok == '{':
            if depth == 0:
                current = None
                if previous is not None:
                    current = found.setdefault(previous.strip('"').lower(), set())
            depth += 1
            other_kind = False
        elif tok == '}':
            depth = max(0, depth - 1)
        elif depth == 0:
            low = tok.lower()
            if low in _NOT_MATERIALS:
                other_kind = True
                previous = None
            elif low == 'material':
                previous = None
            else:
                previous = None if other_kind else tok
                other_kind = False
            continue
        elif depth == 1 and current is not None:
            current.add(tok.lower())
        previous = None
    return found


def material_names(text):
    """The lower-cased names of the declarations a .mtr text defines at its top level."""
    return set(material_keywords(text))


def package_material_keywords(pk4):
    """{material name: keywords} of the .mtr files inside one package; raises OSError or BadZipFile."""
    found = {}
    with zipfile.ZipFile(pk4) as z:
        for entry in z.namelist():
            if entry.lower().startswith('materials/') and entry.lower().endswith('.mtr'):
                found.update(material_keywords(z.read(entry).decode('latin-1')))
    return found


def package_materials(pk4):
    """Material names defined by the .mtr files inside one package; raises OSError or BadZipFile."""
    return set(package_material_keywords(pk4))


# Keywords that take the solid contents away, and those that block the player (the renderer's
# table of surface parameters); a material without any of them is solid.
_CLEARS_SOLID = {'nonsolid', 'areaportal', 'qer_nocarve', 'water', 'discrete'}


def blocks_player(keywords):
    """Whether a face of this material makes its brush stop the player (solid or player clip)."""
    return 'playerclip' in keywords or 'solid' in keywords or not (keywords & _CLEARS_SOLID)


def engine_material_keywords():
    """{name: keywords} of the tool materials this base writes when no package defines them."""
    return {name: set(keys) for name, keys in ENGINE_MATERIALS.items()}


def unpack(pk4, base):
    """Unpacks a package into `base`; entries that would land outside it are skipped."""
    root = os.path.realpath(base)
    with zipfile.ZipFile(pk4) as z:
        for entry in z.infolist():
            target = os.path.realpath(os.path.join(root, entry.filename))
            if entry.is_dir() or not target.startswith(root + os.sep):
                continue
            _write(target, z.read(entry))


def write_base(base, defined, standins):
    """Writes the generated files into `base`; `defined` are names the packages already give."""
    _write(os.path.join(base, 'default.cfg'), '// generated for the map compile check\nseta com_showFPS 0\n')
    engine = '' if '_default' in defined else _standin('_default')
    engine += '' if '_tracemodel' in defined else '_tracemodel\n{\n}\n'
    engine += ''.join(_engine_material(name) for name in sorted(ENGINE_MATERIALS) if name not in defined)
    engine += ''.join(_standin(name) for name in sorted(standins - set(ENGINE_MATERIALS)))
    _write(os.path.join(base, 'materials', 'check_generated.mtr'), engine)
    _write(os.path.join(base, 'newfonts', 'Arial_Narrow', '48.dat'), _font_bytes())
    _write(os.path.join(base, 'script', 'doom_main.script'), '')
    _write(os.path.join(base, 'script', 'doom_defs.script'), '')
    _write(os.path.join(base, 'def', 'aas_types.def'), _AAS_TYPES)
