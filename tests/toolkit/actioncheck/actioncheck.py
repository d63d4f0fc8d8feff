#!/usr/bin/env python3
"""Checks a converted level's specials against the DOOM level, by DOOM's rules.

    actioncheck.py WAD LEVEL MAP [--scale F] [--pk4 FILE]... [--min PERCENT] [--report N] [--json FILE]

Every line with a special and every special sector of LEVEL in WAD is judged against
the entities of MAP (a DOOM 3 map in the classic brush form, coordinates DOOM's times
F): right, wrong (the wrong parameters named) or missing. Scrolling walls are judged
by their faces' materials, read from the packages given with --pk4 (in the engine's
search order); without them they count as missing. Lines DOOM itself does
nothing with are set apart. Prints a table by category, the exits, the sectors and
the first N lines or sectors that are wrong or missing with their reasons. Exit 0 when
the share of right lines reaches PERCENT (95), every exit is right and nothing is
wrong; 1 otherwise; 2 on bad input (one line). The JSON file, written whole or not at
all, holds the counts and every verdict that is not right.
"""
import argparse
import collections
import json
import os
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..', 'geocheck'))

import d3entities  # noqa: E402
import doomlevel  # noqa: E402
import doomplan  # noqa: E402
import doomsectors  # noqa: E402
import judge  # noqa: E402
import scrollmaterials  # noqa: E402
import sectorjudge  # noqa: E402

CATEGORIES = ('doors', 'floors', 'ceilings', 'lifts', 'crushers', 'stairs', 'donuts', 'exits', 'teleports',
              'lights', 'scrollers', 'other')
STATUSES = ('right', 'wrong', 'missing')


class InputError(Exception):
    pass


def check_level(wad_path, level_name, map_path, scale, packages=()):
    """(line verdicts, sector verdicts) for one level; raises InputError."""
    try:
        wad = doomlevel.Wad(wad_path)
        level = doomlevel.load_from(wad, level_name)
        entities = d3entities.read(map_path)
        materials = scrollmaterials.ScrollMaterials(packages) if packages else None
    except (doomlevel.LevelError, d3entities.MapError, scrollmaterials.PackageError) as e:
        raise InputError(str(e))
    has_map31 = any(name == 'MAP31' for name, _o, _s in wad.lumps)
    ctx = doomplan.Context(doomsectors.Sectors(level, wad), level_name.upper(), has_map31)
    lines = judge.LineJudge(ctx, entities, scale, materials)
    sectors = sectorjudge.SectorJudge(ctx, entities, lines, scale)
    line_verdicts = [lines.judge(i) for i, r in enumerate(ctx.sectors.lines) if r.special]
    sector_verdicts = [v for v in (sectors.judge(s) for s in range(len(ctx.sectors.records))) if v]
    return line_verdicts, sector_verdicts


def tally(line_verdicts, sector_verdicts):
    t = {'categories': {c: dict.fromkeys(('found',) + STATUSES, 0) for c in CATEGORIES},
         'inert': 0, 'exits': {'found': 0, 'right': 0},
         'sectors': dict.fromkeys(('found',) + STATUSES, 0), 'sector_parts': collections.OrderedDict()}
    for v in line_verdicts:
        if v.status == 'inert':
            t['inert'] += 1
            continue
        row = t['categories'][v.category]
        row['found'] += 1
        row[v.status] += 1
        if v.category == 'exits':
            t['exits']['found'] += 1
            t['exits']['right'] += v.status == 'right'
    for v in sector_verdicts:
        statuses = [status for _part, status, _r in v.parts]
        overall = 'wrong' if 'wrong' in statuses else 'missing' if 'missing' in statuses else 'right'
        t['sectors']['found'] += 1
        t['sectors'][overall] += 1
        for part, status, _r in v.parts:
            row = t['sector_parts'].setdefault(part.kind, dict.fromkeys(('found',) + STATUSES, 0))
            row['found'] += 1
            row[status] += 1
    found = sum(r['found'] for r in t['categories'].values())
    right = sum(r['right'] for r in t['categories'].values())
    t['lines'] = {'found': found, 'right': right, 'wrong': sum(r['wrong'] for r in t['categories'].values()),
                  'missing': sum(r['missing'] for r in t['categories'].values())}
    t['right_percent'] = 100.0 * right / found if found else 100.0
    return t


def faults(line_verdicts, sector_verdicts):
    """Every verdict that is not right, as (kind, text), lines first in line order."""
    found = []
    for v in line_verdicts:
        if v.status in ('wrong', 'missing'):
            found.append((v.status, 'line %d (special %d, %s): %s: %s' % (
                v.line, v.special, v.category, v.status, '; '.join(v.reasons))))
    for v in sector_verdicts:
        for part, status, reasons in v.parts:
            if status != 'right':
                found.append((status, 'sector %d (special %d, %s): %s: %s' % (
                    v.sector, v.special, part.kind, status, '; '.join(reasons))))
    return found


PART_NAMES = {'light': 'light effects', 'damage': 'damage', 'secret': 'secrets', 'door': 'timed doors', 'exit': 'exits'}


def report(t, fault_list, wad, level, seconds, cpu, shown, out):
    lines = t['lines']
    out.write('actioncheck %s %s: %d special lines, %d right, %d wrong, %d missing (%.1f%% right); '
              '%d more do nothing in DOOM\n' % (os.path.basename(wad), level.upper(), lines['found'], lines['right'],
                                                     lines['wrong'], lines['missing'], t['right_percent'], t['inert']))
    out.write('  %-10s %6s %6s %6s %8s\n' % ('category', 'found', 'right', 'wrong', 'missing'))
    for c in CATEGORIES:
        row = t['categories'][c]
        if row['found']:
            out.write('  %-10s %6d %6d %6d %8d\n' % (c, row['found'], row['right'], row['wrong'], row['missing']))
    out.write('exits: %d/%d right\n' % (t['exits']['right'], t['exits']['found']))
    s = t['sectors']
    parts = ', '.join('%s %d/%d' % (PART_NAMES[k], r['right'], r['found']) for k, r in t['sector_parts'].items())
    out.write('sectors: %d special, %d right, %d wrong, %d missing%s\n' % (
        s['found'], s['right'], s['wrong'], s['missing'], ' (%s)' % parts if parts else ''))
    if shown and fault_list:
        out.write('first %d of %d wrong or missing:\n' % (min(shown, len(fault_list)), len(fault_list)))
        for _kind, text in fault_list[:shown]:
            out.write('  %s\n' % text)
    out.write('time: %.2f s (%.2f s of processor time)\n' % (seconds, cpu))


def passes(t, minimum, sector_verdicts):
    sectors_wrong = any(status == 'wrong' for v in sector_verdicts for _p, status, _r in v.parts)
    return (t['right_percent'] >= minimum and t['exits']['right'] == t['exits']['found']
            and t['lines']['wrong'] == 0 and not sectors_wrong)


def write_json(path, document):
    folder = os.path.dirname(os.path.abspath(path))
    fd, temporary = tempfile.mkstemp(dir=folder, prefix='.actioncheck-', suffix='.json')
    try:
        with os.fdopen(fd, 'w') as f:
            json.dump(document, f, indent=1)
        os.replace(temporary, path)
    except OSError:
        if os.path.exists(temporary):
            os.unlink(temporary)
        raise


def main(argv):
    parser = argparse.ArgumentParser(description='Checks a converted level\'s specials against the DOOM level.')
    parser.add_argument('wad')
    parser.add_argument('level')
    parser.add_argument('map')
    parser.add_argument('--scale', type=float, default=1.5)
    parser.add_argument('--pk4', action='append', default=[])
    parser.add_argument('--min', type=float, default=95.0, dest='minimum')
    parser.add_argument('--report', type=int, default=10)
    parser.add_argument('--json')
    args = parser.parse_args(argv)
    if args.scale <= 0:
        print('actioncheck: the scale must be positive', file=sys.stderr)
        return 2
    started, started_cpu = time.monotonic(), time.process_time()
    try:
        line_verdicts, sector_verdicts = check_level(args.wad, args.level, args.map, args.scale, args.pk4)
    except InputError as e:
        print('actioncheck: %s' % e, file=sys.stderr)
        return 2
    t = tally(line_verdicts, sector_verdicts)
    fault_list = faults(line_verdicts, sector_verdicts)
    seconds, cpu = time.monotonic() - started, time.process_time() - started_cpu
    report(t, fault_list, args.wad, args.level, seconds, cpu, args.report, sys.stdout)
    ok = passes(t, args.minimum, sector_verdicts)
    print('result: %s' % ('pass' if ok else 'fail'))
    if args.json:
        document = dict(t, wad=os.path.basename(args.wad), level=args.level.upper(), seconds=round(seconds, 3),
                        cpu_seconds=round(cpu, 3), passed=ok, faults=[text for _kind, text in fault_list])
        try:
            write_json(args.json, document)
        except OSError as e:
            print('actioncheck: cannot write %s: %s' % (args.json, e.strerror), file=sys.stderr)
            return 2
    return 0 if ok else 1


if __name__ == '__main__':
    try:
        sys.exit(main(sys.argv[1:]))
    except BrokenPipeError:
        # The reader stopped early (a pager, head): nothing more to say.
        os.dup2(os.open(os.devnull, os.O_WRONLY), sys.stdout.fileno())
        sys.exit(1)
