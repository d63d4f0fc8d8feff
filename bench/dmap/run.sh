#!/usr/bin/env bash
# The map compiler's optimised compile ("dmap noflood", as the road runs it) on the five
# largest Freedoom levels by brush count: every level of both wads is converted with the
# dialog's options (-bound -scale 1.5) and named with Scorvel, the five with the most
# brushes are compiled one engine start each, and the wall and processor time of each start
# (engine start, compile, collision model and area awareness; the processor time is what a
# busy machine disturbs least), the compiler's own "seconds for dmap" (wall), its result
# and the areas and portals are printed.
# The compile check uses noOpt for speed; this measures what a user waits for. Slow: large
# levels take many minutes each on two cores; one engine runs at a time. With
# DMAP_BENCH_WITHOUT_PORTALS=1 each level is compiled a second time without its visportals
# (the same map with its portal brushes left out by ../portals/strip_portals.py), as
# ../portals/run.sh asks.
#
#   bench/dmap/run.sh [BUILD_DIR] [COUNT]
#
# BUILD_DIR (default: build/bench) is configured with the native preset when it has no
# build yet; only zaro3, scorvel and the definitions package are built. COUNT defaults to 5.
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

# Converts every level; lists "brushes level wad" for each.
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
while read -r _ name; do
  "$build/maptool/scorvel" "$name.map" >/dev/null 2>&1
  maps=("$name")
  if [ "${DMAP_BENCH_WITHOUT_PORTALS:-0}" = 1 ]; then
    python3 "$root/bench/portals/strip_portals.py" "$name.map" "${name}_noportals.map" >/dev/null
    maps+=("${name}_noportals")
  fi
  for map in "${maps[@]}"; do
    /usr/bin/time -f '%e %U %S' -o time.txt python3 "$root/tests/toolkit/dmap/dmapcheck.py" --noflood --opt \
      --seconds-per-map 14400 --pk4 "$build/toolkit/defs/zdoomdefsdoom.pk4" --out out "$map.map" >table.txt 2>&1 || true
    read -r wall user system <time.txt
    cpu=$(awk -v u="$user" -v s="$system" 'BEGIN { printf "%.0f", u + s }')
    own=$(sed -n 's/^ *\([0-9.]*\) seconds for dmap.*/\1/p' "out/$map.dmap.log" 2>/dev/null | head -n 1)
    read -r _ compiled _ _ areas portals _ _ result < <(sed -n 2p table.txt)
    printf '%-24s %8s %8.0f %8s %8s %6s %8s  %s\n' "$map" "$compiled" "$wall" "$cpu" "${own:--}" "$areas" "$portals" "$result"
  done
done <largest.txt
