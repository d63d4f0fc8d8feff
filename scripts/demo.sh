#!/usr/bin/env bash
# Builds the release and runs it on the built-in example:
#  1. Scorvel (native build) on a copy of maptool/examples/example.map, showing
#     what it changed;
#  2. the real road under Wine (scripts/kolvanta-demo.sh): the program folder
#     unpacked from the release zip, Kolvanta's own dialogs worked as a user would
#     on Freedoom's MAP01 (freedoom2.wad as doom2.wad) into a demo DOOM 3 folder,
#     the deployed map compiled natively with DOOM 3's map compiler using the
#     deployed packages, and drawn from above (build/demo/MAP01.png, beside the
#     photographs of each step);
#  3. the deployed MAP01 loaded in DOOM 3's engine, headless, with the deployed
#     packages: full-bright pictures at the player start, before the first door
#     and in the courtyard (build/demo/MAP01-d3-*.png, tests/toolkit/engine/d3view.py).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

scripts/install-deps.sh demo

echo "=== Building the release (scripts/release.sh)"
bash scripts/release.sh
native="$root/build/release-native"
zip="$root/dist/kolvanta-${KOLVANTA_VERSION:-0.1.0}-win64.zip"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp maptool/examples/example.map "$work/example.map"
cp maptool/examples/example.map "$work/original.map"

echo
echo "=== Scorvel on a copy of maptool/examples/example.map"
set +e
"$native/maptool/scorvel" "$work/example.map"
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
echo "=== The road from Kolvanta's page to a compiled DOOM 3 map, under Wine"
bash scripts/kolvanta-demo.sh "$zip" "$native" "$root/build/demo"

# The places of scripts/doomview/map01-views.txt, where DOOM's own views are taken: the
# player start (-192, -160) facing east, the end of the first hall (560, -160) facing the
# first door, the courtyard (760, 860) at angle 30; in DOOM 3 units x 1.5, the eye 41 DOOM
# units above the floor (0, -64, 56), 90 degrees wide like DOOM's (g_fov 106.26 on 4:3).
echo
echo "=== MAP01 in DOOM 3's engine: full-bright pictures (tests/toolkit/engine/d3view.py)"
deployed="$root/build/demo/Doom 3/base"
view_pk4s=()
for package in "$deployed"/*.pk4; do view_pk4s+=(--pk4 "$package"); done
python3 tests/toolkit/engine/d3view.py "$root/build/demo" "$deployed/maps/MAP01.map" "${view_pk4s[@]}" \
  --set g_fov 106.26 -- "MAP01-d3-start=-288 -240 61.5 0" "MAP01-d3-first-door=840 -240 -34.5 0" \
  "MAP01-d3-courtyard=1140 1290 145.5 30"
