#!/usr/bin/env bash
# Builds QvVorn.dll a second time, with clang for i686-w64-mingw32, and
# fails on any warning (product code also has -Werror).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QVVORN_BUILD:-$root/build}
clang_build=${QVVORN_CLANG_BUILD:-$build/clang}

cmake -S "$root" -B "$clang_build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-i686-clang.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
log="$clang_build/build.log"
cmake --build "$clang_build" --target QvVorn -- -j"$(nproc)" 2>&1 | tee "$log"
if grep -qi 'warning:' "$log"; then
  echo "clang build: warnings above"
  exit 1
fi
