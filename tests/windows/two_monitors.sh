#!/usr/bin/env bash
# Runs a test program's two-monitor cases on two 1920x1080 monitors side by
# side: Xorg's dummy driver, whose RandR outputs Wine reads as monitors.
# Exit 77 (skipped) when Xorg cannot start here (it needs root).
# Usage: two_monitors.sh TEST_EXE
set -uo pipefail
exe=$1
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
source "$root/scripts/wine-env.sh"
work=$(mktemp -d)
printf '%s\n' 'Section "Device"' ' Identifier "d"' ' Driver "dummy"' ' VideoRam 256000' EndSection \
  'Section "Monitor"' ' Identifier "m"' ' HorizSync 5.0-1000.0' ' VertRefresh 5.0-200.0' EndSection \
  'Section "Screen"' ' Identifier "s"' ' Device "d"' ' Monitor "m"' ' DefaultDepth 24' \
  ' SubSection "Display"' '  Depth 24' '  Virtual 3840 1080' ' EndSubSection' EndSection >"$work/xorg.conf"
command -v Xorg >/dev/null && command -v xrandr >/dev/null || { echo "skipped: no Xorg or xrandr"; exit 77; }
Xorg -displayfd 3 -config "$work/xorg.conf" -noreset -nolisten tcp -logfile "$work/xorg.log" \
  3>"$work/display" >/dev/null 2>&1 &
xorg_pid=$!
trap 'wineserver -k 2>/dev/null || true; kill $xorg_pid 2>/dev/null; wait $xorg_pid 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 1 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "skipped: Xorg did not start"; exit 77; }
export DISPLAY=":$(head -n1 "$work/display")"
xrandr --output DUMMY0 --mode 1920x1080 --pos 0x0 --primary &&
  xrandr --addmode DUMMY1 1920x1080 && xrandr --output DUMMY1 --mode 1920x1080 --pos 1920x0 ||
  { echo "FAIL: xrandr could not place two monitors"; exit 1; }
# A full query makes the server probe its outputs again; Wine asks only for
# the current state, which is stale until then.
xrandr | grep ' connected'
wineserver -k 2>/dev/null || true
wine_prefix_ready
wine_prefix_unmanaged
wine "$exe" --gtest_filter='*TwoMonitors*' 2>&1 | tr -d '\r' | grep -v '^ALSA' | tee "$work/out.txt"
# A case that skipped found one monitor: the setup failed, not the program.
grep -q '^\[  PASSED  \] 1 test' "$work/out.txt" && ! grep -q SKIPPED "$work/out.txt"
