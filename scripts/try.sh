#!/usr/bin/env bash
# Tries the plug-in: builds QvVorn.dll and our host (qvhost.exe) only, and
# opens the host's main window with the plug-in in it, under Wine on your X
# display. The Wine prefix lasts from run to run, so the host keeps its
# settings there as the mail client does: ${QVVORN_WINEPREFIX}, by default
# ${XDG_DATA_HOME:-~/.local/share}/qvvorn/wine, set up with Japanese fonts on
# the first run. Arguments go to qvhost.exe in place of the built QvVorn.dll;
# a relative path is relative to where you typed the command, and one that is
# not a 32-bit Windows DLL (a folder, a missing file, a program, a 64-bit
# module) stops the script with a message before anything is built.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QVVORN_BUILD:-$root/build}
prefix=${QVVORN_WINEPREFIX:-${XDG_DATA_HOME:-$HOME/.local/share}/qvvorn/wine}

# The unsigned little-endian number in the $3 bytes at offset $2 of file $1;
# fails when the file ends before them.
le_number() {
  local out bytes value=0 i
  out=$(od -An -v -tu1 -j "$2" -N "$3" -- "$1" 2>/dev/null) || return 1
  read -ra bytes <<<"$out"
  ((${#bytes[@]} == $3)) || return 1
  for ((i = $3 - 1; i >= 0; i--)); do value=$((value * 256 + bytes[i])); done
  echo "$value"
}

# What the file is, from its headers, when it is not a 32-bit x86 Windows
# DLL; nothing when it is one. The DOS header's "MZ", at 0x3C the offset of
# the "PE\0\0" signature, then the file header's machine and characteristics.
not_a_dll() {
  local pe machine flags
  if [[ $(le_number "$1" 0 2) != $((0x5A4D)) ]]; then
    echo "not a Windows program (no MZ header)"
  elif ! pe=$(le_number "$1" 0x3C 4) || [[ $(le_number "$1" "$pe" 4) != $((0x4550)) ]]; then
    echo "not a Windows program (an MZ header but no PE header: an MS-DOS program, or cut short)"
  elif ! machine=$(le_number "$1" $((pe + 4)) 2) || ! flags=$(le_number "$1" $((pe + 22)) 2); then
    echo "a Windows module cut short (its PE header ends early)"
  else
    case $(printf %04x "$machine") in
      014c) ((flags & 0x2000)) || echo "a Windows program, not a DLL" ;;
      8664) echo "a 64-bit (x86-64) Windows module, not 32-bit" ;;
      aa64) echo "a 64-bit (ARM64) Windows module, not 32-bit x86" ;;
      *) printf 'a Windows module for another processor (machine 0x%04x), not 32-bit x86\n' "$machine" ;;
    esac
  fi
}

# The host would only say so in a message box, in Japanese, inside Wine.
for arg in "$@"; do
  if [[ -d $arg ]]; then
    problem="is a folder"
  elif [[ ! -e $arg ]]; then
    problem="no such file"
  elif [[ ! -f $arg || ! -r $arg ]]; then
    problem="not a file that can be read"
  else
    problem=$(not_a_dll "$arg")
  fi
  if [[ -n $problem ]]; then
    echo "try: $arg: $problem" >&2
    exit 1
  fi
done

if [[ -z "${DISPLAY:-}" ]]; then
  echo "try: the host opens a window: run this on an X display (DISPLAY is not set)" >&2
  exit 1
fi

QVVORN_TASK=try "$root/scripts/build.sh" qvhost

# Wine with the code page and settings of the tests (and wine-fonts.sh's).
export WINEPREFIX=$prefix
wine() { "$root/scripts/wine-run.sh" "$@"; }

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
  args+=("$(wine winepath.exe -w "$(realpath "$arg")" </dev/null 2>/dev/null)")
done
exec "$root/scripts/wine-run.sh" "$build/qvhost.exe" "${args[@]}"
