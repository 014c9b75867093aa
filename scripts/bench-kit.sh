#!/usr/bin/env bash
# Figures of the client kit under Wine, each beside a reference from the same
# run (tools/kit_measure): korvane-stream print against a bare process start,
# a WM_NULL round trip and a one-line print against an idle window of a third
# process, the library's print call, exec against a plain pipe reader at 1, 5
# and 10 MB, and the bridge print of a 10 MB file. Printed, never asserted.
# Usage: scripts/bench-kit.sh [ROUNDS]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$root/build/windows/bin
for exe in korvane.exe korvane-stream.exe line-program.exe pipe-reader.exe kit-measure.exe; do
  [ -f "$bin/$exe" ] || { echo "bench-kit: $bin/$exe is missing; run: make build-windows" >&2; exit 1; }
done
source "$root/scripts/wine-env.sh"
xvfb_start  # a 640x480 screen of its own, whatever DISPLAY was
wine_prefix_ready
wine_prefix_unmanaged
work=$(mktemp -d)
cd "$work" || exit 1
echo "== client kit under Wine (tools/kit_measure) =="
timeout 600 wine "$bin/kit-measure.exe" "${1:-10}" 2>&1 | grep -v -e '^ALSA' -e '^$' >"$work/kit.txt"
rc=${PIPESTATUS[0]}
python3 - "$work/kit.txt" <<'PY'
import re, sys
rows, notes = [], []
for line in open(sys.argv[1], errors="replace"):
    m = re.match(r"figure: (.+?) = ([\d.e+-]+) (\S+) \| reference: (.+?) = ([\d.e+-]+) \S+", line)
    if m:
        rows.append((m.group(1), float(m.group(2)), m.group(3), m.group(4), float(m.group(5))))
    elif line.strip():
        notes.append(line.rstrip())
head = ("figure", "value", "unit", "reference", "reference value", "ratio")
table = [(f, f"{v:.4g}", u, r, f"{rv:.4g}", f"{v / rv:.2f}x" if rv else "n/a") for f, v, u, r, rv in rows]
widths = [max(len(str(r[i])) for r in table + [head]) for i in range(len(head))]
print("  ".join(h.ljust(w) for h, w in zip(head, widths)))
print("  ".join("-" * w for w in widths))
for r in table:
    print("  ".join(str(c).ljust(w) for c, w in zip(r, widths)))
for n in notes:
    print(n)
def first(prefix):
    return next((r for r in rows if r[0].startswith(prefix)), None)
trip, small = first("WM_NULL round trip"), first("one-line WM_BRIDGE_PRINT")
if trip and trip[4]:
    print(f"WM_NULL round trip to the console against an idle window: {trip[1] / trip[4]:.2f}x (aim: at most 1.4x)")
if small and small[4]:
    print(f"one-line print against writing the file and an idle round trip: {small[1] / small[4]:.2f}x (aim: at most 1.4x)")
exec_rows = [r for r in rows if r[0].startswith("exec throughput")]
if exec_rows:
    ratio = exec_rows[-1][1] / exec_rows[-1][4]
    print(f"exec against the plain pipe at the largest size: {ratio:.2f}x (aim: at least 0.8x)")
PY
cd / && rm -rf "$work"
exit "$rc"
