"""Freedoom's MAP01 in the game, converted as the road converts it.

    map01_test.py BUILD_DIR [OUT_DIR]

freedoom2.wad copied as doom2.wad into a program folder, its textures extracted by the
kit's xtract.sh, the level converted with the dialog's options (-bound -scale 1.5 -doom2)
and the thing table, named by Scorvel; then one engine start compiles and loads it: every
brush entity is spawned with its render and clip model, the first door (DOOM sector 27,
east of the start) rises by its travel when triggered and its doorway changes in the
picture, and the view from the start shows the level (many colours, not dark). Then,
walking (no noclip), the player pushed across a teleport line from its front arrives at
its teleporter_<thing> facing its angle, and pushed against the exit switch throws it (its
panel's parm setter is activated) and starts loading MAP02 (a small hand-written room). Those lines are found by the map's doom_special keys and
their targets, and placed from the wad's own lines. Exit 0 pass, 1 fail, 77 skipped (no
engine, no tools, or no Freedoom).
"""
import os
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import consolelog  # noqa: E402
import enginerun  # noqa: E402
import handmaps  # noqa: E402
import linewalk  # noqa: E402
import pngread  # noqa: E402
import runtime  # noqa: E402
from runtime import EYE, SCALE  # noqa: E402
sys.path.insert(0, os.path.join(HERE, '..', 'dmap'))
import mapfile  # noqa: E402

WAD = '/usr/share/games/doom/freedoom2.wad'
FIRST_DOOR = 'door_27'
START_VIEW = (-288, -240, 3 + EYE, 0)   # the player start, DOOM (-192, -160) facing east
CENTRE = (0.4, 0.3, 0.6, 0.7)
SHOT_SIZE = (320, 240)
# DOOM's walk-over teleports (W1, WR) and normal exits (switch, walk-over), by line special.
WALK_TELEPORTS = (39, 97)
EXITS = {11: 'switch', 52: 'walk'}
# How far out on a line's front a walk starts: past a switch's trigger (32 deep) and the
# player's half width, or short of a teleport's (its slabs lie within 20 of the line).
SWITCH_DISTANCE, WALK_DISTANCE = 64, 40
WALK_SPEED = 200


def texture_package(build, folder):
    """Runs the kit's xtract.sh on doom2.wad in a program folder; returns the package and its list."""
    for tool in ('toolkit/doomtex/doomtex', 'toolkit/wad2tga/wad2tga', 'toolkit/zip/kzip'):
        shutil.copy(os.path.join(build, tool), folder)
    shutil.copy(os.path.join(HERE, '..', '..', '..', 'toolkit', 'xtract', 'xtract.sh'), folder)
    shutil.copyfile(WAD, os.path.join(folder, 'doom2.wad'))
    p = subprocess.run(['sh', './xtract.sh', 'doom2'], cwd=folder, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                       text=True)
    if p.returncode != 0:
        raise runtime.ConvertError('xtract.sh failed: ' + p.stdout.strip()[-200:])
    return os.path.join(folder, 'zdoom2tex.pk4'), os.path.join(folder, 'DOOM2.TEX')


def door_view(door):
    """A view of the door from 256 units away on its west side, looking east at its middle."""
    x = door.mins[0] - 256
    y = (door.mins[1] + door.maxs[1]) / 2
    return x, y, door.mins[2] + EYE, 0


def commands(entities, door):
    model_cmds, script = runtime.model_commands([e.name for e in entities])
    script += enginerun.standins.report_bounds('kit_report_door', [door.name])
    cmds = ['god', 'notarget', 'noclip'] + model_cmds
    cmds += ['echo kit: start', 'setviewpos %g %g %g %g' % START_VIEW, 'wait 3', 'screenshot kit/start']
    cmds += ['echo kit: door', 'setviewpos %g %g %g %g' % door_view(door), 'wait 3', 'screenshot kit/door_closed',
             'trigger ' + door.name, 'wait %d' % runtime.opening_frames(door), 'screenshot kit/door_open',
             'script kit_report_door()', 'wait 2']
    return cmds, script


class LineSpecial:
    """A trigger the converter made for a DOOM line, and what it sets off."""

    def __init__(self, trigger, target, walk):
        self.trigger = trigger    # the BrushEntity of the trigger
        self.target = target      # the keys of the entity it targets
        self.walk = walk          # linewalk.Walk to cross the line from its front


def find_specials(text, entities, level):
    """The first walk-over teleport line with its teleporter, and the first exit line with its
    target_endLevel; None for either the map lacks. Raises linewalk.WalkError."""
    named = {keys.get('name'): keys for keys, _ in mapfile.read_entities(text)}
    teleport = exit_line = None
    for e in sorted(entities, key=lambda e: int(e.keys.get('doom_line', 1 << 30))):
        special = int(e.keys.get('doom_special', 0))
        target = named.get(e.keys.get('target'), {})
        if e.name.endswith('_arm') or not target:
            continue
        if teleport is None and special in WALK_TELEPORTS and target.get('classname') == 'func_teleporter':
            teleport = LineSpecial(e, target, _walk(level, e, WALK_DISTANCE))
        if exit_line is None and special in EXITS and target.get('classname') == 'target_endLevel':
            distance = SWITCH_DISTANCE if EXITS[special] == 'switch' else WALK_DISTANCE
            exit_line = LineSpecial(e, target, _walk(level, e, distance))
    return teleport, exit_line


def _walk(level, trigger, distance):
    line = int(trigger.keys['doom_line'])
    walk = linewalk.walk_to_line(level, line, distance, SCALE, EYE)
    # The line's middle must lie at its trigger: the wad's line numbers are the converter's.
    record = level.linedefs[line]
    a, b = level.vertices[record.v1], level.vertices[record.v2]
    mid = ((a[0] + b[0]) / 2 * SCALE, (a[1] + b[1]) / 2 * SCALE)
    gap = max(max(lo - v, v - hi, 0) for v, lo, hi in zip(mid, trigger.mins, trigger.maxs))
    if gap > 32 * SCALE:
        raise linewalk.WalkError('line %d lies %g units from its trigger %s' % (line, gap, trigger.name))
    return walk


def special_walks(checks, teleport, exit_line):
    """The commands that walk the player across the teleport line, then up to the exit (last:
    it loads the next map); a missing one is a fault."""
    checks.expect(teleport is not None, 'the converted map has no walk-over teleport with its teleporter')
    checks.expect(exit_line is not None, 'the converted map has no exit line with its target_endLevel')
    cmds = ['noclip']   # walking: a noclip player touches no triggers
    if teleport:
        cmds += walk_commands('teleport', teleport, 70)
    if exit_line:
        cmds += walk_commands('exit', exit_line, 120)
    return cmds


def walk_commands(name, special, frames_after):
    vx, vy = special.walk.velocity(WALK_SPEED)
    return ['echo kit: ' + name, special.walk.setviewpos(), 'wait 5',
            'script kit_walk(%.2f, %.2f, 60)' % (vx, vy), 'wait %d' % frames_after, 'getviewpos']


def check_teleport(checks, part, teleport):
    x, y, _ = (float(v) for v in teleport.target['origin'].split())
    yaw = float(teleport.target.get('angle', 0))
    seen = consolelog.views(part)
    checks.expect('kit_walk jumped' in part, 'crossing %s did not move the player' % teleport.trigger.name)
    checks.expect(seen and abs(seen[-1].x - x) < 8 and abs(seen[-1].y - y) < 8 and
                  abs((seen[-1].yaw - yaw + 180) % 360 - 180) < 1,
                  'crossing %s: the player is not at %s (%g %g facing %g) but at %s' %
                  (teleport.trigger.name, teleport.target['name'], x, y, yaw, seen and seen[-1]))


def check_exit(checks, part, exit_line):
    checks.expect(runtime.activated(part, exit_line.target['name']),
                  '%s did not activate %s' % (exit_line.trigger.name, exit_line.target['name']))
    if EXITS[int(exit_line.trigger.keys['doom_special'])] == 'switch':
        thrown = 'switch_%s_on' % exit_line.trigger.keys['doom_line']
        checks.expect(runtime.activated(part, thrown), '%s did not throw its switch (%s)' % (exit_line.trigger.name, thrown))
    checks.expect(consolelog.maps_started(part) == [exit_line.target.get('nextMap')],
                  '%s: MAP02 did not start loading (maps started: %s)' %
                  (exit_line.trigger.name, consolelog.maps_started(part)))


def test(tools, checks, out):
    with tempfile.TemporaryDirectory() as work:
        pk4, tex = texture_package(tools.build, work)
        text = runtime.convert(tools, os.path.join(work, 'doom2.wad'), 'MAP01', os.path.join(work, 'convert'),
                               ['-bound', '-scale', '1.5', '-doom2'], [tex])
        entities = runtime.brush_entities(text)
        door = next((e for e in entities if e.name == FIRST_DOOR), None)
        if not checks.expect(door is not None, 'the converted map has no %s' % FIRST_DOOR):
            return
        cmds, script = commands(entities, door)
        teleport, exit_line = find_specials(text, entities, linewalk.load_level(WAD, 'MAP01'))
        cmds += special_walks(checks, teleport, exit_line)
        maps = {'MAP01': text, 'MAP02': handmaps.next_map()}
        result = enginerun.run(enginerun.Scenario(maps, 'MAP01', cmds, [pk4, tools.defs],
                                                  size=SHOT_SIZE, script=script),
                               out_dir=out or os.path.join(work, 'out'))
        print('engine start: %.1f s; %d brush entities' % (result.seconds, len(entities)))
        checks.run_ok(result)
        parts = consolelog.sections(result.log)
        runtime.check_models(checks, parts.get('models', ''), entities)
        b = consolelog.bounds(parts.get('door', '')).get(door.name)
        travel = door.maxs[2] - door.mins[2]
        checks.expect(b is not None and abs(b.origin[2] - travel) < 1,
                      '%s did not rise by its travel %g (origin %s)' % (door.name, travel, b and b.origin))
        shots = result.shots
        if checks.expect(all(n in shots for n in ('start', 'door_closed', 'door_open')), 'screenshots missing'):
            start = pngread.read(shots['start'])
            checks.expect(start.colours() > 200 and start.brightest() > 100,
                          'the start view is not the level (%d colours, brightest %d)' %
                          (start.colours(), start.brightest()))
            changed = pngread.read(shots['door_closed']).difference(pngread.read(shots['door_open']), CENTRE)
            checks.expect(changed > 0.3, 'the doorway looks the same after the door opened (%.2f changed)' % changed)
        if teleport:
            check_teleport(checks, parts.get('teleport', ''), teleport)
        if exit_line:
            check_exit(checks, parts.get('exit', ''), exit_line)


if __name__ == '__main__':
    sys.exit(runtime.run_test(test, 'Freedoom MAP01 in the engine', sys.argv, needs=[WAD]))
