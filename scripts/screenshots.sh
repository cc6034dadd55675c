#!/usr/bin/env bash
# Regenerates the pictures in docs/images: the windowed host (qvhost.exe) with
# QvVorn.dll under Wine and Xvfb, with a Japanese font standing in for the
# faces that Japanese Windows uses (scripts/wine-fonts.sh), used as a person
# would by qvshots.exe.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QVVORN_BUILD:-$root/build}
images=${QVVORN_IMAGES:-$root/docs/images}

"$root/scripts/build.sh" qvshots

source "$root/scripts/wine-env.sh"
source "$root/scripts/wine-fonts.sh"
qvvorn_map_fonts

mkdir -p "$images"
cd "$build"
wine ./qvshots.exe ./qvhost.exe ./QvVorn.dll "$(winepath -w "$images")" </dev/null
