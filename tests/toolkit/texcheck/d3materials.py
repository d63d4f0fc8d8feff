"""DOOM 3 materials and images as the engine would find them in a set of .pk4 packages.

Packages are searched in the order given, the first holding a path wins; materials
come from every .mtr (a package's files by name), the first definition of a name
wins (names compared canonically: lower case, '/' for '\\', no extension). Each
material keeps its stages: blend (diffuse or not), image, `if` condition and the
texture-matrix keywords as expression trees (d3decls), evaluated at time 0.
`rotate` uses the sinTable and cosTable decls, or exact sin/cos when the packages
define none. Only TGA images are sized. Keywords this reader does not know are
skipped to the end of their line (the decl files are written one keyword a line).
Raises InputError with one line for unreadable packages.
"""
import math
import struct
import zipfile
import zlib

from d3decls import Lexer, ParseError, Table, canonical, evaluate, expect, parse_expression


class InputError(Exception):
    pass


class Stage:
    def __init__(self):
        self.diffuse = False
        self.image = None
        self.condition = None
        self.transforms = []   # (keyword, [expression trees]) in the order written

    def active(self, tables):
        return self.condition is None or evaluate(self.condition, tables) != 0

    def matrix(self, tables):
        """The 2 x 3 texture matrix: old x new for each keyword, so the last acts first."""
        m = ((1.0, 0.0, 0.0), (0.0, 1.0, 0.0))
        for keyword, args in self.transforms:
            v = [evaluate(a, tables) for a in args]
            m = _multiply(m, _keyword_matrix(keyword, v, tables))
        return m


def _keyword_matrix(keyword, v, tables):
    if keyword in ('translate', 'scroll'):
        return ((1, 0, v[0]), (0, 1, v[1]))
    if keyword == 'scale':
        return ((v[0], 0, 0), (0, v[1], 0))
    if keyword == 'centerscale':
        return ((v[0], 0, 0.5 - 0.5 * v[0]), (0, v[1], 0.5 - 0.5 * v[1]))
    if keyword == 'shear':
        return ((1, v[0], -0.5 * v[0]), (v[1], 1, -0.5 * v[1]))
    s = tables['sintable'].lookup(v[0]) if 'sintable' in tables else math.sin(2 * math.pi * v[0])
    c = tables['costable'].lookup(v[0]) if 'costable' in tables else math.cos(2 * math.pi * v[0])
    return ((c, -s, 0.5 - 0.5 * c + 0.5 * s), (s, c, 0.5 - 0.5 * s - 0.5 * c))


def _multiply(a, b):
    return tuple((a[r][0] * b[0][0] + a[r][1] * b[1][0],
                  a[r][0] * b[0][1] + a[r][1] * b[1][1],
                  a[r][0] * b[0][2] + a[r][1] * b[1][2] + a[r][2]) for r in range(2))


class Material:
    def __init__(self, name):
        self.name = name
        self.stages = []
        self.error = None      # why the engine would not read it as written


_TRANSFORM_ARGS = {'translate': 2, 'scroll': 2, 'scale': 2, 'centerscale': 2, 'shear': 2, 'rotate': 1}
_EXPRESSION_ARGS = {'alphatest': 1, 'rgb': 1, 'rgba': 1, 'red': 1, 'green': 1, 'blue': 1, 'alpha': 1, 'color': 4}
_IMAGE_FUNCTIONS = {'heightmap', 'addnormals', 'smoothnormals', 'add', 'scale', 'invertalpha',
                    'invertcolor', 'makeintensity', 'makealpha'}
_DECL_TYPES = {'table', 'material', 'skin', 'sound', 'particle', 'fx', 'entitydef', 'mapdef', 'af',
               'pda', 'email', 'video', 'audio', 'guide'}


def _parse_image(lex):
    """The first image an image program names."""
    tok = lex.next()
    if tok.lower() in _IMAGE_FUNCTIONS and lex.peek() == '(':
        lex.next()
        found = None
        while lex.peek() != ')':
            if lex.kind() in ('name', 'string') and found is None:
                found = _parse_image(lex)
            else:
                lex.next()
        lex.next()
        return found
    return canonical(tok)


def _parse_stage(lex, stage):
    expect(lex, '{')
    while lex.peek() != '}':
        line = lex.line()
        keyword = lex.next().lower()
        if keyword == 'blend':
            mode = lex.next().lower()
            stage.diffuse = mode == 'diffusemap'
            if lex.peek() == ',':
                lex.next()
                lex.next()
        elif keyword == 'map':
            stage.image = _parse_image(lex)
        elif keyword == 'if':
            stage.condition = parse_expression(lex)
        elif keyword in _TRANSFORM_ARGS or keyword in _EXPRESSION_ARGS:
            count = _TRANSFORM_ARGS.get(keyword) or _EXPRESSION_ARGS[keyword]
            args = [parse_expression(lex)]
            for _ in range(count - 1):
                expect(lex, ',')
                args.append(parse_expression(lex))
            if keyword in _TRANSFORM_ARGS:
                stage.transforms.append((keyword, args))
        else:
            lex.skip_line(line)
    lex.next()


def _parse_material(lex, material):
    expect(lex, '{')
    while lex.peek() != '}':
        if lex.peek() == '{':
            stage = Stage()
            _parse_stage(lex, stage)
            material.stages.append(stage)
            continue
        line = lex.line()
        keyword = lex.next().lower()
        if keyword in ('diffusemap', 'bumpmap', 'specularmap'):
            stage = Stage()
            stage.diffuse = keyword == 'diffusemap'
            stage.image = _parse_image(lex)
            material.stages.append(stage)
        else:
            lex.skip_line(line)
    lex.next()


def _parse_table(lex):
    expect(lex, '{')
    snap = clamp = False
    values = []
    while lex.peek() != '{':
        word = lex.next().lower()
        snap, clamp = snap or word == 'snap', clamp or word == 'clamp'
    lex.next()
    while lex.peek() != '}':
        tok = lex.next()
        if tok == '-':
            values.append(-float(lex.next()))
        elif tok != ',':
            values.append(float(tok))
    lex.next()
    expect(lex, '}')
    return Table(values, snap, clamp)


class Library:
    """Materials, tables and image sizes of a list of packages (first holder wins)."""

    def __init__(self, package_paths):
        self.materials = {}
        self.tables = {}
        self.warnings = []
        self._files = {}
        self._sizes = {}
        for path in package_paths:
            try:
                archive = zipfile.ZipFile(path)
            except (OSError, zipfile.BadZipFile) as e:
                raise InputError('cannot read package %s: %s' % (path, e))
            for entry in archive.namelist():
                self._files.setdefault(entry.replace('\\', '/').lower(), (archive, entry))
            for entry in sorted(n for n in archive.namelist() if n.lower().endswith('.mtr')):
                try:
                    text = archive.read(entry).decode('latin-1')
                except (OSError, zipfile.BadZipFile, zlib.error) as e:
                    raise InputError('cannot read %s in %s: %s' % (entry, path, e))
                self._read_decls(text, '%s:%s' % (path, entry))

    def _read_decls(self, text, where):
        lex = Lexer(text)
        while lex.peek() is not None:
            try:
                kind = 'material'
                name = lex.next()
                if name.lower() in _DECL_TYPES and lex.peek() != '{':
                    kind, name = name.lower(), lex.next()
                start = lex.at
                if kind == 'table':
                    self.tables.setdefault(name.lower(), _parse_table(lex))
                elif kind == 'material' and canonical(name) not in self.materials:
                    material = Material(canonical(name))
                    try:
                        _parse_material(lex, material)
                    except ParseError as e:
                        material.error = str(e)
                        lex.at = start
                        lex.skip_braced()
                    self.materials[material.name] = material
                else:
                    lex.skip_braced()
            except (ParseError, ValueError) as e:
                self.warnings.append('%s: %s' % (where, e))
                return

    def image_size(self, image):
        """(width, height) of the TGA an image name finds, or None."""
        if image not in self._sizes:
            self._sizes[image] = None
            found = self._files.get(image + '.tga')
            header = b''
            if found:
                try:
                    with found[0].open(found[1]) as f:
                        header = f.read(18)
                except (OSError, zipfile.BadZipFile, zlib.error):
                    header = b''
                if len(header) == 18:
                    w, h = struct.unpack_from('<HH', header, 12)
                    self._sizes[image] = (w, h) if w and h else None
        return self._sizes[image]
