"""Where a player stands to walk across (or up to) a line of a DOOM level, and which way.

A walk starts `distance` DOOM units out on the line's front side (right of v1 -> v2, the
side DOOM's teleports and switches answer to), level with the middle of the line, and
heads straight at it. The place is given in DOOM 3 units at the conversion's scale, with
the eye height over the floor DOOM has there (the level's own nodes say which sector).
Deliberately not checked: that nothing stands between the start and the line; a start
whose floor is more than a step away from the front sector's is refused, since the player
could not walk on from there. Reads the level through the geometry check's doomlevel.
"""
import math
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..', 'geocheck'))
import doomlevel  # noqa: E402

DOOM_STEP = 24   # the highest step DOOM's player climbs


class WalkError(Exception):
    pass


class Walk:
    def __init__(self, x, y, eye, yaw, direction):
        self.x, self.y, self.eye, self.yaw = x, y, eye, yaw  # DOOM 3 units; yaw in degrees
        self.direction = direction                          # unit vector of the walk

    def setviewpos(self):
        return 'setviewpos %.2f %.2f %.2f %.2f' % (self.x, self.y, self.eye, self.yaw)

    def velocity(self, speed):
        return self.direction[0] * speed, self.direction[1] * speed


def load_level(wad, name):
    """The doomlevel.Level `name` of the wad; raises WalkError."""
    try:
        return doomlevel.load(wad, name)
    except doomlevel.LevelError as e:
        raise WalkError(str(e))


def front_normal(a, b):
    """The unit vector pointing to the front (right) side of the line a -> b."""
    dx, dy = b[0] - a[0], b[1] - a[1]
    length = math.hypot(dx, dy)
    if length == 0:
        raise WalkError('the line has no length')
    return dy / length, -dx / length


def walk_to_line(level, line, distance, scale, eye_height):
    """The Walk that crosses line number `line` of a doomlevel.Level from its front side."""
    if not 0 <= line < len(level.linedefs):
        raise WalkError('the level has no line %d' % line)
    record = level.linedefs[line]
    a, b = level.vertices[record.v1], level.vertices[record.v2]
    nx, ny = front_normal(a, b)
    x, y = (a[0] + b[0]) / 2 + nx * distance, (a[1] + b[1]) / 2 + ny * distance
    front = level.lines[line][4]
    here = level.sector_at(x, y)
    if front < 0 or here < 0:
        raise WalkError('line %d: no sector in front of it at (%g, %g)' % (line, x, y))
    floor, front_floor = level.sectors[here][0], level.sectors[front][0]
    if abs(floor - front_floor) > DOOM_STEP:
        raise WalkError('line %d: the floor at (%g, %g) is %d, the line\'s front floor %d'
                        % (line, x, y, floor, front_floor))
    yaw = math.degrees(math.atan2(-ny, -nx)) % 360
    return Walk(x * scale, y * scale, floor * scale + eye_height, yaw, (-nx, -ny))
