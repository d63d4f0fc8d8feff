#!/usr/bin/env bash
# Shows Kolvanta under Wine in a demo program folder, with a demo DOOM 3 folder
# beside it.
#
#   scripts/kolvanta-demo.sh <windows-build-dir> <output-dir>
#
# With a display ($DISPLAY set) the program opens for you; close it to finish.
# Without one it runs on a virtual display (Xvfb, Wine's own virtual desktop of
# 1024 x 768) and the script photographs the main window and the Configuration
# dialog into <output-dir>/main-window.png and <output-dir>/configuration.png.
#
# Wine gets a prefix of its own in <output-dir>/wineprefix. Its HTML engine is
# switched off unless KOLVANTA_DEMO_HTML=1 (a prefix without the engine would
# stop to offer a download), so Kolvanta shows its command buttons instead of
# the start page.
set -euo pipefail

if [ "${1:-}" = "--inside-xvfb" ]; then
  inside=1
  shift
else
  inside=0
fi
if [ $# -ne 2 ]; then
  echo "usage: $0 <windows-build-dir> <output-dir>" >&2
  exit 2
fi

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)

program="$out/Kolvanta"
doom3="$out/Doom 3"
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver64
[ -x "$WINESERVER" ] || WINESERVER=wineserver
export WINEPREFIX="$out/wineprefix"
export WINEARCH=win64
export WINEDEBUG=-all
if [ "${KOLVANTA_DEMO_HTML:-0}" = "1" ]; then
  export WINEDLLOVERRIDES="mscoree=;winemenubuilder.exe=d"
else
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
fi

# The Windows path of a host path (Wine's drive Z: is the host's root).
winpath() {
  printf 'Z:%s' "$1" | tr '/' '\\'
}

prepare_folders() {
  local exe scorvel
  exe=$(find "$build" -name kolvanta.exe -path '*frontend*' -print -quit)
  if [ -z "$exe" ]; then
    echo "kolvanta.exe not found under $build: build the windows preset first" >&2
    exit 1
  fi
  rm -rf "$program" "$doom3"
  mkdir -p "$program/core" "$doom3/base/maps" "$doom3/d3xp"
  cp "$exe" "$program/kolvanta.exe"
  scorvel=$(find "$build" -name scorvel.exe -print -quit)
  [ -n "$scorvel" ] && cp "$scorvel" "$program/scorvel.exe"
  cp "$root/core/new_page_1.htm" "$program/core/new_page_1.htm"
  if [ -f /usr/share/games/doom/freedoom2.wad ]; then
    cp /usr/share/games/doom/freedoom2.wad "$program/freedoom2.wad"
  fi
  echo "demo program folder: $program"
  echo "demo DOOM 3 folder:  $doom3"
}

# A small Windows helper that works Kolvanta's window the way a user would.
build_driver() {
  local source="$out/demo-driver.cpp"
  cat >"$source" <<'EOF'
// Works the demo's Kolvanta window: wait-main, open-configuration,
// fill-configuration <DOOM 3 folder>, close-configuration, close. Exit code 1 when a window is missing.
#include <windows.h>
#include <cstring>
#include <string>

static HWND g_found;
static const char* g_text;

static BOOL CALLBACK FindChild(HWND child, LPARAM)
{
    char text[256] = {};
    GetWindowTextA(child, text, sizeof(text));
    if (std::strcmp(text, g_text) == 0) {
        g_found = child;
        return FALSE;
    }
    return TRUE;
}

static HWND WaitForTopLevel(const char* caption)
{
    for (int i = 0; i < 100; ++i) {
        HWND window = FindWindowA(nullptr, caption);
        if (window && IsWindowVisible(window))
            return window;
        Sleep(100);
    }
    return nullptr;
}

static HWND FindChildText(HWND parent, const char* text)
{
    g_found = nullptr;
    g_text = text;
    EnumChildWindows(parent, FindChild, 0);
    return g_found;
}

int main(int argc, char** argv)
{
    const std::string step = argc > 1 ? argv[1] : "";
    if (step == "wait-main")
        return WaitForTopLevel("Kolvanta Rev.0") ? 0 : 1;
    if (step == "open-configuration") {
        HWND frame = WaitForTopLevel("Kolvanta Rev.0");
        HWND button = frame ? FindChildText(frame, "&Configure...") : nullptr;
        if (!button)
            return 1;
        PostMessageA(button, BM_CLICK, 0, 0);
        return WaitForTopLevel("Configuration") ? 0 : 1;
    }
    HWND dialog = WaitForTopLevel("Configuration");
    if (step == "fill-configuration" && argc > 2) {
        if (!dialog)
            return 1;
        SetDlgItemTextA(dialog, 1000, argv[2]);
        SendMessageA(GetDlgItem(dialog, 1006), BM_CLICK, 0, 0);
        SendMessageA(GetDlgItem(dialog, 1004), BM_CLICK, 0, 0);
        return 0;
    }
    if (step == "close-configuration") {
        if (dialog)
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return 0;
    }
    if (step == "close") {
        HWND frame = FindWindowA(nullptr, "Kolvanta Rev.0");
        if (frame)
            PostMessageA(frame, WM_CLOSE, 0, 0);
        return 0;
    }
    return 2;
}
EOF
  x86_64-w64-mingw32-g++-posix -O1 -static -o "$out/demo-driver.exe" "$source"
  rm -f "$source"
}

make_prefix() {
  if [ ! -f "$WINEPREFIX/.demo-ready" ]; then
    echo "creating the demo Wine prefix (once; about a minute)"
    "$WINE" wineboot -i >/dev/null 2>&1 || true
    "$WINESERVER" -w
    touch "$WINEPREFIX/.demo-ready"
  fi
}

use_virtual_desktop() {
  "$WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  "$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
  "$WINESERVER" -w
}

photograph() {
  sleep "${2:-3}"
  import -window root "$1"
  echo "saved $1"
}

run_and_photograph() {
  make_prefix
  use_virtual_desktop
  build_driver
  (cd "$program" && "$WINE" kolvanta.exe >/dev/null 2>&1) &
  local kolvanta=$!
  local status=0
  "$WINE" "$out/demo-driver.exe" wait-main >/dev/null 2>&1 || status=$?
  if [ "$status" -ne 0 ]; then
    echo "Kolvanta's window did not appear" >&2
    "$WINESERVER" -k || true
    wait "$kolvanta" || true
    return 1
  fi
  photograph "$out/main-window.png" 3
  "$WINE" "$out/demo-driver.exe" open-configuration >/dev/null 2>&1
  "$WINE" "$out/demo-driver.exe" fill-configuration "$(winpath "$doom3")" >/dev/null 2>&1
  photograph "$out/configuration.png" 2
  "$WINE" "$out/demo-driver.exe" close-configuration >/dev/null 2>&1
  "$WINE" "$out/demo-driver.exe" close >/dev/null 2>&1
  wait "$kolvanta" || true
  "$WINESERVER" -k 2>/dev/null || true
  rm -f "$out/demo-driver.exe"
}

if [ "$inside" -eq 1 ]; then
  run_and_photograph
  exit $?
fi

prepare_folders
if [ -n "${DISPLAY:-}" ]; then
  make_prefix
  echo "opening Kolvanta; close its window to end the demo"
  (cd "$program" && "$WINE" kolvanta.exe)
  "$WINESERVER" -w
  exit 0
fi

xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" --inside-xvfb "$build" "$out"
echo
echo "pictures:"
echo "  $out/main-window.png"
echo "  $out/configuration.png"
