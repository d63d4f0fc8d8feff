#!/usr/bin/env bash
# Builds both programs in both builds and runs every test: the native tests, the
# Windows tests under Wine, a short fuzzing run of the map parser, the page in
# headless Chromium, and the release package check. Exit code 0 only when all pass.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
jobs=$(nproc)

scripts/install-deps.sh test || exit 1

passed=0
failed=0
failures=()
step() {
  local name="$1"; shift
  echo
  echo "=== $name"
  if "$@"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    failures+=("$name")
  fi
}

build() {
  cmake --preset "$1" -DKOLVANTA_TESTS=ON >/dev/null && cmake --build --preset "$1" -j"$jobs"
}

step "native build" build native
step "native tests" ctest --preset native -j"$jobs"
step "windows build" build windows
step "windows tests (Wine)" ctest --preset windows -j2
step "map parser fuzzing" bash tests/maptool/fuzz/run-fuzz.sh "$root/build/fuzz"
# Converts a fixed set of Freedoom levels and one FreeDM level (real levels from other
# hands), names them, checks their geometry, reports how many steps DOOM 3's player walks
# up (without failing: a few steps on every level are still not walkable, see the guide)
# and compiles them with the DOOM 3 map compiler.
map_compile_check() {
  local d=/usr/share/games/doom start=$SECONDS rc
  GEOCHECK=1 WALKCHECK=report bash tests/toolkit/dmap/convert-and-check.sh "$root/build/native" "$root/build/native/map-compile-check" \
    "$d/freedoom2.wad:MAP01:-bound,-scale,1.5" "$d/freedoom2.wad:MAP01:-scale,1.5" \
    "$d/freedoom2.wad:MAP01:-bound,-direct,-scale,1.5" "$d/freedoom2.wad:MAP09:-bound,-scale,1.5" \
    "$d/freedoom1.wad:E1M1:-bound,-scale,1.5" "$d/freedoom2.wad:MAP13:-scale,1.5" \
    "$d/freedm.wad:MAP05:-bound,-scale,1.5"
  rc=$?
  echo "map compile check: $((SECONDS - start)) s"
  return "$rc"
}
step "map compile check" map_compile_check
step "kit fuzzing" bash tests/toolkit/fuzz/run-fuzz.sh "$root/build/fuzz"
step "page tests (Chromium)" bash tests/page/run.sh
# The release is packaged from the two trees just built and tested.
step "release package" bash scripts/release.sh --check --builds "$root/build/native" "$root/build/windows"

echo
if [ "$failed" -ne 0 ]; then
  printf 'failed: %s\n' "${failures[@]}"
fi
echo "steps: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
