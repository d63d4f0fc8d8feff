"""Measures how much of a converted level shows in DOOM 3 the texel DOOM shows.

  texcheck.py WAD LEVEL MAP --pk4 PKG [--pk4 PKG]... [--scale F] [--min PERCENT]
              [--stride N] [--report N] [--json FILE]

The DOOM side (doomsurfaces) samples every surface DOOM draws at the level's start at
texel centres and knows the texel it shows there, by the renderer's rules with the
port rule for wrapping (by the texture's own width and height). The DOOM 3 side
(d3map, d3materials, d3view) finds the brush face a viewer on the same side sees at
the point times the scale and the texel of its material's first active diffuse stage.
A sample agrees when the image is the one the package's naming gives the DOOM name
(textures/<set>/<NAME>.tga, flats in textures/<set>/flats/, characters other than
letters, digits and underscore written _XX) at the same column and row. Written apart
from the converter; it reads only the wad, the map and the packages. It does not look
at lighting, sky, things, or whether faces are hidden behind other brushes.
Exit 0 when the agreement reaches --min (default 98), 1 below, 2 on bad input.
"""
import argparse
import collections
import functools
import json
import os
import signal
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'geocheck'))
import d3map  # noqa: E402
import d3materials  # noqa: E402
import d3view  # noqa: E402
import doomlevel  # noqa: E402
import doomsurfaces  # noqa: E402
import doomtextures  # noqa: E402

PLANE_TOLERANCE = 0.01   # a face this close to the sample's plane shows there, world units
MASKED_DEPTH = 2.0       # a masked middle's brush may stand this far off its line, DOOM units
KINDS = ('upper', 'lower', 'middle', 'masked', 'floor', 'ceiling')


def safe_name(name):
    return ''.join(c if c.isascii() and (c.isalnum() or c == '_') else '_%02X' % ord(c) for c in name)


@functools.lru_cache(maxsize=None)
def image_shows(image, name, is_flat):
    parts = image.split('/')
    wanted = ['textures', None, 'flats', safe_name(name).lower()] if is_flat else \
        ['textures', None, safe_name(name).lower()]
    return len(parts) == len(wanted) and all(w is None or w == p for w, p in zip(wanted, parts))


class Tally:
    def __init__(self):
        self.kinds = collections.defaultdict(lambda: [0, 0])
        self.textures = collections.defaultdict(lambda: [0, 0])
        self.reasons = collections.Counter()
        self.disagreements = []
        self.samples = self.agree = 0

    def add(self, sample, reason, detail, keep):
        kind, name, is_flat = sample[0], sample[1], sample[2]
        ok = reason is None
        self.samples += 1
        self.agree += ok
        for table, key in ((self.kinds, kind), (self.textures, (name, 'flat' if is_flat else 'wall'))):
            table[key][0] += 1
            table[key][1] += ok
        if not ok:
            self.reasons[reason] += 1
            if len(self.disagreements) < keep:
                self.disagreements.append(detail)


def judge(sample, viewer, scale):
    """(why it disagrees, or None; the face seen; what it shows there, or None)."""
    kind, name, is_flat, x, y, z, nx, ny, nz, column, row, _where = sample
    point = (x * scale, y * scale, z * scale)
    depth = MASKED_DEPTH * scale + PLANE_TOLERANCE if kind == 'masked' else PLANE_TOLERANCE
    face = viewer.face_at(point, (nx, ny, nz), depth)
    if face is None:
        return 'no face', None, None
    if face.look[0] == 'fail':
        return face.look[1], face, None
    shown = viewer.texel(face, point)
    if not image_shows(shown[0], name, is_flat):
        return 'other image', face, shown
    return (None if shown[1:3] == (column, row) else 'texel'), face, shown


def describe(sample, reason, face, shown):
    kind, name, _flat, x, y, z, _nx, _ny, _nz, column, row, where = sample
    seen = 'no drawn face facing the viewer'
    if face is not None:
        seen = '%s, material %s' % (face.face.label, face.face.material)
    if shown is not None:
        seen += ', image %s texel (%d, %d) at (s\', t\') = (%.4f, %.4f)' % shown
    return '%s %s %s at (%g, %g, %g): DOOM texel (%d, %d); DOOM 3 %s: %s' % (
        where, kind, name, x, y, z, column, row, reason, seen)


def compare(samples, viewer, scale, keep):
    tally = Tally()
    for sample in samples:
        reason, face, shown = judge(sample, viewer, scale)
        detail = None
        if reason is not None and len(tally.disagreements) < keep:
            detail = describe(sample, reason, face, shown)
        tally.add(sample, reason, detail, keep)
    return tally


def percent(part, whole):
    return 100.0 * part / whole if whole else 100.0


def summary(tally, wad, level, stride, seconds, unknown, skipped_primitives):
    lines = ['texcheck %s %s: %d samples (stride %d), %.1f%% agree, %.1f s' % (
        os.path.basename(wad), level.upper(), tally.samples, stride, percent(tally.agree, tally.samples), seconds)]
    for kind in KINDS:
        n, ok = tally.kinds.get(kind, (0, 0))
        if n:
            lines.append('  %-8s %8d samples %6.1f%% agree' % (kind, n, percent(ok, n)))
    if tally.reasons:
        lines.append('  disagreements: ' + ', '.join('%s %d' % r for r in tally.reasons.most_common()))
    worst = sorted(tally.textures.items(), key=lambda item: (item[1][1] - item[1][0], item[0]))[:10]
    worst = [w for w in worst if w[1][1] < w[1][0]]
    if worst:
        lines.append('  worst textures: ' + '; '.join('%s (%s) %d of %d' % (name, kind, n - ok, n)
                                                       for (name, kind), (n, ok) in worst))
    if unknown:
        lines.append('  names the wad does not define (not sampled): ' + ' '.join(sorted(unknown)[:20]))
    if skipped_primitives:
        lines.append('  primitives not in the classic brush form (not read): %d' % skipped_primitives)
    return lines


def write_json(path, document):
    temporary = path + '.tmp'
    try:
        with open(temporary, 'w') as f:
            json.dump(document, f, indent=1, sort_keys=True)
        os.replace(temporary, path)
    except OSError as e:
        raise d3materials.InputError('cannot write %s: %s' % (path, e.strerror))


def main(argv):
    p = argparse.ArgumentParser(prog='texcheck.py')
    p.add_argument('wad')
    p.add_argument('level')
    p.add_argument('map')
    p.add_argument('--pk4', action='append', required=True)
    p.add_argument('--scale', type=float, default=1.0)
    p.add_argument('--min', type=float, default=98.0)
    p.add_argument('--stride', type=int, default=5, help='sample every Nth texel (default 5)')
    p.add_argument('--report', type=int, default=0, help='print the first N disagreements')
    p.add_argument('--json')
    try:
        args = p.parse_args(argv)
    except SystemExit as e:
        return 2 if e.code else 0
    if args.stride < 1 or args.scale <= 0:
        print('texcheck: --stride must be at least 1 and --scale positive', file=sys.stderr)
        return 2
    started = time.time()
    try:
        wad = doomlevel.Wad(args.wad)
        level = doomlevel.load_from(wad, args.level)
        textures = doomtextures.TextureSet(wad)
        library = d3materials.Library(args.pk4)
        map_faces = d3map.read(args.map)
        sampler = doomsurfaces.Sampler(level, textures, args.stride)
        samples = sampler.run()
        if not samples:
            raise d3materials.InputError('level %s has no surface to sample' % args.level.upper())
        viewer = d3view.Viewer(map_faces, library, MASKED_DEPTH * args.scale + PLANE_TOLERANCE)
        tally = compare(samples, viewer, args.scale, args.report)
        seconds = time.time() - started
        lines = summary(tally, args.wad, args.level, args.stride, seconds, sampler.unknown_names,
                        map_faces.skipped_primitives)
        if args.json:
            write_json(args.json, {
                'level': args.level.upper(), 'samples': tally.samples, 'agree': tally.agree,
                'percent': percent(tally.agree, tally.samples), 'stride': args.stride, 'seconds': seconds,
                'kinds': {k: {'samples': v[0], 'agree': v[1]} for k, v in tally.kinds.items()},
                'reasons': dict(tally.reasons),
                'textures': {'%s %s' % k: {'samples': v[0], 'agree': v[1]} for k, v in tally.textures.items()},
                'disagreements': tally.disagreements})
    except (doomlevel.LevelError, d3materials.InputError) as e:
        print('texcheck: %s' % e, file=sys.stderr)
        return 2
    for warning in library.warnings[:5]:
        print('  warning: %s' % warning)
    print('\n'.join(lines))
    for detail in tally.disagreements:
        print('  ' + detail)
    return 0 if percent(tally.agree, tally.samples) >= args.min else 1


if __name__ == '__main__':
    if hasattr(signal, 'SIGPIPE'):
        signal.signal(signal.SIGPIPE, signal.SIG_DFL)  # quiet when piped into head
    sys.exit(main(sys.argv[1:]))
