#!/usr/bin/env bash
# Runs a program under Wine as the tests and our hosts expect it:
#   scripts/wine-run.sh program.exe [argument...]
# It is CMake's emulator for the test programs (cmake/toolchain-*.cmake),
# and the `wine` of the shells that source scripts/wine-env.sh and of
# scripts/try.sh. The prefix is the caller's (WINEPREFIX).
set -euo pipefail

# The locale gives Wine its ANSI code page: ja_JP 932, C.UTF-8 1252. It is
# set for Wine alone: a shell that started before the locale was generated
# would warn that it cannot change to it.
locale=${QVVORN_WINE_LOCALE:-ja_JP.UTF-8}
# No offers to install .NET or a browser engine, and no debugger: a crashing
# program ends at once with a failure instead of waiting in winedbg.
exec env LC_ALL="$locale" WINEARCH=win32 WINEDEBUG=-all \
  WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d" wine "$@"
