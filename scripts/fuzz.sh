#!/usr/bin/env bash
# Bounded, seeded runs of every fuzz target that the native build made.
# A finding stops its target; the input is kept under fuzz-artifacts/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QVVORN_BUILD:-$root/build}
native=${QVVORN_NATIVE_BUILD:-$build/native}
seed=${QVVORN_FUZZ_SEED:-1}

"$root/scripts/native-build.sh" >/dev/null

# The number box targets take tiny inputs and run far faster.
runs_for() {
  case "$1" in
    folder_list_fuzz) echo 200000 ;;
    *) echo 1000000 ;;
  esac
}

artifacts="$native/fuzz-artifacts"
mkdir -p "$artifacts"
status=0
while read -r target; do
  [[ -n "$target" ]] || continue
  runs=${QVVORN_FUZZ_RUNS:-$(runs_for "$target")}
  log="$artifacts/$target.log"
  start=$EPOCHREALTIME
  if (cd "$artifacts" && "$native/fuzz/$target" -runs="$runs" -seed="$seed" \
        -artifact_prefix="$artifacts/$target-" >"$log" 2>&1); then
    printf 'fuzz %-22s %8d runs, seed %s, %5.1f s\n' "$target" "$runs" "$seed" \
      "$(awk "BEGIN { print $EPOCHREALTIME - $start }")"
  else
    echo "fuzz $target FAILED (log: $log):"
    tail -n 30 "$log"
    status=1
  fi
done <"$native/fuzz_targets.txt"
exit $status
