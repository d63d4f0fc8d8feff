"""Writes a copy of a converted map without its visportal brushes.

    strip_portals.py IN.map OUT.map

A brush is left out when one of its faces carries DOOM 3's editor/visportal
material; everything else is copied line for line. For comparing the map
compiler's work with and without the converter's portals; it checks nothing
else about the map. Exit 2 on a file it cannot read or write.
"""
import sys


def strip(lines):
    """(lines kept, brushes left out): brushes are the blocks at depth two."""
    kept, brush, depth, removed = [], None, 0, 0
    for line in lines:
        token = line.strip()
        if token == '{':
            depth += 1
            if depth == 2:
                brush = [line]
                continue
        elif token == '}' and depth == 2:
            brush.append(line)
            if any('editor/visportal' in face for face in brush):
                removed += 1
            else:
                kept.extend(brush)
            brush, depth = None, 1
            continue
        elif token == '}':
            depth -= 1
        (brush if brush is not None else kept).append(line)
    return kept, removed


def main(argv):
    if len(argv) != 2:
        print('usage: strip_portals.py IN.map OUT.map', file=sys.stderr)
        return 2
    try:
        with open(argv[0], encoding='latin-1') as f:
            kept, removed = strip(f.readlines())
        with open(argv[1], 'w', encoding='latin-1') as f:
            f.writelines(kept)
    except OSError as e:
        print('strip_portals: %s' % e, file=sys.stderr)
        return 2
    print('%d portal brushes left out' % removed)
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
