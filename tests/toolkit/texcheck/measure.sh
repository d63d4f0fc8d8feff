#!/usr/bin/env bash
# Measures the texel agreement of converted levels on real data: puts the built kit in a
# scratch program folder, extracts each wad's textures with xtract.sh, converts the level
# with zaro3 at scale 1.5 and runs texcheck.py on the map.
#
#   measure.sh BUILD_DIR [WAD:LEVEL:NAME]...   (NAME: doom1, doom2, tnt or plutonia)
#
# Without jobs: Freedoom 2 MAP01 and Freedoom E1M1. TEXCHECK_MIN sets the agreement a
# level must reach (default 98); extra texcheck options go in TEXCHECK_OPTIONS. Exit 0
# when every level reaches it, 1 otherwise, 77 when the kit is not built. The scratch
# folder is removed on exit; nothing is written elsewhere.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-}" 2>/dev/null && pwd) || { echo "usage: measure.sh BUILD_DIR [WAD:LEVEL:NAME]..."; exit 2; }
shift
jobs=("$@")
[ ${#jobs[@]} -gt 0 ] || jobs=(/usr/share/games/doom/freedoom2.wad:MAP01:doom2
                               /usr/share/games/doom/freedoom1.wad:E1M1:doom1)
# shellcheck source=../scratch-kit.sh
. "$here/../scratch-kit.sh"
scratch_kit "$build" "$build/toolkit/defs/zdoomdefsdoom.pk4"

failed=0
for job in "${jobs[@]}"; do
  IFS=: read -r wad level name <<<"$job"
  case "$name" in
    doom1) option=-doom ;;
    doom2 | tnt | plutonia) option=-$name ;;
    *) echo "measure: $name is not doom1, doom2, tnt or plutonia"; failed=1; continue ;;
  esac
  if ! cp "$wad" "$work/$name.wad"; then failed=1; continue; fi
  if [ ! -f "$work/z${name}tex.pk4" ] && ! (cd "$work" && sh ./xtract.sh "$name" >/dev/null); then
    echo "measure: xtract failed on $wad"; failed=1; continue
  fi
  if ! (cd "$work" && ./zaro3 "$name.wad" "$level" -scale 1.5 "$option" >/dev/null); then
    echo "measure: zaro3 failed on $wad $level"; failed=1; continue
  fi
  # shellcheck disable=SC2086
  python3 "$here/texcheck.py" "$work/$name.wad" "$level" "$work/${level^^}.map" --scale 1.5 \
    --pk4 "$work/z${name}tex.pk4" --pk4 "$work/zdoomdefsdoom.pk4" --min "${TEXCHECK_MIN:-98}" \
    ${TEXCHECK_OPTIONS:-} || failed=1
done
exit "$failed"
