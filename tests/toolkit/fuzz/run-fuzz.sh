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

. "$root/tests/support/libfuzzer-run.sh"
fuzz_build "$root" "$build" toolkit_wad_fuzz

corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
longest=$(python3 "$here/make_seeds.py" "$corpus")
fuzz_run "wad and level reader" "$build/tests/toolkit/fuzz/toolkit_wad_fuzz" "$corpus" "$build" "$seconds" "$longest"
