"""Hand-made test maps built from axis-aligned boxes, in the classic brush form the
converter writes. Only for the checks' self-tests: no validation, no naming."""


def box(lo, hi, material, faces=None):
    """A brush from lo to hi; `faces` may give other materials by side: -x +x -y +y -z +z."""
    (x0, y0, z0), (x1, y1, z1) = lo, hi
    m = dict(faces or {})
    sides = [
        ('-x', ((x0, 0, 0), (x0, 1, 0), (x0, 0, 1))),
        ('+x', ((x1, 0, 0), (x1, 0, 1), (x1, 1, 0))),
        ('-y', ((0, y0, 0), (0, y0, 1), (1, y0, 0))),
        ('+y', ((0, y1, 0), (1, y1, 0), (0, y1, 1))),
        ('-z', ((0, 0, z0), (1, 0, z0), (0, 1, z0))),
        ('+z', ((0, 0, z1), (0, 1, z1), (1, 0, z1))),
    ]
    return brush([(points, m.get(side, material)) for side, points in sides])


def brush(faces):
    """A brush from (three points, material) faces; the points go round clockwise seen from outside."""
    lines = ['{']
    for points, material in faces:
        lines.append(' '.join('( %g %g %g )' % p for p in points) + ' %s 0 0 0 1 1' % material)
    lines.append('}')
    return '\n'.join(lines)


def entity(keys, brushes=()):
    return '\n'.join(['{'] + ['"%s" "%s"' % kv for kv in keys.items()] + list(brushes) + ['}'])


def shell(lo, hi, material, thickness=16):
    """Six brushes closing the box lo..hi from outside: floor, ceiling and four walls."""
    (x0, y0, z0), (x1, y1, z1) = lo, hi
    t = thickness
    return [
        box((x0 - t, y0 - t, z0 - t), (x1 + t, y1 + t, z0), material),
        box((x0 - t, y0 - t, z1), (x1 + t, y1 + t, z1 + t), material),
        box((x0 - t, y0, z0), (x0, y1, z1), material),
        box((x1, y0, z0), (x1 + t, y1, z1), material),
        box((x0, y0 - t, z0), (x1, y0, z1), material),
        box((x0, y1, z0), (x1, y1 + t, z1), material),
    ]
