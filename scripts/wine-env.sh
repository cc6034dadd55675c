#!/usr/bin/env bash
# Sourced, not run: a throwaway Wine prefix with code page 932 (or as
# QVVORN_WINE_LOCALE says, see scripts/wine-run.sh), a running wineserver and
# an X display for the bash that sources it (scripts/test.sh does).
# Everything started here is stopped when that shell exits. A step that fails
# says so and returns 1, after stopping what it started.
if [ -z "${BASH_VERSION:-}" ]; then
  echo "wine-env: source this from bash: source scripts/wine-env.sh" >&2
  return 1 2>/dev/null || exit 1
fi
if [[ ${BASH_SOURCE[0]} == "$0" ]]; then
  echo "wine-env: source this, do not run it: it sets up Wine for the shell" \
    "that sources it (source $0, or scripts/test.sh)" >&2
  exit 2
fi

# Every wine of this shell and of the programs it starts runs through
# scripts/wine-run.sh, which gives Wine alone its locale and settings. A
# QVVORN_WINE_LOCALE given on the source line alone would be gone once this
# file has been read: it is kept for them.
if [[ -n ${QVVORN_WINE_LOCALE:-} ]]; then
  qvvorn_locale=$QVVORN_WINE_LOCALE
  unset QVVORN_WINE_LOCALE
  export QVVORN_WINE_LOCALE=$qvvorn_locale
fi
QVVORN_WINE_RUN=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/wine-run.sh
export QVVORN_WINE_RUN
wine() { "$QVVORN_WINE_RUN" "$@"; }
export -f wine

# Newer Debian packages keep wineserver off the PATH, in Wine's library
# folder of one architecture or the other.
qvvorn_find_wineserver() {
  command -v wineserver && return
  local dir
  for dir in /usr/lib/wine /usr/lib/i386-linux-gnu/wine /usr/lib/x86_64-linux-gnu/wine; do
    if [[ -x $dir/wineserver ]]; then
      echo "$dir/wineserver"
      return
    fi
  done
  return 1
}
if ! qvvorn_wineserver=$(qvvorn_find_wineserver); then
  echo "wine-env: no wineserver on the PATH nor in Wine's library folders; is Wine installed?" >&2
  return 1
fi

qvvorn_xvfb_pid=""
qvvorn_wine_cleanup() {
  if [[ ${WINEPREFIX:-} == /tmp/qvvorn-wine.* ]]; then
    "$qvvorn_wineserver" -k >/dev/null 2>&1 || true
  fi
  if [[ -n "$qvvorn_xvfb_pid" ]]; then
    kill "$qvvorn_xvfb_pid" >/dev/null 2>&1 || true
  fi
  if [[ ${WINEPREFIX:-} == /tmp/qvvorn-wine.* ]]; then
    rm -rf "$WINEPREFIX"
  fi
}
# Says what failed and stops what was started; the caller then returns 1.
qvvorn_wine_fail() {
  echo "wine-env: $1" >&2
  qvvorn_wine_cleanup
  trap - EXIT
}

if ! qvvorn_prefix=$(mktemp -d /tmp/qvvorn-wine.XXXXXX); then
  echo "wine-env: cannot make a Wine prefix in /tmp (mktemp failed)" >&2
  return 1
fi
export WINEPREFIX=$qvvorn_prefix
trap qvvorn_wine_cleanup EXIT

if [[ -z "${DISPLAY:-}" ]]; then
  if ! command -v Xvfb >/dev/null; then
    qvvorn_wine_fail "DISPLAY is not set and there is no Xvfb: install xvfb (scripts/prepare.sh) or set DISPLAY"
    return 1
  fi
  # Xvfb picks a display that no other server holds and says which: X's
  # sockets are abstract ones too, shared with servers in other roots, so a
  # free socket file proves nothing. Its own words are kept for a failure.
  qvvorn_display_file=$WINEPREFIX/xvfb-display
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$qvvorn_display_file" \
    >/dev/null 2>"$WINEPREFIX/xvfb.log" &
  qvvorn_xvfb_pid=$!
  for _ in $(seq 100); do
    [[ -s $qvvorn_display_file ]] || ! kill -0 "$qvvorn_xvfb_pid" 2>/dev/null && break
    sleep 0.1
  done
  qvvorn_display=$(cat "$qvvorn_display_file" 2>/dev/null || true)
  if [[ ! $qvvorn_display =~ ^[0-9]+$ ]]; then
    qvvorn_wine_fail "Xvfb gave no display; its last words:
$(tail -n 5 "$WINEPREFIX/xvfb.log")"
    return 1
  fi
  export DISPLAY=":$qvvorn_display"
fi

# A persistent wineserver, and wineboot with every stream detached: otherwise
# Wine's background services inherit the pipes of whoever runs the tests.
if ! "$qvvorn_wineserver" -p </dev/null >/dev/null 2>&1; then
  qvvorn_wine_fail "$qvvorn_wineserver -p failed"
  return 1
fi
if ! wine wineboot </dev/null >/dev/null 2>&1; then
  qvvorn_wine_fail "wineboot could not set up the prefix"
  return 1
fi

# With no window manager on the display, Wine waits 2 s for one to withdraw
# every managed window that closes; unmanaged windows close at once.
if ! wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1; then
  qvvorn_wine_fail "wine reg add could not make windows unmanaged"
  return 1
fi
