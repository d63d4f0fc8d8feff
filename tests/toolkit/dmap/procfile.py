"""Reading the compiled world (.proc) that DOOM 3's map compiler writes.

The text form the renderer loads: the id line `mapProcFile003`, then any number
of `model { "name" numSurfaces { "material" numVerts numIndexes (x y z s t nx ny nz)...
index... }... }`, `shadowModel { "name" numVerts numCaps numFrontCaps numIndexes
planeBits (x y z)... index... }`, `interAreaPortals { numAreas numPortals
(numPoints area area (x y z)...)... }` and `nodes { numNodes ((a b c d) child
child)... }` blocks; /* */ and // comments anywhere. Only counts and portal
windings are kept: the areas (models named `_area<N>`) with their triangles, the
other models by name, and every portal's points. Vertex values are skipped, not
checked; node planes are skipped. Raises ProcError with one line.
"""
import re


class ProcError(Exception):
    pass


_TOKEN = re.compile(r'/\*.*?\*/|//[^\n]*|"[^"\n]*"|[{}()]|[^\s{}()"/]+|/', re.S)


class _Tokens:
    def __init__(self, text):
        self._it = (m.group(0) for m in _TOKEN.finditer(text) if not m.group(0).startswith(('/*', '//')))

    def next(self, what):
        tok = next(self._it, None)
        if tok is None:
            raise ProcError('the file ends where %s was expected' % what)
        return tok

    def peek_end(self):
        """The next token, or None at the end of the text."""
        return next(self._it, None)

    def expect(self, literal):
        tok = self.next('"%s"' % literal)
        if tok != literal:
            raise ProcError('expected "%s", found "%s"' % (literal, tok[:20]))

    def integer(self, what):
        tok = self.next(what)
        try:
            value = int(tok)
        except ValueError:
            raise ProcError('%s is not a whole number: "%s"' % (what, tok[:20]))
        if value < 0:
            raise ProcError('negative %s: %d' % (what, value))
        return value

    def number(self, what):
        tok = self.next(what)
        try:
            return float(tok)
        except ValueError:
            raise ProcError('%s is not a number: "%s"' % (what, tok[:20]))

    def name(self, what):
        tok = self.next(what)
        return tok[1:-1] if tok.startswith('"') else tok

    def skip_vectors(self, count, size, what):
        for _ in range(count):
            self.expect('(')
            for _ in range(size):
                self.number(what)
            self.expect(')')


class World:
    """What a .proc holds, as counts: areas[i] is the triangle count of `_area<i>`."""

    def __init__(self):
        self.areas = {}      # area number -> triangles
        self.models = {}     # other model name -> triangles
        self.portals = []    # (area, area, [(x, y, z), ...])
        self.num_areas = None

    def total_triangles(self):
        return sum(self.areas.values())

    def largest_share(self):
        """The largest area's share of the areas' triangles (0 when there are none)."""
        total = self.total_triangles()
        return max(self.areas.values()) / total if total else 0.0


def _model(tokens, world):
    tokens.expect('{')
    name = tokens.name('a model name')
    triangles = 0
    for _ in range(tokens.integer('the surface count')):
        tokens.expect('{')
        tokens.name('a material name')
        verts = tokens.integer('the vertex count')
        indexes = tokens.integer('the index count')
        tokens.skip_vectors(verts, 8, 'a vertex value')
        for _ in range(indexes):
            if tokens.integer('an index') >= verts:
                raise ProcError('model %s: an index past its %d vertices' % (name, verts))
        tokens.expect('}')
        triangles += indexes // 3
    tokens.expect('}')
    m = re.match(r'_area(\d+)$', name)
    if m:
        world.areas[int(m.group(1))] = triangles
    else:
        world.models[name] = triangles


def _shadow_model(tokens):
    tokens.expect('{')
    tokens.name('a shadow model name')
    verts = tokens.integer('the vertex count')
    for what in ('the cap count', 'the front cap count'):
        tokens.integer(what)
    indexes = tokens.integer('the index count')
    tokens.integer('the plane bits')
    tokens.skip_vectors(verts, 3, 'a vertex value')
    for _ in range(indexes):
        tokens.integer('an index')
    tokens.expect('}')


def _portals(tokens, world):
    tokens.expect('{')
    world.num_areas = tokens.integer('the area count')
    for _ in range(tokens.integer('the portal count')):
        points = tokens.integer('a portal\'s point count')
        a, b = tokens.integer('a portal\'s area'), tokens.integer('a portal\'s area')
        winding = []
        for _ in range(points):
            tokens.expect('(')
            winding.append(tuple(tokens.number('a portal point') for _ in range(3)))
            tokens.expect(')')
        world.portals.append((a, b, winding))
    tokens.expect('}')


def _nodes(tokens):
    tokens.expect('{')
    for _ in range(tokens.integer('the node count')):
        tokens.skip_vectors(1, 4, 'a node plane')
        tokens.next('a node child')
        tokens.next('a node child')
    tokens.expect('}')


def read(text):
    """The World of a .proc text; raises ProcError on anything the renderer would not load."""
    tokens = _Tokens(text)
    first = tokens.peek_end()
    if first is None or first.lower() != 'mapprocfile003':
        raise ProcError('not a compiled world: it does not start with mapProcFile003')
    world = World()
    while True:
        tok = tokens.peek_end()
        if tok is None:
            break
        if tok == 'model':
            _model(tokens, world)
        elif tok == 'shadowModel':
            _shadow_model(tokens)
        elif tok == 'interAreaPortals':
            _portals(tokens, world)
        elif tok == 'nodes':
            _nodes(tokens)
        else:
            raise ProcError('unexpected "%s" between blocks' % tok[:20])
    if world.num_areas is not None:
        for a, b, _ in world.portals:
            if max(a, b) >= world.num_areas:
                raise ProcError('a portal names area %d of %d' % (max(a, b), world.num_areas))
        missing = [i for i in range(world.num_areas) if i not in world.areas]
        if missing:
            raise ProcError('no model for area %d' % missing[0])
    return world


def read_file(path):
    try:
        with open(path, encoding='latin-1') as f:
            return read(f.read())
    except OSError as e:
        raise ProcError('cannot read %s: %s' % (path, e.strerror))
