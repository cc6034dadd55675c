# Sourced, with WINEPREFIX set: qvvorn_map_fonts makes that Wine prefix draw
# the faces of Japanese Windows with the IPA fonts, as on the user's screen.

qvvorn_map_fonts() {
  local root
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  # IPA Gothic: IPAGothic has fixed-width kana and kanji like MS Gothic,
  # IPAPGothic proportional ones like MS PGothic and MS UI Gothic. Wine's own
  # fonts bring Marlett, which draws the caption buttons.
  "$root/scripts/prepare.sh" try fonts-wine

  # The settings dialog asks for "MS UI Gothic", and so do menus, captions
  # and controls in the Japanese locale, some through "MS Shell Dlg".
  local replacements='HKCU\Software\Wine\Fonts\Replacements' face
  for face in "MS UI Gothic" "MS Shell Dlg" "MS PGothic"; do
    wine reg add "$replacements" /v "$face" /d IPAPGothic /f </dev/null >/dev/null 2>&1
  done
  wine reg add "$replacements" /v "MS Gothic" /d IPAGothic /f </dev/null >/dev/null 2>&1
  # Marlett is found only once it is installed in the prefix.
  cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts' \
    /v "Marlett (TrueType)" /d marlett.ttf /f </dev/null >/dev/null 2>&1
}
