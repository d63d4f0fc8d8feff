#!/bin/sh
# Extracts one wad's textures for the converted levels: runs doomtex, wad2tga
# (one sky box per SKY1..SKY4 texture the wad has) and kzip, all found beside
# this script, and leaves z<name>tex.pk4 and the texture source list in the
# working folder. Usage: xtract.sh <doom|doom1|doom2|tnt|plutonia|wad file>
# The wad is looked up in the working folder, ignoring case. On any failure the
# scratch folder is removed and no package is left behind.
set -u

tools=$(cd "$(dirname "$0")" && pwd)

fail() {
  echo "xtract: $2" >&2
  exit "$1"
}

[ $# -eq 1 ] && [ -n "$1" ] || fail 1 "usage: xtract.sh <doom|doom1|doom2|tnt|plutonia|wad file>"

folder=$(dirname "$1")
given=$(basename "$1")
case "$(printf '%s' "$given" | tr 'A-Z' 'a-z')" in
  *.wad) stem=${given%.???} ;;
  *) stem=$given ;;
esac
lower=$(printf '%s' "$stem" | tr 'A-Z' 'a-z')

case "$lower" in
  doom | doom1) set=doom1 ;;
  doom2) set=doom2 ;;
  tnt) set=tnt ;;
  plutonia) set=plutonia ;;
  *) set=custom ;;
esac
list=$(printf '%s' "$set" | tr 'a-z' 'A-Z').TEX
package=z${lower}tex.pk4

# Windows matches file names without regard to case; do the same here.
wad=
for candidate in "$folder"/* "$folder"/.*; do
  [ -f "$candidate" ] || continue
  name=$(basename "$candidate" | tr 'A-Z' 'a-z')
  if [ "$name" = "$lower.wad" ]; then
    wad=$candidate
    break
  fi
done
[ -n "$wad" ] || fail 1 "cannot find $stem.wad"

scratch=$(mktemp -d "./xtract.XXXXXX") || fail 3 "cannot make a scratch folder here"
trap 'rm -rf "$scratch"' EXIT
trap 'exit 130' INT TERM

"$tools/doomtex" "$wad" "$set" "$scratch" "$scratch/$list" || fail 2 "doomtex failed on $wad"
[ -f "$scratch/$list" ] || fail 2 "doomtex wrote no texture list"

for n in 1 2 3 4; do
  if grep -q "^texture SKY$n " "$scratch/$list"; then
    "$tools/wad2tga" "$wad" "$scratch" -skybox "SKY$n" "zdoomsky$n" || fail 2 "wad2tga failed on SKY$n of $wad"
  fi
done

parts=
for part in textures materials env; do
  [ -d "$scratch/$part" ] && parts="$parts $part"
done
[ -n "$parts" ] || fail 2 "doomtex wrote no textures"
# The part names are fixed words, so splitting $parts is safe.
# shellcheck disable=SC2086
(cd "$scratch" && "$tools/kzip" -r -q -9 "../$package" $parts) || fail 3 "cannot pack $package"
mv -f "$scratch/$list" "./$list" || fail 3 "cannot move $list into place"
echo "xtract: made $package and $list"
exit 0
