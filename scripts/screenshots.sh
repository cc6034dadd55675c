#!/usr/bin/env bash
# Regenerates the pictures in docs/images: the windowed host (qvhost.exe) with
# QvVorn.dll under Wine and Xvfb, with a Japanese font standing in for the
# faces that Japanese Windows uses, used as a person would by qvshots.exe.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QVVORN_BUILD:-$root/build}
images=${QVVORN_IMAGES:-$root/docs/images}

"$root/scripts/build.sh"

# IPA Gothic: IPAGothic has fixed-width kana and kanji like MS Gothic,
# IPAPGothic proportional ones like MS PGothic and MS UI Gothic. Wine's own
# fonts bring Marlett, which draws the caption buttons.
"$root/scripts/prepare.sh" fonts-ipafont-gothic fonts-wine

source "$root/scripts/wine-env.sh"

quiet() { "$@" </dev/null >/dev/null 2>&1; }
# Wine draws the faces of Japanese Windows with the IPA fonts instead: the
# settings dialog asks for "MS UI Gothic", and so do menus, captions and
# controls in the Japanese locale, some through "MS Shell Dlg".
replacements='HKCU\Software\Wine\Fonts\Replacements'
for face in "MS UI Gothic" "MS Shell Dlg" "MS PGothic"; do
  quiet wine reg add "$replacements" /v "$face" /d IPAPGothic /f
done
quiet wine reg add "$replacements" /v "MS Gothic" /d IPAGothic /f
# Marlett is found only once it is installed in the prefix.
cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
quiet wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts' \
  /v "Marlett (TrueType)" /d marlett.ttf /f

mkdir -p "$images"
cd "$build"
wine ./qvshots.exe ./qvhost.exe ./QvVorn.dll "$(winepath -w "$images")" </dev/null
