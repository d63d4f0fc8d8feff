#!/usr/bin/env python3
"""DOOM beside DOOM 3 at the same places of a level:

  pairviews.py WAD LEVEL VIEWS OUTDIR [--doom3 NAME=PNG ...] [--scale 1.5] [--doom3-fov 90]
               [--prefix TEXT]

VIEWS holds one view a line, "NAME X Y ANGLE" in DOOM map units and degrees (# starts a
comment). For each view this writes OUTDIR/NAME-doom.png (DOOM's own view, doomview.py),
and, when a DOOM 3 picture of that view is given with --doom3, OUTDIR/NAME-pair.png: both
side by side, cut to the field of view they share, with a caption. OUTDIR/doom3-views.txt
lists each view as the DOOM 3 engine run takes it, "NAME X Y Z YAW" with X = x*scale,
Y = y*scale, Z = (floor + 41)*scale (DOOM's eye above the floor DOOM gives the point) and
YAW = angle. --prefix puts TEXT before every file name written ("MAP01-" gives
MAP01-start-doom.png).

Deliberately not checked: that a DOOM 3 picture shows the view it is named for. Both
pictures are taken as true perspective views with square pixels, centred on the line of
sight; the DOOM 3 one --doom3-fov degrees wide (the BFG engine reads g_fov as the width
of a 16:9 screen, in whole degrees: a 4:3 shot is 90 degrees wide with g_fov 106, 74 with
g_fov 90; a 16:10 one with g_fov 96).
Every file is written to a temporary name and renamed. Exit codes: 0 all written, 1 bad input, 2 the port
or ImageMagick failed."""
import argparse
import math
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import doomview  # noqa: E402
import doomwad  # noqa: E402

DOOM_EYE_HEIGHT = 41
# The DOOM picture: 90 degrees wide, 16:10 with square pixels (see doomview.py).
DOOM_HALF_TANGENTS = (1.0, 0.625)
PANEL_WIDTH = 640
BACKGROUND = '#181818'


class PairError(Exception):
    def __init__(self, message, code=1):
        super().__init__(message)
        self.code = code


def read_views(path):
    """[(name, x, y, angle)] in file order."""
    try:
        with open(path) as f:
            lines = f.read().splitlines()
    except OSError as e:
        raise PairError('cannot read %s: %s' % (path, e.strerror))
    views = []
    for number, line in enumerate(lines, 1):
        words = line.split('#')[0].split()
        if not words:
            continue
        try:
            name, x, y, angle = words[0], int(words[1]), int(words[2]), float(words[3])
            if len(words) != 4 or not name.replace('-', '').replace('_', '').isalnum():
                raise ValueError
        except (ValueError, IndexError):
            raise PairError('%s:%d: expected "NAME X Y ANGLE" (a plain name, whole map units)' % (path, number))
        if any(name == v[0] for v in views):
            raise PairError('%s:%d: view %s is named twice' % (path, number, name))
        views.append((name, x, y, angle))
    if not views:
        raise PairError('%s holds no view' % path)
    return views


def doom3_view(x, y, angle, floor, scale):
    """The engine run's "X Y Z YAW" for DOOM's eye at (x, y) above floor."""
    def number(value):
        return ('%.3f' % value).rstrip('0').rstrip('.')
    return ' '.join(number(v) for v in (x * scale, y * scale, (floor + DOOM_EYE_HEIGHT) * scale, angle % 360))


def shared_crops(doom_size, doom3_size, doom3_fov):
    """The centred crops (width, height) of the DOOM and the DOOM 3 picture that show the
    same angles: the narrower of the two fields in each direction."""
    tx = math.tan(math.radians(doom3_fov) / 2)
    doom3_half = (tx, tx * doom3_size[1] / doom3_size[0])
    shared = [min(a, b) for a, b in zip(DOOM_HALF_TANGENTS, doom3_half)]

    def crop(size, half):
        return tuple(max(1, round(size[i] * shared[i] / half[i])) for i in (0, 1))
    return crop(doom_size, DOOM_HALF_TANGENTS), crop(doom3_size, doom3_half)


def picture_size(path):
    try:
        out = subprocess.run(['identify', '-format', '%w %h', path + '[0]'], stdout=subprocess.PIPE,
                             stderr=subprocess.PIPE, timeout=60, check=True).stdout.split()
        return int(out[0]), int(out[1])
    except FileNotFoundError:
        raise PairError('ImageMagick is not installed (Debian package imagemagick)', 2)
    except (subprocess.SubprocessError, ValueError, IndexError):
        raise PairError('%s is not a picture ImageMagick can read' % path)


def write_pair(doom_png, doom3_png, out_png, title, doom_caption, doom3_caption, doom3_fov):
    doom_crop, doom3_crop = shared_crops(picture_size(doom_png), picture_size(doom3_png), doom3_fov)
    panel = '%dx%d!' % (PANEL_WIDTH, round(PANEL_WIDTH * doom_crop[1] / doom_crop[0]))

    def column(path, crop, caption):
        return ['(', path, '-crop', '%dx%d+0+0' % crop, '+repage', '-resize', panel,
                '(', '-pointsize', '16', 'label:' + caption, ')', '-append', '-bordercolor', BACKGROUND,
                '-border', '6', ')']
    folder = os.path.dirname(os.path.abspath(out_png))
    try:
        fd, temporary = tempfile.mkstemp(dir=folder, prefix='.pairviews-', suffix='.png')
        os.close(fd)
    except OSError as e:
        raise PairError('cannot write in %s: %s' % (folder, e.strerror))
    command = (['convert', '-background', BACKGROUND, '-fill', 'white', '-font', 'DejaVu-Sans',
                '-gravity', 'center']
               + column(doom_png, doom_crop, doom_caption) + column(doom3_png, doom3_crop, doom3_caption)
               + ['+append', '(', '-pointsize', '20', 'label:' + title, ')', '+swap', '-append',
                  '-bordercolor', BACKGROUND, '-border', '6', 'PNG24:' + temporary])
    try:
        subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, timeout=120, check=True)
        os.replace(temporary, out_png)
    except (subprocess.SubprocessError, OSError) as e:
        said = getattr(e, 'stderr', b'') or b''
        raise PairError('ImageMagick could not write %s%s' % (
            out_png, ': ' + said.decode('latin-1').strip().splitlines()[-1] if said.strip() else ''), 2)
    finally:
        if os.path.exists(temporary):
            os.unlink(temporary)


def write_text(path, text):
    folder = os.path.dirname(os.path.abspath(path))
    try:
        fd, temporary = tempfile.mkstemp(dir=folder, prefix='.pairviews-', suffix='.txt')
        try:
            with os.fdopen(fd, 'w') as f:
                f.write(text)
            os.replace(temporary, path)
        except BaseException:
            os.unlink(temporary)
            raise
    except OSError as e:
        raise PairError('cannot write %s: %s' % (path, e.strerror))


def parse_doom3(values, views):
    pictures = {}
    for value in values:
        name, _, path = value.partition('=')
        if not path or name not in [v[0] for v in views]:
            raise PairError('--doom3 %s: give NAME=PNG with a view name from the views file' % value)
        if not os.path.isfile(path):
            raise PairError('the DOOM 3 picture %s does not exist' % path)
        picture_size(path)   # unreadable pictures stop the run before the port starts
        pictures[name] = path
    return pictures


def parse_args(argv):
    parser = doomview.OneLineParser(description='DOOM and DOOM 3 pictures of the same places, side by side.')
    parser.add_argument('wad', help='the wad that holds the level (an IWAD, or a PWAD with --iwad)')
    parser.add_argument('level', help='MAPxx or ExMy')
    parser.add_argument('views', help='a file of "NAME X Y ANGLE" lines')
    parser.add_argument('outdir', help='the folder that receives the pictures (made if missing)')
    parser.add_argument('--doom3', action='append', default=[], metavar='NAME=PNG',
                        help='the DOOM 3 picture of view NAME (repeatable)')
    parser.add_argument('--scale', type=float, default=1.5, help='the conversion\'s scale, default 1.5')
    parser.add_argument('--doom3-fov', type=float, default=90, help='the DOOM 3 picture\'s width in degrees, default 90')
    parser.add_argument('--iwad', help='the game\'s IWAD when WAD is a PWAD')
    parser.add_argument('--prefix', default='', help='text before every file name written (a plain name)')
    parser.add_argument('--width', type=doomview.parse_width, default=1280, help='DOOM picture width, default 1280')
    parser.add_argument('--monsters', action='store_true', help='keep DOOM\'s monsters (off by default)')
    parser.add_argument('--time-limit', type=doomview.positive_seconds, default=60,
                        help='seconds the port may take per view, default 60')
    args = parser.parse_args(argv)
    if not 0 < args.scale <= 100 or not 1 <= args.doom3_fov <= 170:
        parser.error('--scale must lie in (0, 100] and --doom3-fov in [1, 170]')
    if args.prefix and not args.prefix.replace('-', '').replace('_', '').isalnum():
        parser.error('--prefix must be letters, digits, - and _')
    return args


def run(args):
    views = read_views(args.views)
    pictures = parse_doom3(args.doom3, views)
    _kind, lumps = doomwad.read_wad(args.wad)
    level = doomwad.level_lumps(lumps, args.level)
    try:
        os.makedirs(args.outdir, exist_ok=True)
    except OSError as e:
        raise PairError('cannot make %s: %s' % (args.outdir, e.strerror))
    width, height = args.width, args.width * 10 // 16
    listing = ''
    for name, x, y, angle in views:
        d3 = doom3_view(x, y, angle, doomwad.floor_at(level, x, y), args.scale)
        listing += '%s %s\n' % (name, d3)
        doom_png = os.path.join(args.outdir, args.prefix + name + '-doom.png')
        view = argparse.Namespace(wad=args.wad, level=args.level, x=x, y=y, angle=angle, iwad=args.iwad,
                                  monsters=args.monsters, time_limit=args.time_limit)
        doomview.write_png(doom_png, width, height, doomview.render(view, width, height))
        print('%s: %s (DOOM 3 view %s)' % (name, doom_png, d3))
        if name in pictures:
            pair_png = os.path.join(args.outdir, args.prefix + name + '-pair.png')
            write_pair(doom_png, pictures[name], pair_png,
                       '%s %s: x %d, y %d, facing %g degrees' % (args.level.upper(), name, x, y, angle % 360),
                       'DOOM (dsda-doom)', 'DOOM 3 (converted): %s' % d3, args.doom3_fov)
            print('%s: %s' % (name, pair_png))
    write_text(os.path.join(args.outdir, args.prefix + 'doom3-views.txt'), listing)


def main(argv):
    args = parse_args(argv)
    try:
        run(args)
    except (PairError, doomview.ViewError, doomwad.WadError) as e:
        print('pairviews: %s' % e, file=sys.stderr)
        return getattr(e, 'code', 1)
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
