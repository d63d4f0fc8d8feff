#!/usr/bin/env bash
# Fuzzes the map parser for a fixed time.
#
#   tests/maptool/fuzz/run-fuzz.sh [BUILD_DIR] [SECONDS]
#
# BUILD_DIR (default: build/fuzz under the repository) is configured with the
# "fuzz" preset when it has no build yet, then the fuzz target is built and run
# for SECONDS (default 20) on a scratch corpus grown from the seeds beside this
# script. Exit code 0 when no input crashed, non-zero otherwise; a crashing input
# is kept in BUILD_DIR/fuzz-artifacts.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../.." && pwd)
build=${1:-$root/build/fuzz}
seconds=${2:-20}

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" --preset fuzz -B "$build" >/dev/null
fi
cmake --build "$build" -j"$(nproc)" --target scorvel_parse_fuzz >/dev/null

fuzzer="$build/tests/maptool/fuzz/scorvel_parse_fuzz"
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
cp "$here"/seeds/* "$corpus"/
mkdir -p "$build/fuzz-artifacts"

echo "fuzzing the map parser for ${seconds}s"
"$fuzzer" -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
  -dict="$here/map.dict" -print_final_stats=1 -artifact_prefix="$build/fuzz-artifacts/" "$corpus" 2>"$corpus.log" || {
  status=$?
  tail -n 40 "$corpus.log"
  rm -f "$corpus.log"
  echo "map parser fuzzing: FAILED (exit $status)"
  exit 1
}
grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|#[0-9]+ +DONE)' "$corpus.log" || true
rm -f "$corpus.log"
echo "map parser fuzzing: no crash"
