"""The compile check on three small hand-written rooms: sealed (passes), with a hole
(leaks) and with a brush that repeats a plane; then the sealed room against a
package that defines its materials, so no stand-in is needed."""
import os
import subprocess
import sys
import tempfile
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
CHECK = os.path.join(HERE, 'dmap-check.sh')
MAPS = [os.path.join(HERE, 'maps', n + '.map') for n in ('box', 'leak', 'dupplane')]


def run(*args):
    p = subprocess.run([CHECK] + list(args), stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    print(p.stdout)
    rows = {}
    for line in p.stdout.splitlines()[1:]:
        fields = line.split(None, 4)
        if len(fields) == 5 and fields[1].isdigit():
            rows[fields[0]] = fields[4]
    return p.returncode, rows


def main():
    if not os.access('/usr/games/rbdoom3bfg', os.X_OK):
        print('the DOOM 3 engine is not installed: skipped')
        return 77
    faults = []
    rc, rows = run(*MAPS)
    if rc != 1:
        faults.append('one engine run over the three rooms should exit 1, got %d' % rc)
    if not rows.get('box', '').startswith('ok'):
        faults.append('sealed room should pass')
    if 'leaked' not in rows.get('leak', ''):
        faults.append('room with a hole should fail as leaked')
    if 'duplicate plane' not in rows.get('dupplane', ''):
        faults.append('brush with a repeated plane should fail')

    with tempfile.TemporaryDirectory() as tmp:
        pk4 = os.path.join(tmp, 'testmaterials.pk4')
        with zipfile.ZipFile(pk4, 'w') as z:
            body = '\n{\n\tqer_editorimage _default\n\t{\n\t\tblend diffusemap\n\t\tmap _default\n\t}\n}\n'
            z.writestr('materials/test.mtr', '// test set\n' +
                       ''.join('textures/test/%s%s' % (n, body) for n in ('WALL', 'FLOOR', 'CEIL')))
        rc, rows = run('--require-materials', '--pk4', pk4, MAPS[0])
        if rc != 0 or rows.get('box') != 'ok':
            faults.append('sealed room with its materials packaged should pass without stand-ins')
        rc, _ = run('--require-materials', MAPS[0])
        if rc != 1:
            faults.append('--require-materials should fail a map that needs stand-ins')
    for f in faults:
        print('FAULT: ' + f)
    return 1 if faults else 0


if __name__ == '__main__':
    sys.exit(main())
