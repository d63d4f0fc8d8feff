#!/bin/sh
# The definitions packages: both pass unzip -t and Python's zipfile, define
# every class the thing table names, every shared material the converter
# writes, the key items (card and skull of a colour give one key name), the
# damage definitions, the secret message and the light material with its
# tables and images; the multiplayer one spawns no monsters.
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
    keys = dict(re.findall(r'entityDef\s+(doom_\w+?_(?:keycard|skull_key))\s*\{[^}]*"inv_name"\s+"([^"]+)"', defs))
    assert len(keys) == 6, (package, keys)
    for colour in ("blue", "yellow", "red"):
        assert keys["doom_%s_keycard" % colour] == keys["doom_%s_skull_key" % colour] == colour.capitalize() + " key"
    specials = z.read("def/zdoom_actions.def").decode()
    for damage in (5, 10, 20):
        block = re.search(r"entityDef doom_damage_%d \{(.*?)\}" % damage, specials, re.S).group(1)
        assert '"damage"\t"%d"' % damage in block and '"knockback"\t"0"' in block, (package, damage)
    assert re.search(r'entityDef doom_secret \{[^}]*"spawnclass"\s+"idItem"', specials)
    lights = z.read("materials/zdoom_lights.mtr").decode()
    assert re.search(r"^lights/zdoom_sector\s*$", lights, re.M)
    for table_name in re.findall(r"(zdoom_\w+)\[", lights):
        assert re.search(r"^table %s \{" % table_name, lights, re.M), table_name
    for image_name in ("lightsquare", "lightfalloff"):
        assert "textures/zdoom/%s.tga" % image_name in lights
        assert z.read("textures/zdoom/%s.tga" % image_name)[2] == 2
    monsters = {row[1] for row in table if kinds[row[0]] == "monster"}
    if package == "zdoomdefslms.pk4":
        assert all(bases[m] == "target_null" for m in monsters)
        assert bases["doom_shotgun"].startswith("weapon_")
    else:
        assert all(bases[m].startswith("monster_") for m in monsters if m != "doom_boss_brain")
print("definitions packages are complete")
PY
