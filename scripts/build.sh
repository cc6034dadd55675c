#!/usr/bin/env bash
# Cross-compiles QvVorn.dll, our host and the tests into ${QVVORN_BUILD:-build};
# with target names (e.g. qvhost), only those and what they need.
# The compile commands land in that folder too (compile_commands.json).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QVVORN_BUILD:-$root/build}

# QVVORN_TASK=try (scripts/try.sh) installs and configures no more than the
# module and our host need: no tests, so neither GoogleTest nor clang.
task=${QVVORN_TASK:-test}
"$root/scripts/prepare.sh" "$task"
tests=ON
[[ $task == test ]] || tests=OFF
cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-i686-mingw.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_EXPORT_COMPILE_COMMANDS=ON -DBUILD_TESTING=$tests >/dev/null
if (($#)); then
  cmake --build "$build" --target "$@" -- -j"$(nproc)"
else
  cmake --build "$build" -- -j"$(nproc)"
fi
