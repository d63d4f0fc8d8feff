#!/usr/bin/env bash
# Converts every level of both Freedoom wads with zaro3 in three variants
# (-bound -scale 1.5; -scale 1.5 without -bound; -bound -direct -scale 1.5), and the
# FreeDM levels (other real levels, when Debian's freedm is installed) with the
# dialog's options -bound -scale 1.5; names the
# entities with Scorvel, reports the geometry and walk checks' findings and compiles every map
# with the DOOM 3 map compiler check (two engines at once unless DMAP_CHECK_JOBS says).
# Prints the check's table (level, brushes, entities, result per map). Slow (about half
# an hour on two cores); not part of the test command. Usage: scripts/compile-all.sh [build-dir]
set -uo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/native}
cmake --build "$build" -j2 --target zaro3 scorvel >/dev/null || { echo "cannot build zaro3 and scorvel in $build"; exit 1; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
jobs=()
for wad in /usr/share/games/doom/freedoom1.wad /usr/share/games/doom/freedoom2.wad /usr/share/games/doom/freedm.wad; do
  [ -f "$wad" ] || continue
  for level in $(python3 -c "
import struct,sys
d=open(sys.argv[1],'rb').read(); n,a=struct.unpack_from('<II',d,4)
names=[struct.unpack_from('<8s',d,a+16*i+8)[0].split(b'\0')[0].decode() for i in range(n)]
print(' '.join(names[i] for i in range(n-1) if names[i+1]=='THINGS'))" "$wad"); do
    jobs+=("$wad:$level:-bound,-scale,1.5")
    [ "$(basename "$wad")" = freedm.wad ] && continue
    jobs+=("$wad:$level:-scale,1.5" "$wad:$level:-bound,-direct,-scale,1.5")
  done
done
start=$(date +%s)
GEOCHECK=${GEOCHECK:-report} WALKCHECK=${WALKCHECK:-report} DMAP_CHECK_JOBS=${DMAP_CHECK_JOBS:-2} \
  bash tests/toolkit/dmap/convert-and-check.sh "$build" "$out" "${jobs[@]}"
status=$?
echo "${#jobs[@]} maps in $(( $(date +%s) - start )) s"
exit "$status"
