#!/usr/bin/env bash
# The framework tour's frame rate under Wine against the bare frame loop, in
# one run of the tour (--measure): N frames of clear and flip only and N
# frames of the whole tour (sprite, shapes, the status text, key polling,
# sound status, a connected echo socket), in alternating blocks of 50 so that
# the load of a shared machine falls on both alike. Printed, never asserted.
# Called by scripts/bench-report.sh; usage: scripts/bench-example.sh [--no-wine] [FRAMES]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
exe=${EXAMPLE_EXE:-$root/build/windows/bin/framework-tour.exe}
echo
echo "== framework tour under Wine (scripts/bench-example.sh) =="
if [ "${1:-}" = --no-wine ]; then echo "skipped (--no-wine)"; exit 0; fi
frames=${1:-1000}
if [ ! -f "$exe" ]; then echo "skipped: no $exe; run make build-windows"; exit 0; fi

source "$root/scripts/wine-env.sh"
source "$root/scripts/echo-peer.sh"
xvfb_start  # a 640x480 screen of its own, whatever DISPLAY was
wine_prefix_ready
wine_prefix_unmanaged
work=$(mktemp -d)
alsa_null_home "$work"
port=$(free_port)
echo_peer_start "$port"
trap 'echo_peer_stop; kill $XVFB_PID 2>/dev/null; rm -rf "$work"' EXIT

(cd "$work" && HOME=$work timeout 600 wine "$exe" 127.0.0.1 "$port" --measure "$frames" --status status.txt) \
  2>&1 | grep -v -e '^ALSA' -e '^$'
value() { sed -n "s/^$1=//p" "$work/status.txt" 2>/dev/null | tr -d '\r'; }
bare=$(value bare_fps)
tour=$(value tour_fps)
if [ -z "$bare" ] || [ -z "$tour" ]; then
  echo "no figures: the tour did not finish its measurement"
  exit 0
fi
printf '%-44s %10s  %s\n' "figure" "frames/s" "reference"
printf '%-44s %10s  %s\n' "bare frame loop (clear, flip), $frames frames" "$bare" "-"
printf '%-44s %10s  %s\n' "framework tour, $frames frames" "$tour" \
  "$(awk -v t="$tour" -v b="$bare" 'BEGIN { printf "%.2fx of the bare loop", t / b }')"
echo "one run of framework-tour.exe --measure $frames; net $(value net), sound $(value sound), sprite $(value sprite)"
