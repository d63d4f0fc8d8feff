#!/usr/bin/env python3
"""Renders DOOM's own view of a place in a level to a PNG, headless, with Debian's
dsda-doom:

  doomview.py WAD LEVEL X Y ANGLE OUT.png [--iwad IWAD] [--width W] [--monsters]

How: a temporary PWAD holds the level with the player 1 start moved to (X, Y); a
three-tic demo turns the player from the start's 45-degree step to ANGLE exactly
(a long-tics demo turns in 1/65536 of a circle) with monsters off; the port plays it
as a timed demo on SDL's offscreen video driver and pipes every frame it draws, as raw
RGB, through its video capture; the last frame becomes the PNG. The view is the whole
screen (no status bar, weapon, messages or wipe), 90 degrees wide, the eye 41 units
above the floor. The picture is 16:10 with the port told the screen is 4:3, which
gives square pixels: DOOM's own 320x200 frame geometry without its 4:3 stretch, a true
perspective view like DOOM 3's (measured on a crafted room: walls, floor and ceiling
edges fall on the predicted pixels).

Deliberately not checked: that (X, Y) lies inside the level (DOOM puts the player in
whichever sector its nodes give). The temporary folder is owned here and removed;
OUT.png is written to a temporary file and renamed. Exit codes: 0 written, 1 bad
input, 2 the port failed or timed out."""
import argparse
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import doomwad  # noqa: E402


class ViewError(Exception):
    def __init__(self, message, code=1):
        super().__init__(message)
        self.code = code


PORT = 'dsda-doom'
SKILL_HURT_ME_PLENTY = 2   # the middle skill, whose things the converter keeps
SETTLE_TICS = 2            # idle tics after the turn, so the drawn frame shows the level at rest

# Settings for the port: the view fills the screen, nothing is drawn over it, the 4:3
# aspect is forced (see above), and the video capture pipes raw frames, one per tic, to a
# file.
CONFIG = '''videomode "Software"
screen_resolution "{width}x{height}"
use_fullscreen 0
render_aspect 3
screenblocks 11
show_messages 0
hud_displayed 0
render_wipescreen 0
hudadd_demoprogressbar 0
hudadd_crosshair 0
dsda_hide_weapon 1
dsda_show_demo_attempts 0
dsda_exhud 0
cap_wipescreen 0
cap_fps 35
cap_soundcommand "cat > /dev/null"
cap_videocommand "cat > frames.rgb"
cap_muxcommand "true"
'''


def level_numbers(level):
    """(episode, map) as a demo names the level: MAPxx is episode 1, ExMy itself."""
    name = level.upper()
    if name.startswith('MAP') and name[3:].isdigit() and 1 <= int(name[3:]) <= 99:
        return 1, int(name[3:])
    if len(name) == 4 and name[0] == 'E' and name[2] == 'M' and name[1].isdigit() and name[3].isdigit():
        return int(name[1]), int(name[3])
    raise ViewError('%s is not a level name (MAPxx or ExMy)' % level)


def start_angle(angle):
    """DOOM spawns a player facing its start's angle rounded down to 45 degrees."""
    return int(angle % 360 // 45 * 45)


def view_demo(level, angle, monsters):
    """A DOOM 1.91 long-tics demo: player 1 alone, one tic turning the rest of the way
    from the start's angle to angle, then idle tics."""
    episode, number = level_numbers(level)
    turn = round((angle % 360 - start_angle(angle)) * 65536 / 360)
    header = bytes([111, SKILL_HURT_ME_PLENTY, episode, number, 0, 0, 0, 0 if monsters else 1, 0, 1, 0, 0, 0])
    tic = struct.Struct('<bbhB')   # forward, side, turn (counter-clockwise), buttons
    tics = tic.pack(0, 0, turn, 0) + tic.pack(0, 0, 0, 0) * SETTLE_TICS
    return header + tics + b'\x80'


def write_png(path, width, height, rgb):
    """An 8-bit RGB PNG, written to a temporary file beside path and renamed."""
    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
    stride = width * 3
    rows = b''.join(b'\0' + rgb[y * stride:(y + 1) * stride] for y in range(height))
    png = (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 2, 0, 0, 0))
           + chunk(b'IDAT', zlib.compress(rows, 6)) + chunk(b'IEND', b''))
    folder = os.path.dirname(os.path.abspath(path))
    try:
        fd, temporary = tempfile.mkstemp(dir=folder, prefix='.doomview-', suffix='.tmp')
        try:
            with os.fdopen(fd, 'wb') as f:
                f.write(png)
            os.replace(temporary, path)
        except BaseException:
            os.unlink(temporary)
            raise
    except OSError as e:
        raise ViewError('cannot write %s: %s' % (path, e.strerror))


def find_port():
    path = shutil.which(PORT, path=os.environ.get('PATH', '') + os.pathsep + '/usr/games')
    if not path:
        raise ViewError('%s is not installed (Debian package dsda-doom)' % PORT, 2)
    return path


def render(args, width, height):
    """Plays the view demo in a temporary folder and returns the last frame's bytes."""
    kind, lumps = doomwad.read_wad(args.wad)
    iwad = args.iwad or (args.wad if kind == b'IWAD' else None)
    if not iwad:
        raise ViewError('%s is a PWAD: name the game\'s IWAD with --iwad' % args.wad)
    level = doomwad.level_lumps(lumps, args.level)
    things = dict(level)['THINGS']
    level = doomwad.replace_lump(level, 'THINGS', doomwad.move_player_start(
        things, args.x, args.y, start_angle(args.angle)))
    port = find_port()
    frame_bytes = width * height * 3
    with tempfile.TemporaryDirectory(prefix='doomview-') as work:
        doomwad.write_pwad(os.path.join(work, 'view.wad'), level)
        with open(os.path.join(work, 'view.lmp'), 'wb') as f:
            f.write(view_demo(args.level, args.angle, args.monsters))
        with open(os.path.join(work, 'view.cfg'), 'w') as f:
            f.write(CONFIG.format(width=width, height=height))
        os.chmod(work, 0o700)   # SDL wants its runtime folder private
        env = dict(os.environ, HOME=work, XDG_RUNTIME_DIR=work,
                   SDL_VIDEODRIVER='offscreen', SDL_RENDER_DRIVER='software')
        files = ([os.path.abspath(args.wad)] if kind == b'PWAD' else []) + ['view.wad']
        command = [port, '-iwad', os.path.abspath(iwad), '-file', *files, '-config', 'view.cfg',
                   '-nosound', '-geometry', '%dx%d' % (width, height),
                   '-timedemo', 'view.lmp', '-viddump', 'unused.mkv']
        try:
            run = subprocess.run(command, cwd=work, env=env, stdin=subprocess.DEVNULL,
                                 stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=args.time_limit)
        except subprocess.TimeoutExpired:
            raise ViewError('%s did not finish within %d s' % (PORT, args.time_limit), 2)
        frames = os.path.join(work, 'frames.rgb')
        size = os.path.getsize(frames) if os.path.exists(frames) else 0
        # Whole frames only: another size would mean the port drew at another resolution.
        if run.returncode != 0 or size == 0 or size % frame_bytes:
            said = [line for line in run.stdout.decode('latin-1').splitlines() if line.strip()]
            raise ViewError('%s drew no %dx%d frame (exit code %d)%s' % (
                PORT, width, height, run.returncode, ': ' + said[-1].strip() if said else ''), 2)
        with open(frames, 'rb') as f:
            f.seek(size - frame_bytes)
            return f.read()


def positive_seconds(text):
    try:
        seconds = int(text)
    except ValueError:
        seconds = 0
    if not 1 <= seconds <= 3600:
        raise argparse.ArgumentTypeError('%s: give whole seconds from 1 to 3600' % text)
    return seconds


def parse_width(text):
    # 16:10 keeps the pixels square (see above); the port takes heights of 200 and 400
    # for VGA modes with tall pixels, so widths start above 640.
    try:
        width = int(text)
    except ValueError:
        raise argparse.ArgumentTypeError('%s is not a width' % text)
    if width % 16 or not 800 <= width <= 2560:
        raise argparse.ArgumentTypeError('%s: give a multiple of 16 from 800 to 2560' % text)
    return width


class OneLineParser(argparse.ArgumentParser):
    """Usage faults as one line and exit code 1, like every other fault."""
    def error(self, message):
        print('%s: %s' % (os.path.splitext(self.prog)[0], message), file=sys.stderr)
        sys.exit(1)


def parse_args(argv):
    parser = OneLineParser(description='Render DOOM\'s view at (X, Y) facing ANGLE to a PNG.')
    parser.add_argument('wad', help='the wad that holds the level (an IWAD, or a PWAD with --iwad)')
    parser.add_argument('level', help='MAPxx or ExMy')
    parser.add_argument('x', type=int, help='DOOM map units')
    parser.add_argument('y', type=int, help='DOOM map units')
    parser.add_argument('angle', type=float, help='degrees, 0 = east, counter-clockwise')
    parser.add_argument('out', help='the PNG to write')
    parser.add_argument('--iwad', help='the game\'s IWAD when WAD is a PWAD')
    parser.add_argument('--width', type=parse_width, default=1280, help='picture width, default 1280 (16:10)')
    parser.add_argument('--monsters', action='store_true', help='keep the monsters (off by default)')
    parser.add_argument('--time-limit', type=positive_seconds, default=60, help='seconds the port may take, default 60')
    return parser.parse_args(argv)


def main(argv):
    args = parse_args(argv)
    try:
        width, height = args.width, args.width * 10 // 16
        write_png(args.out, width, height, render(args, width, height))
    except (ViewError, doomwad.WadError) as e:
        print('doomview: %s' % e, file=sys.stderr)
        return getattr(e, 'code', 1)
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
