"""Any real level in the game, converted as the road converts it: one engine start.

    levelrun.py BUILD_DIR WAD LEVEL [OUT_DIR]

The level is converted with the dialog's options (-bound -scale 1.5), named by Scorvel,
compiled and loaded; every brush entity must be spawned with its render and clip model
(but a trigger_once around the player start, which fires and removes itself as the player spawns),
and every func_door that opens (not a crusher, not open at the start) is triggered and must
rise by its travel (its height polled while they move). Textures are the compile check's stand-ins (no texture package is
needed). Prints a line per level and the faults; exit 0 pass, 1 fail, 77 skipped. Not part
of the test command (a large level takes a minute or more); the closing table of a round
comes from it.
"""
import os
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import consolelog  # noqa: E402
import enginerun  # noqa: E402
import runtime  # noqa: E402


def opening_doors(entities):
    return [e for e in entities if e.classname == 'func_door' and e.keys.get('crusher') != '1'
            and e.keys.get('start_open') != '1']


def start_point(text):
    """The player start's origin (the map's info_player_start), or None."""
    for keys, _ in runtime.mapfile.read_entities(text):
        if keys.get('classname') == 'info_player_start' and 'origin' in keys:
            return tuple(float(v) for v in keys['origin'].split())
    return None


def fired_at_start(entity, start):
    """A trigger_once around the player start fires as the player spawns and removes itself."""
    return (start is not None and entity.classname == 'trigger_once' and
            all(lo - 16 <= v <= hi + 16 for lo, hi, v in zip(entity.mins[:2], entity.maxs[:2], start[:2])))


def commands(entities, doors):
    model_cmds, script = runtime.model_commands([e.name for e in entities])
    script += enginerun.standins.report_bounds('kit_report_doors', [d.name for d in doors])
    cmds = ['god', 'notarget', 'noclip'] + model_cmds + ['echo kit: doors']
    cmds += ['trigger ' + d.name for d in doors]
    # Polled: a fast door may be closing again by the time a slow one is open.
    frames = max([runtime.opening_frames(d) for d in doors] + [1])
    cmds += ['wait 5', 'script kit_report_doors()'] * (frames // 5 + 1)
    return cmds, script


def main(argv):
    if len(argv) < 4:
        print('usage: levelrun.py BUILD_DIR WAD LEVEL [OUT_DIR]', file=sys.stderr)
        return 2
    wad, level = argv[2], argv[3]
    out = argv[4] if len(argv) > 4 else None

    def test(tools, checks, out_dir):
        with tempfile.TemporaryDirectory() as work:
            text = runtime.convert(tools, wad, level, os.path.join(work, 'convert'), ['-bound', '-scale', '1.5'])
            entities = runtime.brush_entities(text)
            doors = opening_doors(entities)
            cmds, script = commands(entities, doors)
            out_dir = out_dir or os.path.join(work, 'out')
            os.makedirs(out_dir, exist_ok=True)
            result = enginerun.run(enginerun.Scenario({level: text}, level, cmds, [tools.defs], script=script),
                                   out_dir=out_dir)
            checks.run_ok(result)
            parts = consolelog.sections(result.log)
            start = start_point(text)
            fired = [e for e in entities if fired_at_start(e, start)]
            runtime.check_models(checks, parts.get('models', ''), [e for e in entities if e not in fired])
            opened = 0
            for door in doors:
                highest = max((b.origin[2] for b in consolelog.bounds_history(parts.get('doors', ''), door.name)),
                              default=None)
                travel = door.maxs[2] - door.mins[2]
                if highest is not None and abs(highest - travel) < 1:
                    opened += 1
                else:
                    checks.fail('%s did not rise by its travel %g (highest %s)' % (door.name, travel, highest))
            print('%s %s: %d brush entities (%d trigger_once around the start, fired as the player spawned), '
                  '%d opening doors, %d rose by their travel; engine %.0f s' %
                  (os.path.basename(wad), level, len(entities), len(fired), len(doors), opened, result.seconds))

    return runtime.run_test(test, '%s %s in the engine' % (os.path.basename(wad), level), [argv[0], argv[1], out],
                            needs=[wad])


if __name__ == '__main__':
    sys.exit(main(sys.argv))
