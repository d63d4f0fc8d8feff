# Sourced by the measuring scripts: puts the built kit's tools (and any extra files given)
# with xtract.sh and the thing table in a scratch program folder, `$work`, removed on exit.
# Exits 77 when a tool is not built yet.
#
#   scratch_kit BUILD_DIR [EXTRA_FILE]...
scratch_kit() {
  local build="$1" toolkit
  shift
  toolkit="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../toolkit" && pwd)"
  local tools=("$build/toolkit/zaro3/zaro3" "$build/toolkit/doomtex/doomtex" "$build/toolkit/wad2tga/wad2tga"
               "$build/toolkit/zip/kzip" "$@")
  local tool
  for tool in "${tools[@]}"; do
    [ -e "$tool" ] || { echo "measure: $tool is not built"; exit 77; }
  done
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  cp "${tools[@]}" "$toolkit/xtract/xtract.sh" "$toolkit/defs/D2D3_OBJ.TXT" "$work/"
}
