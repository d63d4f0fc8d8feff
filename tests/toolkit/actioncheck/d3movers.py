"""Where DOOM 3's stock movers put a floor or ceiling, worked out as the game does.

func_door (idDoor): position 1 is where the brushes are written; position 2 lies
`movedir` (-1 up, -2 down) by travel = size along the move + 2 - lip (the clip bounds
are padded by one unit a side); `start_open` swaps rest and end. func_plat (idPlat):
position 2 is where written, the rest `height` below (size - lip without the key).
func_riser (idRiser): moves `height` units a second for `time` seconds from where it is.
Defaults are the retail definitions' (door speed 100, wait 3, lip 8; plat speed 200,
lip 8, wait 1; riser height 32, time 5). A floor mover shows its brushes' top, a
ceiling mover their bottom; the entity's name says which (door_, crusher_, ceiling_
are ceilings; lift_, floor_ floors). Nothing here knows DOOM.
"""
import collections

Motion = collections.namedtuple('Motion', 'plane rest end speed wait toggle crusher damage continuous')
# plane: 'floor' or 'ceiling'; rest and end: the height of the visible plane at rest and
# after one activation; wait: seconds at the end before returning, None when it stays.

CEILING_PREFIXES = ('door_', 'crusher_', 'ceiling_')
FLOOR_PREFIXES = ('lift_', 'floor_')


class MoverError(Exception):
    pass


def plane_of(entity):
    name = entity.name
    if name.startswith(CEILING_PREFIXES):
        return 'ceiling'
    if name.startswith(FLOOR_PREFIXES):
        return 'floor'
    return None


def motion(entity):
    """The Motion of a mover entity; raises MoverError when it cannot move a plane."""
    plane = plane_of(entity)
    bounds = entity.bounds()
    if plane is None or bounds is None:
        raise MoverError('%s is not a floor or ceiling mover with brushes' % (entity.name or entity.classname))
    low, high = bounds[0][2], bounds[1][2]
    shown = high if plane == 'floor' else low
    classname = entity.classname
    if classname == 'func_door':
        return _door(entity, plane, shown, high - low)
    if classname == 'func_plat':
        height = entity.number('height', (high - low) - entity.number('lip', 8.0))
        time = entity.number('time')
        speed = abs(height) / time if time else entity.number('speed', 200.0)
        return Motion(plane, shown - height, shown, speed, _wait(entity, 1.0), entity.flag('toggle'),
                      False, entity.number('damage', 0.0), entity.flag('continuous'))
    if classname == 'func_riser':
        height, time = entity.number('height', 32.0), entity.number('time', 5.0)
        return Motion(plane, shown, shown + height * time, abs(height), None, False, False,
                      entity.number('damage', 0.0), False)
    raise MoverError('%s is a %s, which does not move a plane' % (entity.name, classname or 'entity without class'))


def _door(entity, plane, shown, size):
    direction = entity.number('movedir') if 'movedir' in entity.keys else None
    if direction not in (-1.0, -2.0):
        raise MoverError('%s moves sideways (movedir %s)' % (entity.name, entity.keys.get('movedir', 'absent')))
    travel = size + 2.0 - entity.number('lip', 8.0)
    moved = shown + (travel if direction == -1.0 else -travel)
    time = entity.number('time')
    speed = abs(travel) / time if time else entity.number('speed', 100.0)
    rest, end = (moved, shown) if entity.flag('start_open') else (shown, moved)
    return Motion(plane, rest, end, speed, _wait(entity, 3.0), entity.flag('toggle'), entity.flag('crusher'),
                  entity.number('damage', 0.0), entity.flag('continuous'))


def _wait(entity, default):
    wait = entity.number('wait', default)
    return None if wait < 0 else wait
