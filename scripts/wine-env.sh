# Sourced: a throwaway Wine prefix with code page 932, a running wineserver and an X display.
# Everything started here is stopped when the sourcing shell exits.

# The locale gives Wine its ANSI code page: ja_JP 932, C.UTF-8 1252. Under
# 932 the cases that need it must run, never skip (tests/support/code_page.h).
export LC_ALL=${QVVORN_WINE_LOCALE:-ja_JP.UTF-8}
if [[ $LC_ALL == ja_JP.* ]]; then
  export QVVORN_REQUIRE_CP932=1
else
  unset QVVORN_REQUIRE_CP932
fi
export WINEARCH=win32
export WINEDEBUG=-all
# No debugger: a crashing test program ends at once with a failure instead of
# waiting in winedbg until ctest's time-out.
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"

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

export WINEPREFIX="$(mktemp -d /tmp/qvvorn-wine.XXXXXX)"

qvvorn_xvfb_pid=""
if [[ -z "${DISPLAY:-}" ]]; then
  # Xvfb picks a display that no other server holds and says which: X's
  # sockets are abstract ones too, shared with servers in other roots, so a
  # free socket file proves nothing.
  qvvorn_display=$(mktemp /tmp/qvvorn-display.XXXXXX)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$qvvorn_display" >/dev/null 2>&1 &
  qvvorn_xvfb_pid=$!
  for _ in $(seq 100); do [[ -s $qvvorn_display ]] && break; sleep 0.1; done
  export DISPLAY=":$(head -n 1 "$qvvorn_display")"
  rm -f "$qvvorn_display"
fi

qvvorn_wine_cleanup() {
  "$qvvorn_wineserver" -k >/dev/null 2>&1 || true
  [[ -n "$qvvorn_xvfb_pid" ]] && kill "$qvvorn_xvfb_pid" >/dev/null 2>&1 || true
  [[ "$WINEPREFIX" == /tmp/qvvorn-wine.* ]] && rm -rf "$WINEPREFIX"
}
trap qvvorn_wine_cleanup EXIT

# A persistent wineserver, and wineboot with every stream detached: otherwise
# Wine's background services inherit the pipes of whoever runs the tests.
"$qvvorn_wineserver" -p </dev/null >/dev/null 2>&1
wine wineboot </dev/null >/dev/null 2>&1

# With no window manager on the display, Wine waits 2 s for one to withdraw
# every managed window that closes; unmanaged windows close at once.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
