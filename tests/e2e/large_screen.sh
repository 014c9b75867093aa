#!/usr/bin/env bash
# Runs a command with DISPLAY at a private Xvfb larger than any window of
# the console (1600x1200x24, room for scale 2 with its frame). The prefix's
# wineserver belongs to one X display, so one still tied to another screen is
# ended first, and ours when the command ends. Usage: large_screen.sh CMD...
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
source "$root/scripts/wine-env.sh"
LARGE_SCREEN=${LARGE_SCREEN:-1600x1200}
fdfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 "${LARGE_SCREEN}x24" -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
large_xvfb=$!
wineserver -k 2>/dev/null || true
trap 'wineserver -k 2>/dev/null || true; kill $large_xvfb 2>/dev/null || true' EXIT
for _ in $(seq 1 100); do [ -s "$fdfile" ] && break; sleep 0.05; done
export DISPLAY=":$(head -n1 "$fdfile")"
rm -f "$fdfile"
wine_prefix_ready
wine_prefix_unmanaged
"$@"
