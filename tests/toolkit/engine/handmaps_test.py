"""The teleport and exit constructions in the game, on small hand-written maps (handmaps).

    handmaps_test.py BUILD_DIR [OUT_DIR]

One engine start compiles both maps and loads the hall: the player pushed across the
teleport trigger arrives at the func_teleporter's place facing its angle (getviewpos), and
pushed across the exit trigger makes target_endLevel load the next map. This proves the
stand-in classes; the crafted level's test does the same on converted lines once the
converter writes them. A pillar without a "model" key shows that the model check fails
such an entity (spawned, but no render model and no clip bounds). A switch panel whose
material picks its picture by shader parm 7 shows the thrown colour once a
target_setshaderparm sets it, and the first colour again when the relay's delayed
setter puts it back. Exit 0 pass, 1 fail, 77 skipped.
"""
import os
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import consolelog  # noqa: E402
import crafted  # noqa: E402
import enginerun  # noqa: E402
import handmaps  # noqa: E402
import pngread  # noqa: E402
import runtime  # noqa: E402
from runtime import EYE  # noqa: E402


def commands(brush_names):
    sx, sy, sz = handmaps.START
    dx, dy, dz, yaw = handmaps.DESTINATION
    model_cmds, script = runtime.model_commands(brush_names)
    cmds = ['god', 'notarget'] + model_cmds
    # The switch panel seen head on: thrown, then back a second later.
    view = 'setviewpos %g %g %g 0' % (handmaps.SWITCH_FACE_X - 96, sum(handmaps.SWITCH_Y) / 2, sum(handmaps.SWITCH_Z) / 2)
    cmds += ['echo kit: switch', view, 'wait 3', 'screenshot kit/switch_off', 'trigger switch_on', 'trigger switch_back',
             'wait 3', 'screenshot kit/switch_on', 'wait 150', 'screenshot kit/switch_back']
    cmds += ['echo kit: teleport', 'setviewpos %g %g %g 0' % (handmaps.TELEPORT_TRIGGER_X[0] - 100, sy, sz + EYE),
             'wait 5', 'script kit_walk(200, 0, 90)', 'wait 100', 'getviewpos']
    cmds += ['echo kit: exit', 'setviewpos %g %g %g 90' % (dx, handmaps.EXIT_TRIGGER_Y[0] - 100, dz + EYE), 'wait 5',
             'script kit_walk(0, 200, 90)', 'wait 150', 'getviewpos']
    return cmds, script


def check_switch(checks, shots):
    """The panel's centre shows parm 7's colour: off, thrown, then off again."""
    names = ('switch_off', 'switch_on', 'switch_back')
    if not checks.expect(all(n in shots for n in names), 'switch screenshots missing'):
        return
    for name, parm in zip(names, (0, 1, 0)):
        want = handmaps.SWITCH_COLOURS[parm]
        share = pngread.read(shots[name]).share_near(want, (0.4, 0.4, 0.6, 0.6), tolerance=60)
        checks.expect(share > 0.9, '%s: the panel does not show parm 7 = %d\'s colour %s (%.2f of it)' %
                      (name, parm, want, share))


def test(tools, checks, out):
    hall = handmaps.teleport_and_exit()
    entities = runtime.brush_entities(hall)
    cmds, script = commands([e.name for e in entities])
    with tempfile.TemporaryDirectory() as work:
        pk4 = os.path.join(work, 'crafted.pk4')
        with open(pk4, 'wb') as f:
            f.write(crafted.texture_package(crafted.level()))
        switch_pk4 = os.path.join(work, 'kit_switch.pk4')
        with open(switch_pk4, 'wb') as f:
            f.write(handmaps.switch_package())
        maps = {'kit_moves': hall, handmaps.NEXT_MAP: handmaps.next_map()}
        result = enginerun.run(enginerun.Scenario(maps, 'kit_moves', cmds, [pk4, switch_pk4, tools.defs], script=script),
                               out_dir=out or os.path.join(work, 'out'))
        check_switch(checks, result.shots)
    print('engine start: %.1f s (compiled %s)' % (result.seconds, ', '.join(result.compiled)))
    checks.run_ok(result)
    parts = consolelog.sections(result.log)
    runtime.check_models(checks, parts.get('models', ''), [e for e in entities if e.name != handmaps.NO_MODEL])
    # The check itself must catch a brush entity the game built no models for.
    caught = runtime.Checks('models')
    runtime.check_models(caught, parts.get('models', ''), [e for e in entities if e.name == handmaps.NO_MODEL])
    checks.expect(len(caught.faults) == 2, 'a brush entity without "model" passed the model check (%s)' % caught.faults)
    teleport = parts.get('teleport', '')
    dx, dy, dz, yaw = handmaps.DESTINATION
    checks.expect(runtime.activated(teleport, 'teleporter_dest'),
                  'the teleport trigger did not activate the teleporter')
    checks.expect('kit_walk jumped' in teleport, 'the player was not moved by the teleporter')
    seen = consolelog.views(teleport)
    checks.expect(seen and abs(seen[-1].x - dx) < 4 and abs(seen[-1].y - dy) < 4 and
                  abs(seen[-1].z - (dz + EYE)) < 2 and abs(seen[-1].yaw - yaw) < 1,
                  'the player is not at the destination %s facing %g (%s)' % (handmaps.DESTINATION[:3], yaw,
                                                                              seen and seen[-1]))
    exit_part = parts.get('exit', '')
    checks.expect(runtime.activated(exit_part, 'endlevel_next'),
                  'the exit trigger did not activate target_endLevel')
    checks.expect(consolelog.maps_started(exit_part) == [handmaps.NEXT_MAP] and
                  consolelog.maps_loaded(exit_part) == [handmaps.NEXT_MAP],
                  'the exit did not load %s' % handmaps.NEXT_MAP)


if __name__ == '__main__':
    sys.exit(runtime.run_test(test, 'teleport and exit in the engine', sys.argv))
