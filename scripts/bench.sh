#!/usr/bin/env bash
# Builds the benchmark and runs it under Wine against the built QvVorn.dll:
# the context menu, a pick and load + unload, each against its floor, and
# the footprint, then one line per goal. A benchmark, not a test: it is not
# part of scripts/test.sh. QVVORN_BENCH_DLL names another DLL to measure.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QVVORN_BUILD:-$root/build}

"$root/scripts/build.sh" >/dev/null
cmake --build "$build" --target qvvorn_bench >/dev/null

# Everything from here runs on one processor, Wine's server included. Each
# registry call is a round trip to that server; across two processors its
# cost swings threefold from run to run with the wake-ups, and the loads
# measured against a module that does nothing would swing with it.
taskset -pc 0 $$ >/dev/null
source "$root/scripts/wine-env.sh"

cd "$build"
wine ./qvvorn_bench.exe "${QVVORN_BENCH_DLL:-QvVorn.dll}" | cat
