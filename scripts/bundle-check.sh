#!/usr/bin/env bash
# The test bundle as it would run on Windows, run under Wine's cmd after
# ctest, in the Wine setup of scripts/wine-env.sh (sourced by the caller):
#   - unpacked outside the build tree into a folder whose name holds spaces,
#     ( ) & % ! = and Japanese, under code page 932 it passes with the
#     programs, cases and skips that ctest reported; a test key that an
#     earlier run left is reported and removed without failing it; a change
#     of another of the mail client's values does not fail it, and its
#     VornMax and VornFolder stay byte for byte;
#   - in a prefix of code page 1252 it passes too, with the cases that need
#     932 skipped for that reason and no others; run there without
#     run-tests.cmd's allowance, those cases fail;
#   - where HKEY_CURRENT_USER cannot be redirected, a program stops before
#     any test and says why, and every program of bin\ started by hand so
#     leaves the mail client's key byte for byte;
#   - with a module swapped in that saves the mail client's values at every
#     unload (at exit too), or one that hangs in DllMain at load or at
#     unload, a run ends failing within its limits, with the mail client's
#     key byte for byte as seeded and no test key left;
#   - QVVORN_TEST_TIMEOUT=2 ends a longer program, naming its case, under
#     run-tests.cmd and under ctest;
#   - at 150 % (LogPixels 144) the GUI and window programs, also on Common
#     Controls 6, pass or skip only cases that name the scaling;
#   - a program missing from bin\ is reported as not run, a name that no
#     program has fails the run, and without bin\ it says to unpack the zip;
#   - with a QvVorn.dll whose arrows' step is taken out it fails, naming the
#     test that caught it, and a change of VornMax meanwhile fails it too,
#     with a command that puts the key back byte for byte;
#   - the bundle's readme is code page 932 text with CRLF line ends;
#   - nothing of its stays in the registry or the prefix's files;
#   - run-bench.cmd prints the benchmark's goal lines.
set -eEuo pipefail
# A command that stops the check says so, with where it was.
trap 'echo "bundle-check: stopped at line $LINENO${FUNCNAME:+ in $FUNCNAME}: $BASH_COMMAND" >&2' ERR
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QVVORN_BUILD:-$root/build}

# Wine started outside that setup would make or change ~/.wine.
if [[ ${WINEPREFIX:-} != /tmp/qvvorn-wine.* ]]; then
  echo "bundle-check: run it in the Wine setup of scripts/wine-env.sh, as scripts/test.sh" \
    "does (QVVORN_STEPS=bundle scripts/test.sh); WINEPREFIX is '${WINEPREFIX:-}'" >&2
  exit 2
fi

work=$(mktemp -d /tmp/qvvorn-bundle-check.XXXXXX) || exit 1
run1252=""
# On any exit: the runs in the background are stopped (their Wine
# ended, so its own setup cleans up) and waited for; when the check did not
# pass, what the runs printed stays in the build.
keep() {
  local status=$?
  if [[ -n $run1252 ]] && kill -0 "$run1252" 2>/dev/null; then
    touch "$work/stop"
    if [[ -f $work/background.wine ]]; then
      (source "$work/background.wine" && "$wineserver" -k) >/dev/null 2>&1 || true
    fi
    wait "$run1252" 2>/dev/null || true
  fi
  if ((status != 0)); then
    rm -rf "$build/bundle-check"
    mkdir -p "$build/bundle-check"
    (cd "$work" && find . \( -name '*.txt' -o -name '*.log' \) -exec cp --parents {} "$build/bundle-check" \;)
    echo "bundle-check: the runs' output is in $build/bundle-check" >&2
  fi
  rm -rf "$work"
}
trap keep EXIT
# Every failed check is said when it fails and again at the end.
failures=()
fail() {
  echo "bundle-check: $*" >&2
  failures+=("$*")
}
# build LOG TARGET...: a build whose output is shown only when it fails.
build_shown() {
  local log=$1
  shift
  if ! "$@" >"$log" 2>&1; then
    tail -n 40 "$log" >&2
    return 1
  fi
}

ctest_log=$work/ctest.log
cp "$build/Testing/Temporary/LastTest.log" "$ctest_log"
build_shown "$work/bench-build.log" cmake --build "$build" --target qvvorn_bench
# test-bundle.sh prints the zip's path alone, as its last line.
made=$("$root/scripts/test-bundle.sh")
echo "$made"
zip=${made##*$'\n'}
[[ $zip == *.zip && -f $zip ]] || {
  echo "bundle-check: test-bundle.sh's last line is not a zip: $zip" >&2
  exit 1
}

# The bundle's readme, for Notepad on a Japanese Windows: code page 932 text
# with CRLF line ends, naming the bundle's version.
python3 - "$zip" <<'PY' || fail "the bundle's readme.txt is not code page 932 text with CRLF naming its version"
import os, sys, zipfile
folder = os.path.basename(sys.argv[1])[:-4]
data = zipfile.ZipFile(sys.argv[1]).read(folder + "/readme.txt")
text = data.decode("cp932")
assert data.count(b"\n") == data.count(b"\r\n") == data.count(b"\r") > 0
assert folder.split("-")[-1] in text and "run-tests.cmd" in text
PY

# unpack FOLDER: a fresh copy of the bundle there; prints its own folder.
unpack() {
  mkdir -p "$1"
  python3 -m zipfile -e "$zip" "$1"
  echo "$1/$(basename "$zip" .zip)"
}
# run FOLDER [PROGRAM...]: run-tests.cmd there under wine cmd, its exit code
# in FOLDER/exit and what it printed in FOLDER/screen.txt. A run that has not
# ended after 15 minutes is a hang: it is killed, with exit code 124.
run() {
  local dir=$1 code=0
  shift
  (cd "$dir" && timeout -k 10 900 "$QVVORN_WINE_RUN" cmd /c run-tests.cmd "$@" </dev/null >"$dir/screen.txt" 2>&1) || code=$?
  echo "$code" >"$dir/exit"
}
exit_code() { cat "$1/exit"; }
# ended FOLDER: how run-tests.cmd ended there, with the cases that failed.
ended() {
  local cases
  cases=$(cat "$1"/results*.txt 2>/dev/null | tr -d '\r' | sed -n 's/^failed: //p' | paste -sd ' ' - || true)
  echo "exited $(exit_code "$1")${cases:+, failing $cases}"
}
# Under Wine the first program that opens a window starts the desktop
# process (explorer.exe /desktop), which keeps that program's output open
# until it ends: run-tests.cmd could then neither read nor remove the first
# log. So a program of ours opens a window first, with no output of ours,
# and a process kept alive beside the runs keeps that desktop up.
start_desktop() {
  wine cmd /c "ping -n 3600 127.0.0.1 >NUL" </dev/null >/dev/null 2>&1 &
  (cd "$1/bin" && wine unit_tests.exe "--gtest_filter=SettingsDialog*" </dev/null >/dev/null 2>&1) || true
}
prefix_files() { find "$WINEPREFIX/drive_c" -type f | sort; }
registry() { wine reg "$@" </dev/null 2>&1 || true; }
# screen_has FOLDER TEXT: run-tests.cmd printed a line holding TEXT.
screen_has() {
  local screen
  screen=$(tr -d '\r' <"$1/screen.txt")
  [[ $screen == *"$2"* ]]
}
compare() { python3 "$root/scripts/test-outcomes.py" compare "$ctest_log" "$1/results.txt" "${2:-}"; }

# The mail client's key as a user's machine has it: the plug-in's two values
# and another of the client's own.
client='HKCU\Software\Halvane\QV2\Settings'
seed_client() {
  registry add "$client" /v VornMax /t REG_DWORD /d 12 /f >/dev/null
  registry add "$client" /v VornFolder /t REG_SZ /d '受信箱\仕事*??*送信済み' /f >/dev/null
  registry add "$client" /v WindowWidth /t REG_DWORD /d 640 /f >/dev/null
}
client_values() { registry query "$client" /v VornMax && registry query "$client" /v VornFolder; }
# The mail client's key byte for byte, as reg exports it, into FILE.
export_client() { registry export "$client" "$1" /y >/dev/null; }
# client_kept FILE: the mail client's key is byte for byte as FILE holds it.
client_kept() {
  export_client "$work/client-now.reg"
  cmp -s "$1" "$work/client-now.reg"
}
# no_test_key WHAT: fails when a QvVornTests key is left.
no_test_key() {
  [[ $(registry query 'HKCU\Software\QvVornTests') == *QvVornTests* ]] || return 0
  fail "$1 left a key under HKCU\\Software\\QvVornTests"
  registry delete 'HKCU\Software\QvVornTests' /f >/dev/null
}
# run_while_changing FOLDER VALUE DATA [PROGRAM...]: run, with the mail
# client's DWORD VALUE set to DATA once the first program has started, after
# run-tests.cmd read the client's values.
run_while_changing() {
  local dir=$1 value=$2 data=$3 changer
  shift 3
  (
    for _ in $(seq 600); do
      compgen -G "$dir/work"'/*/' >/dev/null && break
      sleep 0.5
    done
    registry add "$client" /v "$value" /t REG_DWORD /d "$data" /f >/dev/null
  ) &
  changer=$!
  run "$dir" "$@"
  # A run that ended before any program started has nothing to change.
  kill "$changer" 2>/dev/null || true
  wait "$changer" 2>/dev/null || true
}

# proof_main_run FOLDER: the whole bundle under 932, with a test key left
# by an interrupted run and the mail client's settings changing meanwhile.
proof_main_run() {
  local dir=$1
  seed_client
  export_client "$work/client-before.reg"
  registry add 'HKCU\Software\QvVornTests\1' /f >/dev/null
  run_while_changing "$dir" WindowWidth 800
  [[ $(exit_code "$dir") == 0 ]] || fail "under code page 932 run-tests.cmd $(ended "$dir")"
  compare "$dir" || fail "under code page 932 the bundle's results differ from ctest's"
  screen_has "$dir" 'QvVornTests was there before this run' ||
    fail "run-tests.cmd did not report the test key that an earlier run left"
  screen_has "$dir" 'To put back VornMax' && fail "a run that kept the values gave a command to put them back"
  no_test_key "the main run"
  [[ $(registry query "$client" /v WindowWidth) == *0x320* ]] ||
    fail "the mail client's other value was not changed during the run, so that proves nothing"
  registry add "$client" /v WindowWidth /t REG_DWORD /d 640 /f >/dev/null
  client_kept "$work/client-before.reg" ||
    fail "VornMax or VornFolder changed: $(client_values)"
  echo "code page 932, in a folder named like '$(basename "$(dirname "$dir")")': exited $(exit_code "$dir"); $(grep '^run-tests: ' "$dir/screen.txt" || true)"
}

# refused FOLDER TEXT [PROGRAM...]: run-tests.cmd there fails, saying TEXT.
refused() {
  local dir=$1 text=$2
  shift 2
  run "$dir" "$@"
  [[ $(exit_code "$dir") != 0 ]] || fail "run-tests.cmd $* in $(basename "$dir") exited 0"
  screen_has "$dir" "$text" || fail "run-tests.cmd $* in $(basename "$dir") did not say: $text"
  echo "$(basename "$dir"): run-tests.cmd $* exited $(exit_code "$dir"), saying: $text"
}

# A typo beside a known name; a copy without model_tests.exe; run-tests.cmd
# alone, as Explorer's view of the zip runs it.
proof_refusals() {
  refused "$2" 'no program has these names: gui_testz' gui_tests gui_testz
  cp -r "$2" "$1/missing-program"
  rm "$1/missing-program/bin/model_tests.exe"
  refused "$1/missing-program" 'did not run: model_tests: bin\model_tests.exe is missing' model_tests unit_tests
  screen_has "$1/missing-program" '1 passed, 0 failed, 1 did not run' ||
    fail "run-tests.cmd's summary does not count the missing program as not run"
  mkdir -p "$1/no-bin"
  cp "$2/run-tests.cmd" "$1/no-bin"
  refused "$1/no-bin" 'Unpack the whole zip first'
}

# proof_sandbox_closed FOLDER: HKEY_CURRENT_USER cannot be redirected (a
# test key name longer than the registry takes), so dll_tests, which
# rewrites the mail client's key, stops before any test and says why; and
# every program of bin\, started by hand so, leaves the mail client's key
# byte for byte as it was.
proof_sandbox_closed() {
  local dir=$1/sandbox-closed program started=0
  local unreachable="Software\\QvVornTests\\$(printf 'x%.0s' $(seq 300))"
  cp -r "$2" "$dir"
  seed_client
  export_client "$work/client-before.reg"
  QVVORN_TEST_HKCU=$unreachable refused "$dir" \
    'did not run: dll_tests: cannot run: HKEY_CURRENT_USER could not be redirected' dll_tests
  for program in "$dir/bin/"*.exe; do
    (cd "$dir/bin" && QVVORN_TEST_HKCU=$unreachable QVVORN_TEST_TIMEOUT=20 timeout -k 10 60 \
      "$QVVORN_WINE_RUN" "$(basename "$program")" </dev/null >"$program.txt" 2>&1) || true
    started=$((started + 1))
  done
  client_kept "$work/client-before.reg" ||
    fail "with no redirection of HKEY_CURRENT_USER the mail client's key changed"
  no_test_key "a program started with no redirection"
  echo "HKEY_CURRENT_USER not redirected: $started programs of bin\\ started by hand; the mail client's key unchanged"
}

# proof_put_back FOLDER: after a run that saw VornMax change, the one command
# its summary gives, run in its folder, puts the mail client's key back byte
# for byte as it was seeded.
proof_put_back() {
  local dir=$1 command
  command=$(tr -d '\r' <"$dir/screen.txt" | grep -A1 '^To put back VornMax and VornFolder' | sed -n 's/^ *\(reg import .*\)$/\1/p')
  if [[ $command != "reg import settings-before-"*.reg ]]; then
    fail "after VornMax changed, run-tests.cmd gave no command that puts it back: '$command'"
    return
  fi
  (cd "$dir" && wine cmd /c "$command" </dev/null >/dev/null 2>&1) || fail "'$command' failed"
  client_kept "$work/client-seeded.reg" ||
    fail "'$command' did not put the mail client's key back as it was: $(client_values)"
  echo "after VornMax changed: '$command' put the mail client's key back byte for byte"
}

# proof_faulty_module FOLDER FAULT [PROGRAM...]: the bundle with a module that
# fails every test and writes the mail client's values at every unload (or,
# with FAULT hang-load or hang-unload, hangs in DllMain), swapped in for
# QvVorn.dll: the run ends failing, within its limits, with the mail
# client's key byte for byte as seeded and no test key left.
proof_faulty_module() {
  local dir=$1/faulty-$2 fault=$2 start=$SECONDS what
  shift 2
  case $fault in
    save) what="saves at every unload" ;;
    hang-load) what="hangs in DllMain at load" ;;
    *) what="hangs in DllMain at unload" ;;
  esac
  unpack "$dir" >/dev/null
  dir=$dir/$(basename "$zip" .zip)
  cp "$work/faulty-module.dll" "$dir/bin/QvVorn.dll"
  seed_client
  export_client "$work/client-before.reg"
  QVVORN_FAULT=$fault QVVORN_TEST_TIMEOUT=10 run "$dir" "$@"
  case $(exit_code "$dir") in
    0) fail "with a module that $what run-tests.cmd passed" ;;
    124) fail "with a module that $what run-tests.cmd did not end" ;;
  esac
  screen_has "$dir" 'run-tests: ' || fail "with a module that $what run-tests.cmd gave no verdict"
  client_kept "$work/client-before.reg" ||
    fail "with a module that $what the mail client's key changed: $(client_values)"
  no_test_key "a run with a module that $what"
  echo "a module that $what, ${*:-every program}: exited $(exit_code "$dir") after $((SECONDS - start)) s, the mail client's key unchanged; $(grep '^run-tests: ' "$dir/screen.txt" || true)"
}

# proof_watchdog FOLDER: a limit shorter than window_tests takes ends it
# with the case it was in, under run-tests.cmd and under ctest, and leaves
# no test key.
proof_watchdog() {
  local dir=$1/watchdog code=0 out
  cp -r "$2" "$dir"
  QVVORN_TEST_TIMEOUT=2 refused "$dir" 'timed out after 2 s in ' window_tests
  # ctest writes its log anew: the suite's own is kept for the skip report.
  cp "$build/Testing/Temporary/LastTest.log" "$work/LastTest.log"
  out=$(cd "$build" && QVVORN_TEST_TIMEOUT=2 ctest -R '^window_tests$' --output-on-failure 2>&1) || code=$?
  cp "$work/LastTest.log" "$build/Testing/Temporary/LastTest.log"
  ((code != 0)) && [[ $out == *"timed out after 2 s in "* ]] ||
    fail "under ctest window_tests with QVVORN_TEST_TIMEOUT=2 did not end timed out: $(tail -n 5 <<<"$out")"
  no_test_key "a program that timed out"
  local line=${out#*timed out after 2 s in }
  echo "QVVORN_TEST_TIMEOUT=2: window_tests ended under run-tests.cmd (exit $(exit_code "$dir")) and ctest, timed out after 2 s in ${line%%$'\n'*}"
}

# proof_no_allowance FOLDER: under 1252, a program run without run-tests.cmd's
# allowance fails the cases that need code page 932, naming them.
proof_no_allowance() {
  local dir=$1 code=0
  mkdir "$dir/no-allowance"
  (cd "$dir/no-allowance" && wine ../bin/unit_tests.exe </dev/null >"$dir/no-allowance.txt" 2>&1) || code=$?
  echo "$code" >"$dir/no-allowance.exit"
}
# The cases that failed there are the ones that run-tests.cmd's run, with the
# allowance, skipped for code page 932.
check_no_allowance() {
  local dir=$1 line failed=() skipped=" "
  while IFS= read -r line; do
    line=${line%$'\r'}
    [[ $line == *"needs ANSI code page 932"* && $line =~ ^skipped:\ ([^:]+): ]] &&
      skipped+="${BASH_REMATCH[1]} "
  done <"$dir/results.txt"
  while IFS= read -r line; do
    line=${line%$'\r'}
    [[ $line =~ ^failed:\ (.+)$ ]] && failed+=("${BASH_REMATCH[1]}")
  done <"$dir/no-allowance.txt"
  if [[ $(cat "$dir/no-allowance.exit") == 0 || ${#failed[@]} == 0 ]]; then
    fail "under 1252 unit_tests without the allowance did not fail"
    return
  fi
  for line in "${failed[@]}"; do
    [[ $skipped == *" $line "* ]] || fail "under 1252 unit_tests without the allowance failed $line, not a case that needs 932"
  done
  echo "code page 1252 without run-tests.cmd's allowance: unit_tests exited $(cat "$dir/no-allowance.exit"), failing ${failed[*]}"
}

# proof_scaled FOLDER: at 150 % (LogPixels 144), in a prefix of its own
# under 932, the window programs pass, or skip only cases that name the
# scaling.
proof_scaled() {
  local dir=$1
  registry add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null
  start_desktop "$dir"
  run "$dir" gui_tests window_tests gui_tests_cc6 window_tests_cc6
}
check_scaled() {
  local dir=$1 others
  [[ $(exit_code "$dir") == 0 ]] || fail "at 150 % run-tests.cmd $(ended "$dir")"
  others=$(grep '^skipped: ' "$dir/results-partial.txt" | grep -v -e 'scaled to' -e 'left out of the test bundle' || true)
  [[ -z $others ]] || fail "at 150 % cases were skipped for another reason: $others"
  grep -q '^display scaling: 144 dpi' "$dir/results-partial.txt" || fail "at 150 % the facts do not say 144 dpi"
  echo "display scaled to 150 %: exited $(exit_code "$dir"); $(grep '^run-tests: ' "$dir/screen.txt" || true)"
}

dir1252=$(unpack "$work/cp1252")
dirscaled=$(unpack "$work/scaled")
# The runs under 1252 and at 150 %, one after the other beside the ones
# under 932: each in a prefix and on a display of its own. background notes
# the Wine setup in use for keep(), which stops it; a stop file keeps the
# next step from starting.
background() { printf 'export WINEPREFIX=%q\nwineserver=%q\n' "$WINEPREFIX" "$qvvorn_wineserver" >"$work/background.wine"; }
(
  (
    unset DISPLAY
    QVVORN_WINE_LOCALE=C.UTF-8 source "$root/scripts/wine-env.sh" && background &&
      start_desktop "$dir1252" && run "$dir1252" && [[ ! -e $work/stop ]] &&
      proof_no_allowance "$dir1252"
  ) || true
  [[ -e $work/stop ]] || (
    unset DISPLAY
    source "$root/scripts/wine-env.sh" && background && proof_scaled "$dirscaled"
  ) || true
) &
run1252=$!

dir=$(unpack "$work/cp932/QvVorn tests (1) & %PATH% !x! =y= 日本語")
start_desktop "$dir"
before=$(prefix_files)
unpacked=$( (cd "$work/cp932" && find . -type f | sort))
proof_main_run "$dir"
after=$(prefix_files)
[[ "$before" == "$after" ]] || fail "files in the prefix changed: $(diff <(echo "$before") <(echo "$after") || true)"
# In its folder, only results.txt and the copy of the mail client's values
# more (screen.txt and exit are this script's), and nothing beside the
# folder.
left=$(comm -13 <(echo "$unpacked") <(cd "$work/cp932" && find . -type f | sort) |
  grep -v -e '/results.txt$' -e '/settings-before-[0-9-]*\.reg$' -e '/screen.txt$' -e '/exit$' || true)
[[ -z $left ]] || fail "the run left files behind: $left"
proof_refusals "$work" "$dir"
proof_sandbox_closed "$work" "$dir"
proof_watchdog "$work" "$dir"
if build_shown "$work/faulty-module.log" "${QVVORN_CC:-i686-w64-mingw32-gcc}" -O2 -shared -static-libgcc \
  -Wl,--kill-at -o "$work/faulty-module.dll" "$root/tests/scripts/faulty_module.c" -lcomctl32; then
  proof_faulty_module "$work" save
  proof_faulty_module "$work" hang-load dll_tests window_tests
  proof_faulty_module "$work" hang-unload dll_tests window_tests
else
  fail "the faulty module could not be built (its output is above)"
fi

wait "$run1252" || true
run1252=""
dir=$dir1252
[[ -f $dir/exit ]] || echo "no Wine for code page 1252" >"$dir/exit"
[[ $(exit_code "$dir") == 0 ]] || fail "under code page 1252 run-tests.cmd $(ended "$dir")"
compare "$dir" 932 || fail "under code page 1252 the bundle's results differ from ctest's"
skips=$(grep -c "needs ANSI code page 932" "$dir/screen.txt" || true)
echo "code page 1252: $skips cases skipped for code page 932; $(grep '^run-tests: ' "$dir/screen.txt" || true)"
((skips > 0)) || fail "under code page 1252 no case said it needs code page 932"
check_no_allowance "$dir"
[[ -f $dirscaled/exit ]] || echo "no Wine at 150 %" >"$dirscaled/exit"
check_scaled "$dirscaled"

# A module with a known fault: the settings dialog's arrows no longer step
# the number the box shows.
tree=$work/faulty-tree
"$root/scripts/copy-tree.sh" "$root" "$tree"
sed -i 's/header->code == UDN_DELTAPOS/false/' "$tree/src/ui/settings_dialog.cpp"
if cmp -s "$root/src/ui/settings_dialog.cpp" "$tree/src/ui/settings_dialog.cpp"; then
  fail "the fault could not be put into the settings dialog"
elif ! build_shown "$work/faulty-build.log" cmake -S "$tree" -B "$work/faulty-build" -G Ninja \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$tree/cmake/toolchain-i686-mingw.cmake" \
  -DQVVORN_MODULE_ONLY=ON -DQVVORN_THREAD_MODEL=win32 -DQVVORN_TEST_BUILD_MODULE=ON ||
  ! build_shown "$work/faulty-build.log" cmake --build "$work/faulty-build" --target QvVorn; then
  fail "the module with the fault could not be built (its output is above)"
else
  dir=$(unpack "$work/faulty")
  cp "$work/faulty-build/QvVorn.dll" "$dir/bin/QvVorn.dll"
  seed_client
  export_client "$work/client-seeded.reg"
  # The same run shows that a change of the plug-in's own value fails it.
  run_while_changing "$dir" VornMax 13 gui_tests
  if [[ $(exit_code "$dir") == 0 ]]; then
    fail "a module without the arrows' step passes the bundle"
  elif ! grep -q "^failed: SettingsDialogGui.Arrows" "$dir/results-partial.txt"; then
    fail "results-partial.txt does not name the arrows' test that the faulty module fails"
  else
    echo "a module without the arrows' step: run-tests.cmd exited $(exit_code "$dir"), $(grep -c "^failed: " "$dir/results-partial.txt") cases failed"
  fi
  screen_has "$dir" "FAILED: the mail client's value VornMax" ||
    fail "VornMax changed during a run, and run-tests.cmd did not say so"
  proof_put_back "$dir"
fi

# The benchmark prints its goal lines.
dir=$(unpack "$work/bench")
(cd "$dir" && wine cmd /c run-bench.cmd </dev/null >"$dir/bench.txt" 2>&1) || true
if ! grep -q "^goals met: [0-9]* of [0-9]*" "$dir/bench.txt"; then
  fail "run-bench.cmd printed no goal lines: $(tail -n 5 "$dir/bench.txt")"
else
  echo "run-bench.cmd: $(grep "^goals met" "$dir/bench.txt")"
fi
((${#failures[@]} == 0)) || {
  echo "bundle-check: ${#failures[@]} checks failed:"
  printf '  %s\n' "${failures[@]}"
  exit 1
} >&2
