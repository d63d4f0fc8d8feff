#!/usr/bin/env bash
# The real road under Wine: a demo program folder unpacked from the release zip
# (with freedoom2.wad copied in as doom2.wad) and a demo DOOM 3 folder whose
# doom3.exe is a stand-in that records what it was asked to run. Kolvanta's own
# window and dialogs are worked as a user would (scripts/demo/DemoDriver.cpp):
#   Configure: the DOOM 3 folder, UPDATE, TEST (every requirement ticked), OK;
#   Extract textures: Launch (the real xtract.bat on doom2.wad), Close;
#   Convert a map: doom2.wad, MAP01, Update settings, Launch, Close;
#   Copy pk4 files: Copy Now, Close;
#   Copy, compile and run: Launch.
# Then the deployed base/maps/MAP01.map is compiled natively with DOOM 3's map
# compiler using the packages the road deployed, and drawn from above.
#
#   scripts/kolvanta-demo.sh <release-zip> <native-build-dir> <output-dir>
#
# Runs on a virtual display (Xvfb, Wine's virtual desktop of 1024 x 768) and
# photographs the steps into <output-dir>/*.png. Wine gets a prefix of its own
# in <output-dir>/wineprefix; its HTML engine is switched off unless
# KOLVANTA_DEMO_HTML=1 (a prefix without the engine would stop to offer a
# download), so Kolvanta shows its command buttons instead of the start page.
set -euo pipefail

if [ "${1:-}" = "--inside-xvfb" ]; then
  inside=1
  shift
else
  inside=0
fi
if [ $# -ne 3 ]; then
  echo "usage: $0 <release-zip> <native-build-dir> <output-dir>" >&2
  exit 2
fi

root=$(cd "$(dirname "$0")/.." && pwd)
zip=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
native=$(cd "$2" && pwd)
mkdir -p "$3"
out=$(cd "$3" && pwd)

program="$out/Kolvanta"
doom3="$out/Doom 3"
level=MAP01
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver64
[ -x "$WINESERVER" ] || WINESERVER=wineserver
export WINEPREFIX="$out/wineprefix"
export WINEARCH=win64
export WINEDEBUG=-all
if [ "${KOLVANTA_DEMO_HTML:-0}" = "1" ]; then
  export WINEDLLOVERRIDES="mscoree=;winemenubuilder.exe=d"
else
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
fi

# The Windows path of a host path (Wine's drive Z: is the host's root).
winpath() {
  printf 'Z:%s' "$1" | tr '/' '\\'
}

prepare_folders() {
  local wad=/usr/share/games/doom/freedoom2.wad unpacked
  [ -f "$zip" ] || { echo "kolvanta-demo.sh: $zip is missing: run scripts/release.sh" >&2; exit 1; }
  [ -f "$wad" ] || { echo "kolvanta-demo.sh: $wad is missing (Debian package freedoom)" >&2; exit 1; }
  rm -rf "$program" "$doom3" "$out/unpack"
  mkdir -p "$out/unpack" "$doom3/base"
  (cd "$out/unpack" && cmake -E tar xf "$zip")
  unpacked=$(find "$out/unpack" -mindepth 1 -maxdepth 1 -type d -print -quit)
  mv "$unpacked" "$program"
  rm -rf "$out/unpack"
  cp "$wad" "$program/doom2.wad"
  local flags=(-std=c++17 -O1 -static)
  x86_64-w64-mingw32-g++-posix "${flags[@]}" -o "$out/demo-driver.exe" "$root/scripts/demo/DemoDriver.cpp"
  x86_64-w64-mingw32-g++-posix "${flags[@]}" -o "$doom3/doom3.exe" "$root/scripts/demo/Doom3Recorder.cpp"
  echo "demo program folder (unpacked from $(basename "$zip")): $program"
  echo "demo DOOM 3 folder (doom3.exe is a stand-in):          $doom3"
}

make_prefix() {
  if [ ! -f "$WINEPREFIX/.demo-ready" ]; then
    echo "creating the demo Wine prefix (once; about a minute)"
    "$WINE" wineboot -i >/dev/null 2>&1 || true
    "$WINESERVER" -w
    touch "$WINEPREFIX/.demo-ready"
  fi
  "$WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  "$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
  "$WINESERVER" -w
}

photograph() {
  sleep "${2:-2}"
  import -window root "$out/$1"
  echo "  picture: $out/$1"
}

# Through a file, not a pipe: Wine's own services would hold a pipe open.
drive() {
  local status=0
  "$WINE" "$out/demo-driver.exe" "$@" >"$out/driver.txt" 2>&1 || status=$?
  tr -d '\r' <"$out/driver.txt"
  rm -f "$out/driver.txt"
  return "$status"
}

walk_the_road() {
  make_prefix
  (cd "$program" && "$WINE" kolvanta.exe >/dev/null 2>&1) &
  local kolvanta=$!
  if ! drive wait-main; then
    echo "Kolvanta's window did not appear" >&2
    "$WINESERVER" -k || true
    return 1
  fi
  photograph main-window.png 3

  echo "--- Configure: the DOOM 3 folder, UPDATE, TEST"
  drive configure "$(winpath "$doom3")"
  photograph configuration.png
  drive launch "Configuration"

  echo "--- Extract textures: Launch (xtract.bat on doom2.wad; a minute or so under Wine)"
  drive open "&Extract textures..." "DOOM .wad conversion"
  drive launch "DOOM .wad conversion"
  photograph extract-textures.png 1
  drive close-dialog "DOOM .wad conversion"

  echo "--- Convert a map: doom2.wad, $level, Update settings, Launch"
  drive open "Convert a &map..." "Convert DOOM map"
  drive convert-map doom2.wad "$level"
  photograph convert-map.png
  drive launch "Convert DOOM map"
  drive close-dialog "Convert DOOM map"

  echo "--- Copy pk4 files: Copy Now"
  drive open "Copy &pk4 files..." "Deploy pk4 pack files"
  drive launch "Deploy pk4 pack files"
  drive close-dialog "Deploy pk4 pack files"

  echo "--- Copy, compile and run: Launch"
  drive open "Copy, compile and &run..." "Copy/Compile/Run"
  photograph copy-compile-run.png
  drive launch "Copy/Compile/Run"

  drive close || true
  wait "$kolvanta" || true
  "$WINESERVER" -k 2>/dev/null || true
}

if [ "$inside" -eq 1 ]; then
  trap '"$WINESERVER" -k 2>/dev/null || true' EXIT
  walk_the_road
  exit $?
fi

prepare_folders
echo
xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" --inside-xvfb "$zip" "$native" "$out"
rm -f "$out/demo-driver.exe"

echo
echo "--- What the road left in the demo DOOM 3 folder"
(cd "$doom3" && find base -type f | sort | sed 's/^/  /')
echo "--- What doom3.exe was asked to run"
tr -d '\r' <"$doom3/doom3-started.txt" | sed 's/^/  /'

map="$doom3/base/maps/$level.map"
[ -s "$map" ] || { echo "kolvanta-demo.sh: the road made no $map" >&2; exit 1; }
packages=("$doom3"/base/*.pk4)
echo
echo "--- $level.map: $(grep -c '"classname"' "$map") entities (every one named: $(grep -c '"name"' "$map")), $(grep -c '"classname" "light"' "$map") lights"
echo "--- DOOM 3's map compiler on base/maps/$level.map with the deployed packages ($(cd "$doom3/base" && echo *.pk4))"
pk4_args=()
for package in "${packages[@]}"; do pk4_args+=(--pk4 "$package"); done
bash "$root/tests/toolkit/dmap/dmap-check.sh" --require-materials "${pk4_args[@]}" "$map"
echo
echo "--- $level from above"
"$native/toolkit/mappreview/mappreview" "$map" "${packages[@]}" -o "$out/$level.png"
echo
echo "pictures in $out: main-window.png configuration.png extract-textures.png convert-map.png copy-compile-run.png $level.png"
