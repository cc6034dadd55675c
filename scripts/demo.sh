#!/usr/bin/env bash
# Builds QvVorn.dll and shows it working inside our own small host.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QVVORN_BUILD:-$root/build}

# The module and our hosts only, and an X server for Wine when there is no
# display: no tests, so neither GoogleTest nor clang is installed.
"$root/scripts/prepare.sh" try xvfb xauth
QVVORN_TASK=try "$root/scripts/build.sh" qvdemo
source "$root/scripts/wine-env.sh"

cd "$build"
# Through a pipe: on a terminal Wine's console would re-encode the UTF-8 output.
wine ./qvdemo.exe ./QvVorn.dll | cat
