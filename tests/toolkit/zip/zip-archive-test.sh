#!/bin/sh
# Archives made by kzip are accepted by unzip -t and Python's zipfile, hold the
# right names in sorted order with their contents, and failures leave nothing.
# Usage: zip-archive-test.sh <kzip>
set -eu
kzip=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

failures=0
check() { if ! "$@"; then echo "FAILED: $*" >&2; failures=$((failures + 1)); fi; }
expect_exit() { code=$1; shift; set +e; "$@" >/dev/null 2>err.txt; got=$?; set -e
  if [ "$got" -ne "$code" ]; then echo "FAILED: exit $got (wanted $code): $*" >&2; failures=$((failures + 1)); fi
  if [ ! -s err.txt ] && [ "$code" -ne 0 ]; then echo "FAILED: no message: $*" >&2; failures=$((failures + 1)); fi; }

mkdir -p pack/textures/b pack/textures/a pack/empty pack/env
yes 'STARTAN3 compresses well' | head -n 4000 > pack/textures/a/wall.txt
head -c 70000 /dev/urandom > pack/env/noise.bin   # incompressible: stored
: > pack/textures/b/zero
printf 'x' > pack/one

cd pack
check "$kzip" -rq9 ../deflated.pk4 textures env empty one
check "$kzip" -rq0 ../stored.pk4 textures ./env/ empty one
cd ..
check unzip -tq deflated.pk4
check unzip -tq stored.pk4

check python3 - <<'PY'
import zipfile, sys
for name, deflated in (("deflated.pk4", True), ("stored.pk4", False)):
    z = zipfile.ZipFile(name)
    assert z.testzip() is None
    names = z.namelist()
    want = ["textures/", "textures/a/", "textures/a/wall.txt", "textures/b/", "textures/b/zero",
            "env/", "env/noise.bin", "empty/", "one"]
    assert names == want, names
    for info in z.infolist():
        if info.filename.endswith("/"):
            continue
        assert z.read(info) == open("pack/" + info.filename, "rb").read(), info.filename
    methods = {i.filename: i.compress_type for i in z.infolist()}
    assert methods["textures/a/wall.txt"] == (8 if deflated else 0)
    assert methods["env/noise.bin"] == 0
    assert methods["textures/b/zero"] == 0
    assert all(i.date_time[0] >= 1980 for i in z.infolist())
PY

# Rewriting an archive replaces it whole, and the archive never packs itself.
cd pack
check "$kzip" -rq ../deflated.pk4 one
check "$kzip" -rq self.zip .
cd ..
check python3 -c "import zipfile; assert zipfile.ZipFile('deflated.pk4').namelist() == ['one']"
check python3 -c "import zipfile; n = zipfile.ZipFile('pack/self.zip').namelist(); assert 'self.zip' not in n and 'one' in n, n"
rm pack/self.zip

# A name without an extension gets .zip.
check "$kzip" -q plain pack/one
check test -f plain.zip

# Bad input: a message, the code, and no archive (nor a temporary) left.
expect_exit 1 "$kzip"
expect_exit 1 "$kzip" -k bad.zip pack
expect_exit 1 "$kzip" bad.zip ../etc
expect_exit 1 "$kzip" bad.zip "$work/pack/one"
expect_exit 2 "$kzip" bad.zip pack/one pack/missing
expect_exit 3 "$kzip" no/such/folder/bad.zip pack/one
check test ! -e bad.zip
leftovers=$(ls | grep -c 'tmp' || true)
check test "$leftovers" -eq 0

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "all archive checks passed"
