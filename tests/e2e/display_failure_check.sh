#!/usr/bin/env bash
# A screen that cannot take 640x480: the console reports "Error Setting
# Display Mode" in a message box, starts nothing else and ends with exit code
# 0 once the box is answered. Usage: display_failure_check.sh BIN_DIR
set -uo pipefail
bin=$(cd "$1" && pwd)
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
source "$root/scripts/wine-env.sh"

# An 800x600 screen of its own, where the display mode cannot be set.
fdfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
xvfb_pid=$!
# The prefix's wineserver and desktop belong to one X display. One that is
# still lingering after the previous test would keep this console on the
# 640x480 screen, and one left from here would put the next test on this one.
wineserver -k 2>/dev/null || true
trap 'wineserver -k 2>/dev/null || true; kill $xvfb_pid 2>/dev/null || true' EXIT
for _ in $(seq 1 100); do [ -s "$fdfile" ] && break; sleep 0.05; done
export DISPLAY=":$(head -n1 "$fdfile")"
rm -f "$fdfile"
wine_prefix_ready

out=$(wine "$bin/korvane-client.exe" start dismiss-box wait-exit 2>&1 | tr -d '\r' | grep -v -e '^ALSA' -e '^$')
echo "$out" | sed 's/^/client: /'
status=0
# The box has no caption of its own: the system shows its default title.
if echo "$out" | grep -qF 'text "Error Setting Display Mode"'; then
  echo "ok   the failed display mode is reported in a message box"
else
  echo "FAIL no \"Error Setting Display Mode\" message box"; status=1
fi
if echo "$out" | grep -qx 'console exit code: 0'; then
  echo "ok   the console ends with exit code 0"
else
  echo "FAIL the console did not end with exit code 0"; status=1
fi
exit $status
