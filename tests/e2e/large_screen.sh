#!/usr/bin/env bash
# Runs a command with DISPLAY at a private Xvfb larger than any window of
# the console (1600x1200x24 unless LARGE_SCREEN says otherwise: room for
# scale 2 with its frame). The prefix's wineserver belongs to one X display,
# so one still tied to another screen is ended first, and ours when the
# command ends. Usage: large_screen.sh CMD...
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
source "$root/scripts/wine-env.sh"
wineserver -k 2>/dev/null || true
xvfb_start "${LARGE_SCREEN:-1600x1200}"
trap 'wineserver -k 2>/dev/null || true; kill $XVFB_PID 2>/dev/null || true' EXIT
wine_prefix_ready
wine_prefix_unmanaged
"$@"
