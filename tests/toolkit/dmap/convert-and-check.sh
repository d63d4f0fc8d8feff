#!/usr/bin/env bash
# Converts levels with zaro3, names the entities with Scorvel, checks the geometry and the
# walkable steps (GEOCHECK, WALKCHECK: set to fail on findings, "report" to print them
# only) and compiles every map with the DOOM 3 map compiler check.
#
#   convert-and-check.sh BUILD_DIR OUT_DIR WAD:LEVEL:OPTIONS...
#
# OPTIONS are zaro3 options separated by commas ("-bound,-scale,1.5"). Prints the
# compile table; exit 0 only when every conversion, naming, geometry check and
# compile passes. Exit 77 when zaro3 has not been built (nothing to check yet).
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" 2>/dev/null && pwd || echo "$1")
mkdir -p "$2" && out=$(cd "$2" && pwd) || { echo "cannot make $2"; exit 1; }
shift 2
zaro3="$build/toolkit/zaro3/zaro3"
scorvel="$build/maptool/scorvel"
[ -x "$zaro3" ] || { echo "zaro3 is not built in $build: nothing to convert"; exit 77; }
[ -x "$scorvel" ] || { echo "scorvel is not built in $build"; exit 1; }
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The thing table, as the program folder has it: every monster and item must lie inside
# the sealed level too, or the compiler finds a leak.
table="$here/../../../toolkit/defs/D2D3_OBJ.TXT"
[ -f "$table" ] || { echo "cannot find the thing table $table"; exit 1; }
cp "$table" "$work/"
pk4s=()
[ -f "$build/toolkit/defs/zdoomdefsdoom.pk4" ] && pk4s+=(--pk4 "$build/toolkit/defs/zdoomdefsdoom.pk4")

failed=0
maps=()
for job in "$@"; do
  IFS=: read -r wadpath level options <<<"$job"
  IFS=, read -r -a opts <<<"$options"
  tag=$(printf '%s' "$options" | tr -d ' ,.-')
  name="$(basename "$wadpath" .wad)_${level}_${tag:-plain}"
  cp "$wadpath" "$work/" 2>/dev/null || { echo "$name: cannot read $wadpath"; failed=1; continue; }
  if ! (cd "$work" && "$zaro3" "$(basename "$wadpath")" "$level" "${opts[@]}" >"$work/$name.zaro3.log" 2>&1); then
    echo "$name: zaro3 failed: $(tail -n 1 "$work/$name.zaro3.log")"; failed=1; continue
  fi
  mv "$work/${level^^}.map" "$out/$name.map"
  if ! "$scorvel" "$out/$name.map" >"$work/$name.scorvel.log" 2>&1; then
    echo "$name: scorvel failed: $(tail -n 1 "$work/$name.scorvel.log")"; failed=1; continue
  fi
  scale=1
  for ((i = 0; i < ${#opts[@]}; i++)); do [ "${opts[$i]}" = "-scale" ] && scale=${opts[$((i + 1))]}; done
  if [ -n "${GEOCHECK:-}" ]; then
    # GEOCHECK=report prints the geometry check's findings without failing on them.
    if ! python3 "$here/../geocheck/geocheck.py" "$wadpath" "$level" "$out/$name.map" --scale "$scale"; then
      [ "$GEOCHECK" = "report" ] || failed=1
    fi
  fi
  if [ -n "${WALKCHECK:-}" ]; then
    # WALKCHECK=report prints the walk check's findings without failing on them.
    if ! python3 "$here/../walkcheck/walkcheck.py" "$wadpath" "$level" "$out/$name.map" --scale "$scale" \
        "${pk4s[@]}" --report 3; then
      [ "$WALKCHECK" = "report" ] || failed=1
    fi
  fi
  maps+=("$out/$name.map")
done
if [ "${#maps[@]}" -gt 0 ]; then
  "$here/dmap-check.sh" "${pk4s[@]}" --out "$out" "${maps[@]}" || failed=1
fi
exit "$failed"
