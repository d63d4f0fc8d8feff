#!/usr/bin/env bash
# The converter on all 68 Freedoom levels with -bound -scale 1.5: per level the
# wall time, peak resident memory, convex pieces, brushes beside the plain
# method's two brushes per subsector, entities and lights; then again with the
# texture lists (-doom or -doom2, after xtract.sh made the packages): the wall
# time with the alignment and the variants the level needs. Last the totals,
# the variants per level (median, largest) and the texture packages' sizes
# before and after every level added its variants.
#
#   bench/zaro3/run.sh [BUILD_DIR]
#
# BUILD_DIR (default: build/bench) is configured with the native preset when it
# has no build yet; only the kit's tools are built. Runs in a temporary folder.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:-$root/build/bench}
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" --preset native -B "$build" -DKOLVANTA_TESTS=OFF >/dev/null
fi
build=$(cd "$build" && pwd)
cmake --build "$build" --target zaro3 doomtex wad2tga kzip -j2 >/dev/null
tool="$build/toolkit/zaro3/zaro3"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
# The thing table, so that the entity counts are those of a real run.
[ -f "$root/toolkit/defs/D2D3_OBJ.TXT" ] && cp "$root/toolkit/defs/D2D3_OBJ.TXT" .
cp "$build/toolkit/doomtex/doomtex" "$build/toolkit/wad2tga/wad2tga" "$build/toolkit/zip/kzip" \
   "$root/toolkit/xtract/xtract.sh" .

levels() {
  case "$1" in
    freedoom1.wad) for e in 1 2 3 4; do for m in 1 2 3 4 5 6 7 8 9; do echo "E${e}M${m}"; done; done ;;
    freedoom2.wad) for m in $(seq -w 1 32); do echo "MAP$m"; done ;;
  esac
}
# The name each wad goes by in a program folder, and the converter's texture option for it.
as_name() { case "$1" in freedoom1.wad) echo doom ;; *) echo doom2 ;; esac; }
as_option() { case "$1" in freedoom1.wad) echo -doom ;; *) echo -doom2 ;; esac; }

size_kb() { echo $(( ($(stat -c %s "$1") + 512) / 1024 )); }
# Wall time and peak memory, and the CPU time (user + system), which other load on the machine changes less.
seconds() { /usr/bin/time -f '%e %M %U %S' -o time.txt "$@" >summary.txt 2>/dev/null; }
cpu_of() { awk '{ print $3 + $4 }' time.txt; }

start=$(date +%s)
for wad in freedoom1.wad freedoom2.wad; do
  name=$(as_name "$wad")
  cp "/usr/share/games/doom/$wad" "$name.wad"
  sh ./xtract.sh "$name" >/dev/null
  cp "z${name}tex.pk4" "before-z${name}tex.pk4"
done
echo "xtract for both wads: $(( $(date +%s) - start )) s (not counted below)"

printf '%-6s %8s %8s %7s %8s %8s %6s %9s %7s %9s %9s\n' level time_s peak_MB pieces brushes plain fewer entities lights aligned_s variants
total_time=0; total_aligned=0; total_cpu=0; total_aligned_cpu=0; total_brushes=0; total_plain=0; worst_mb=0; failed=0
: >variants.txt
for wad in freedoom1.wad freedoom2.wad; do
  name=$(as_name "$wad")
  for level in $(levels "$wad"); do
    if ! seconds "$tool" "$name.wad" "$level" -bound -scale 1.500000; then
      echo "$level FAILED"; failed=$((failed + 1)); continue
    fi
    read -r secs kb _ <time.txt
    cpu=$(cpu_of)
    pieces=$(sed -n 's/^level pieces: \([0-9]*\) sector, \([0-9]*\) void (\([0-9]*\) subsectors.*/\1 \2 \3/p' summary.txt)
    read -r sector void subsectors <<<"$pieces"
    brushes=$(sed -n 's/^brushes: \([0-9]*\).*/\1/p' summary.txt)
    entities=$(sed -n 's/^entities: \([0-9]*\).*/\1/p' summary.txt)
    lights=$(sed -n 's/^lights: \([0-9]*\).*/\1/p' summary.txt)
    if ! seconds "$tool" "$name.wad" "$level" -bound -scale 1.500000 "$(as_option "$wad")"; then
      echo "$level FAILED with the texture lists"; failed=$((failed + 1)); continue
    fi
    read -r aligned_secs _ <time.txt
    aligned_cpu=$(cpu_of)
    variants=$(sed -n 's/^aligned faces: [0-9]* (\([0-9]*\) variants.*/\1/p' summary.txt)
    echo "${variants:-0}" >>variants.txt
    plain=$((2 * subsectors))
    mb=$(awk -v k="$kb" 'BEGIN { printf "%.1f", k / 1024 }')
    fewer=$(awk -v b="$brushes" -v p="$plain" 'BEGIN { printf "%.0f%%", 100 * (p - b) / p }')
    printf '%-6s %8s %8s %7s %8s %8s %6s %9s %7s %9s %9s\n' "$level" "$secs" "$mb" "$((sector + void))" "$brushes" \
      "$plain" "$fewer" "$entities" "$lights" "$aligned_secs" "${variants:-0}"
    total_time=$(awk -v a="$total_time" -v b="$secs" 'BEGIN { print a + b }')
    total_aligned=$(awk -v a="$total_aligned" -v b="$aligned_secs" 'BEGIN { print a + b }')
    total_cpu=$(awk -v a="$total_cpu" -v b="$cpu" 'BEGIN { print a + b }')
    total_aligned_cpu=$(awk -v a="$total_aligned_cpu" -v b="$aligned_cpu" 'BEGIN { print a + b }')
    total_brushes=$((total_brushes + brushes)); total_plain=$((total_plain + plain))
    worst_mb=$(awk -v a="$worst_mb" -v b="$mb" 'BEGIN { print (b > a) ? b : a }')
    rm -f "$level.map"
  done
done
echo "total: ${total_time} s (CPU ${total_cpu} s), worst peak ${worst_mb} MB, brushes ${total_brushes} vs plain ${total_plain}" \
     "($(awk -v b="$total_brushes" -v p="$total_plain" 'BEGIN { printf "%.1f", 100 * (p - b) / p }')% fewer), failed ${failed}"
echo "with the texture lists and the alignment: ${total_aligned} s (CPU ${total_aligned_cpu} s)"
sort -n variants.txt | awk '{ v[NR] = $1 } END { printf "variants per level: median %s, largest %s\n", (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2, v[NR] }'
for name in doom doom2; do
  echo "z${name}tex.pk4: $(size_kb "before-z${name}tex.pk4") KB as xtract made it, $(size_kb "z${name}tex.pk4") KB with every level's variants"
done
