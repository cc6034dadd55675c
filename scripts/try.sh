#!/usr/bin/env bash
# Tries the plug-in: builds QvVorn.dll and our host (qvhost.exe) only, and
# opens the host's main window with the plug-in in it, under Wine on your X
# display. The Wine prefix lasts from run to run, so the host keeps its
# settings there as the mail client does: ${QVVORN_WINEPREFIX}, by default
# ${XDG_DATA_HOME:-~/.local/share}/qvvorn/wine, set up with Japanese fonts on
# the first run. Arguments go to qvhost.exe in place of the built QvVorn.dll;
# a relative path is relative to where you typed the command, and a file that
# is not there stops the script before anything is built.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QVVORN_BUILD:-$root/build}
prefix=${QVVORN_WINEPREFIX:-${XDG_DATA_HOME:-$HOME/.local/share}/qvvorn/wine}

if [[ -z "${DISPLAY:-}" ]]; then
  echo "try: the host opens a window: run this on an X display (DISPLAY is not set)" >&2
  exit 1
fi

# The host would only say so in a message box, in Japanese, inside Wine.
for arg in "$@"; do
  if [[ ! -f "$arg" ]]; then
    echo "try: $arg: no such file" >&2
    exit 1
  fi
done

QVVORN_TASK=try "$root/scripts/build.sh" qvhost

export LC_ALL=ja_JP.UTF-8 # Wine takes its ANSI code page, 932, from the locale
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=" # no offers to install .NET or a browser engine
export WINEPREFIX=$prefix

# Once, the first time: the prefix and its fonts.
if [[ ! -e "$prefix/.qvvorn-fonts" ]]; then
  echo "try: setting up the Wine prefix $prefix"
  mkdir -p "$prefix"
  wine wineboot </dev/null >/dev/null 2>&1
  source "$root/scripts/wine-fonts.sh"
  qvvorn_map_fonts
  touch "$prefix/.qvvorn-fonts"
fi

# A file named on the command line is the one where the command was typed:
# the host gets it as a full Windows path (a bare name alone would be looked
# for beside qvhost.exe first). Without arguments, the built QvVorn.dll.
args=()
for arg in "${@:-$build/QvVorn.dll}"; do
  args+=("$(winepath -w "$(realpath "$arg")")")
done
exec wine "$build/qvhost.exe" "${args[@]}"
