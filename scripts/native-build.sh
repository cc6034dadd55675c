#!/usr/bin/env bash
# Builds the portable product files for this machine with clang and the
# sanitizers, their tests and the fuzz targets, into ${QVVORN_NATIVE_BUILD}.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QVVORN_BUILD:-$root/build}
native=${QVVORN_NATIVE_BUILD:-$build/native}

cmake -S "$root/tests/native" -B "$native" -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$native" -- -j"$(nproc)"
