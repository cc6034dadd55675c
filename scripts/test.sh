#!/usr/bin/env bash
# Builds everything and runs the whole test suite under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QVVORN_BUILD:-$root/build}

"$root/scripts/build.sh"
source "$root/scripts/wine-env.sh"

cd "$build"
ctest --output-on-failure --timeout 300 "$@"
