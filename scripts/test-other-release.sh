#!/usr/bin/env bash
# Runs the test command (scripts/test.sh) on the other supported Debian
# release as well: Debian 13 on a Debian 12 machine, 12 on a 13 one. It runs
# in a root of that release, made with debootstrap from Debian's packages and
# kept in ${QVVORN_ROOTS:-/var/cache/qvvorn} for the next run (QVVORN_FRESH_ROOT=1
# makes it anew, QVVORN_KEEP_ROOT=0 removes it afterwards), with this tree
# copied into it. Needs root. The mounts and the copy go when it ends, however
# it ends.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

if [[ $(id -u) -ne 0 ]]; then
  echo "test-other-release: makes and enters a Debian root: run it as root" >&2
  exit 1
fi
. /etc/os-release
case "${VERSION_CODENAME:-}" in
  bookworm) suite=trixie ;;
  trixie) suite=bookworm ;;
  *)
    echo "test-other-release: this is ${PRETTY_NAME:-an unknown system}, not Debian 12 or 13" >&2
    exit 1
    ;;
esac
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
cp /etc/resolv.conf "$target/etc/resolv.conf"

# This tree as it is, build output and all that git ignores left out.
rm -rf "${target:?}$work"
mkdir -p "$target$work"
git -C "$root" ls-files -z --cached --others --exclude-standard |
  (cd "$root" && tar --null -T - -cf - 2>/dev/null) | tar -xf - -C "$target$work"

echo "test-other-release: the root took $made s; running scripts/test.sh in Debian $suite"
chroot "$target" /usr/bin/env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
  HOME=/root LANG=C.UTF-8 CI="${CI:-}" QVVORN_STEPS="${QVVORN_STEPS:-}" \
  bash "$work/scripts/test.sh" "$@"
