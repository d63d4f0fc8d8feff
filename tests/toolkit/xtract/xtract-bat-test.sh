#!/bin/sh
# xtract.bat under Wine's cmd in a program folder holding the real Windows
# tools: "doom2" (Freedoom's second wad under that name) gives zdoom2tex.pk4
# and DOOM2.TEX; a missing wad gives a non-zero exit and no package.
# Usage: xtract-bat-test.sh <wine-run.sh> <xtract.bat> <zip.exe> <doomtex.exe> <wad2tga.exe>
set -eu
wine_run=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$2" "$work/xtract.bat"
cp "$3" "$work/zip.exe"
cp "$4" "$work/doomtex.exe"
cp "$5" "$work/wad2tga.exe"
cp /usr/share/games/doom/freedoom2.wad "$work/doom2.wad"
cd "$work"
failures=0
fail() { echo "FAILED: $*" >&2; failures=$((failures + 1)); }

"$wine_run" cmd /c xtract.bat "doom2" || fail "xtract.bat doom2 exited $?"
[ -f zdoom2tex.pk4 ] || fail "no zdoom2tex.pk4"
[ -s DOOM2.TEX ] || fail "no DOOM2.TEX"
if [ -f zdoom2tex.pk4 ]; then
  unzip -tq zdoom2tex.pk4 >/dev/null || fail "zdoom2tex.pk4 is not a sound archive"
  unzip -l zdoom2tex.pk4 | grep -q "env/zdoomsky1_forward.tga" || fail "no SKY1 box"
  unzip -l zdoom2tex.pk4 | grep -q "materials/doom2.mtr" || fail "no materials"
fi

if "$wine_run" cmd /c xtract.bat "tnt" 2>/dev/null; then fail "a missing wad succeeded"; fi
[ ! -e ztnttex.pk4 ] || fail "a missing wad left a package"
ls -d xtract_* 2>/dev/null && fail "a scratch folder was left behind"

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed" >&2; exit 1; }
echo "xtract.bat checks passed"
