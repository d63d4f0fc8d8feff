"""Brush geometry for the checks: planes through three points and the faces of a
convex brush, in floating point.

A face's plane points outwards, as the map compiler reads the three points
((p1 - p2) x (p3 - p2)); a point is inside a brush when it lies behind every
plane. Faces are the brush's planes clipped by all the others; a plane that
leaves no face (a redundant or broken one) gives none. Nothing here checks
that a brush is closed: an open brush simply has fewer faces.
"""

ON_EPSILON = 0.01   # a point this close to a plane lies on it, world units
HUGE = 1.0e6        # half size of the first square put on a plane, beyond any level


def plane(points):
    """(unit normal, distance) of the plane through three points, or None when they are in a line."""
    p1, p2, p3 = points
    a = (p1[0] - p2[0], p1[1] - p2[1], p1[2] - p2[2])
    b = (p3[0] - p2[0], p3[1] - p2[1], p3[2] - p2[2])
    n = (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])
    length = (n[0] ** 2 + n[1] ** 2 + n[2] ** 2) ** 0.5
    if length == 0:
        return None
    n = (n[0] / length, n[1] / length, n[2] / length)
    return n, n[0] * p2[0] + n[1] * p2[1] + n[2] * p2[2]


def _dot(n, p):
    return n[0] * p[0] + n[1] * p[1] + n[2] * p[2]


def _base_square(normal, dist):
    """A huge square on the plane, wound so that its own normal is the plane's."""
    n = normal
    up = (0.0, 0.0, 1.0) if abs(n[2]) < 0.9 else (1.0, 0.0, 0.0)
    # right = up x n, then up = n x right: an orthonormal pair on the plane
    r = (up[1] * n[2] - up[2] * n[1], up[2] * n[0] - up[0] * n[2], up[0] * n[1] - up[1] * n[0])
    rl = (r[0] ** 2 + r[1] ** 2 + r[2] ** 2) ** 0.5
    r = (r[0] / rl, r[1] / rl, r[2] / rl)
    u = (n[1] * r[2] - n[2] * r[1], n[2] * r[0] - n[0] * r[2], n[0] * r[1] - n[1] * r[0])
    c = (n[0] * dist, n[1] * dist, n[2] * dist)
    corners = []
    for sr, su in ((-1, -1), (1, -1), (1, 1), (-1, 1)):
        corners.append(tuple(c[i] + HUGE * (sr * r[i] + su * u[i]) for i in range(3)))
    return corners


def clip(winding, normal, dist):
    """The part of a planar polygon behind the plane (n.p <= d)."""
    out = []
    count = len(winding)
    for i in range(count):
        p, q = winding[i], winding[(i + 1) % count]
        dp, dq = _dot(normal, p) - dist, _dot(normal, q) - dist
        if dp <= ON_EPSILON:
            out.append(p)
        if (dp < -ON_EPSILON and dq > ON_EPSILON) or (dp > ON_EPSILON and dq < -ON_EPSILON):
            t = dp / (dp - dq)
            out.append(tuple(p[k] + t * (q[k] - p[k]) for k in range(3)))
    return out if len(out) >= 3 else []


def faces(planes):
    """[(plane index, polygon)] of a brush given as a list of (normal, distance)."""
    result = []
    for i, (n, d) in enumerate(planes):
        w = _base_square(n, d)
        for j, (m, e) in enumerate(planes):
            if j == i:
                continue
            if abs(m[0] - n[0]) < 1e-9 and abs(m[1] - n[1]) < 1e-9 and abs(m[2] - n[2]) < 1e-9 and j > i:
                continue  # the same plane twice: the first one makes the face
            w = clip(w, m, e)
            if not w:
                break
        if w:
            result.append((i, w))
    return result


def bounds(polygons):
    """((min x, y, z), (max x, y, z)) of the points of some polygons, or None without any."""
    points = [p for w in polygons for p in w]
    if not points:
        return None
    return (tuple(min(p[k] for p in points) for k in range(3)),
            tuple(max(p[k] for p in points) for k in range(3)))
