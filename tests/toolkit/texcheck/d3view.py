"""What DOOM 3 shows at a point seen from a direction: the face, its material's image and texel.

The face is a drawn brush face (a material with an active stage, or one no package
defines, which the engine draws as a default) whose outward normal faces the viewer,
whose plane passes within `depth` of the point along that normal and whose polygon
holds the point; of several, the one nearest the viewer. Its texture coordinates
are the classic form's: axes from the normal (components under 1e-6 taken as 0,
as the engine's axis base does), s = texS . P / 32, t = texT . P / 32 at the point
where the face was placed; then the first active diffuse stage's matrix and the
image's size give (column, row). Owns its face grid and material cache; borrows the
map faces and the material library.
"""
import math

import d3decls

CELL = 64.0              # grid cell for the face buckets, world units
INSIDE_EPSILON = 0.01    # a point this close outside a face's edge still lies on it, world units
FACING = 0.999           # cosine above which a face's normal counts as the viewer's direction


def facing_class(normal):
    """Faces are bucketed apart by facing up, down or sideways; a viewer only meets its own."""
    return 1 if normal[2] > FACING else -1 if normal[2] < -FACING else 0


def axis_base(normal):
    nx, ny, nz = (0.0 if abs(c) < 1e-6 else c for c in normal)
    rot_y = -math.atan2(nz, math.sqrt(nx * nx + ny * ny))
    rot_z = math.atan2(ny, nx)
    tex_s = (-math.sin(rot_z), math.cos(rot_z), 0.0)
    tex_t = (-math.sin(rot_y) * math.cos(rot_z), -math.sin(rot_y) * math.sin(rot_z), -math.cos(rot_y))
    return tex_s, tex_t


class IndexedFace:
    """A face prepared for lookups: its 2D polygon edges in the plane's major projection."""

    def __init__(self, face, look):
        self.face = face
        self.normal = face.normal
        self.dist = face.dist
        self.look = look
        n = face.normal
        major = max(range(3), key=lambda k: abs(n[k]))
        u, v = [k for k in range(3) if k != major]
        self.u, self.v = u, v
        points = [(p[u], p[v]) for p in face.polygon]
        area = sum(points[i][0] * points[i - 1][1] - points[i - 1][0] * points[i][1] for i in range(len(points)))
        sign = -1.0 if area < 0 else 1.0  # edge normals point inwards whichever way it winds
        self.edges = []
        for i in range(len(points)):
            (x1, y1), (x2, y2) = points[i - 1], points[i]
            length = math.hypot(x2 - x1, y2 - y1)
            if length > 0:
                a, b = sign * (y2 - y1) / length, -sign * (x2 - x1) / length
                self.edges.append((a, b, -(a * x1 + b * y1)))
        self.tex_s, self.tex_t = axis_base(n)

    def holds(self, point):
        pu, pv = point[self.u], point[self.v]
        return all(a * pu + b * pv + c >= -INSIDE_EPSILON for a, b, c in self.edges)


def _cells(low, high):
    return range(int(math.floor(low / CELL)), int(math.floor(high / CELL)) + 1)


class Viewer:
    def __init__(self, map_faces, library, reach):
        """`reach`: the largest depth face_at will be asked for, world units."""
        self.library = library
        self._looks = {}
        self.grid = {}
        for face in map_faces.faces:
            look = self.material_look(face.material)
            if look is None:
                continue
            indexed = IndexedFace(face, look)
            # Registered wherever a point it may be found from can lie.
            margin = INSIDE_EPSILON + reach
            xs = [p[0] for p in face.polygon]
            ys = [p[1] for p in face.polygon]
            kind = facing_class(face.normal)
            for cx in _cells(min(xs) - margin, max(xs) + margin):
                for cy in _cells(min(ys) - margin, max(ys) + margin):
                    self.grid.setdefault((cx, cy, kind), []).append(indexed)

    def material_look(self, name):
        """None for a material that draws nothing; else ('ok', image, (w, h), matrix) or
        ('fail', reason) for one drawn but without a usable diffuse image."""
        if name not in self._looks:
            self._looks[name] = self._resolve(name.lower())
        return self._looks[name]

    def _resolve(self, name):
        material = self.library.materials.get(d3decls.canonical(name))
        if material is None:
            return ('fail', 'undefined material')
        if material.error:
            return ('fail', 'material unreadable: %s' % material.error)
        tables = self.library.tables
        try:
            active = [stage for stage in material.stages if stage.active(tables)]
            if not active:
                return None
            diffuse = next((stage for stage in active if stage.diffuse), None)
            if diffuse is None:
                return ('fail', 'no diffuse stage')
            if diffuse.image is None:
                return ('fail', 'diffuse stage without an image')
            size = self.library.image_size(diffuse.image)
            if size is None:
                return ('fail', 'image %s not found' % diffuse.image)
            return ('ok', diffuse.image, size, diffuse.matrix(tables))
        except d3decls.ParseError as e:
            return ('fail', 'material unreadable: %s' % e)

    def face_at(self, point, normal, depth):
        """The face the viewer sees at `point` (world units) looking against `normal`, or None."""
        best, best_offset = None, None
        cell = (int(math.floor(point[0] / CELL)), int(math.floor(point[1] / CELL)), facing_class(normal))
        for face in self.grid.get(cell, ()):
            n = face.normal
            if n[0] * normal[0] + n[1] * normal[1] + n[2] * normal[2] < FACING:
                continue
            offset = face.dist - (n[0] * point[0] + n[1] * point[1] + n[2] * point[2])
            if -depth <= offset <= depth and (best_offset is None or offset > best_offset):
                on_plane = (point[0] + n[0] * offset, point[1] + n[1] * offset, point[2] + n[2] * offset)
                if face.holds(on_plane):
                    best, best_offset = face, offset
        return best

    @staticmethod
    def texel(face, point):
        """(image, column, row, s', t') shown by an 'ok' face at a world point on it."""
        _ok, image, (w, h), m = face.look
        o = face.face.offset
        p = (point[0] - o[0], point[1] - o[1], point[2] - o[2])
        s = (face.tex_s[0] * p[0] + face.tex_s[1] * p[1] + face.tex_s[2] * p[2]) / 32.0
        t = (face.tex_t[0] * p[0] + face.tex_t[1] * p[1] + face.tex_t[2] * p[2]) / 32.0
        s2 = m[0][0] * s + m[0][1] * t + m[0][2]
        t2 = m[1][0] * s + m[1][1] * t + m[1][2]
        return image, int((s2 - math.floor(s2)) * w) % w, int((t2 - math.floor(t2)) * h) % h, s2, t2
