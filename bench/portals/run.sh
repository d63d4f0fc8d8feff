#!/usr/bin/env bash
# The optimised map compile (dmap noflood, as the road runs it) of the five largest Freedoom
# levels with the converter's visportals and again without them (the same map with its
# portal brushes left out by strip_portals.py): processor time, wall time, the compiler's own
# seconds, areas and portals, one engine start at a time. Slow: many minutes per level.
#
#   bench/portals/run.sh [BUILD_DIR] [COUNT]
#
# BUILD_DIR (default: build/bench) is configured with the native preset when it has no build
# yet; only zaro3, scorvel and the definitions package are built. COUNT defaults to 5.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:-$root/build/bench}
count=${2:-5}
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" --preset native -B "$build" -DKOLVANTA_TESTS=OFF >/dev/null
fi
build=$(cd "$build" && pwd)
cmake --build "$build" --target zaro3 scorvel toolkit_defs -j2 >/dev/null
[ -x /usr/games/rbdoom3bfg ] || { echo "the DOOM 3 engine is not installed (rbdoom3bfg)"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
cp "$root/toolkit/defs/D2D3_OBJ.TXT" .

for wad in freedoom1 freedoom2; do
  cp "/usr/share/games/doom/$wad.wad" .
  case $wad in
    freedoom1) levels=$(for e in 1 2 3 4; do for m in 1 2 3 4 5 6 7 8 9; do echo "E${e}M${m}"; done; done) ;;
    freedoom2) levels=$(for m in $(seq -w 1 32); do echo "MAP$m"; done) ;;
  esac
  for level in $levels; do
    "$build/toolkit/zaro3/zaro3" "$wad.wad" "$level" -bound -scale 1.500000 >summary.txt 2>&1 || continue
    brushes=$(sed -n 's/^brushes: \([0-9]*\).*/\1/p' summary.txt)
    mv "$level.map" "${wad}_$level.map"
    echo "$brushes ${wad}_$level"
  done
done | sort -rn | head -n "$count" >largest.txt

printf '%-24s %8s %8s %8s %8s %6s %8s  %s\n' map brushes wall_s cpu_s dmap_s areas portals result
while read -r brushes name; do
  "$build/maptool/scorvel" "$name.map" >/dev/null 2>&1
  python3 "$here/strip_portals.py" "$name.map" "${name}_noportals.map" >/dev/null
  for map in "$name" "${name}_noportals"; do
    /usr/bin/time -f '%e %U %S' -o time.txt python3 "$root/tests/toolkit/dmap/dmapcheck.py" --noflood --opt \
      --seconds-per-map 14400 --pk4 "$build/toolkit/defs/zdoomdefsdoom.pk4" --out out "$map.map" >table.txt 2>&1 || true
    read -r wall user system <time.txt
    cpu=$(awk -v u="$user" -v s="$system" 'BEGIN { printf "%.0f", u + s }')
    own=$(sed -n 's/^ *\([0-9.]*\) seconds for dmap.*/\1/p' "out/$map.dmap.log" 2>/dev/null | head -n 1)
    read -r _ compiled _ _ areas portals _ _ result < <(sed -n 2p table.txt)
    printf '%-24s %8s %8.0f %8s %8s %6s %8s  %s\n' "$map" "$compiled" "$wall" "$cpu" "${own:--}" "$areas" "$portals" "$result"
  done
done <largest.txt
