#!/usr/bin/env bash
# Compiles maps with the DOOM 3 engine's map compiler, headless, and checks the result.
# Usage: dmap-check.sh [--pk4 FILE]... [--noflood] [--opt] [--require-materials] [--require-door-portals]
#        [--seconds-per-map N] [--out DIR] [--keep] [--jobs N] MAP...
exec python3 "$(dirname "$0")/dmapcheck.py" "$@"
