#!/usr/bin/env bash
# Figures of bitmap surfaces under Wine, printed, never asserted, each beside
# a reference timed in the same run (tools/surface_bench):
#   Surface::draw of a 64x64 bitmap, plain and colour-keyed, against one
#   Painter::rectangle of the same size;
#   a full-screen 640x480 Surface::draw against Display::clear.
# Builds surface-bench when the Windows build exists. Called by
# scripts/bench-report.sh. Usage: scripts/bench-surfaces.sh [CALLS]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
exe=$root/build/windows/bin/surface-bench.exe
echo "== bitmap surfaces under Wine (tools/surface_bench) =="
if [ -f "$root/build/windows/CMakeCache.txt" ]; then
  cmake --build --preset windows --target surface-bench >/dev/null 2>&1 || true
fi
if [ ! -f "$exe" ]; then
  echo "n/a: no Windows build of surface-bench; run make build-windows"
  exit 0
fi

source "$root/scripts/wine-env.sh"
xvfb_start  # a 640x480 screen of its own
wine_prefix_ready
wine_prefix_unmanaged
work=$(mktemp -d)
trap 'rm -rf "$work"; kill $XVFB_PID 2>/dev/null || true' EXIT
cd "$work" || exit 1
if ! timeout 300 wine "$exe" "${1:-1000}" >"$work/out.txt" 2>/dev/null; then
  echo "n/a: surface-bench failed: $(tail -1 "$work/out.txt")"
  exit 0
fi

python3 - "$work/out.txt" <<'PY'
import re, sys
figures = {}
for line in open(sys.argv[1], errors="replace"):
    m = re.match(r"(.+?)\s+(\d+) calls\s+([\d.]+) us/call", line)
    if m:
        figures[m.group(1).strip()] = (int(m.group(2)), float(m.group(3)))

rows = [
    ("Surface::draw 64x64, plain", "Painter::rectangle 64x64"),
    ("Surface::draw 64x64, colour-keyed", "Painter::rectangle 64x64"),
    ("Surface::draw 640x480 at 0, 0", "Display::clear (fill of 640x480)"),
]
head = ("figure", "us/call", "reference", "us/call", "ratio")
table = []
for figure, reference in rows:
    value = figures.get(figure, (0, None))[1]
    ref = figures.get(reference, (0, None))[1]
    ratio = f"{value / ref:.3f}x" if value is not None and ref else "n/a"
    fmt = lambda v: "n/a" if v is None else f"{v:,.2f}"
    table.append((figure, fmt(value), reference, fmt(ref), ratio))
widths = [max(len(r[i]) for r in table + [head]) for i in range(len(head))]
print("  ".join(h.ljust(w) for h, w in zip(head, widths)).rstrip())
print("  ".join("-" * w for w in widths))
for r in table:
    print("  ".join(c.ljust(w) for c, w in zip(r, widths)).rstrip())
print("ratio = figure / reference, both timed in this run (median of 5 rounds; lower is faster).")
PY
