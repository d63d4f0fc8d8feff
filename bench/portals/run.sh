#!/usr/bin/env bash
# The optimised map compile (dmap noflood, as the road runs it) of the five largest Freedoom
# levels with the converter's visportals and again without them (the same map with its
# portal brushes left out by strip_portals.py): processor time, wall time, the compiler's own
# seconds, areas and portals, one engine start at a time. Slow: many minutes per level.
#
#   bench/portals/run.sh [BUILD_DIR] [COUNT]
#
# BUILD_DIR (default: build/bench) is configured with the native preset when it has no build
# yet; only zaro3, scorvel and the definitions package are built. COUNT defaults to 5.
set -euo pipefail
DMAP_BENCH_WITHOUT_PORTALS=1 exec bash "$(dirname "$0")/../dmap/run.sh" "$@"
