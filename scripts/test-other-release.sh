#!/usr/bin/env bash
# Runs the test command (scripts/test.sh) on another Debian release: by
# default the other supported one (Debian 13 on a Debian 12 machine, 12 on a
# 13 one), or the suite named first (e.g. "sid"; arguments after it, or all of
# them when the first starts with "-", go to scripts/test.sh). It runs in a
# root of that release, made with debootstrap from Debian's packages and kept
# in ${QVVORN_ROOTS:-/var/cache/qvvorn}/<suite> for the next run
# (QVVORN_FRESH_ROOT=1 makes it anew, QVVORN_KEEP_ROOT=0 removes it
# afterwards), with this tree copied into it. Needs root. The mounts and the
# copy go when it ends, however it ends.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

if [[ $(id -u) -ne 0 ]]; then
  echo "test-other-release: makes and enters a Debian root: run it as root" >&2
  exit 1
fi
if (($#)) && [[ $1 != -* ]]; then
  suite=$1
  shift
  if [[ ! $suite =~ ^[a-z][a-z0-9-]*$ ]]; then
    echo "test-other-release: '$suite' is not a Debian suite name" >&2
    exit 2
  fi
else
  . /etc/os-release
  case "${VERSION_CODENAME:-}" in
    bookworm) suite=trixie ;;
    trixie) suite=bookworm ;;
    *)
      echo "test-other-release: this is ${PRETTY_NAME:-an unknown system}, not Debian 12 or 13; name a suite" >&2
      exit 1
      ;;
  esac
fi
"$root/scripts/prepare.sh" none debootstrap

roots=${QVVORN_ROOTS:-/var/cache/qvvorn}
target=$roots/$suite
work=/srv/qvvorn

# The mounts under the root, deepest first.
mounts_under() { awk -v t="$1" '$2 == t || index($2, t "/") == 1 { print $2 }' /proc/mounts | sort -r; }
leave_root() {
  # Whatever still runs in the root (a wineserver, an X server) ends first.
  for proc in /proc/[0-9]*; do
    [[ "$(readlink "$proc/root" 2>/dev/null)" == "$target" ]] && kill -9 "${proc#/proc/}" 2>/dev/null
  done
  local mount
  for mount in $(mounts_under "$target"); do
    umount "$mount" 2>/dev/null || umount -l "$mount"
  done
  if [[ -n "$(mounts_under "$target")" ]]; then
    echo "test-other-release: $target still has mounts; it is left as it is" >&2
    return 1
  fi
  rm -rf "${target:?}$work"
  if [[ "${QVVORN_KEEP_ROOT:-1}" == 0 ]]; then
    rm -rf "${target:?}"
  fi
}

start=$SECONDS
if [[ "${QVVORN_FRESH_ROOT:-0}" == 1 || ! -e "$target/.qvvorn-root" ]]; then
  [[ -z "$(mounts_under "$target")" ]] || leave_root
  # A debootstrap that failed may have left its own mounts in the new root.
  for mount in $(mounts_under "$target.new"); do umount "$mount" || umount -l "$mount"; done
  rm -rf "$target" "$target.new"
  mkdir -p "$roots"
  echo "test-other-release: making a Debian $suite root in $target"
  debootstrap --variant=minbase "$suite" "$target.new" >"$roots/$suite-debootstrap.log" 2>&1 ||
    { tail -n 20 "$roots/$suite-debootstrap.log"; exit 1; }
  # The suites that change daily may come from a mirror's snapshot whose
  # index is past its Valid-Until date; this root's apt takes it all the same.
  case "$suite" in
    bookworm | trixie) ;;
    *) echo 'Acquire::Check-Valid-Until "false";' >"$target.new/etc/apt/apt.conf.d/99qvvorn-snapshot" ;;
  esac
  touch "$target.new/.qvvorn-root"
  mv "$target.new" "$target"
fi
made=$((SECONDS - start))

trap leave_root EXIT
mount -t proc proc "$target/proc"
mount --rbind /sys "$target/sys"
mount --make-rslave "$target/sys"
mount --rbind /dev "$target/dev"
mount --make-rslave "$target/dev"
# The root reaches the network as this machine does: with its resolver, and
# trusting the certificate authorities added here (/usr/local/share/
# ca-certificates), such as a proxy's that npm's registry is reached through.
# Debian's ca-certificates takes them in when prepare.sh installs it in the
# root, or below when the root already has it.
cp /etc/resolv.conf "$target/etc/resolv.conf"
if [[ -d /usr/local/share/ca-certificates ]]; then
  mkdir -p "$target/usr/local/share/ca-certificates"
  cp -a /usr/local/share/ca-certificates/. "$target/usr/local/share/ca-certificates/"
fi

# This tree as it is, build output and all that git ignores left out.
rm -rf "${target:?}$work"
"$root/scripts/copy-tree.sh" "$root" "$target$work"

# The packages and the build first, each timed; scripts/test.sh finds both done.
in_root() {
  chroot "$target" /usr/bin/env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    HOME=/root LANG=C.UTF-8 CI="${CI:-}" QVVORN_STEPS="${QVVORN_STEPS:-}" "$@"
}
if [[ -x $target/usr/sbin/update-ca-certificates ]] && ! out=$(in_root update-ca-certificates 2>&1); then
  printf '%s\n' "$out" >&2
  exit 1
fi
start=$SECONDS
in_root bash "$work/scripts/prepare.sh"
packages=$((SECONDS - start))
start=$SECONDS
in_root bash "$work/scripts/build.sh"
built=$((SECONDS - start))
echo "test-other-release: Debian $suite: the root took $made s, its packages $packages s, the build $built s"

# What the test command keeps in the build for a failure (ctest's log, the
# bundle check's runs) goes with the copy of the tree: the end of each failed
# program's output, and of each kept file, is shown on standard error first.
show_kept_output() {
  local build=$target$work/build file
  local log=$build/Testing/Temporary/LastTest.log
  if [[ -f $log ]]; then
    awk -v lines="$kept_lines" '
      /^[0-9]+\/[0-9]+ Testing: / { name = $3; n = 0; next }
      /^Output:$/ { getline; output = 1; n = 0; next }
      /^<end of output>$/ { output = 0; next }
      output { kept[++n] = $0; next }
      name != "" && /^Test [A-Z]/ {
        if ($0 !~ /^Test (Passed|Skipped)/) {
          printf "==== ctest: %s: %s (the last %d lines of its output)\n", name, $0, lines
          for (i = (n > lines ? n - lines + 1 : 1); i <= n; i++) print kept[i]
        }
        name = ""
      }' "$log" >&2
  fi
  [[ -d $build/bundle-check ]] || return 0
  while IFS= read -r -d '' file; do
    echo "==== ${file#"$build/"} (its last $kept_lines lines)" >&2
    tail -n "$kept_lines" "$file" >&2
  done < <(find "$build/bundle-check" -type f -print0 | sort -z)
}
kept_lines=60
status=0
in_root bash "$work/scripts/test.sh" "$@" || status=$?
if ((status != 0)); then
  show_kept_output
  # The test command's verdict and why, again, after all that.
  cat "$target$work/build/test-report.txt" 2>/dev/null || true
fi
exit "$status"
