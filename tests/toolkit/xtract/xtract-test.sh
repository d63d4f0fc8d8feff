#!/bin/sh
# xtract.sh in a program folder. With stand-in tools: short and custom names,
# case-insensitive wad lookup, a sky box per SKYn the list names, failures that
# leave neither package nor scratch folder. With the real tools (when given):
# one run per Freedoom wad.
# Usage: xtract-test.sh <xtract.sh> <kzip> [<doomtex> <wad2tga>]
set -eu
script=$1
kzip=$2
doomtex=${3:-}
wad2tga=${4:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAILED: $*" >&2; failures=$((failures + 1)); }

standins() {
  dir=$1
  cp "$script" "$dir/xtract.sh"
  cp "$kzip" "$dir/kzip"
  # doomtex <wad> <set> <outdir> <listfile>: one texture; SKYn named when the wad holds it.
  cat > "$dir/doomtex" <<'SH'
#!/bin/sh
grep -q IWAD "$1" || { echo "doomtex: not a wad" >&2; exit 2; }
mkdir -p "$3/textures/$2/flats" "$3/materials"
echo tga > "$3/textures/$2/WALL.tga"
echo "textures/$2/WALL { }" > "$3/materials/$2.mtr"
{ echo "texture WALL 64 64 $2/WALL"
  for n in 1 2 3 4; do grep -q "SKY$n" "$1" && echo "texture SKY$n 256 128 $2/SKY$n"; done
  true; } > "$4"
SH
  cat > "$dir/wad2tga" <<'SH'
#!/bin/sh
[ "$3" = -skybox ] || exit 1
grep -q BADSKY "$1" && { echo "wad2tga: broken sky" >&2; exit 2; }
mkdir -p "$2/env"
for face in forward back left right up down; do echo tga > "$2/env/$5_$face.tga"; done
SH
  chmod +x "$dir/doomtex" "$dir/wad2tga" "$dir/xtract.sh"
}

names() { python3 -c "import sys, zipfile; print(' '.join(sorted(zipfile.ZipFile(sys.argv[1]).namelist())))" "$1"; }

app=$work/app
mkdir "$app"
standins "$app"
cd "$app"
printf 'IWAD SKY1 SKY3' > DOOM2.WAD
printf 'IWAD' > MyLevels.wad
printf 'IWAD SKY1 BADSKY' > broken.wad
printf 'PWAD?' > notawad.wad

# A short name, found whatever its case; skies only for SKY1 and SKY3.
if ./xtract.sh doom2 >/dev/null; then
  unzip -tq zdoom2tex.pk4 >/dev/null || fail "zdoom2tex.pk4 is not a sound archive"
  [ -f DOOM2.TEX ] || fail "no DOOM2.TEX"
  got=$(names zdoom2tex.pk4)
  case "$got" in *"env/zdoomsky1_up.tga"*"env/zdoomsky3_down.tga"*) ;; *) fail "skies missing: $got" ;; esac
  case "$got" in *zdoomsky2* | *zdoomsky4*) fail "a sky the wad lacks: $got" ;; esac
  case "$got" in *"materials/doom2.mtr"*"textures/doom2/WALL.tga"*) ;; *) fail "textures missing: $got" ;; esac
else
  fail "xtract.sh doom2"
fi

# Any other wad: the custom set, the package named after the wad in lower case.
./xtract.sh MyLevels.wad >/dev/null || fail "xtract.sh MyLevels.wad"
[ -f zmylevelstex.pk4 ] && [ -f CUSTOM.TEX ] || fail "custom wad: no zmylevelstex.pk4 or CUSTOM.TEX"
names zmylevelstex.pk4 | grep -q "textures/custom/WALL.tga" || fail "custom wad: wrong set"
names zmylevelstex.pk4 | grep -q "env/" && fail "custom wad without skies has env/"

# Failures: a message, a non-zero code, no package, no scratch folder.
for bad in doom tnt broken notawad ""; do
  if ./xtract.sh $bad >/dev/null 2>err.txt; then fail "xtract.sh '$bad' succeeded"; fi
  [ -s err.txt ] || fail "xtract.sh '$bad' gave no message"
done
[ -e zdoomtex.pk4 ] || [ -e ztnttex.pk4 ] || [ -e zbrokentex.pk4 ] || [ -e znotawadtex.pk4 ] &&
  fail "a failed run left a package"
ls -d xtract.* 2>/dev/null | grep -v '^xtract.sh$' && fail "a scratch folder was left behind"

# The real tools on both Freedoom wads, one run each.
if [ -n "$doomtex" ] && [ -x "$doomtex" ] && [ -x "$wad2tga" ]; then
  for pair in freedoom1:doom1 freedoom2:doom2; do
    wad=${pair%%:*}
    short=${pair#*:}
    real=$work/real_$short
    mkdir "$real"
    cp "$script" "$real/xtract.sh"
    cp "$kzip" "$real/kzip"
    cp "$doomtex" "$real/doomtex"
    cp "$wad2tga" "$real/wad2tga"
    ln -s "/usr/share/games/doom/$wad.wad" "$real/$short.wad"
    (cd "$real" && sh ./xtract.sh "$short" >/dev/null) || { fail "real tools on $wad"; continue; }
    list=$(printf '%s' "$short" | tr 'a-z' 'A-Z').TEX
    unzip -tq "$real/z${short}tex.pk4" >/dev/null || fail "$wad: package not sound"
    [ -s "$real/$list" ] || fail "$wad: no $list"
    names "$real/z${short}tex.pk4" | grep -q "env/zdoomsky1_forward.tga" || fail "$wad: no SKY1 box"
    names "$real/z${short}tex.pk4" | grep -q "materials/$short.mtr" || fail "$wad: no materials"
  done
fi

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed" >&2; exit 1; }
echo "xtract checks passed"
