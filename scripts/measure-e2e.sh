#!/usr/bin/env bash
# Figures of the running console under Wine, printed, never asserted:
#  (a) frames per second of the bare frame loop and of the console's render,
#      without a frame limit (FramePace::noLimit), in one run of
#      tools/frame_rate;
#  (b) a bridge print of a 10 MB c:\stream.o (the SendMessage round trip)
#      against reading the same file in the client, in one run.
# The third figure, keystroke to buffer, is a correctness check of the
# end-to-end tests: a key is in the buffer when its SendMessage returns.
# Usage: scripts/measure-e2e.sh [FRAMES_PER_PHASE] [MEGABYTES]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$root/build/windows/bin
frames=${1:-600}
megabytes=${2:-10}
for exe in korvane.exe korvane-client.exe frame-rate.exe; do
  [ -f "$bin/$exe" ] || { echo "measure-e2e: $bin/$exe is missing; run: make build-windows" >&2; exit 1; }
done

source "$root/scripts/wine-env.sh"
xvfb_start  # a 640x480 screen of its own, whatever DISPLAY was
wine_prefix_ready
work=$(mktemp -d)
cd "$work" || exit 1

echo "== (a) frame rate, $frames frames per phase, one run =="
wine "$bin/frame-rate.exe" "$frames" 2>&1 | grep -v -e '^ALSA' -e '^$'

echo "== (b) bridge print of $megabytes MB against reading the file, one run =="
wine "$bin/korvane-client.exe" start "measure-print=$megabytes" escape wait-exit 2>&1 | grep -v -e '^ALSA' -e '^$'
rm -f "${WINEPREFIX}/drive_c/stream.o"
cd / && rm -rf "$work"
