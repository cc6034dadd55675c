#!/usr/bin/env bash
# Runs the sanitizer-built native tests of the portable product files.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QVVORN_BUILD:-$root/build}
native=${QVVORN_NATIVE_BUILD:-$build/native}

"$root/scripts/native-build.sh"
ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  "$native/native_tests" --gtest_brief=1
