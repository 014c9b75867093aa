# Shared Wine/Xvfb set-up, sourced by the scripts that run Windows programs.
# Each checkout gets its own prefix under /tmp, created once and reused, so
# that two checkouts testing at once do not share a wineserver, windows or
# c:\ files.
korvane_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
korvane_key=$(printf '%s' "$korvane_root" | md5sum | cut -c1-8)
export WINEPREFIX=${WINEPREFIX:-/tmp/korvane-wine-$(id -u)-$korvane_key}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

# Creates the prefix once (about 20 s), guarded by a lock so that parallel
# tests do not race to create it.
wine_prefix_ready() {
  if [ -f "$WINEPREFIX/.korvane-ready" ] && [ -f "$WINEPREFIX/.korvane-csmt-off" ]; then return 0; fi
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.korvane-ready" ]; then
      wineboot -i >/dev/null 2>&1 || true
      wineserver -w 2>/dev/null || true
      touch "$WINEPREFIX/.korvane-ready"
    fi
    # Wine's Direct3D runs its commands on a thread of its own (CSMT) that
    # polls for more work for a long while after each batch: at 60 frames a
    # second it never sleeps and costs about 40 % of a core. Without it the
    # same work runs on the calling thread and the idle console costs a tenth
    # of that (docs/design.md, "Frames at the display's pace").
    if [ ! -f "$WINEPREFIX/.korvane-csmt-off" ]; then
      # fd 9 closed: a wineserver started here must not hold the lock.
      wine reg add 'HKCU\Software\Wine\Direct3D' /v csmt /t REG_DWORD /d 0 /f >/dev/null 2>&1 9>&- || true
      touch "$WINEPREFIX/.korvane-csmt-off"
    fi
  ) 9>"$WINEPREFIX.lock"
}

# Makes Wine leave its windows unmanaged. Xvfb runs no window manager, and for
# managed windows Wine waits up to two seconds for one whenever a window is
# hidden or destroyed: every close of the display would cost that.
wine_prefix_unmanaged() {
  if [ -f "$WINEPREFIX/.korvane-unmanaged" ]; then return 0; fi
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.korvane-unmanaged" ]; then
      # fd 9 closed: a wineserver started here must not hold the lock.
      wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 9>&- || true
      touch "$WINEPREFIX/.korvane-unmanaged"
    fi
  ) 9>"$WINEPREFIX.lock"
}

# Starts an Xvfb of 640x480x24 (or the WxH given) on a free display and
# exports DISPLAY; the server ends with the calling shell.
xvfb_start() {
  local fdfile
  fdfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "${1:-640x480}x24" -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
  XVFB_PID=$!
  local i
  for i in $(seq 1 100); do
    if [ -s "$fdfile" ]; then break; fi
    sleep 0.05
  done
  export DISPLAY=":$(head -n1 "$fdfile")"
  rm -f "$fdfile"
  trap 'kill $XVFB_PID 2>/dev/null || true' EXIT
}

wine_env_prepare() {
  if [ -z "${DISPLAY:-}" ]; then xvfb_start; fi
  wine_prefix_ready
  wine_prefix_unmanaged
}
