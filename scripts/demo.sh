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
#  3. DOOM's own pictures of MAP01 at the player start, before the first door and
#     in the courtyard (scripts/doomview/map01-views.txt, dsda-doom); the deployed
#     MAP01 loaded in DOOM 3's engine, headless, with the deployed packages, and
#     pictured at the same places (full-bright; DEMO_LIGHTING=lit lights it by its
#     own lights); and each DOOM picture beside the DOOM 3 one:
#     build/demo/MAP01-<view>-doom.png, -doom3.png and -pair.png. A failed picture
#     step stops the demo with a message.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

# The DOOM 3 pictures: full-bright, or lit by the map's own lights.
lighting="${DEMO_LIGHTING:-full-bright}"
case "$lighting" in
  full-bright) light_option=() ;;
  lit) light_option=(--lit) ;;
  *) echo "demo.sh: DEMO_LIGHTING must be full-bright or lit, not '$lighting'" >&2; exit 2 ;;
esac

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

# DOOM's own pictures of the places in scripts/doomview/map01-views.txt (player start, the
# first door, the courtyard) and where those places lie in the converted map; DOOM 3's
# pictures there (90 degrees wide like DOOM's, 16:10, textures unfiltered like DOOM's;
# full-bright unless DEMO_LIGHTING=lit); then each pair, DOOM left, DOOM 3 right.
demo="$root/build/demo"
deployed="$demo/Doom 3/base"
wad="$demo/Kolvanta/doom2.wad"   # the program folder's copy of freedoom2.wad, which the map came from
views=scripts/doomview/map01-views.txt
picture_step() {
  local what="$1"; shift
  "$@" || { echo "demo.sh: the $what failed (exit $?); see above" >&2; exit 1; }
}

echo
echo "=== MAP01 as DOOM draws it (scripts/doomview/pairviews.py, dsda-doom)"
picture_step "DOOM pictures" python3 scripts/doomview/pairviews.py "$wad" MAP01 "$views" "$demo" --prefix MAP01-

echo
echo "=== MAP01 in DOOM 3's engine, $lighting, at the same places (tests/toolkit/engine/d3view.py)"
view_pk4s=()
for package in "$deployed"/*.pk4; do view_pk4s+=(--pk4 "$package"); done
d3_views=()
pairs=()
while read -r name x y z yaw; do
  d3_views+=("MAP01-$name-doom3=$x $y $z $yaw")
  pairs+=(--doom3 "$name=$demo/MAP01-$name-doom3.png")
done < "$demo/MAP01-doom3-views.txt"
picture_step "DOOM 3 pictures" python3 tests/toolkit/engine/d3view.py "$demo" "$deployed/maps/MAP01.map" \
  "${view_pk4s[@]}" "${light_option[@]}" -- "${d3_views[@]}"

echo
echo "=== DOOM beside DOOM 3"
picture_step "pairs" python3 scripts/doomview/pairviews.py "$wad" MAP01 "$views" "$demo" --prefix MAP01- \
  "${pairs[@]}"
