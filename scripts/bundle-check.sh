#!/usr/bin/env bash
# The test bundle as it would run on Windows, run under Wine's cmd after
# ctest, in the Wine setup of scripts/wine-env.sh (sourced by the caller):
#   - unpacked outside the build tree, under code page 932 it passes with
#     the programs, cases and skips that ctest reported;
#   - in a prefix of code page 1252 it passes too, with the cases that need
#     932 skipped for that reason and no others;
#   - with a QvVorn.dll whose arrows' step is taken out it fails, naming the
#     test that caught it;
#   - nothing of its stays in the registry or the prefix's files;
#   - run-bench.cmd prints the benchmark's goal lines.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QVVORN_BUILD:-$root/build}

work=$(mktemp -d /tmp/qvvorn-bundle-check.XXXXXX) || exit 1
# What the runs printed stays in the build when the check fails.
keep() {
  if ((failed)); then
    rm -rf "$build/bundle-check"
    mkdir -p "$build/bundle-check"
    (cd "$work" && find . \( -name '*.txt' -o -name ctest.log \) -exec cp --parents {} "$build/bundle-check" \;)
    echo "bundle-check: the runs' output is in $build/bundle-check" >&2
  fi
  rm -rf "$work"
}
failed=0
trap keep EXIT
ctest_log=$work/ctest.log
cp "$build/Testing/Temporary/LastTest.log" "$ctest_log"
"$root/scripts/test-bundle.sh"
zip=$build/QvVorn-tests-$(tr -d '\r\n' <"$root/packaging/VERSION").zip

# unpack FOLDER: a fresh copy of the bundle there; prints its own folder.
unpack() {
  mkdir -p "$1"
  python3 -m zipfile -e "$zip" "$1"
  echo "$1/$(basename "$zip" .zip)"
}
# run FOLDER [PROGRAM...]: run-tests.cmd there under wine cmd, its exit code
# in FOLDER/exit.
run() {
  local dir=$1 code=0
  shift
  (cd "$dir" && wine cmd /c run-tests.cmd "$@" </dev/null >"$dir/screen.txt" 2>&1) || code=$?
  echo "$code" >"$dir/exit"
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
fail() {
  echo "bundle-check: $*" >&2
  failed=1
}

# compare FOLDER [932]: run-tests.cmd's results.txt there against ctest's
# log, each program's passed cases and skipped ones. A skip that ctest did not
# have is an error, or with 932 given, must say it needs code page 932.
compare() {
  python3 - "$ctest_log" "$1/results.txt" "${2:-}" <<'EOF'
import re, sys

def outcomes(text, start):
    programs = {}
    for block in re.split(start, text)[1:]:
        name, body = block.split("\n", 1)
        passed = len(re.findall(r"^\[       OK \] ", body, re.M))
        skips = dict(re.findall(r"^skipped: (\S+): (.*)$", body, re.M))
        programs[name.split(":")[0].strip()] = (passed, skips)
    return programs

ctest = outcomes(open(sys.argv[1]).read(), r"\n\d+/\d+ Testing: ")
bundle = outcomes(open(sys.argv[2], encoding="latin-1").read().replace("\r\n", "\n"), r"\n==== (?=\S+: bin\\)")
extra_for_932 = sys.argv[3] == "932"
errors = []
for name in sorted(set(ctest) | set(bundle)):
    if name not in ctest:
        errors.append(f"{name}: ran only in the bundle")
        continue
    if name not in bundle:
        if ctest[name] != (0, {}):  # not a script test, which has no cases
            errors.append(f"{name}: ran only under ctest")
        continue
    (c_passed, c_skips), (b_passed, b_skips) = ctest[name], bundle[name]
    extra = {k: v for k, v in b_skips.items() if k not in c_skips}
    if set(c_skips) - set(b_skips):
        errors.append(f"{name}: ctest skipped {sorted(set(c_skips) - set(b_skips))}, the bundle ran them")
    if extra and not extra_for_932:
        errors.append(f"{name}: skipped only in the bundle: {extra}")
    for case, reason in extra.items():
        if "needs ANSI code page 932" not in reason:
            errors.append(f"{name}: {case} skipped for another reason: {reason}")
    if b_passed + len(extra) != c_passed:
        errors.append(f"{name}: {b_passed} passed and {len(extra)} more skipped in the bundle, {c_passed} passed under ctest")
print("\n".join(errors), file=sys.stderr)
sys.exit(1 if errors else 0)
EOF
}

# Code page 1252 in a prefix and on a display of its own, beside the run
# under 932 in the caller's prefix: each run is one program at a time.
dir1252=$(unpack "$work/cp1252")
(
  unset DISPLAY
  QVVORN_WINE_LOCALE=C.UTF-8 source "$root/scripts/wine-env.sh" && start_desktop "$dir1252" &&
    run "$dir1252"
) &
run1252=$!

dir=$(unpack "$work/cp932")
start_desktop "$dir"
before=$(prefix_files)
unpacked=$( (cd "$work/cp932" && find . -type f | sort) )
run "$dir"
[[ $(cat "$dir/exit") == 0 ]] || fail "under code page 932 run-tests.cmd exited $(cat "$dir/exit")"
compare "$dir" || fail "under code page 932 the bundle's results differ from ctest's"
[[ $(wine reg query 'HKCU\Software\QvVornTests' 2>&1 || true) == *QvVornTests* ]] &&
  fail "the test programs' registry key is still there"
after=$(prefix_files)
[[ "$before" == "$after" ]] || fail "files in the prefix changed: $(diff <(echo "$before") <(echo "$after") || true)"
# In its folder, only results.txt more (screen.txt and exit are this
# script's), and nothing beside the folder.
left=$(comm -13 <(echo "$unpacked") <(cd "$work/cp932" && find . -type f | sort) |
  grep -v -e '/results.txt$' -e '/screen.txt$' -e '/exit$' || true)
[[ -z $left ]] || fail "the run left files behind: $left"
tail -n 2 "$dir/screen.txt"

wait "$run1252" || true
dir=$dir1252
[[ -f $dir/exit ]] || echo "no Wine for code page 1252" >"$dir/exit"
[[ $(cat "$dir/exit") == 0 ]] || fail "under code page 1252 run-tests.cmd exited $(cat "$dir/exit")"
compare "$dir" 932 || fail "under code page 1252 the bundle's results differ from ctest's"
skips=$(grep -c "needs ANSI code page 932" "$dir/screen.txt" || true)
echo "code page 1252: $skips cases skipped for code page 932; $(tail -n 2 "$dir/screen.txt" | head -n 1)"
((skips > 0)) || fail "under code page 1252 no case said it needs code page 932"

# A module with a known fault: the settings dialog's arrows no longer step
# the number the box shows.
tree=$work/faulty-tree
mkdir -p "$tree"
cp -r "$root/CMakeLists.txt" "$root/cmake" "$root/src" "$root/res" "$tree"
sed -i 's/header->code == UDN_DELTAPOS/false/' "$tree/src/ui/settings_dialog.cpp"
if cmp -s "$root/src/ui/settings_dialog.cpp" "$tree/src/ui/settings_dialog.cpp"; then
  fail "the fault could not be put into the settings dialog"
else
  cmake -S "$tree" -B "$work/faulty-build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$tree/cmake/toolchain-i686-mingw.cmake" -DQVVORN_MODULE_ONLY=ON \
    -DQVVORN_THREAD_MODEL=win32 -DQVVORN_TEST_BUILD_MODULE=ON >/dev/null
  cmake --build "$work/faulty-build" --target QvVorn >/dev/null
  dir=$(unpack "$work/faulty")
  cp "$work/faulty-build/QvVorn.dll" "$dir/bin/QvVorn.dll"
  run "$dir" gui_tests
  if [[ $(cat "$dir/exit") == 0 ]]; then
    fail "a module without the arrows' step passes the bundle"
  elif ! grep -q "^failed: SettingsDialogGui.Arrows" "$dir/results.txt"; then
    fail "results.txt does not name the arrows' test that the faulty module fails"
  else
    echo "a module without the arrows' step: run-tests.cmd exited $(cat "$dir/exit"), $(grep -c "^failed: " "$dir/results.txt") cases failed"
  fi
fi

# The benchmark prints its goal lines.
dir=$(unpack "$work/bench")
(cd "$dir" && wine cmd /c run-bench.cmd </dev/null >"$dir/bench.txt" 2>&1) || true
if ! grep -q "^goals met: [0-9]* of [0-9]*" "$dir/bench.txt"; then
  fail "run-bench.cmd printed no goal lines: $(tail -n 5 "$dir/bench.txt")"
else
  echo "run-bench.cmd: $(grep "^goals met" "$dir/bench.txt")"
fi
exit $failed
