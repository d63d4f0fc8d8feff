#!/usr/bin/env bash
# Measures how many DOOM specials the converter reproduces, on every level of real wads:
# puts the built kit in a scratch program folder, extracts each wad's textures with
# xtract.sh (as the dialogs' road does), converts every level with zaro3 -bound -scale 1.5
# and the wad's texture list, checks each map with actioncheck.py (scrolling walls against
# the texture package) and prints the tables over all levels (summary.py).
#
#   measure.sh BUILD_DIR [WAD:NAME]...   (NAME: doom, doom2, tnt, plutonia, or the wad's
#                                          file name for any other wad: its list is CUSTOM.TEX)
#
# Without jobs: Freedoom 1, Freedoom 2 and FreeDM. ACTIONCHECK_REPORTS=DIR keeps each level's
# JSON report and converter output there. Exit 0 when every level passes, 1 otherwise,
# 77 when the kit is not built, 2 on a bad job. The scratch folder is removed on exit.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-}" 2>/dev/null && pwd) || { echo "usage: measure.sh BUILD_DIR [WAD:NAME]..."; exit 2; }
shift
jobs=("$@")
games=/usr/share/games/doom
[ ${#jobs[@]} -gt 0 ] || jobs=("$games/freedoom1.wad:doom" "$games/freedoom2.wad:doom2" "$games/freedm.wad:freedm.wad")
# shellcheck source=../scratch-kit.sh
. "$here/../scratch-kit.sh"
scratch_kit "$build"
reports="$work/reports"
mkdir -p "$reports"

for job in "${jobs[@]}"; do
  wad=${job%%:*}
  name=${job#*:}
  case "$name" in
    doom) file=doom.wad; list=DOOM1.TEX; option=-doom; package=zdoomtex.pk4 ;;
    doom2 | tnt | plutonia) file=$name.wad; list=${name^^}.TEX; option=-$name; package=z${name}tex.pk4 ;;
    *.wad | *.WAD) file=$name; list=CUSTOM.TEX; option=-custom; package=z${name%.*}tex.pk4 ;;
    *) echo "measure: $name is not doom, doom2, tnt, plutonia or a wad's file name"; exit 2 ;;
  esac
  cp "$wad" "$work/$file" || exit 2
  rm -f "$work"/*.TEX
  if ! (cd "$work" && sh ./xtract.sh "$name" >/dev/null 2>&1) || [ ! -f "$work/$list" ]; then
    echo "measure: xtract failed on $wad"; exit 1
  fi
  levels=$(PYTHONPATH="$here/../geocheck" python3 -c '
import re, sys, doomlevel
print(" ".join(n for n, _o, _s in doomlevel.Wad(sys.argv[1]).lumps if re.fullmatch(r"E\dM\d|MAP\d\d", n)))' "$work/$file")
  for level in $levels; do
    out="$reports/$(basename "$wad" .wad)-$level"
    if ! (cd "$work" && ./zaro3 "$file" "$level" -bound -scale 1.5 "$option" >"$out.log" 2>&1); then
      echo "measure: zaro3 failed on $wad $level (see its output)"; continue
    fi
    python3 "$here/actioncheck.py" "$wad" "$level" "$work/$level.map" --scale 1.5 --pk4 "$work/$package" \
      --report 0 --json "$out.json" >/dev/null
    rm -f "$work/$level.map"
  done
done
python3 "$here/summary.py" "$reports"/*.json
status=$?
if [ -n "${ACTIONCHECK_REPORTS:-}" ]; then
  mkdir -p "$ACTIONCHECK_REPORTS" && cp "$reports"/* "$ACTIONCHECK_REPORTS/"
fi
exit "$status"
