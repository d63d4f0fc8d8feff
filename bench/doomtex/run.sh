#!/usr/bin/env bash
# doomtex's speed on every wall texture and flat of freedoom2.wad.
#
#   bench/doomtex/run.sh [BUILD_DIR] [WAD]
#
# BUILD_DIR (default: build/bench under the repository) is configured with the
# native preset when it has no build yet. The images go to a temporary folder
# (removed at the end). Three runs on a warm page cache; prints the best wall
# time, the number of images and the bytes read and written.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:-$root/build/bench}
wad=${2:-/usr/share/games/doom/freedoom2.wad}

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" --preset native -B "$build" -DKOLVANTA_TESTS=OFF >/dev/null
fi
cmake --build "$build" -j2 --target doomtex >/dev/null
doomtex="$build/toolkit/doomtex/doomtex"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat "$wad" >/dev/null
best=""
for run in 1 2 3; do
  rm -rf "$work/out"
  /usr/bin/time -f '%e' -o "$work/time" "$doomtex" "$wad" doom2 "$work/out" "$work/out/DOOM2.TEX" >/dev/null
  t=$(cat "$work/time")
  if [ -z "$best" ] || awk "BEGIN{exit !($t < $best)}"; then best=$t; fi
done
images=$(find "$work/out/textures" -name '*.tga' | wc -l)
bytes_out=$(du -sb "$work/out" | cut -f1)
echo "doomtex $(basename "$wad"): best ${best}s, $images images, $(stat -c %s "$wad") bytes in, $bytes_out bytes out"
