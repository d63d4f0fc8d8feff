#!/usr/bin/env bash
# Installs the Debian packages the build, the tests or the demo need, and only
# those that are missing. Usage: scripts/install-deps.sh demo|test
set -euo pipefail

profile="${1:-test}"

# package : a file that shows it is installed
common=(
  "cmake:/usr/bin/cmake"
  "make:/usr/bin/make"
  "g++:/usr/bin/g++"
  "googletest:/usr/src/googletest/CMakeLists.txt"
  "g++-mingw-w64-x86-64-posix:/usr/bin/x86_64-w64-mingw32-g++-posix"
  "gcc-mingw-w64-x86-64-posix:/usr/bin/x86_64-w64-mingw32-gcc-posix"
  "binutils-mingw-w64-x86-64:/usr/bin/x86_64-w64-mingw32-windres"
  "wine64:/usr/lib/wine/wine64"
  "xvfb:/usr/bin/Xvfb"
  "xauth:/usr/bin/xauth"
  "imagemagick:/usr/bin/import"
  "freedoom:/usr/share/games/doom/freedoom2.wad"
  "zlib1g-dev:/usr/include/zlib.h"
  "libz-mingw-w64-dev:/usr/x86_64-w64-mingw32/include/zlib.h"
  "unzip:/usr/bin/unzip"
  "rbdoom3bfg:/usr/games/rbdoom3bfg"
  "libegl1:/usr/lib/x86_64-linux-gnu/libEGL.so.1"
  "libegl-mesa0:/usr/lib/x86_64-linux-gnu/libEGL_mesa.so.0"
  "python3:/usr/bin/python3"
)
test_only=(
  "clang:/usr/bin/clang++"
  "libclang-rt-14-dev:/usr/lib/llvm-14/lib/clang/14.0.6/lib/linux/libclang_rt.fuzzer-x86_64.a"
  "chromium:/usr/bin/chromium"
  "nodejs:/usr/bin/node"
  "npm:/usr/bin/npm"
  "freedm:/usr/share/games/doom/freedm.wad"
)
# DOOM's own view of a level beside the converted one (scripts/doomview/).
demo_only=(
  "dsda-doom:/usr/games/dsda-doom"
  "fonts-dejavu-core:/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
)

wanted=("${common[@]}")
if [ "$profile" = "test" ]; then
  wanted+=("${test_only[@]}")
elif [ "$profile" = "demo" ]; then
  wanted+=("${demo_only[@]}")
fi

missing=()
for entry in "${wanted[@]}"; do
  package="${entry%%:*}"
  marker="${entry#*:}"
  [ -e "$marker" ] || missing+=("$package")
done

if [ "${#missing[@]}" -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
  echo "Run as root (or install these packages first): ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq "${missing[@]}" >/dev/null
