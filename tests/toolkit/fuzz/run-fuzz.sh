#!/usr/bin/env bash
# Fuzzes the kit's wad and level reader for a fixed time.
#
#   tests/toolkit/fuzz/run-fuzz.sh [BUILD_DIR] [SECONDS]
#
# BUILD_DIR (default: build/fuzz under the repository) is configured with the
# "fuzz" preset when it has no build yet; the target is built and run for SECONDS
# (default 20) on a scratch corpus grown from seeds written at run time (small
# crafted wads and one Freedoom level cut out into a wad of its own). Exit code 0
# when no input crashed; a crashing input is kept in BUILD_DIR/fuzz-artifacts.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../.." && pwd)
build=${1:-$root/build/fuzz}
seconds=${2:-20}

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" --preset fuzz -B "$build" >/dev/null
fi
cmake --build "$build" -j"$(nproc)" --target toolkit_wad_fuzz >/dev/null

fuzzer="$build/tests/toolkit/fuzz/toolkit_wad_fuzz"
corpus=$(mktemp -d)
trap 'rm -rf "$corpus" "$corpus.log"' EXIT
longest=$(python3 "$here/make_seeds.py" "$corpus")
mkdir -p "$build/fuzz-artifacts"

echo "fuzzing the wad and level reader for ${seconds}s"
"$fuzzer" -max_total_time="$seconds" -max_len="$longest" -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=1 -artifact_prefix="$build/fuzz-artifacts/" "$corpus" 2>"$corpus.log" || {
  status=$?
  tail -n 40 "$corpus.log"
  echo "wad reader fuzzing: FAILED (exit $status)"
  exit 1
}
grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|#[0-9]+ +DONE)' "$corpus.log" || true
echo "wad reader fuzzing: no crash"
