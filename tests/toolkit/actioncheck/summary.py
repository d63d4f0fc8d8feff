#!/usr/bin/env python3
"""Adds up actioncheck.py's JSON reports: one table per wad and one over all of them.

    summary.py REPORT.json...

By category: lines found, right, wrong, missing; then exits right of found, special
sectors right/wrong/missing, and check times (total and slowest level, wall clock and
processor time). Reports are
grouped by their `wad` field. Exit 0 when every report passed, 1 otherwise, 2 when a
report cannot be read (one line).
"""
import collections
import json
import os
import sys

CATEGORIES = ('doors', 'floors', 'ceilings', 'lifts', 'crushers', 'stairs', 'donuts', 'exits', 'teleports',
              'lights', 'scrollers', 'other')
COUNTS = ('found', 'right', 'wrong', 'missing')


def add(total, report):
    total['levels'] += 1
    total['passed'] += bool(report['passed'])
    for c in CATEGORIES:
        for k in COUNTS:
            total['categories'][c][k] += report['categories'][c][k]
    for k in COUNTS:
        total['sectors'][k] += report['sectors'][k]
    total['exits_found'] += report['exits']['found']
    total['exits_right'] += report['exits']['right']
    total['inert'] += report['inert']
    total['seconds'] += report['seconds']
    total['cpu'] += report.get('cpu_seconds', 0.0)
    if report['seconds'] > total['slowest'][0]:
        total['slowest'] = (report['seconds'], report['level'], report.get('cpu_seconds', 0.0))


def empty():
    return {'levels': 0, 'passed': 0, 'categories': {c: dict.fromkeys(COUNTS, 0) for c in CATEGORIES},
            'sectors': dict.fromkeys(COUNTS, 0), 'exits_found': 0, 'exits_right': 0, 'inert': 0,
            'seconds': 0.0, 'cpu': 0.0, 'slowest': (0.0, '', 0.0)}


def print_table(title, t, out):
    rows = [(c, t['categories'][c]) for c in CATEGORIES if t['categories'][c]['found']]
    found = sum(r['found'] for _c, r in rows)
    right = sum(r['right'] for _c, r in rows)
    out.write('%s: %d levels (%d pass)\n' % (title, t['levels'], t['passed']))
    out.write('  %-10s %6s %6s %6s %8s\n' % ('category', 'found', 'right', 'wrong', 'missing'))
    for c, r in rows + [('total', {k: sum(row[k] for _c, row in rows) for k in COUNTS})]:
        out.write('  %-10s %6d %6d %6d %8d\n' % (c, r['found'], r['right'], r['wrong'], r['missing']))
    out.write('  right: %.1f%%; exits right: %d/%d; lines that do nothing in DOOM: %d\n' % (
        100.0 * right / found if found else 100.0, t['exits_right'], t['exits_found'], t['inert']))
    s = t['sectors']
    out.write('  sectors: %d special, %d right, %d wrong, %d missing\n' % (s['found'], s['right'], s['wrong'], s['missing']))
    out.write('  check time: %.1f s in all (%.1f s of processor time), slowest %s %.2f s (%.2f s)\n' % (
        t['seconds'], t['cpu'], t['slowest'][1], t['slowest'][0], t['slowest'][2]))


def main(paths):
    by_wad = collections.OrderedDict()
    overall = empty()
    for path in paths:
        try:
            with open(path) as f:
                report = json.load(f)
            add(by_wad.setdefault(report['wad'], empty()), report)
            add(overall, report)
        except (OSError, ValueError, KeyError, TypeError) as e:
            print('summary: cannot read %s: %s' % (path, e), file=sys.stderr)
            return 2
    for wad, t in by_wad.items():
        print_table(wad, t, sys.stdout)
    if len(by_wad) > 1:
        print_table('all', overall, sys.stdout)
    return 0 if overall['passed'] == overall['levels'] else 1


if __name__ == '__main__':
    try:
        sys.exit(main(sys.argv[1:]))
    except BrokenPipeError:
        # The reader stopped early (a pager, head): nothing more to say.
        os.dup2(os.open(os.devnull, os.O_WRONLY), sys.stdout.fileno())
        sys.exit(1)
