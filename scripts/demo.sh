#!/usr/bin/env bash
# Builds the programs and runs them on the built-in example:
#  1. Scorvel (native build) on a copy of maptool/examples/example.map, showing
#     what it changed;
#  2. the conversion kit (native build) on Freedoom's MAP01: the wad's textures
#     extracted into a package, the level converted and cleaned, compiled with
#     DOOM 3's map compiler using the packages, and drawn from above
#     (build/demo/MAP01.png);
#  3. Kolvanta (Windows build) under Wine in a demo program folder, with a demo
#     DOOM 3 folder beside it: opened for you when there is a display, otherwise
#     run on a virtual display and photographed.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
jobs=$(nproc)

scripts/install-deps.sh demo

echo "=== Building Scorvel (native)"
cmake --preset native >/dev/null
cmake --build --preset native -j"$jobs" --target scorvel >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp maptool/examples/example.map "$work/example.map"
cp maptool/examples/example.map "$work/original.map"

echo
echo "=== Scorvel on a copy of maptool/examples/example.map"
set +e
"$root/build/native/maptool/scorvel" "$work/example.map"
status=$?
set -e
echo
echo "exit code: $status"
echo
echo "--- names given to unnamed entities"
grep -o '"name" "noname[0-9]*"' "$work/example.map" | sed 's/^/  /' || true
echo
echo "--- what changed, ignoring layout (every line is re-indented; pairs come out in key order)"
diff -u -w --label original.map --label rewritten.map "$work/original.map" "$work/example.map" || true

echo
echo "=== Building the conversion kit (native)"
cmake --build --preset native -j"$jobs" --target zaro3 doomtex wad2tga kzip mappreview toolkit_defs >/dev/null
bash scripts/kit-road.sh "$root/build/native" "$root/build/demo"

echo
echo "=== Building Kolvanta and Scorvel for Windows"
cmake --preset windows >/dev/null
cmake --build --preset windows -j"$jobs" --target kolvanta scorvel >/dev/null

echo
echo "=== Kolvanta under Wine"
bash scripts/kolvanta-demo.sh "$root/build/windows" "$root/build/demo"
