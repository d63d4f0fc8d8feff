"""Freedoom's MAP01 in the game, converted as the road converts it.

    map01_test.py BUILD_DIR [OUT_DIR]

freedoom2.wad copied as doom2.wad into a program folder, its textures extracted by the
kit's xtract.sh, the level converted with the dialog's options (-bound -scale 1.5 -doom2)
and the thing table, named by Scorvel; then one engine start compiles and loads it: every
brush entity is spawned with its render and clip model, the first door (DOOM sector 27,
east of the start) rises by its travel when triggered and its doorway changes in the
picture, and the view from the start shows the level (many colours, not dark). Exit 0
pass, 1 fail, 77 skipped (no engine, no tools, or no Freedoom).
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
import pngread  # noqa: E402
import runtime  # noqa: E402
from runtime import EYE  # noqa: E402

WAD = '/usr/share/games/doom/freedoom2.wad'
FIRST_DOOR = 'door_27'
START_VIEW = (-288, -240, 3 + EYE, 0)   # the player start, DOOM (-192, -160) facing east
CENTRE = (0.4, 0.3, 0.6, 0.7)
SHOT_SIZE = (320, 240)


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
        result = enginerun.run(enginerun.Scenario({'MAP01': text}, 'MAP01', cmds, [pk4, tools.defs],
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


if __name__ == '__main__':
    sys.exit(runtime.run_test(test, 'Freedoom MAP01 in the engine', sys.argv, needs=[WAD]))
