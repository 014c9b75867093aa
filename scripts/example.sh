#!/usr/bin/env bash
# make example: build products are in place; run the framework tour.
#  - with a display: interactively, in a window (--window), with a socat
#    echo peer on a free port that is stopped again when the tour ends;
#  - without one: the scripted demo (scripts/example-demo.sh) in a private
#    Xvfb, leaving its screenshot at build/example/screen.png.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
exe=$root/build/windows/bin/framework-tour.exe
if [ ! -f "$exe" ]; then
  echo "example.sh: $exe is missing; build it with: make build-windows" >&2
  exit 1
fi
if ! command -v wine >/dev/null 2>&1; then
  echo "example.sh: wine is not installed (make deps installs it)" >&2
  exit 1
fi

if [ -z "${DISPLAY:-}" ]; then
  echo "No display: running the scripted demo in Xvfb"
  bash "$root/scripts/example-demo.sh" "$exe" "$root/build/example" full
  rc=$?
  echo "Tour status: $root/build/example/status.txt"
  tr -d '\r' <"$root/build/example/status.txt" 2>/dev/null | sed 's/^/  /'
  exit "$rc"
fi

source "$root/scripts/wine-env.sh"
source "$root/scripts/echo-peer.sh"
wine_prefix_ready
port=$(free_port)
echo_peer_start "$port"
trap echo_peer_stop EXIT
echo "Echo peer (socat, pid $ECHO_PEER_PID) on 127.0.0.1:$port; it stops when the tour ends."
echo "Arrow keys move the sprite, Space plays the sound, Alt+Enter switches to full screen, Escape ends the tour."
wine "$exe" 127.0.0.1 "$port" --window
