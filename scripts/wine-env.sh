# Sourced: a throwaway Wine prefix with code page 932, a running wineserver and an X display.
# Everything started here is stopped when the sourcing shell exits.

export LC_ALL=ja_JP.UTF-8
export WINEARCH=win32
export WINEDEBUG=-all
# No debugger: a crashing test program ends at once with a failure instead of
# waiting in winedbg until ctest's time-out.
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
export WINEPREFIX="$(mktemp -d /tmp/qvvorn-wine.XXXXXX)"

qvvorn_xvfb_pid=""
if [[ -z "${DISPLAY:-}" ]]; then
  for n in $(seq 90 130); do
    [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    qvvorn_xvfb_pid=$!
    export DISPLAY=":$n"
    break
  done
  for _ in $(seq 50); do [[ -e /tmp/.X11-unix/X${DISPLAY#:} ]] && break; sleep 0.1; done
fi

qvvorn_wine_cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  [[ -n "$qvvorn_xvfb_pid" ]] && kill "$qvvorn_xvfb_pid" >/dev/null 2>&1 || true
  [[ "$WINEPREFIX" == /tmp/qvvorn-wine.* ]] && rm -rf "$WINEPREFIX"
}
trap qvvorn_wine_cleanup EXIT

# A persistent wineserver, and wineboot with every stream detached: otherwise
# Wine's background services inherit the pipes of whoever runs the tests.
wineserver -p </dev/null >/dev/null 2>&1
wine wineboot </dev/null >/dev/null 2>&1

# With no window manager on the display, Wine waits 2 s for one to withdraw
# every managed window that closes; unmanaged windows close at once.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
