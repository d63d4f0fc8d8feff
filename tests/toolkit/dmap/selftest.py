"""The compile check on small hand-written rooms: sealed (passes), with a hole
(leaks) and with a brush that repeats a plane; two rooms joined by a doorway with
a visportal and a door (two areas, one portal, the door finds it), the same
without the portal (the door finds none), with a portal brush whose other faces
are solid (the compiler writes no portal), and with a door that lacks its "model"
key; then the sealed room against a package that defines its materials, so no
stand-in is needed."""
import os
import subprocess
import sys
import tempfile
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import rooms  # noqa: E402

CHECK = os.path.join(HERE, 'dmap-check.sh')
MAPS = [os.path.join(HERE, 'maps', n + '.map') for n in ('box', 'leak', 'dupplane')]
COLUMNS = ('brushes', 'compiled', 'entities', 'areas', 'portals', 'largest', 'doors', 'result')

# Two 256 x 256 rooms side by side, a 16-unit wall between them with a 64 x 96 doorway.
_DOORWAY = ((256, 96, 0), (272, 160, 96))


def doorway_map(portal='textures', door_keys=None):
    """`portal`: 'textures' (visportal face, other faces draw nothing), 'solid' (other faces
    opaque) or None; `door_keys`: the func_door's keys, None for no door."""
    world = rooms.shell((0, 0, 0), (528, 256, 128), 'test/WALL')
    world += [rooms.box((256, 0, 0), (272, 96, 128), 'test/WALL'),
              rooms.box((256, 160, 0), (272, 256, 128), 'test/WALL'),
              rooms.box((256, 96, 96), (272, 160, 128), 'test/WALL')]
    if portal:
        others = 'common/nodraw' if portal == 'textures' else 'test/WALL'
        world.append(rooms.box((262, 96, 0), (266, 160, 96), others, {'-x': 'editor/visportal'}))
    parts = [rooms.entity({'classname': 'worldspawn'}, world),
             rooms.entity({'classname': 'info_player_start', 'origin': '64 128 8'})]
    if door_keys is not None:
        parts.append(rooms.entity(dict(door_keys, classname='func_door'),
                                  [rooms.box((258, 96, 0), (270, 160, 96), 'test/WALL')]))
    return '\n'.join(parts) + '\n'


def run(*args):
    p = subprocess.run([CHECK] + list(args), stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    print(p.stdout)
    rows = {}
    for line in p.stdout.splitlines()[1:]:
        fields = line.split(None, len(COLUMNS))
        if len(fields) == len(COLUMNS) + 1 and fields[1].isdigit():
            rows[fields[0]] = dict(zip(COLUMNS, fields[1:]))
    return p.returncode, rows


def main():
    if not os.access('/usr/games/rbdoom3bfg', os.X_OK):
        print('the DOOM 3 engine is not installed: skipped')
        return 77
    faults = []
    with tempfile.TemporaryDirectory() as tmp:
        door = {'name': 'door1', 'model': 'door1'}
        doorways = {'portal': doorway_map('textures', door), 'noportal': doorway_map(None, door),
                    'solidportal': doorway_map('solid', door),
                    'nomodel': doorway_map('textures', {'name': 'door1'})}
        for name, text in doorways.items():
            with open(os.path.join(tmp, name + '.map'), 'w') as f:
                f.write(text)
        rc, rows = run('--require-door-portals', *(MAPS + [os.path.join(tmp, n + '.map') for n in doorways]))
        if rc != 1:
            faults.append('one engine run over the rooms should exit 1, got %d' % rc)
        result = {name: row['result'] for name, row in rows.items()}
        if not result.get('box', '').startswith('ok'):
            faults.append('sealed room should pass')
        if 'leaked' not in result.get('leak', ''):
            faults.append('room with a hole should fail as leaked')
        if 'duplicate plane' not in result.get('dupplane', ''):
            faults.append('brush with a repeated plane should fail')
        portal = rows.get('portal', {})
        if (portal.get('areas'), portal.get('portals'), portal.get('doors')) != ('2', '1', '1/1') or \
                not portal.get('result', '').startswith('ok'):
            faults.append('doorway with a visportal should give 2 areas, 1 portal and a door that finds it')
        if rows.get('noportal', {}).get('portals') != '0' or 'touch no portal' not in result.get('noportal', ''):
            faults.append('doorway without a visportal should fail the door portal rule')
        if rows.get('solidportal', {}).get('portals') != '0':
            faults.append('a portal brush with solid faces should give no portal in the compiled world')
        if '"model" key: door1' not in result.get('nomodel', ''):
            faults.append('a door without its "model" key should fail')

        pk4 = os.path.join(tmp, 'testmaterials.pk4')
        with zipfile.ZipFile(pk4, 'w') as z:
            body = '\n{\n\tqer_editorimage _default\n\t{\n\t\tblend diffusemap\n\t\tmap _default\n\t}\n}\n'
            z.writestr('materials/test.mtr', '// test set\n' +
                       ''.join('textures/test/%s%s' % (n, body) for n in ('WALL', 'FLOOR', 'CEIL')))
        rc, rows = run('--require-materials', '--pk4', pk4, MAPS[0])
        if rc != 0 or rows.get('box', {}).get('result') != 'ok':
            faults.append('sealed room with its materials packaged should pass without stand-ins')
        rc, _ = run('--require-materials', MAPS[0])
        if rc != 1:
            faults.append('--require-materials should fail a map that needs stand-ins')
    for f in faults:
        print('FAULT: ' + f)
    return 1 if faults else 0


if __name__ == '__main__':
    sys.exit(main())
