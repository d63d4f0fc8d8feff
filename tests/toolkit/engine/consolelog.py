"""Reading what the DOOM 3 BFG engine printed to its console log.

Each reader takes the whole log text and returns plain values, in log order: the views
`getviewpos` printed, the entities of the last `listEntities`, the model names of the last
`listRenderEntityDefs`, the entities activated (`g_debugTriggers 1`), the bounds the
runner's `kit_bounds` script helper printed, the screenshots written, the maps whose
loading began and ended, and the faults (ERROR lines, a caught signal). `sections` cuts a
log at the runner's marks so that each reader can look at one step. Lines the readers do
not know are ignored; nothing here decides whether a run passed.
"""
import re

_NUM = r'-?\d+(?:\.\d+)?(?:e[-+]?\d+)?'
_VIEWPOS = re.compile(r'^\(\s*(' + _NUM + r')\s+(' + _NUM + r')\s+(' + _NUM + r')\s*\)\s+(' + _NUM + r')\s*$',
                      re.M | re.I)
_ENTITY = re.compile(r'^\s*(\d+):\s+(\S+)\s+(\S+)\s+(\S+)\s*$')
_RENDER_ENTITY = re.compile(r'^\s*(\d+):\s+(\d+) intr\s+(\d+) refs (\S+)\s*$')
_ACTIVATED = re.compile(r"^(\d+): '([^']*)' activated by '([^']*)'\s*$", re.M)
_VEC = r'(' + _NUM + r') (' + _NUM + r') (' + _NUM + r')'
_BOUNDS = re.compile(r'^kit_bounds (\S+) mins ' + _VEC + ' maxs ' + _VEC + ' origin ' + _VEC + r'\s*$', re.M)
_NO_BOUNDS = re.compile(r'^kit_bounds (\S+) none\s*$', re.M)
_MARK = re.compile(r'^kit: (\S+)\s*$', re.M)
_WROTE = re.compile(r'^Wrote (\S+)\s*$', re.M)
_LOADED = re.compile(r'^\s*\d+ msec to load (\S+)\s*$', re.M)
_MAP_START = re.compile(r'^-+ Execute Map Change -+\s*\nMap: (\S+)', re.M)
_ERROR = re.compile(r'^(?:ERROR:|Error:|Sys_Error).*$', re.M)
_SIGNAL = re.compile(r'^.*signal caught.*$', re.M)


class View:
    def __init__(self, x, y, z, yaw):
        self.x, self.y, self.z, self.yaw = x, y, z, yaw

    def __repr__(self):
        return 'View(%g %g %g %g)' % (self.x, self.y, self.z, self.yaw)


def views(log):
    """Every getviewpos answer: the eye position and the yaw in degrees."""
    return [View(*(float(g) for g in m.groups())) for m in _VIEWPOS.finditer(log)]


def _last_table(log, header_pattern, row_pattern, end_pattern):
    """The rows of the last table that starts with a line matching header_pattern."""
    starts = [m.end() for m in re.finditer(header_pattern, log, re.M)]
    if not starts:
        return []
    rows = []
    for line in log[starts[-1]:].split('\n')[1:]:
        if re.match(end_pattern, line):
            break
        m = row_pattern.match(line)
        if m:
            rows.append(m.groups())
    return rows


def entities(log):
    """The last listEntities: (number, entityDef, class, name) rows."""
    rows = _last_table(log, r'^\s*Num\s+EntityDef\s+Class\s+Name\s*$', _ENTITY, r'^\.\.\.\d+ entities')
    return [(int(n), d, c, name) for n, d, c, name in rows]


def render_models(log):
    """The model names of the last listRenderEntityDefs (its rows end with "total active")."""
    ends = [m.start() for m in re.finditer(r'^total active: \d+\s*$', log, re.M)]
    if not ends:
        return []
    names = []
    for line in reversed(log[:ends[-1]].rstrip('\n').split('\n')):
        m = _RENDER_ENTITY.match(line)
        if m:
            names.append(m.group(4))
        elif not re.match(r'^\s*\d+: FREED\s*$', line):
            break
    return names[::-1]


def activations(log):
    """(frame, activated entity, activator) for every activation g_debugTriggers printed."""
    return [(int(f), target, by) for f, target, by in _ACTIVATED.findall(log)]


class Bounds:
    """An entity's clip bounds (its physics' bounds, relative to its origin) and its origin."""

    def __init__(self, mins, maxs, origin):
        self.mins, self.maxs, self.origin = mins, maxs, origin

    def size(self):
        return tuple(b - a for a, b in zip(self.mins, self.maxs))


def bounds(log):
    """name -> Bounds per kit_bounds line, or None when the entity was not found."""
    out = {m.group(1): None for m in _NO_BOUNDS.finditer(log)}
    for m in _BOUNDS.finditer(log):
        out[m.group(1)] = _bounds(m)
    return out


def _bounds(match):
    v = [float(x) for x in match.groups()[1:]]
    return Bounds(tuple(v[0:3]), tuple(v[3:6]), tuple(v[6:9]))


def bounds_history(log, name):
    """Every Bounds kit_bounds printed for `name`, in log order (a mover polled as it moves)."""
    return [_bounds(m) for m in _BOUNDS.finditer(log) if m.group(1) == name]


def sections(log):
    """The log cut at the runner's `echo kit: NAME` marks: NAME -> the text up to the next mark."""
    marks = list(_MARK.finditer(log))
    return {m.group(1): log[m.end():marks[i + 1].start() if i + 1 < len(marks) else len(log)]
            for i, m in enumerate(marks)}


def screenshots(log):
    return _WROTE.findall(log)


def maps_loaded(log):
    """The maps whose loading finished, in order."""
    return _LOADED.findall(log)


def maps_started(log):
    """The maps whose loading began, in order."""
    return _MAP_START.findall(log)


def faults(log):
    return _ERROR.findall(log) + _SIGNAL.findall(log)


class ConsoleLog:
    """All readers over one log, computed once."""

    def __init__(self, log):
        self.views = views(log)
        self.entities = entities(log)
        self.render_models = render_models(log)
        self.activations = activations(log)
        self.bounds = bounds(log)
        self.screenshots = screenshots(log)
        self.maps_loaded = maps_loaded(log)
        self.maps_started = maps_started(log)
        self.faults = faults(log)
