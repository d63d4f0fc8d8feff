#!/usr/bin/env bash
# Compiles maps with the DOOM 3 engine's map compiler, headless, and checks the result.
# Usage: dmap-check.sh [--pk4 FILE]... [--noflood] [--require-materials] [--out DIR] MAP...
exec python3 "$(dirname "$0")/dmapcheck.py" "$@"
