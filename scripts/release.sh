#!/usr/bin/env bash
# Builds the release packages:
#   dist/kolvanta-<version>-win64.zip         the complete program folder: kolvanta.exe,
#                                             scorvel.exe, core/new_page_1.htm, the conversion
#                                             kit (ZarO3.exe, xtract.bat, doomtex.exe,
#                                             wad2tga.exe, zip.exe, D2D3_OBJ.TXT, the two
#                                             definitions packages) and the user's guide
#   dist/kolvanta-<version>-linux-x86_64.tar.gz the native tools (scorvel, zaro3, doomtex,
#                                             wad2tga, kzip, mappreview), xtract.sh, the DOOM
#                                             view scripts (doomview.py, pairviews.py,
#                                             doomwad.py), the thing table, the definitions
#                                             packages and a short guide
#
# Usage: scripts/release.sh [--check] [--builds NATIVE_DIR WINDOWS_DIR]
#   --builds packages the programs of two build trees already configured from the
#            native and windows presets (the test command's, just tested), brought
#            up to date, instead of configuring and building trees of its own
#   --check  also unpacks both archives into a temporary folder and proves them:
#            the program folder holds everything, its scorvel.exe (under Wine) and
#            the Linux scorvel clean an example map, and the tools inside each
#            archive convert a Freedoom level, aligned through variants in the
#            texture package, which DOOM 3's map compiler takes with no material missing.
# The version is KOLVANTA_VERSION, or 0.1.0. Builds go to build/release-windows
# and build/release-native (unless --builds), so the developers' build folders stay
# untouched.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

check=0
given_native=""
given_windows=""
while [ $# -gt 0 ]; do
  case "$1" in
    --check) check=1 ;;
    --builds)
      [ $# -ge 3 ] || { echo "release.sh: --builds needs a native and a windows build folder" >&2; exit 2; }
      given_native="$2"; given_windows="$3"; shift 2 ;;
    -h|--help) sed -n '2,25p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "release.sh: unknown argument: $1" >&2; exit 2 ;;
  esac
  shift
done

version="${KOLVANTA_VERSION:-0.1.0}"
jobs=$(nproc)
win_build="$root/build/release-windows"
native_build="$root/build/release-native"
dist="$root/dist"
win_name="kolvanta-$version-win64"
linux_name="kolvanta-$version-linux-x86_64"

die() { echo "release.sh: $*" >&2; exit 1; }

[ -f core/new_page_1.htm ] || die "core/new_page_1.htm is missing"
[ -f docs/USER-GUIDE.md ] || die "docs/USER-GUIDE.md is missing"

if [ -n "$given_native" ]; then
  for tree in "$given_native" "$given_windows"; do
    [ -f "$tree/CMakeCache.txt" ] || die "$tree is not a configured build folder"
  done
  native_build=$(cd "$given_native" && pwd)
  win_build=$(cd "$given_windows" && pwd)
fi

echo "=== Building the Windows programs (windows preset, $win_build)"
[ -n "$given_windows" ] || cmake --preset windows -B "$win_build" -DKOLVANTA_TESTS=OFF >/dev/null
cmake --build "$win_build" -j"$jobs" --target kolvanta scorvel zaro3 doomtex wad2tga kzip >/dev/null

echo "=== Building the native tools and the definitions packages (native preset, $native_build)"
[ -n "$given_native" ] || cmake --preset native -B "$native_build" -DKOLVANTA_TESTS=OFF >/dev/null
cmake --build "$native_build" -j"$jobs" --target scorvel zaro3 doomtex wad2tga kzip mappreview toolkit_defs >/dev/null

# built file : name in the program folder
windows_files=(
  "$win_build/frontend/kolvanta.exe:kolvanta.exe"
  "$win_build/maptool/scorvel.exe:scorvel.exe"
  "$win_build/toolkit/zaro3/ZarO3.exe:ZarO3.exe"
  "$win_build/toolkit/doomtex/doomtex.exe:doomtex.exe"
  "$win_build/toolkit/wad2tga/wad2tga.exe:wad2tga.exe"
  "$win_build/toolkit/zip/zip.exe:zip.exe"
  "$root/toolkit/xtract/xtract.bat:xtract.bat"
  "$native_build/toolkit/defs/D2D3_OBJ.TXT:D2D3_OBJ.TXT"
  "$native_build/toolkit/defs/zdoomdefsdoom.pk4:zdoomdefsdoom.pk4"
  "$native_build/toolkit/defs/zdoomdefslms.pk4:zdoomdefslms.pk4"
)
linux_files=(
  "$native_build/maptool/scorvel:scorvel"
  "$native_build/toolkit/zaro3/zaro3:zaro3"
  "$native_build/toolkit/doomtex/doomtex:doomtex"
  "$native_build/toolkit/wad2tga/wad2tga:wad2tga"
  "$native_build/toolkit/zip/kzip:kzip"
  "$native_build/toolkit/mappreview/mappreview:mappreview"
  "$root/toolkit/xtract/xtract.sh:xtract.sh"
  "$root/scripts/doomview/doomview.py:doomview.py"
  "$root/scripts/doomview/pairviews.py:pairviews.py"
  "$root/scripts/doomview/doomwad.py:doomwad.py"
  "$native_build/toolkit/defs/D2D3_OBJ.TXT:D2D3_OBJ.TXT"
  "$native_build/toolkit/defs/zdoomdefsdoom.pk4:zdoomdefsdoom.pk4"
  "$native_build/toolkit/defs/zdoomdefslms.pk4:zdoomdefslms.pk4"
)
for entry in "${windows_files[@]}" "${linux_files[@]}"; do
  [ -f "${entry%%:*}" ] || die "the build did not produce ${entry%%:*}"
done

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir -p "$dist"

# The program folder as the user unpacks it.
mkdir -p "$stage/$win_name/core"
for entry in "${windows_files[@]}"; do
  cp "${entry%%:*}" "$stage/$win_name/${entry#*:}"
done
cp core/new_page_1.htm "$stage/$win_name/core/"
cp docs/USER-GUIDE.md "$stage/$win_name/USER-GUIDE.md"
# The builds carry debugging information; users get the programs without it.
if command -v x86_64-w64-mingw32-strip >/dev/null; then
  x86_64-w64-mingw32-strip "$stage/$win_name/"*.exe
fi
rm -f "$dist/$win_name.zip"
(cd "$stage" && cmake -E tar cf "$dist/$win_name.zip" --format=zip "$win_name")

mkdir -p "$stage/$linux_name"
for entry in "${linux_files[@]}"; do
  cp "${entry%%:*}" "$stage/$linux_name/${entry#*:}"
done
for tool in scorvel zaro3 doomtex wad2tga kzip mappreview xtract.sh doomview.py pairviews.py; do
  chmod 755 "$stage/$linux_name/$tool"
done
if command -v strip >/dev/null; then
  (cd "$stage/$linux_name" && strip scorvel zaro3 doomtex wad2tga kzip mappreview)
fi
cp docs/LINUX-GUIDE.md "$stage/$linux_name/README.md"
rm -f "$dist/$linux_name.tar.gz"
(cd "$stage" && tar -czf "$dist/$linux_name.tar.gz" --owner=0 --group=0 "$linux_name")

echo "Wrote $dist/$win_name.zip"
echo "Wrote $dist/$linux_name.tar.gz"

[ "$check" -eq 1 ] || exit 0

echo "=== Checking the packages"
unpack="$stage/unpack"
mkdir -p "$unpack"
(cd "$unpack" && cmake -E tar xf "$dist/$win_name.zip" && tar -xzf "$dist/$linux_name.tar.gz")

folder="$unpack/$win_name"
for entry in "${windows_files[@]}" core/new_page_1.htm:core/new_page_1.htm USER-GUIDE.md:USER-GUIDE.md; do
  [ -s "$folder/${entry#*:}" ] || die "$win_name.zip lacks ${entry#*:}"
done
for exe in kolvanta.exe scorvel.exe ZarO3.exe doomtex.exe wad2tga.exe zip.exe; do
  [ "$(head -c 2 "$folder/$exe")" = "MZ" ] || die "$exe in $win_name.zip is not a Windows program"
done
for tool in scorvel zaro3 doomtex wad2tga kzip mappreview xtract.sh doomview.py pairviews.py; do
  [ -x "$unpack/$linux_name/$tool" ] || die "$linux_name.tar.gz lacks an executable $tool"
done
[ -s "$unpack/$linux_name/README.md" ] || die "$linux_name.tar.gz lacks its README.md"
for script in doomview.py pairviews.py; do
  python3 "$unpack/$linux_name/$script" --help >/dev/null || die "$script from $linux_name.tar.gz does not start"
done

# Two unnamed entities and one named noname0: the tool must skip that name.
example_map() {
  cat <<'MAP'
{
"classname" "worldspawn"
{
( -64 -64 -16 ) ( -64 -63 -16 ) ( -64 -64 -15 ) textures/base_wall/lfwall13f3 0 0 0 0.5 0.5
( 64 64 16 ) ( 64 65 16 ) ( 65 64 16 ) textures/base_floor/a_sfloor1_d 0 0 0 0.5 0.5
}
}
{
"classname" "info_player_start"
"name" "noname0"
"origin" "0 0 24"
}
{
"origin" "0 0 96"
"classname" "light"
}
MAP
}

# Each run must end with exit code 0, say OK, and name both unnamed entities.
expect_cleaned() {
  local what="$1" map="$2" status="$3" errors="$4"
  [ "$status" -eq 0 ] || die "$what ended with exit code $status: $(cat "$errors")"
  grep -q 'OK' "$errors" || die "$what did not report OK"
  for name in noname0 noname1 noname2; do
    grep -q "\"name\" \"$name\"" "$map" || die "$what left no entity named $name"
  done
}

example_map > "$folder/example.map"
wine_run="$win_build/wine-run.sh"
[ -x "$wine_run" ] || die "no Wine runner in $win_build"
# Reuse the developers' Wine prefix when there is one: a new one costs time and space.
if [ -z "${KOLVANTA_WINEPREFIX:-}" ] && [ -f "$root/build/windows/wineprefix/.ready" ]; then
  export KOLVANTA_WINEPREFIX="$root/build/windows/wineprefix"
fi
set +e
(cd "$folder" && "$wine_run" ./scorvel.exe example.map) 2>"$stage/wine.err"
status=$?
set -e
expect_cleaned "scorvel.exe from $win_name.zip" "$folder/example.map" "$status" "$stage/wine.err"
grep -q $'\r$' "$folder/example.map" || die "scorvel.exe did not write Windows line ends"

example_map > "$unpack/example.map"
set +e
"$unpack/$linux_name/scorvel" "$unpack/example.map" 2>"$stage/linux.err"
status=$?
set -e
expect_cleaned "scorvel from $linux_name.tar.gz" "$unpack/example.map" "$status" "$stage/linux.err"

# The kit inside each archive on real data: extract a wad's textures, convert a level.
freedoom2=/usr/share/games/doom/freedoom2.wad
[ -f "$freedoom2" ] || die "$freedoom2 is missing (Debian package freedoom)"
expect_converted() {
  local what="$1" dir="$2" package="$3"
  [ -s "$dir/$package" ] || die "$what: xtract made no $package"
  [ -s "$dir/DOOM2.TEX" ] || die "$what: xtract wrote no DOOM2.TEX"
  [ -s "$dir/MAP01.map" ] || die "$what: the converter wrote no MAP01.map"
  grep -q '"classname" "info_player_start"' "$dir/MAP01.map" || die "$what: MAP01.map has no player start"
  grep -q 'doom2/' "$dir/MAP01.map" || die "$what: MAP01.map uses none of the wad's textures"
  # Every face laid as DOOM lays it: the aligned variants in the map and in the wad's package.
  grep -q ' doom2/[^ ]*/k1_5w' "$dir/MAP01.map" || die "$what: MAP01.map names no aligned material"
  python3 -c 'import sys, zipfile; sys.exit(0 if any(n.startswith("materials/doom2_variants_zdoom2tex_") for n in zipfile.ZipFile(sys.argv[1]).namelist()) else 1)' \
    "$dir/$package" || die "$what: the converter added no variants to $package"
}

cp "$freedoom2" "$folder/doom2.wad"
xtract_under_wine() { (cd "$folder" && "$wine_run" cmd /c xtract.bat doom2) >"$stage/xtract-wine.out" 2>&1; }
# Wine's cmd has been seen, rarely, to fail to start a program that is there
# ("Can't recognize ..."): once more, on a fresh Wine server, before calling it a failure.
xtract_under_wine || {
  grep -q "Can't recognize" "$stage/xtract-wine.out" &&
    echo "release.sh: Wine's cmd could not start a program; once more on a fresh Wine server" &&
    "$wine_run" --kill-server && xtract_under_wine
} || die "xtract.bat from $win_name.zip failed: $(tail -3 "$stage/xtract-wine.out")"
(cd "$folder" && "$wine_run" ./ZarO3.exe doom2.wad map01 -bound -scale 1.500000 -doom2) >"$stage/zaro3-wine.out" 2>&1 \
  || die "ZarO3.exe from $win_name.zip failed: $(tail -3 "$stage/zaro3-wine.out")"
expect_converted "$win_name.zip" "$folder" zdoom2tex.pk4

tools="$unpack/$linux_name"
work="$unpack/linux-work"
mkdir -p "$work"
cp "$freedoom2" "$work/doom2.wad"
cp "$tools/D2D3_OBJ.TXT" "$work/"
(cd "$work" && "$tools/xtract.sh" doom2) >"$stage/xtract.out" 2>&1 \
  || die "xtract.sh from $linux_name.tar.gz failed: $(tail -3 "$stage/xtract.out")"
(cd "$work" && "$tools/zaro3" doom2.wad map01 -bound -scale 1.5 -doom2) >"$stage/zaro3.out" 2>&1 \
  || die "zaro3 from $linux_name.tar.gz failed: $(tail -3 "$stage/zaro3.out")"
expect_converted "$linux_name.tar.gz" "$work" zdoom2tex.pk4
"$tools/scorvel" "$work/MAP01.map" 2>/dev/null || die "scorvel refused the converted MAP01.map"
"$tools/mappreview" "$work/MAP01.map" "$work/zdoom2tex.pk4" -o "$work/MAP01.png" >/dev/null \
  || die "mappreview from $linux_name.tar.gz failed"

# The map the Windows road made, with the packages it made, through DOOM 3's map compiler: no material missing.
if [ -x /usr/games/rbdoom3bfg ]; then
  bash "$root/tests/toolkit/dmap/dmap-check.sh" --require-materials --pk4 "$folder/zdoom2tex.pk4" \
    --pk4 "$folder/zdoomdefsdoom.pk4" "$folder/MAP01.map" >"$stage/dmap.out" 2>&1 \
    || die "DOOM 3's map compiler refused the converted MAP01.map: $(tail -3 "$stage/dmap.out")"
else
  echo "release.sh: rbdoom3bfg is not installed: the converted map is not compiled"
fi

echo "release check: both packages unpack into working programs that convert Freedoom's MAP01"
