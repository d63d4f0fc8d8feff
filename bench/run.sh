#!/usr/bin/env bash
# Scorvel's speed and memory on a large generated map, beside a plain copy of
# the same file.
#
#   bench/run.sh [BUILD_DIR] [SIZE_MB]
#
# BUILD_DIR (default: build/bench under the repository) is configured with the
# native preset when it has no build yet; SIZE_MB defaults to 128. The map is
# generated into a temporary folder (removed at the end). Each command runs three
# times on a warm page cache; the best wall time (with its processor time, which
# a busy machine disturbs less) and the largest peak resident memory are printed.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build=${1:-$root/build/bench}
size_mb=${2:-128}

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" --preset native -B "$build" -DKOLVANTA_TESTS=OFF >/dev/null
fi
cmake --build "$build" -j"$(nproc)" --target scorvel scorvel_genmap >/dev/null
scorvel="$build/maptool/scorvel"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/scorvel_genmap" "$work/big.map" "$size_mb"
bytes=$(stat -c %s "$work/big.map")
cat "$work/big.map" >/dev/null

# measure NAME COMMAND...: best wall seconds, the processor seconds (user +
# system) of that run, and the largest peak RSS (KiB) of three runs. Before each
# run the map is restored from big.map, which stays untouched.
measure() {
  local name=$1; shift
  local best="" cpu="" peak=0 run t u s m
  for run in 1 2 3; do
    cp "$work/big.map" "$work/run.map"
    /usr/bin/time -f '%e %U %S %M' -o "$work/time" "$@" 2>/dev/null >/dev/null || {
      echo "$name failed" >&2; exit 1; }
    read -r t u s m <"$work/time"
    if [ -z "$best" ] || awk -v a="$t" -v b="$best" 'BEGIN { exit !(a < b) }'; then
      best=$t
      cpu=$(awk -v u="$u" -v s="$s" 'BEGIN { printf "%.2f", u + s }')
    fi
    [ "$m" -gt "$peak" ] && peak=$m
  done
  eval "${name}_time=$best ${name}_cpu=$cpu ${name}_peak=$peak"
}

measure copy sh -c 'cat "$1" > "$2"' sh "$work/run.map" "$work/copy.map"
measure scorvel "$scorvel" "$work/run.map"

awk -v bytes="$bytes" -v ct="$copy_time" -v cc="$copy_cpu" -v cm="$copy_peak" \
    -v st="$scorvel_time" -v sc="$scorvel_cpu" -v sm="$scorvel_peak" 'BEGIN {
  mb = bytes / 1048576
  printf "map:     %.1f MiB (%d bytes)\n", mb, bytes
  printf "copy:    %.2f s wall (%.2f s processor), peak %.1f MiB\n", ct, cc, cm / 1024
  printf "scorvel: %.2f s wall (%.2f s processor), peak %.1f MiB\n", st, sc, sm / 1024
  printf "time:    %.1fx the copy (goal: at most 25x), %.2f s per 100 MiB\n", (ct > 0 ? st / ct : 0), st * 100 / mb
  printf "memory:  %.2fx the file size (goal: at most 8x)\n", sm * 1024 / bytes
}'
