#!/bin/sh
# The definitions packages: both pass unzip -t and Python's zipfile, define
# every class the thing table names, and every shared material the converter
# writes; the multiplayer one spawns no monsters.
# Usage: defs-test.sh <folder with the packages and D2D3_OBJ.TXT>
set -eu
folder=$1
python3 - "$folder" <<'PY'
import re, subprocess, sys, zipfile
folder = sys.argv[1]
table = [l.split() for l in open(folder + "/D2D3_OBJ.TXT") if l.strip() and not l.startswith("#")]
numbers = [row[0] for row in table]
assert len(numbers) == len(set(numbers)), "a thing type is listed twice"
assert all(len(row) % 2 == 0 for row in table), "a key without a value"
classes = {row[1] for row in table}
kinds = {row[0]: dict(zip(row[2::2], row[3::2])).get("doom_kind") for row in table}
for package in ("zdoomdefsdoom.pk4", "zdoomdefslms.pk4"):
    path = folder + "/" + package
    subprocess.run(["unzip", "-tq", path], check=True, stdout=subprocess.DEVNULL)
    z = zipfile.ZipFile(path)
    assert z.testzip() is None
    defs = z.read("def/zdoom_things.def").decode()
    bases = dict(re.findall(r'entityDef\s+(\w+)\s*\{\s*"inherit"\s+"(\w+)"', defs))
    missing = {c for c in classes if not c.startswith("info_player_")} - set(bases)
    assert not missing, (package, sorted(missing))
    assert defs.count("{") == defs.count("}"), package
    mtr = z.read("materials/zdoom.mtr").decode()
    for name in ["hidden", "missing", "sky1", "sky2", "sky3", "sky4", "trigger"]:
        assert re.search(r"^textures/zdoom/%s\s*$" % name, mtr, re.M), (package, name)
    for n in range(1, 5):
        assert "cameraCubeMap env/zdoomsky%d" % n in mtr
    image = z.read("textures/zdoom/missing.tga")
    assert image[2] == 2 and image[16] in (24, 32) and len(image) > 18 + 64 * 64 * 3 - 1
    monsters = {row[1] for row in table if kinds[row[0]] == "monster"}
    if package == "zdoomdefslms.pk4":
        assert all(bases[m] == "target_null" for m in monsters)
        assert bases["doom_shotgun"].startswith("weapon_")
    else:
        assert all(bases[m].startswith("monster_") for m in monsters if m != "doom_boss_brain")
print("definitions packages are complete")
PY
