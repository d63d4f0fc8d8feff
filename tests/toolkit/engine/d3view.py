#!/usr/bin/env python3
"""d3view: pictures of a map in the DOOM 3 BFG engine, headless, full-bright or lit.

    d3view.py OUT MAP.map [--pk4 FILE]... [--lit] [--smooth] [--size WxH] [--fov DEG]
              [--set CVAR VALUE]... [--timeout S] [--compiled DIR] [--keep] -- VIEW...

VIEW is "X Y Z YAW" or "NAME=X Y Z YAW": a position in DOOM 3 units with Z the height of
the eye (not the feet) and YAW in degrees (0 east, +x; 90 north, +y), or a console command
"+COMMAND" run at that point of the list ("+trigger door_27", "+wait 60"). For a converted
DOOM level the map's coordinates are DOOM's times the conversion scale (1.5 by the
dialog), and DOOM's eye stands 41 units above the floor: X = 1.5 x, Y = 1.5 y,
Z = 1.5 (floor + 41), YAW = DOOM's angle.

One engine start compiles the map (classic brush faces are rewritten to the form the
engine reads), loads it with the packages, places a free-flying player at each view and
takes a picture: OUT/NAME.png, or OUT/view_NN.png numbered over the unnamed views. By
default every lit material is drawn unlit at full brightness; --lit lights the map by its
own lights (lit_setup.py: the renderer name that keeps Mesa's shaders at full precision,
r_lightScale 1, stand-ins for the default light materials no package defines). Textures
are sampled unfiltered (nearest texel, no mipmaps), as DOOM draws them, since the engine
has no setting for that (nearest.py); --smooth keeps the engine's filtering. The picture
is 1280x800 (16:10, DOOM's view without its stretch) and --fov degrees wide, 90 like
DOOM's: the engine reads g_fov, in whole degrees, as the width of a 16:9 screen, so the
g_fov that comes closest to that width on this size is worked out (--set g_fov overrides
it). With --compiled DIR the
compiled map is kept there and reused by later runs while the map text is the same. Exit
codes: 0 every picture written;
1 the engine failed or a picture is missing (the reason is printed); 2 bad usage or
input; 3 the engine is not installed or ran past --timeout. It does not judge what the
pictures show.
"""
import argparse
import math
import os
import re
import sys
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import enginerun  # noqa: E402

_NUMBER = r'[-+]?(?:\d+\.?\d*|\.\d+)'
_VIEW = re.compile(r'^(?:([A-Za-z0-9_-]+)=)?\s*(' + _NUMBER + r')\s+(' + _NUMBER + r')\s+(' + _NUMBER + r')\s+(' +
                   _NUMBER + r')\s*$')


class UsageError(Exception):
    pass


class Args(argparse.ArgumentParser):
    def error(self, message):
        raise UsageError(message)


def parse_args(argv):
    if '--' not in argv:
        raise UsageError('no views: put them after --')
    cut = argv.index('--')
    p = Args(prog='d3view.py', description='Pictures of a map in the DOOM 3 engine.')
    p.add_argument('out')
    p.add_argument('map')
    p.add_argument('--pk4', action='append', default=[], metavar='FILE')
    p.add_argument('--size', default='1280x800', metavar='WxH')
    p.add_argument('--fov', type=float, default=90.0, metavar='DEG', help='the picture\'s width in degrees')
    p.add_argument('--smooth', action='store_true', help='filter textures as the engine does (default: nearest texel)')
    p.add_argument('--timeout', type=int, default=600, metavar='S')
    p.add_argument('--lit', action='store_true', help='light the map by its own lights (default: full-bright)')
    p.add_argument('--keep', action='store_true', help='keep the engine folder and print its path')
    p.add_argument('--compiled', metavar='DIR', help='keep the compiled map here and reuse it while the map is unchanged')
    p.add_argument('--set', nargs=2, action='append', default=[], metavar=('CVAR', 'VALUE'),
                   help='an engine setting, e.g. --set r_lightScale 2')
    args = p.parse_args(argv[:cut])
    args.views = argv[cut + 1:]
    m = re.match(r'^(\d+)x(\d+)$', args.size)
    if not m or not (64 <= int(m.group(1)) <= 4096 and 64 <= int(m.group(2)) <= 4096):
        raise UsageError('--size wants WxH between 64 and 4096')
    args.size = (int(m.group(1)), int(m.group(2)))
    if not 1 <= args.fov <= 170:
        raise UsageError('--fov wants degrees between 1 and 170')
    for name, value in args.set:
        if not re.match(r'^[A-Za-z_][A-Za-z0-9_]*$', name) or not re.match(r'^[A-Za-z0-9_.+-]+$', value):
            raise UsageError('--set wants a cvar name and a plain value, not "%s" "%s"' % (name, value))
    if not args.views:
        raise UsageError('no views after --')
    return args


def engine_fov(fov, size):
    """The g_fov that makes a picture of `size` about `fov` degrees wide: the engine takes g_fov
    as the width of a 16:9 screen and keeps its height for any other shape (a square one
    excepted), in whole degrees (96 gives 89.97 degrees on 16:10, 106 89.86 on 4:3)."""
    width, height = size
    if width == height:
        return round(fov)
    half_height = math.tan(math.radians(fov) / 2) * height / width
    return round(2 * math.degrees(math.atan(half_height * 16 / 9)))


def shot_name(number):
    """The engine's own name for the picture of the number-th view (from 1)."""
    return 'shot_%02d' % number


def view_commands(views):
    """The console commands for the views and the picture names, in order; raises UsageError."""
    commands, names, numbered = [], [], 0
    for view in views:
        if view.startswith('+'):
            commands.append(view[1:])
            continue
        m = _VIEW.match(view)
        if not m:
            raise UsageError('view "%s": want "X Y Z YAW" or "NAME=X Y Z YAW"' % view)
        name = m.group(1)
        if not name:
            numbered += 1
            name = 'view_%02d' % numbered
        if name in names:
            raise UsageError('two views named %s' % name)
        if re.match(r'^shot_\d+$', name):
            raise UsageError('view name %s is kept for the engine\'s own pictures' % name)
        names.append(name)
        # the console splits words at punctuation such as '-', so the engine's file is numbered
        commands += ['setviewpos %s %s %s %s' % m.groups()[1:], 'wait 3',
                     'screenshot d3view/' + shot_name(len(names))]
    if not names:
        raise UsageError('no "X Y Z YAW" view given')
    return commands, names


def main(argv):
    try:
        args = parse_args(argv)
        commands, names = view_commands(args.views)
        with open(args.map, encoding='latin-1') as f:
            text = f.read()
        for pk4 in args.pk4:
            if not os.path.isfile(pk4) or not zipfile.is_zipfile(pk4):
                raise UsageError('not a package (zip file): %s' % pk4)
    except UsageError as e:
        print('d3view: %s' % e, file=sys.stderr)
        return 2
    except OSError as e:
        print('d3view: cannot read %s: %s' % (args.map, e.strerror), file=sys.stderr)
        return 2
    name = re.sub(r'[^A-Za-z0-9_]', '_', os.path.splitext(os.path.basename(args.map))[0]) or 'map'
    scenario = enginerun.Scenario({name: text}, name, ['god', 'notarget', 'noclip'] + commands, args.pk4,
                                  full_bright=not args.lit, nearest_texels=not args.smooth, size=args.size,
                                  timeout=args.timeout, compiled_dir=args.compiled,
                                  cvars=[('g_fov', str(engine_fov(args.fov, args.size)))] +
                                  [tuple(pair) for pair in args.set])
    try:
        result = enginerun.run(scenario, out_dir=args.out, keep=args.keep)
    except enginerun.EngineError as e:
        print('d3view: %s' % e, file=sys.stderr)
        return 3
    except enginerun.InputError as e:
        print('d3view: %s' % e, file=sys.stderr)
        return 2
    except OSError as e:
        print('d3view: %s' % e, file=sys.stderr)
        return 1
    faults = result.console.faults
    if faults:
        print('d3view: the engine failed: %s (see %s)' % (faults[0].strip(), os.path.join(args.out, 'd3engine.log')),
              file=sys.stderr)
        return 1
    missing = [n for i, n in enumerate(names) if shot_name(i + 1) not in result.shots]
    if missing:
        print('d3view: no picture for %s (see %s)' % (', '.join(missing), os.path.join(args.out, 'd3engine.log')),
              file=sys.stderr)
        return 1
    for i, n in enumerate(names):
        target = os.path.join(args.out, n + '.png')
        os.replace(result.shots[shot_name(i + 1)], target)
        print(target)
    print('d3view: %d pictures in %.0f s' % (len(names), result.seconds))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
