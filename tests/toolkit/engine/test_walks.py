"""Unit tests of what the runtime tests' walks are built from, without the engine: the start
of a walk across a DOOM line, the Freedoom test's choice of teleport and exit lines, and
a mover's polled places read back from the log."""
import os
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import consolelog  # noqa: E402
import handmaps  # noqa: E402
import linewalk  # noqa: E402
import map01_test  # noqa: E402
import runtime  # noqa: E402
from linewalk import doomlevel  # noqa: E402


class SquareRoom:
    """A stand-in level: lines 0 and 1 between a room (sector 0, floor 0) and a pad
    (sector 1, x 128..192, floor 8); everything east of x 256 is sector 2 (floor 64)."""

    def __init__(self):
        self.vertices = [(128, 0), (128, 64), (128, 128)]
        self.linedefs = [doomlevel.Linedef(1, 0, 0, 97, 0, 0, 1), doomlevel.Linedef(2, 1, 0, 97, 0, 0, 1)]
        self.lines = [(1, 0, 97, 0, 0, 1), (2, 1, 97, 0, 0, 1)]
        self.sectors = [(0, 128, 0), (8, 128, 0), (64, 192, 0)]

    def sector_at(self, x, y):
        return 2 if x > 256 else (1 if x > 128 else 0)


class LineWalkTest(unittest.TestCase):
    def test_front_is_right_of_the_line(self):
        self.assertEqual(linewalk.front_normal((0, 0), (0, 64)), (1, 0))
        self.assertEqual(linewalk.front_normal((0, 0), (64, 0)), (0, -1))

    def test_a_walk_starts_in_front_and_heads_at_the_line(self):
        # line 0 runs (128, 64) -> (128, 0): its front is west, the room
        walk = linewalk.walk_to_line(SquareRoom(), 0, 40, 1.5, 68)
        self.assertEqual((walk.x, walk.y, walk.eye, walk.yaw), (88 * 1.5, 32 * 1.5, 68, 0))
        self.assertEqual(walk.velocity(200), (200, 0))
        self.assertEqual(walk.setviewpos(), 'setviewpos 132.00 48.00 68.00 0.00')

    def test_a_start_off_the_front_floor_or_a_missing_line_is_refused(self):
        room = SquareRoom()
        room.sector_at = lambda x, y: 2
        with self.assertRaises(linewalk.WalkError):
            linewalk.walk_to_line(room, 0, 40, 1.5, 68)
        with self.assertRaises(linewalk.WalkError):
            linewalk.walk_to_line(SquareRoom(), 7, 40, 1.5, 68)


def _trigger(name, line, special, target, box):
    keys = [('classname', 'trigger_multiple'), ('name', name), ('model', name), ('doom_line', str(line)),
            ('doom_special', str(special)), ('target', target)]
    return handmaps._entity(keys, handmaps.box(*box, material='zdoom/trigger'))


class FindSpecialsTest(unittest.TestCase):
    def test_the_teleport_and_the_exit_are_found_by_special_and_target(self):
        pad = (180, 0, 0, 192, 192, 96)   # DOOM 3 units, beside lines 0 and 1 at x 192
        text = (handmaps.next_map()
                + _trigger('trigger_0_arm', 0, 97, 'trigger_0', pad)
                + _trigger('trigger_0', 0, 97, 'teleporter_5', pad)
                + _trigger('trigger_1', 1, 1, 'door_3', pad)
                + _trigger('trigger_1_x', 1, 11, 'endlevel_next', pad)
                + handmaps._entity([('classname', 'func_teleporter'), ('name', 'teleporter_5'),
                                    ('origin', '10 20 0'), ('angle', '90')])
                + handmaps._entity([('classname', 'target_endLevel'), ('name', 'endlevel_next'),
                                    ('nextMap', 'MAP02')]))
        room = SquareRoom()
        room.sector_at = lambda x, y: 0
        teleport, exit_line = map01_test.find_specials(text, runtime.brush_entities(text), room)
        self.assertEqual((teleport.trigger.name, teleport.target['name']), ('trigger_0', 'teleporter_5'))
        self.assertEqual(teleport.walk.x, 88 * 1.5)
        self.assertEqual((exit_line.trigger.name, exit_line.target['nextMap']), ('trigger_1_x', 'MAP02'))
        self.assertEqual(exit_line.walk.x, 64 * 1.5)   # a switch: further out than its trigger

    def test_a_line_far_from_its_trigger_is_refused(self):
        text = (_trigger('trigger_0', 0, 97, 'teleporter_5', (900, 0, 0, 910, 96, 96))
                + handmaps._entity([('classname', 'func_teleporter'), ('name', 'teleporter_5'), ('origin', '0 0 0')]))
        room = SquareRoom()
        room.sector_at = lambda x, y: 0
        with self.assertRaises(linewalk.WalkError):
            map01_test.find_specials(text, runtime.brush_entities(text), room)


class BoundsHistoryTest(unittest.TestCase):
    def test_every_polled_place_of_one_mover_in_order(self):
        log = ('kit_bounds door_13 mins 0 0 0 maxs 1 1 1 origin 0 0 10\n'
               'kit_bounds lift_4 mins 0 0 0 maxs 1 1 1 origin 0 0 5\n'
               'kit_bounds door_13 mins 0 0 0 maxs 1 1 1 origin 0 0 40.5\n')
        self.assertEqual([b.origin[2] for b in consolelog.bounds_history(log, 'door_13')], [10, 40.5])
        self.assertEqual(consolelog.bounds_history(log, 'door_1'), [])


if __name__ == '__main__':
    unittest.main()
