"""Judges DOOM's scrolling walls (48, 85, 255) by the converted map's wall faces.

DOOM moves the front side's texture offset by one unit a tic (48 adds, 85 takes away;
Boom's 255 takes away the side's x offset and adds its y offset each tic): a texture
feature slides along the wall from v2 towards v1 as the offset grows, and up as the
row offset grows. In DOOM 3 the faces that show the line's front side lie in its plane,
facing the front, within the line; a face's texture coordinates are the classic
form's (s = texS . P / 32, t = texT . P / 32) through its material's first diffuse
stage, so a feature slides at -32 m02' / m00 along texS (and -32 m12' / m11 along texT)
world units a second, m' the matrix's change over a second. Materials under zdoom/
(hidden, trigger, sky, missing) show no wall and are left out. Every shown face must
slide at DOOM's speed times the scale, in DOOM's direction.
"""
import math
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'texcheck'))

from d3view import axis_base  # noqa: E402
from effects import fmt  # noqa: E402

TIC = 35.0
SPEED_SLACK = 0.02       # relative, plus ...
SPEED_FLOOR = 0.5        # ... world units a second
PLANE_SLACK = 0.05       # world units
FACING = 0.9999


class ScrollJudge:
    def __init__(self, sectors, entities, scale, materials):
        self.sectors = sectors
        self.scale = scale
        self.materials = materials
        self.holders = [e for e in entities.entities if e.classname == 'worldspawn' or e.name.startswith('grate_')]
        self._walls = None

    def _wall_index(self):
        """Brushes by their shown vertical planes: (normal x, y and distance, rounded):
        [(holder, brush)]; built when the first scrolling wall asks."""
        if self._walls is None:
            self._walls = {}
            for holder in self.holders:
                for i, planes in enumerate(holder.planes):
                    for n, d, m in planes:
                        if abs(n[2]) < 1e-6 and not m.lower().startswith('zdoom/'):
                            self._walls.setdefault(_plane_key(n, d), []).append((holder, i))
        return self._walls

    def judge(self, line, how, problems):
        """'right', 'wrong', 'missing' or 'inert'; appends the reasons."""
        points = self.sectors.line_points(line)
        if points is None:
            problems.append('the line has no vertices')
            return 'inert'
        rate_x, rate_y = _offset_rates(how)
        (ax, ay), (bx, by) = [(x * self.scale, y * self.scale) for x, y in points]
        length = math.hypot(bx - ax, by - ay)
        u = ((bx - ax) / length, (by - ay) / length)
        front = (u[1], -u[0])
        faces = self._shown_faces((ax, ay), u, front, length)
        if not faces:
            problems.append('nothing shows on its front side')
            return 'inert'
        if self.materials is None:
            problems.append('no texture packages given (--pk4) to read its walls\' materials from')
            return 'missing'
        expected_along = -rate_x * TIC * self.scale
        expected_up = rate_y * TIC * self.scale
        sliding = 0
        for face in faces:
            found = self._slide(face, u)
            if found is None:
                problems.append('%s does not slide' % face.material)
                continue
            sliding += 1
            along, up = found
            if not _close(along, expected_along) or not _close(up, expected_up):
                problems.append('%s slides %s along and %s up (units a second), DOOM %s and %s' % (
                    face.material, fmt(along / self.scale), fmt(up / self.scale),
                    fmt(expected_along / self.scale), fmt(expected_up / self.scale)))
        if not sliding:
            del problems[:]
            problems.append('no wall of its front side slides')
            return 'missing'
        return 'wrong' if problems else 'right'

    def _shown_faces(self, a, u, front, length):
        dist = front[0] * a[0] + front[1] * a[1]
        found, seen = [], set()
        for holder, i in self._wall_index().get(_plane_key((front[0], front[1], 0.0), dist), []):
            if (holder.index, i) in seen:
                continue
            seen.add((holder.index, i))
            for face in holder.solid(i):
                n = face.normal
                if n[0] * front[0] + n[1] * front[1] > FACING and abs(face.dist - dist) < PLANE_SLACK \
                        and not face.material.lower().startswith('zdoom/') and _within(face, a, u, length):
                    found.append(face)
        return found

    def _slide(self, face, u):
        motion = self.materials.motion('textures/' + face.material)
        if motion is None:
            return None
        change, m0 = motion
        if abs(change[0][2]) < 1e-9 and abs(change[1][2]) < 1e-9:
            return None
        if abs(m0[0][0]) < 1e-9 or abs(m0[1][1]) < 1e-9:
            return None
        tex_s, tex_t = axis_base(face.normal)
        v_s = -32.0 * change[0][2] / m0[0][0]
        v_t = -32.0 * change[1][2] / m0[1][1]
        velocity = [v_s * tex_s[k] + v_t * tex_t[k] for k in range(3)]
        return velocity[0] * u[0] + velocity[1] * u[1], velocity[2]


def _plane_key(n, d):
    return (round(n[0], 3), round(n[1], 3), round(d, 1))


def _offset_rates(how):
    """How DOOM's texture and row offsets change a tic."""
    if how == 'left':
        return 1.0, 0.0
    if how == 'right':
        return -1.0, 0.0
    dx, dy = how
    return -float(dx), float(dy)


def _within(face, a, u, length):
    for p in face.corners:
        t = (p[0] - a[0]) * u[0] + (p[1] - a[1]) * u[1]
        if t < -PLANE_SLACK or t > length + PLANE_SLACK:
            return False
    return True


def _close(measured, expected):
    return abs(measured - expected) <= SPEED_SLACK * abs(expected) + SPEED_FLOOR
