"""Compiles maps with the DOOM 3 engine's own map compiler and judges the result.

The engine runs headless, a few maps per start, each start in a fresh temporary folder holding a
generated base, the given packages unpacked (this engine build searches no
.pk4 files, only loose files and its own .resources) and the maps (classic faces rewritten to
the Valve 220 form the engine reads). Its exit code says nothing about the
compile, so each map is judged from its part of the log and from the files
written: the compiled world (.proc) is read back for its areas, portals and the
largest area's share of the triangles, and every func_door is matched with the
portal the game would let it close. A brush entity without its "model" key fails
(the game would neither draw it nor collide with it). Not checked: whether a
portal lies where the level needs one. Exit codes: 0 all maps pass, 1 a map
fails, 2 bad input or usage, 3 the engine could not be run.
"""
import argparse
import concurrent.futures
import os
import re
import shutil
import subprocess
import sys
import tempfile
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import convex  # noqa: E402
import engine_base  # noqa: E402
import mapfile  # noqa: E402
import procfile  # noqa: E402

ENGINE = os.environ.get('DMAP_CHECK_ENGINE', '/usr/games/rbdoom3bfg')
SECONDS_PER_MAP = 600
START_SECONDS = 120
# The engine keeps only a few dozen commands from its command line, so a long list of
# maps is compiled over several starts.
MAPS_PER_START = 12
# The game pads a clip model's absolute bounds by this much (CM_BOX_EPSILON) before a door
# looks for the portal it closes.
DOOR_BOUNDS_PAD = 1.0


# One table row: the last column (the result) is free text; `largest` is the share of the
# level's triangles in its largest area, `doors` the func_doors that touch a portal.
TABLE_ROW = '%-24s %8s %9s %8s %6s %7s %7s %7s  %s'


class UsageError(Exception):
    pass


class PrepareError(Exception):
    pass


class Args(argparse.ArgumentParser):
    def error(self, message):
        raise UsageError(message)


def parse_args(argv):
    p = Args(prog='dmap-check.sh', description='Compile maps with the DOOM 3 map compiler and check the result.')
    p.add_argument('--pk4', action='append', default=[], metavar='FILE', help='a package the engine loads')
    p.add_argument('--noflood', action='store_true', help='compile without the leak test')
    p.add_argument('--opt', action='store_true', help='keep the triangle optimisation (slow)')
    p.add_argument('--require-materials', action='store_true',
                   help='fail a map that uses a material no package defines')
    p.add_argument('--require-door-portals', action='store_true',
                   help='fail a map with a func_door that touches no visportal')
    p.add_argument('--seconds-per-map', type=int, default=SECONDS_PER_MAP, metavar='N',
                   help='the engine\'s time limit per map (default %d)' % SECONDS_PER_MAP)
    p.add_argument('--out', metavar='DIR', help='copy the outputs and each map\'s log here')
    p.add_argument('--keep', action='store_true', help='keep the temporary folders and print their paths')
    p.add_argument('--jobs', type=int, default=int(os.environ.get('DMAP_CHECK_JOBS', '1')), metavar='N',
                   help='engines run at once (default 1, or DMAP_CHECK_JOBS)')
    p.add_argument('maps', nargs='+', metavar='MAP')
    return p.parse_args(argv)


class Job:
    """One map: what the file holds and, after the run, what the log says."""

    def __init__(self, path, name):
        self.path = path
        self.name = name
        self.file_brushes = 0
        self.file_entities = 0
        self.has_start = False
        self.materials = set()
        self.standins = set()
        self.text = ''
        self.compiled = None
        self.log_entities = None
        self.without_model = []
        self.doors = []          # (label, bounds) of every func_door with brushes
        self.world = None        # the compiled .proc, read back
        self.doors_with_portal = None
        self.problems = []


def unique_name(path, taken):
    base = re.sub(r'[^A-Za-z0-9_]', '_', os.path.splitext(os.path.basename(path))[0]) or 'map'
    name, n = base, 1
    while name.lower() in taken:
        n += 1
        name = '%s_%d' % (base, n)
    taken.add(name.lower())
    return name


def read_job(path, taken):
    job = Job(path, unique_name(path, taken))
    try:
        with open(path, encoding='latin-1') as f:
            text = f.read()
    except OSError as e:
        raise UsageError('cannot read %s: %s' % (path, e.strerror))
    try:
        entities = mapfile.read_map(text)
    except mapfile.MapError as e:
        raise UsageError('%s: %s' % (path, e))
    job.file_entities = len(entities)
    job.file_brushes = mapfile.worldspawn_brushes(entities)
    job.has_start = any(e.keys.get('classname') == 'info_player_start' for e in entities)
    job.without_model = mapfile.brush_entities_without_model(entities)
    job.doors = door_bounds(entities)
    job.materials = mapfile.materials_used(text)
    job.text, _ = mapfile.to_valve220(text)
    return job


def door_bounds(entities):
    """(label, bounds) of each func_door: the box around its brushes, as the game's clip model has it."""
    doors = []
    for index, entity in enumerate(entities):
        if entity.keys.get('classname') != 'func_door' or not entity.brushes:
            continue
        polygons = []
        for brush in entity.brushes:
            planes = [p for p in (convex.plane(points) for points, _ in brush) if p]
            polygons += [w for _, w in convex.faces(planes)]
        box = convex.bounds(polygons)
        if box:
            doors.append((entity.keys.get('name') or 'entity %d' % index, box))
    return doors


def door_portal(box, portals):
    """The index of the first portal whose points' box touches the door's padded box, or None:
    the portal a DOOM 3 door closes when shut."""
    lo = [v - DOOR_BOUNDS_PAD for v in box[0]]
    hi = [v + DOOR_BOUNDS_PAD for v in box[1]]
    for index, (_a, _b, winding) in enumerate(portals):
        if not winding:
            continue
        plo = [min(p[k] for p in winding) for k in range(3)]
        phi = [max(p[k] for p in winding) for k in range(3)]
        if all(plo[k] <= hi[k] and phi[k] >= lo[k] for k in range(3)):
            return index
    return None


def engine_command(root, jobs, args):
    cmd = [ENGINE, '+set', 'fs_basepath', root, '+set', 'fs_savepath', os.path.join(root, 'save'),
           '+set', 'fs_game', 'base', '+set', 'logfile', '2', '+set', 'com_skipIntroVideos', '1',
           '+set', 'r_fullscreen', '0', '+set', 'r_windowWidth', '320', '+set', 'r_windowHeight', '240']
    for job in jobs:
        cmd.append('+dmap')
        if args.noflood:
            cmd.append('noflood')
        if not args.opt:
            cmd.append('noOpt')
        cmd.append(job.name)
    return cmd + ['+quit']


def run_engine(root, jobs, args):
    env = dict(os.environ, HOME=os.path.join(root, 'home'), ALSOFT_DRIVERS='null',
               SDL_VIDEODRIVER='offscreen', SDL_AUDIODRIVER='dummy')
    os.makedirs(env['HOME'], exist_ok=True)
    limit = START_SECONDS + args.seconds_per_map * len(jobs)
    with open(os.path.join(root, 'engine.out'), 'wb') as out:
        try:
            subprocess.run(['timeout', '-k', '10', str(limit)] + engine_command(root, jobs, args),
                           stdout=out, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL, env=env, cwd=root)
        except OSError as e:
            raise RuntimeError('cannot run %s: %s' % (ENGINE, e.strerror))
    log = os.path.join(root, 'save', 'base', 'qconsole.log')
    if not os.path.exists(log):
        raise RuntimeError('the engine wrote no log (see %s)' % os.path.join(root, 'engine.out'))
    with open(log, encoding='latin-1') as f:
        return f.read()


_DMAP_START = re.compile(r'^-+ dmap -+$', re.M)


def split_log(log, jobs):
    """Each map's part of the log, in command order; a map the engine never reached gets None."""
    starts = [m.start() for m in _DMAP_START.finditer(log)]
    parts = []
    for i, job in enumerate(jobs):
        if i < len(starts):
            end = starts[i + 1] if i + 1 < len(starts) else len(log)
            parts.append(log[starts[i]:end])
        else:
            parts.append(None)
    return parts


def judge(job, part, root, args):
    if part is None:
        job.problems.append('the engine stopped before this map')
        return
    m = re.search(r'^\s*(\d+) total world brushes', part, re.M)
    job.compiled = int(m.group(1)) if m else None
    m = re.search(r'^\s*(\d+) entities', part, re.M)
    job.log_entities = int(m.group(1)) if m else None
    for line in part.split('\n'):
        if 'ERROR:' in line:
            job.problems.append(line.strip())
            break
    # Brushes the compiler repairs or drops without an error: our maps must never hold them.
    for pattern in (r'duplicate plane', r'mirrored plane', r'brush primitive \d+ on entity \d+ is degenerate'):
        m = re.search(r'^.*' + pattern + r'.*$', part, re.M)
        if m:
            job.problems.append(m.group(0).strip())
    if 'Sys_Error' in part or 'FATAL' in part:
        job.problems.append('the engine stopped with a fatal error')
    if not args.noflood and 'leaked' in part:
        leak = re.search(r'Leak on entity # ?(\d+)', part)
        job.problems.append('leaked' + (' (entity %s)' % leak.group(1) if leak else ''))
    if 'no entities in open' in part:
        job.problems.append('no entity inside the world')
    # Only the world must have faces: trigger brush entities are never drawn, so theirs is 0.
    world = re.search(r'#+ entity 0 #+(.*?)(?:#+ entity \d+ #+|\Z)', part, re.S)
    if re.search(r'^\s*0 faces', world.group(1) if world else part, re.M):
        job.problems.append('0 faces')
    if job.compiled is None:
        job.problems.append('no brush count in the log')
    elif job.compiled < job.file_brushes:
        job.problems.append('%d of %d worldspawn brushes dropped' % (job.file_brushes - job.compiled,
                                                                      job.file_brushes))
    maps = os.path.join(root, 'base', 'maps')
    for ext in ('proc', 'cm'):
        f = os.path.join(maps, '%s.%s' % (job.name, ext))
        if not os.path.exists(f) or os.path.getsize(f) == 0:
            job.problems.append('no .%s written' % ext)
    if job.standins and args.require_materials:
        job.problems.append('missing material: ' + ' '.join(sorted(job.standins)))
    if job.without_model:
        job.problems.append('brush entity without its "model" key: %s%s' % (
            ', '.join(job.without_model[:3]), ' and %d more' % (len(job.without_model) - 3)
            if len(job.without_model) > 3 else ''))
    judge_world(job, os.path.join(maps, job.name + '.proc'), args)


def judge_world(job, proc, args):
    """Areas, portals and the doors' portals, from the compiled world (the log's portal count
    is not enough: a portal brush with a solid face is counted there and never written)."""
    if not os.path.exists(proc) or os.path.getsize(proc) == 0:
        return
    try:
        job.world = procfile.read_file(proc)
    except procfile.ProcError as e:
        job.problems.append('unreadable .proc: %s' % e)
        return
    lacking = [label for label, box in job.doors if door_portal(box, job.world.portals) is None]
    job.doors_with_portal = len(job.doors) - len(lacking)
    if lacking and args.require_door_portals:
        job.problems.append('%d of %d doors touch no portal (%s%s)' % (
            len(lacking), len(job.doors), ', '.join(lacking[:3]), ', ...' if len(lacking) > 3 else ''))


def copy_outputs(job, part, root, out):
    os.makedirs(out, exist_ok=True)
    maps = os.path.join(root, 'base', 'maps')
    for ext in ('proc', 'cm', 'aas48', 'lin'):
        f = os.path.join(maps, '%s.%s' % (job.name, ext))
        if os.path.exists(f):
            shutil.copyfile(f, os.path.join(out, os.path.basename(f)))
    with open(os.path.join(out, job.name + '.dmap.log'), 'w', encoding='latin-1') as f:
        f.write(part or '')


def compile_batch(batch, args, defined, standins):
    """One engine start for a few maps in its own folder; judges each map of the batch."""
    root = tempfile.mkdtemp(prefix='dmap-check.')
    try:
        base = os.path.join(root, 'base')
        try:
            engine_base.write_base(base, defined, standins)
            for pk4 in args.pk4:
                engine_base.unpack(pk4, base)
            os.makedirs(os.path.join(base, 'maps'), exist_ok=True)
            for job in batch:
                with open(os.path.join(base, 'maps', job.name + '.map'), 'w', encoding='latin-1') as f:
                    f.write(job.text)
        except (OSError, zipfile.BadZipFile, RuntimeError) as e:
            raise PrepareError('cannot prepare the engine folder: %s' % e)
        try:
            log = run_engine(root, batch, args)
        except RuntimeError as e:
            for job in batch:
                job.problems.append(str(e))
            return
        for job, part in zip(batch, split_log(log, batch)):
            judge(job, part, root, args)
            if args.out:
                copy_outputs(job, part, root, args.out)
    finally:
        if args.keep:
            print('kept: ' + root)
        else:
            shutil.rmtree(root, ignore_errors=True)


def batches(jobs, size):
    return [jobs[i:i + size] for i in range(0, len(jobs), size)]


def main(argv):
    try:
        args = parse_args(argv)
        taken = set()
        jobs = [read_job(p, taken) for p in args.maps]
        defined = set()
        for pk4 in args.pk4:
            try:
                defined |= engine_base.package_materials(pk4)
            except (OSError, zipfile.BadZipFile) as e:
                raise UsageError('cannot read package %s: %s' % (pk4, getattr(e, 'strerror', None) or e))
    except UsageError as e:
        print('dmap-check: %s' % e, file=sys.stderr)
        return 2
    if not os.access(ENGINE, os.X_OK):
        print('dmap-check: the DOOM 3 engine %s is not installed' % ENGINE, file=sys.stderr)
        return 3

    standins = set()
    for job in jobs:
        job.standins = job.materials - defined - set(engine_base.ENGINE_MATERIALS)
        standins |= job.standins
    try:
        with concurrent.futures.ThreadPoolExecutor(max_workers=max(1, args.jobs)) as pool:
            for done in [pool.submit(compile_batch, b, args, defined, standins)
                         for b in batches(jobs, MAPS_PER_START)]:
                done.result()
    except PrepareError as e:
        print('dmap-check: %s' % e, file=sys.stderr)
        return 2
    failed = 0
    print(TABLE_ROW % ('map', 'brushes', 'compiled', 'entities', 'areas', 'portals', 'largest', 'doors', 'result'))
    for job in jobs:
        result = 'ok' if not job.problems else 'FAIL: ' + '; '.join(job.problems)
        if job.standins and not job.problems:
            result += ' (stand-in materials: %d)' % len(job.standins)
        world = job.world
        print(TABLE_ROW % (job.name, job.file_brushes, '-' if job.compiled is None else job.compiled,
                           job.log_entities if job.log_entities is not None else job.file_entities,
                           '-' if world is None else len(world.areas),
                           '-' if world is None else len(world.portals),
                           '-' if world is None else '%.1f%%' % (100 * world.largest_share()),
                           '%s/%d' % ('-' if job.doors_with_portal is None else job.doors_with_portal,
                                      len(job.doors)),
                           result))
        failed += bool(job.problems)
    if standins:
        print('stand-in materials (defined by no package): ' + ' '.join(sorted(standins)))
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
