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

. "$root/tests/support/libfuzzer-run.sh"
fuzz_build "$root" "$build" scorvel_parse_fuzz

corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
cp "$here"/seeds/* "$corpus"/
fuzz_run "map parser" "$build/tests/maptool/fuzz/scorvel_parse_fuzz" "$corpus" "$build" "$seconds" 4096 \
  -dict="$here/map.dict"
