"""The crafted level in the game: converted and named as the road does, then one engine start
that compiles it, loads it and proves its moving parts work.

    crafted_test.py BUILD_DIR [OUT_DIR]

In that start: every brush entity is spawned with its render and clip model; the door
opens when triggered (its origin rises by its travel, and the doorway seen from the start
room changes from the door's red to the hall behind); the lift lowers with the player on
it and comes back (getviewpos, polled); the player pushed across the walk-over line fires
it (the engine reports the lift activated by the player); the player pushed across the
teleport line from its front arrives at the destination facing its angle, and across the
exit line starts loading MAP02 (TELEPORTS_AND_EXITS); the player pushed across a W1
"lower floor to lowest" line lowers the tagged floor by its travel (the floor's origin,
read before and after); pushed against the blue door without a key the player stays
shut out (the door does not move, nothing is activated), and pushed over the blue
keycard on to the door it opens and lets the player through. Exit 0 pass, 1 fail, 77
skipped.
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
from runtime import EYE, SCALE  # noqa: E402

# The teleport and exit lines are walked too (the converter writes them: an armed pair of
# triggers and a func_teleporter, a trigger_once and a target_endLevel); False leaves them out.
TELEPORTS_AND_EXITS = True

DOOR = 'door_%d' % crafted.DOOR_SECTOR
LIFT = 'lift_%d' % crafted.LIFT_SECTOR
LOWER_FLOOR = 'floor_%d' % crafted.LOWER_SECTOR
KEY_DOOR = 'door_%d' % crafted.KEY_DOOR_SECTOR
DOOR_RED = crafted.COLOURS['DOOR']
CENTRE = (0.35, 0.35, 0.65, 0.65)
SHOT_SIZE = (320, 240)


def d3(v):
    return v * SCALE


def commands(entities):
    lift_top = d3(64)
    start_x, start_y = d3(crafted.START[0]), d3(crafted.START[1])
    model_cmds, script = runtime.model_commands([e.name for e in entities])
    door = next(e for e in entities if e.name == DOOR)
    door_report = enginerun.standins.report_bounds('kit_report_door', [DOOR])
    cmds = ['god', 'notarget'] + model_cmds
    # The door, seen from the start room before and after it is triggered.
    cmds += ['echo kit: door', 'noclip', 'setviewpos %g %g %g 0' % (start_x, start_y, EYE), 'wait 3',
             'screenshot kit/door_closed', 'trigger ' + DOOR, 'wait %d' % runtime.opening_frames(door),
             'screenshot kit/door_open', 'script kit_report_door()', 'wait 2', 'noclip']
    # The lift with the player on it: polled, so that slow frames cannot skip the low point.
    cmds += ['echo kit: lift', 'setviewpos %g %g %g 0' % (d3(608), start_y, lift_top + EYE), 'wait 20',
             'getviewpos', 'trigger ' + LIFT] + ['wait 4', 'getviewpos'] * 60 + ['wait 60', 'getviewpos']
    # Walking across the walk-over line (its trigger lies on the west side of it).
    cmds += ['echo kit: walk', 'setviewpos %g %g %g 0' % (d3(crafted.WALK_LINE_X - 40), start_y, EYE), 'wait 5',
             'script kit_walk(200, 0, 60)', 'wait 70', 'getviewpos']
    lower_cmds, lower_script = lower_floor_commands()
    key_cmds, key_script = key_door_commands()
    cmds += lower_cmds + key_cmds
    # Last: the exit loads another map.
    if TELEPORTS_AND_EXITS:
        cmds += ['echo kit: teleport',
                 'setviewpos %g %g %g 0' % (d3(crafted.TELEPORT_LINE_X - 40), start_y, lift_top + EYE), 'wait 5',
                 'script kit_walk(200, 0, 60)', 'wait 70', 'getviewpos',
                 'echo kit: exit', 'setviewpos %g %g %g 0' % (d3(crafted.EXIT_LINE_X - 40), start_y, lift_top + EYE),
                 'wait 5', 'script kit_walk(200, 0, 60)', 'wait 120', 'getviewpos']
    return cmds, script + door_report + lower_script + key_script


def lower_floor_commands():
    """The floor's place, the walk across its W1 line, and the floor's place once it has had
    its travel time (at DOOM's slow floor speed) and a margin."""
    y = d3(crafted.FLOOR_ROW_Y)
    travel_frames = int(crafted.LOWER_TRAVEL / 35.0 * 60) + 60   # one DOOM unit a tic
    cmds = ['echo kit: lower', 'setviewpos %g %g %g 0' % (d3(crafted.LOWER_LINE_X - 40), y, EYE), 'wait 5',
            'script kit_report_floor()', 'wait 2', 'script kit_walk(200, 0, 40)', 'wait 50',
            'echo kit: lowered', 'wait %d' % travel_frames, 'script kit_report_floor()', 'wait 2']
    return cmds, enginerun.standins.report_bounds('kit_report_floor', [LOWER_FLOOR])


def key_door_commands():
    """The blue door walked up to from beside the key (east of it) without the key, then from
    west of the key: over it, to the door and on."""
    y = d3(crafted.KEY_ROW_Y)
    east_of_key = d3(crafted.BLUE_KEYCARD[0] + 60)
    west_of_key = d3(crafted.BLUE_KEYCARD[0] - 60)
    cmds = ['echo kit: locked', 'setviewpos %g %g %g 0' % (east_of_key, y, EYE), 'wait 5',
            'script kit_walk(200, 0, 45)', 'wait 60', 'getviewpos', 'script kit_report_key_door()', 'wait 2',
            'echo kit: unlocked', 'setviewpos %g %g %g 0' % (west_of_key, y, EYE), 'wait 5',
            'script kit_walk(200, 0, 200)'] + ['wait 6', 'script kit_report_key_door()'] * 36 + ['getviewpos']
    return cmds, enginerun.standins.report_bounds('kit_report_key_door', [KEY_DOOR])


def check_door(checks, parts, shots, door):
    b = consolelog.bounds(parts.get('door', '')).get(DOOR)
    travel = door.maxs[2] - door.mins[2]
    checks.expect(b is not None and abs(b.origin[2] - travel) < 1,
                  'the door did not rise by its travel %g when triggered (origin %s)' % (travel, b and b.origin))
    checks.expect(runtime.activated(parts.get('door', ''), DOOR),
                  'trigger %s activated nothing' % DOOR)
    if not checks.expect('door_closed' in shots and 'door_open' in shots, 'door screenshots missing'):
        return
    closed, opened = pngread.read(shots['door_closed']), pngread.read(shots['door_open'])
    red_before = closed.share_near(DOOR_RED, CENTRE)
    red_after = opened.share_near(DOOR_RED, CENTRE)
    checks.expect(red_before > 0.5, 'the closed door does not fill the doorway (red %.2f)' % red_before)
    checks.expect(red_after < 0.1, 'the doorway still shows the door after opening (red %.2f)' % red_after)


def check_lift(checks, parts):
    seen = consolelog.views(parts.get('lift', ''))
    top = d3(64) + EYE
    if not checks.expect(len(seen) > 2, 'no getviewpos answers on the lift'):
        return
    low = min(v.z for v in seen)
    checks.expect(abs(seen[0].z - top) < 2, 'the player does not stand on the lift at rest (eye %g)' % seen[0].z)
    checks.expect(abs(low - (top - d3(crafted.LIFT_TRAVEL))) < 2,
                  'the lift did not lower by %g (lowest eye %g from %g)' % (d3(crafted.LIFT_TRAVEL), low, top))
    checks.expect(abs(seen[-1].z - top) < 2, 'the lift did not come back up (eye %g)' % seen[-1].z)


def check_walk(checks, parts):
    part = parts.get('walk', '')
    checks.expect('kit_walk done' in part, 'the walk did not finish')
    by_player = [t for _, t, by in consolelog.activations(part) if by == 'player1']
    checks.expect(LIFT in by_player, 'walking across the walk-over line did not fire it (activated: %s)' % by_player)
    seen = consolelog.views(part)
    checks.expect(seen and seen[-1].x > d3(crafted.WALK_LINE_X) + 24,
                  'the player did not cross the line (%s)' % (seen and seen[-1]))


def check_teleport_and_exit(checks, parts):
    seen = consolelog.views(parts.get('teleport', ''))
    x, y, yaw = crafted.DESTINATION
    checks.expect('kit_walk jumped' in parts.get('teleport', ''), 'the teleport line did not move the player')
    checks.expect(seen and abs(seen[-1].x - d3(x)) < 8 and abs(seen[-1].y - d3(y)) < 8 and abs(seen[-1].yaw - yaw) < 1,
                  'the player is not at the teleport destination (%s)' % (seen and seen[-1]))
    checks.expect(consolelog.maps_started(parts.get('exit', '')) == ['MAP02'],
                  'the exit line did not start loading MAP02')


def check_lower_floor(checks, parts):
    before = consolelog.bounds(parts.get('lower', '')).get(LOWER_FLOOR)
    after = consolelog.bounds(parts.get('lowered', '')).get(LOWER_FLOOR)
    checks.expect(runtime.activated(parts.get('lower', ''), LOWER_FLOOR),
                  'walking across the W1 line did not activate %s' % LOWER_FLOOR)
    if not checks.expect(before and after, 'no place of %s before and after the walk' % LOWER_FLOOR):
        return
    dropped = before.origin[2] - after.origin[2]
    checks.expect(abs(dropped - d3(crafted.LOWER_TRAVEL)) < 1,
                  '%s lowered by %g, not by its travel %g' % (LOWER_FLOOR, dropped, d3(crafted.LOWER_TRAVEL)))


def check_key_door(checks, parts, door):
    door_front = d3(crafted.KEY_DOOR_X)
    locked, unlocked = parts.get('locked', ''), parts.get('unlocked', '')
    shut = consolelog.bounds(locked).get(KEY_DOOR)
    seen = consolelog.views(locked)
    # Pressed against the door, the player stands inside the trigger in front of it.
    checks.expect(seen and door_front - 24 < seen[-1].x < door_front,
                  'without the key the player is not at the blue door (%s)' % (seen and seen[-1]))
    checks.expect(shut is not None and abs(shut.origin[2]) < 0.5,
                  'the blue door moved without the key (origin %s)' % (shut and shut.origin,))
    checks.expect(not runtime.activated(locked, KEY_DOOR), 'the blue door was activated without the key')
    # The door opens to the touch of a player carrying the key (its own trigger asks for it)
    # and rises all the way as the player walks through.
    travel = door.maxs[2] - door.mins[2]
    highest = max((b.origin[2] for b in consolelog.bounds_history(unlocked, KEY_DOOR)), default=0)
    checks.expect(highest > travel - 1, 'with the blue keycard the door rose only %g of %g as the player walked '
                  'through it (was the key picked up?)' % (highest, travel))
    seen = consolelog.views(unlocked)
    checks.expect(seen and seen[-1].x > d3(crafted.KEY_DOOR_X + 32) + 16,
                  'with the blue keycard the player did not pass the door (%s)' % (seen and seen[-1]))


def test(tools, checks, out):
    with tempfile.TemporaryDirectory() as work:
        level = crafted.level()
        wad, tex, pk4 = (os.path.join(work, n) for n in ('crafted.wad', 'CUSTOM.TEX', 'crafted.pk4'))
        for path, data in ((wad, level.wad()), (tex, crafted.texture_list(level).encode()),
                           (pk4, crafted.texture_package(level))):
            with open(path, 'wb') as f:
                f.write(data)
        text = runtime.convert(tools, wad, 'MAP01', os.path.join(work, 'convert'),
                               ['-bound', '-scale', '1.5', '-custom'], [tex])
        entities = runtime.brush_entities(text)
        names = sorted(e.name for e in entities)
        if not checks.expect(all(n in names for n in (DOOR, LIFT, LOWER_FLOOR, KEY_DOOR)),
                             'the converter made no %s, %s, %s or %s (%s)' % (DOOR, LIFT, LOWER_FLOOR, KEY_DOOR, names)):
            return
        cmds, script = commands(entities)
        maps = {'MAP01': text, 'MAP02': handmaps.next_map()}
        result = enginerun.run(enginerun.Scenario(maps, 'MAP01', cmds, [pk4, tools.defs], size=SHOT_SIZE,
                                                  script=script), out_dir=out or os.path.join(work, 'out'))
        print('engine start: %.1f s (compiled %s)' % (result.seconds, ', '.join(result.compiled)))
        checks.run_ok(result)
        parts = consolelog.sections(result.log)
        runtime.check_models(checks, parts.get('models', ''), entities)
        check_door(checks, parts, result.shots, next(e for e in entities if e.name == DOOR))
        check_lift(checks, parts)
        check_walk(checks, parts)
        check_lower_floor(checks, parts)
        check_key_door(checks, parts, next(e for e in entities if e.name == KEY_DOOR))
        if TELEPORTS_AND_EXITS:
            check_teleport_and_exit(checks, parts)


if __name__ == '__main__':
    sys.exit(runtime.run_test(test, 'crafted level in the engine', sys.argv))
