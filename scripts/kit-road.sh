#!/usr/bin/env bash
# The conversion kit's road on Freedoom's MAP01, natively, in a scratch program
# folder: extract freedoom2.wad's textures (as doom2.wad), convert MAP01 with
# the settings the map dialog gives, name its entities, compile it with DOOM 3's
# map compiler using the packages the road made, and draw it from above.
#
#   scripts/kit-road.sh <native-build-dir> <output-dir> [LEVEL]
#
# Leaves <output-dir>/<LEVEL>.png and <output-dir>/<LEVEL>.map; prints what
# the level became. Exit code 0 only when every step worked.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
level="${3:-MAP01}"
wad=/usr/share/games/doom/freedoom2.wad
[ -f "$wad" ] || { echo "kit-road.sh: $wad is missing (Debian package freedoom)" >&2; exit 1; }

folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
for tool in toolkit/zaro3/zaro3 toolkit/doomtex/doomtex toolkit/wad2tga/wad2tga toolkit/zip/kzip \
            toolkit/mappreview/mappreview maptool/scorvel toolkit/defs/D2D3_OBJ.TXT \
            toolkit/defs/zdoomdefsdoom.pk4 toolkit/defs/zdoomdefslms.pk4; do
  [ -f "$build/$tool" ] || { echo "kit-road.sh: $build/$tool is missing: build the kit first" >&2; exit 1; }
  cp "$build/$tool" "$folder/"
done
cp "$root/toolkit/xtract/xtract.sh" "$folder/"
cp "$wad" "$folder/doom2.wad"
cd "$folder"

echo "--- xtract.sh doom2"
./xtract.sh doom2
echo "--- zaro3 doom2.wad $level -bound -scale 1.5 -doom2"
./zaro3 doom2.wad "$level" -bound -scale 1.5 -doom2
echo "--- scorvel $level.map"
./scorvel "$level.map"
echo
echo "--- DOOM 3's map compiler with zdoom2tex.pk4 and zdoomdefsdoom.pk4"
bash "$root/tests/toolkit/dmap/dmap-check.sh" --require-materials \
  --pk4 zdoom2tex.pk4 --pk4 zdoomdefsdoom.pk4 "$level.map"
echo
echo "--- the level from above"
./mappreview "$level.map" zdoom2tex.pk4 zdoomdefsdoom.pk4 -o "$out/$level.png"
cp "$level.map" "$out/$level.map"
echo "picture: $out/$level.png"
