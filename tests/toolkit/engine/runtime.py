"""What the runtime tests share: the built tools, converting a level, the map's brush
entities, the command lists that prove things in the game, and the verdict.

A test converts with the built `zaro3` (the dialog's options) and names with the built
Scorvel exactly as the road does, then runs scenarios through enginerun. A test is
skipped (exit 77) when the engine or the tools are missing. Positions are DOOM 3 units;
DOOM levels are converted at SCALE. Nothing here starts the engine itself.
"""
import math
import os
import re
import shutil
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..', 'dmap'))
import mapfile  # noqa: E402

import consolelog  # noqa: E402
import enginerun  # noqa: E402
import linewalk  # noqa: E402

SKIP = 77
SCALE = 1.5
EYE = 68        # getviewpos and setviewpos place the eye this far above the feet
TABLE = os.path.join(HERE, '..', '..', '..', 'toolkit', 'defs', 'D2D3_OBJ.TXT')
_POINT = re.compile(r'\(\s*(-?[\d.]+)\s+(-?[\d.]+)\s+(-?[\d.]+)\s*\)')


class Tools:
    def __init__(self, build):
        self.build = build = os.path.abspath(build)
        self.zaro3 = os.path.join(build, 'toolkit', 'zaro3', 'zaro3')
        self.scorvel = os.path.join(build, 'maptool', 'scorvel')
        self.defs = os.path.join(build, 'toolkit', 'defs', 'zdoomdefsdoom.pk4')

    def missing(self):
        """Why the runtime tests cannot run here, or None."""
        if not os.access(enginerun.ENGINE, os.X_OK):
            return 'the DOOM 3 engine is not installed'
        for path in (self.zaro3, self.scorvel, self.defs):
            if not os.path.exists(path):
                return '%s is not built' % path
        return None


class ConvertError(Exception):
    pass


def convert(tools, wad, level, work, options, extra_files=()):
    """Converts `level` of `wad` in `work` (with the thing table and any texture lists) and names
    it with Scorvel; returns the map text. Raises ConvertError with the tool's last line."""
    os.makedirs(work, exist_ok=True)
    shutil.copyfile(wad, os.path.join(work, os.path.basename(wad)))
    shutil.copyfile(TABLE, os.path.join(work, 'D2D3_OBJ.TXT'))
    for path in extra_files:
        shutil.copyfile(path, os.path.join(work, os.path.basename(path)))
    for cmd in ([tools.zaro3, os.path.basename(wad), level] + list(options),
                [tools.scorvel, level.upper() + '.map']):
        p = subprocess.run(cmd, cwd=work, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        if p.returncode != 0:
            lines = p.stdout.strip().splitlines()
            raise ConvertError('%s failed: %s' % (os.path.basename(cmd[0]), lines[-1] if lines else p.returncode))
    with open(os.path.join(work, level.upper() + '.map'), encoding='latin-1') as f:
        return f.read()


class BrushEntity:
    def __init__(self, keys, mins, maxs):
        self.keys = keys
        self.name = keys.get('name', '')
        self.classname = keys.get('classname', '')
        self.mins, self.maxs = mins, maxs  # the extent of its brushes' corners


def brush_entities(text):
    """The map's entities that own brushes, other than the world, with their extents."""
    out = []
    for keys, body in _entity_bodies(text):
        if keys.get('classname') == 'worldspawn':
            continue
        corners = [c for brush in re.findall(r'\{([^{}]*)\}', body) for c in _corners(brush)]
        if corners:
            out.append(BrushEntity(keys, tuple(min(c[i] for c in corners) for i in range(3)),
                                   tuple(max(c[i] for c in corners) for i in range(3))))
    return out


def _sub(a, b):
    return tuple(x - y for x, y in zip(a, b))


def _cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def _dot(a, b):
    return sum(x * y for x, y in zip(a, b))


def _corners(brush):
    """A brush's corners: the points where three of its planes meet inside all the others."""
    planes = []
    for line in brush.split('\n'):
        pts = [tuple(float(v) for v in m.groups()) for m in _POINT.finditer(line)]
        if len(pts) >= 3:
            n = _cross(_sub(pts[2], pts[0]), _sub(pts[1], pts[0]))  # outward, as the map form orders points
            planes.append((n, _dot(n, pts[0])))
    corners = []
    for i in range(len(planes)):
        for j in range(i + 1, len(planes)):
            for k in range(j + 1, len(planes)):
                (a, da), (b, db), (c, dc) = planes[i], planes[j], planes[k]
                det = _dot(a, _cross(b, c))
                if abs(det) < 1e-9:
                    continue
                bc, ca, ab = _cross(b, c), _cross(c, a), _cross(a, b)
                p = tuple((da * bc[m] + db * ca[m] + dc * ab[m]) / det for m in range(3))
                # Within a hundredth of a unit of every plane: a tolerance that grew with the
                # plane's distance from the origin let corners of far-out brushes in from units away.
                if all(_dot(n, p) <= d + 1e-2 * _dot(n, n) ** 0.5 for n, d in planes):
                    corners.append(p)
    return corners


def _entity_bodies(text):
    """(keys, brush text) per top-level entity, by brace depth; keys through mapfile's reader."""
    bodies, depth, start = [], 0, 0
    for m in re.finditer(r'"[^"\n]*"|//[^\n]*|[{}]', text):
        tok = m.group(0)
        if tok == '{':
            if depth == 0:
                start = m.end()
            depth += 1
        elif tok == '}':
            depth -= 1
            if depth == 0:
                bodies.append(text[start:m.start()])
    entities = mapfile.read_entities(text)
    return [(keys, body) for (keys, _), body in zip(entities, bodies)]


def opening_frames(door):
    """Frames to wait after triggering a door until it is fully open: its travel time at 60 game
    frames a second, and a margin. A frame lasts at least one game frame, so the wait is never
    short; it stays far below the door's wait before closing unless frames take 70 ms or more."""
    travel = door.maxs[2] - door.mins[2]
    seconds = float(door.keys['time']) if 'time' in door.keys else travel / float(door.keys.get('speed', '400'))
    return int(math.ceil(seconds * 60)) + 15


def model_commands(names):
    """Commands and script proving each named entity exists with its render and clip model."""
    script = enginerun.standins.report_bounds('kit_report_models', names)
    return ['echo kit: models', 'listEntities', 'listRenderEntityDefs', 'script kit_report_models()',
            'wait 2'], script


def check_models(checks, section, entities):
    """Each name listed as an entity, drawn by a render entity of the model of its name, and
    owning clip bounds of its map extent."""
    listed = {row[3] for row in consolelog.entities(section)}
    models = set(consolelog.render_models(section))
    found = consolelog.bounds(section)
    for entity in entities:
        name = entity.name
        checks.expect(name in listed, '%s (%s) was not spawned' % (name, entity.classname))
        checks.expect(name in models, '%s has no render model %s' % (name, name))
        b = found.get(name)
        if b is None:
            checks.fail('%s has no clip model bounds' % name)
            continue
        size = b.size()
        want = tuple(hi - lo for lo, hi in zip(entity.mins, entity.maxs))
        checks.expect(all(s > 0 for s in size) and all(abs(s - w) <= 2.5 for s, w in zip(size, want)),
                      '%s: clip bounds %s, its brushes span %s' % (name, _fmt(size), _fmt(want)))


def activated(section, target, by='player1'):
    """Whether the engine reported `target` activated by `by` in this part of the log."""
    return any(t == target and who == by for _, t, who in consolelog.activations(section))


def _fmt(v):
    return '(%s)' % ' '.join('%g' % x for x in v)


def run_test(test, title, argv, needs=()):
    """The exit code of a runtime test: test(tools, checks, out_dir) runs unless the engine, the
    built tools or a needed file are missing (77); its conversion, engine or level errors fail it."""
    if len(argv) < 2:
        print('usage: %s BUILD_DIR [OUT_DIR]' % os.path.basename(argv[0]), file=sys.stderr)
        return 2
    tools = Tools(argv[1])
    why = tools.missing() or next(('%s is not installed' % p for p in needs if not os.path.exists(p)), None)
    if why:
        print('skipped: ' + why)
        return SKIP
    checks = Checks(title)
    try:
        test(tools, checks, argv[2] if len(argv) > 2 else None)
    except (ConvertError, enginerun.EngineError, enginerun.InputError, linewalk.WalkError) as e:
        checks.fail(str(e))
    return checks.finish()


class Checks:
    """Collects failed expectations; prints them and gives the exit code."""

    def __init__(self, title):
        self.title = title
        self.faults = []

    def expect(self, condition, message):
        if not condition:
            self.faults.append(message)
        return condition

    def fail(self, message):
        self.faults.append(message)

    def run_ok(self, result):
        """The engine start must have finished its commands without a fault."""
        for fault in result.console.faults:
            self.fail('engine: ' + fault.strip())
        self.expect(enginerun.DONE_MARK in result.log, 'the engine did not reach the end of the commands')

    def finish(self):
        for f in self.faults:
            print('FAULT: ' + f)
        print('%s: %s' % (self.title, 'FAILED (%d)' % len(self.faults) if self.faults else 'ok'))
        return 1 if self.faults else 0
