#!/usr/bin/env bash
# The interpreter where it runs: korvane.exe under Wine runs batch files of
# 10k, 100k and 1M `add` lines, each timed from the Enter that starts it (sent
# with SendMessage) until that call returns (tools/batch_timing). Reference,
# in the same run: bash running the same 100k lines with an `add` function.
# Also the bridge print of many small files against writing them alone.
# Figures are printed, never asserted. Usage: scripts/bench-batch-wine.sh
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$root/build/windows/bin
for exe in korvane.exe batch-timing.exe; do
  [ -f "$bin/$exe" ] || { echo "bench-batch-wine: $bin/$exe is missing; run: make build-windows" >&2; exit 1; }
done
source "$root/scripts/wine-env.sh"
xvfb_start
wine_prefix_ready
work=$(mktemp -d)
cd "$work" || exit 1
trap 'cd /; rm -rf "$work"; kill $XVFB_PID 2>/dev/null || true' EXIT

# bash on the very lines the console runs.
for ((i = 0; i < 100000; i++)); do echo "add $i $((i % 97))"; done >bash-lines
start=$(date +%s%N)
bash -c 'add() { echo " $1 + $2 = $(($1 + $2))"; }; source ./bash-lines' >/dev/null
end=$(date +%s%N)
bash_rate=$(awk -v ns=$((end - start)) 'BEGIN { printf "%.0f", 100000 / (ns / 1e9) }')

out=$(wine "$bin/batch-timing.exe" "$bin/korvane.exe" 10000 100000 1000000 2>&1 | grep -v -e '^ALSA' -e '^$' | tr -d '\r')
rc=$?
echo "$out"
echo "bash, the same 100000 add lines: $bash_rate lines/s"
echo "$out" | awk -v bash="$bash_rate" '
  /^batch of/ { printf "batch under Wine, %7d lines: %10.0f lines/s = %5.2fx bash (aim: at least 5x, flat per line)\n", $3, $8, $8 / bash }
  /^small prints/ { print "bridge print of many small files under Wine: see the line above" }'
exit $rc
