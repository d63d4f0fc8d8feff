#!/usr/bin/env bash
# The converter on all 68 Freedoom levels with -bound -scale 1.5: per level the
# wall time, peak resident memory, convex pieces, brushes beside the plain
# method's two brushes per subsector, entities and lights; then the totals.
#
#   bench/zaro3/run.sh [BUILD_DIR]
#
# BUILD_DIR (default: build/bench) is configured with the native preset when it
# has no build yet; only the zaro3 target is built. Runs in a temporary folder.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:-$root/build/bench}
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" --preset native -B "$build" -DKOLVANTA_TESTS=OFF >/dev/null
fi
build=$(cd "$build" && pwd)
cmake --build "$build" --target zaro3 -j2 >/dev/null
tool="$build/toolkit/zaro3/zaro3"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
# The thing table, so that the entity counts are those of a real run.
[ -f "$root/toolkit/defs/D2D3_OBJ.TXT" ] && cp "$root/toolkit/defs/D2D3_OBJ.TXT" .

levels() {
  case "$1" in
    freedoom1.wad) for e in 1 2 3 4; do for m in 1 2 3 4 5 6 7 8 9; do echo "E${e}M${m}"; done; done ;;
    freedoom2.wad) for m in $(seq -w 1 32); do echo "MAP$m"; done ;;
  esac
}

printf '%-6s %8s %8s %7s %8s %8s %6s %9s %7s\n' level time_s peak_MB pieces brushes plain fewer entities lights
total_time=0; total_brushes=0; total_plain=0; worst_mb=0; failed=0
for wad in freedoom1.wad freedoom2.wad; do
  cp "/usr/share/games/doom/$wad" .
  for level in $(levels "$wad"); do
    if ! /usr/bin/time -f '%e %M' -o time.txt "$tool" "$wad" "$level" -bound -scale 1.500000 >summary.txt 2>/dev/null; then
      echo "$level FAILED"; failed=$((failed + 1)); continue
    fi
    read -r secs kb <time.txt
    pieces=$(sed -n 's/^level pieces: \([0-9]*\) sector, \([0-9]*\) void (\([0-9]*\) subsectors.*/\1 \2 \3/p' summary.txt)
    read -r sector void subsectors <<<"$pieces"
    brushes=$(sed -n 's/^brushes: \([0-9]*\).*/\1/p' summary.txt)
    entities=$(sed -n 's/^entities: \([0-9]*\).*/\1/p' summary.txt)
    lights=$(sed -n 's/^lights: \([0-9]*\).*/\1/p' summary.txt)
    plain=$((2 * subsectors))
    mb=$(awk -v k="$kb" 'BEGIN { printf "%.1f", k / 1024 }')
    fewer=$(awk -v b="$brushes" -v p="$plain" 'BEGIN { printf "%.0f%%", 100 * (p - b) / p }')
    printf '%-6s %8s %8s %7s %8s %8s %6s %9s %7s\n' "$level" "$secs" "$mb" "$((sector + void))" "$brushes" "$plain" "$fewer" "$entities" "$lights"
    total_time=$(awk -v a="$total_time" -v b="$secs" 'BEGIN { print a + b }')
    total_brushes=$((total_brushes + brushes)); total_plain=$((total_plain + plain))
    worst_mb=$(awk -v a="$worst_mb" -v b="$mb" 'BEGIN { print (b > a) ? b : a }')
    rm -f "$level.map"
  done
done
echo "total: ${total_time} s, worst peak ${worst_mb} MB, brushes ${total_brushes} vs plain ${total_plain}" \
     "($(awk -v b="$total_brushes" -v p="$total_plain" 'BEGIN { printf "%.1f", 100 * (p - b) / p }')% fewer), failed ${failed}"
