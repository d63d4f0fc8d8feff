#!/usr/bin/env bash
# Builds the release packages:
#   dist/kolvanta-<version>-win64.zip         kolvanta.exe, scorvel.exe, core/new_page_1.htm
#                                             and the user's guide: a program folder, ready
#                                             for the outside tools to be added
#   dist/scorvel-<version>-linux-x86_64.tar.gz the native map tool and its README
#
# Usage: scripts/release.sh [--check]
#   --check  also unpacks both archives into a temporary folder and proves them:
#            the program folder holds everything, its scorvel.exe (under Wine) and
#            the Linux scorvel clean an example map.
# The version is KOLVANTA_VERSION, or 0.1.0. Builds go to build/release-windows
# and build/release-native, so the developers' build folders stay untouched.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

check=0
for arg in "$@"; do
  case "$arg" in
    --check) check=1 ;;
    -h|--help) sed -n '2,15p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "release.sh: unknown argument: $arg" >&2; exit 2 ;;
  esac
done

version="${KOLVANTA_VERSION:-0.1.0}"
jobs=$(nproc)
win_build="$root/build/release-windows"
native_build="$root/build/release-native"
dist="$root/dist"
win_name="kolvanta-$version-win64"
linux_name="scorvel-$version-linux-x86_64"

die() { echo "release.sh: $*" >&2; exit 1; }

[ -f core/new_page_1.htm ] || die "core/new_page_1.htm is missing"
[ -f docs/USER-GUIDE.md ] || die "docs/USER-GUIDE.md is missing"

echo "=== Building kolvanta.exe and scorvel.exe (windows preset, $win_build)"
cmake --preset windows -B "$win_build" -DKOLVANTA_TESTS=OFF >/dev/null
cmake --build "$win_build" -j"$jobs" --target kolvanta scorvel >/dev/null

echo "=== Building scorvel (native preset, $native_build)"
cmake --preset native -B "$native_build" -DKOLVANTA_TESTS=OFF >/dev/null
cmake --build "$native_build" -j"$jobs" --target scorvel >/dev/null

kolvanta_exe="$win_build/frontend/kolvanta.exe"
scorvel_exe="$win_build/maptool/scorvel.exe"
scorvel_linux="$native_build/maptool/scorvel"
for built in "$kolvanta_exe" "$scorvel_exe" "$scorvel_linux"; do
  [ -f "$built" ] || die "the build did not produce $built"
done

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir -p "$dist"

# The program folder as the user unpacks it.
mkdir -p "$stage/$win_name/core"
cp "$kolvanta_exe" "$scorvel_exe" "$stage/$win_name/"
cp core/new_page_1.htm "$stage/$win_name/core/"
cp docs/USER-GUIDE.md "$stage/$win_name/USER-GUIDE.md"
# The builds carry debugging information; users get the programs without it.
if command -v x86_64-w64-mingw32-strip >/dev/null; then
  x86_64-w64-mingw32-strip "$stage/$win_name/kolvanta.exe" "$stage/$win_name/scorvel.exe"
fi
rm -f "$dist/$win_name.zip"
(cd "$stage" && cmake -E tar cf "$dist/$win_name.zip" --format=zip "$win_name")

mkdir -p "$stage/$linux_name"
cp "$scorvel_linux" "$stage/$linux_name/scorvel"
chmod 755 "$stage/$linux_name/scorvel"
if command -v strip >/dev/null; then
  strip "$stage/$linux_name/scorvel"
fi
cat > "$stage/$linux_name/README" <<README
Scorvel $version for Linux (x86-64)

Scorvel cleans a converted DOOM 3 brush-format map: every entity that has no
"name" key gets a unique name (noname0, noname1, ... skipping names already in
the file), and the file is rewritten in place in a fixed layout, with each
entity's key/value pairs ordered by key and every brush token kept exactly as
written.

Usage:
    ./scorvel <file.map>

Only the first argument is used. Scorvel prints its banner "Scorvel Rev.0" on
standard error, then "OK" on success; it writes nothing to standard output.

Exit codes:
    0  the map was rewritten
    1  no argument was given (the usage text is printed)
    2  the file cannot be read, or cannot be rewritten; it is left unchanged
    3  the file is not a brush-format map (syntax error); it is left unchanged

Built on Debian 12; it needs the C++ runtime (libstdc++6) that every
current Linux distribution installs.

The Windows front-end Kolvanta runs scorvel.exe on each map it copies into a
DOOM 3 MOD folder; this Linux build is for running it by hand or in scripts.
README
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
for file in kolvanta.exe scorvel.exe core/new_page_1.htm USER-GUIDE.md; do
  [ -s "$folder/$file" ] || die "$win_name.zip lacks $file"
done
for exe in kolvanta.exe scorvel.exe; do
  [ "$(head -c 2 "$folder/$exe")" = "MZ" ] || die "$exe in $win_name.zip is not a Windows program"
done
[ -x "$unpack/$linux_name/scorvel" ] || die "$linux_name.tar.gz lacks an executable scorvel"
[ -s "$unpack/$linux_name/README" ] || die "$linux_name.tar.gz lacks its README"

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

echo "release check: both packages unpack into working programs"
