#!/usr/bin/env bash
# One table of every figure the project measures, each beside a reference
# measured in the same run:
#   native (build/bench, Google Benchmark): batch lines per second at 10k,
#     100k and 1M lines against bash running the same 100,000 add lines;
#     Console::write against a memory copy; the bridge print of a 10 MB file
#     against a plain read; the line algorithm of Painter::line against a
#     plain pixel loop;
#   under Wine (scripts/measure-e2e.sh): the console's frame rate against the
#     bare frame loop, both without a frame limit, and the bridge print round
#     trip against the client's own read of the file.
#   under Wine (scripts/bench-idle.sh, its own table): the idle console's CPU,
#     all its threads, paced against the same console without a limit, and
#     its frames a second.
#   under Wine (scripts/bench-surfaces.sh, its own table after this one):
#     Surface::draw against Painter::rectangle and a full-screen fill.
# Figures are printed, never asserted. Expects `cmake --build --preset bench`
# (make bench does it). Usage: scripts/bench-report.sh [--no-wine]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root" || exit 1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

bench=build/bench/bin/console_bench
[ -x "$bench" ] || { echo "bench-report: $bench is missing; run: make bench" >&2; exit 1; }

echo "== native benchmarks (Release, no sanitizers) =="
"$bench" --benchmark_out="$out/native.json" --benchmark_out_format=json --benchmark_counters_tabular=true \
  >"$out/native.txt" 2>&1 || { cat "$out/native.txt"; exit 1; }

echo "== bash reference: 100,000 add lines =="
start=$(date +%s%N)
bash -c 'for ((i = 0; i < 100000; i++)); do a=$i; b=$((i % 97)); echo " $a + $b = $((a+b))"; done' >/dev/null
end=$(date +%s%N)
echo $(( end - start )) >"$out/bash.ns"

if [ "${1:-}" = --no-wine ]; then
  echo "skipped (--no-wine)" >"$out/wine.reason"
elif [ ! -f build/windows/bin/korvane.exe ] || [ ! -f build/windows/bin/frame-rate.exe ]; then
  echo "no Windows build; run make build-windows" >"$out/wine.reason"
else
  echo "== under Wine: scripts/measure-e2e.sh =="
  if ! timeout 600 bash scripts/measure-e2e.sh >"$out/wine.txt" 2>&1; then
    echo "measure-e2e.sh failed: $(grep -v '^==' "$out/wine.txt" | tail -1)" >"$out/wine.reason"
  fi
fi

python3 - "$out" <<'PY'
import json, os, re, sys
out = sys.argv[1]
runs = {b["name"]: b for b in json.load(open(os.path.join(out, "native.json")))["benchmarks"]
        if b.get("run_type", "iteration") == "iteration"}

def counter(name, key, scale=1.0):
    b = runs.get(name)
    return b[key] * scale if b and key in b else None

mb = 1024.0 * 1024.0
bash_lines_per_s = 100000 / (int(open(os.path.join(out, "bash.ns")).read()) / 1e9)

wine_reason = None
if os.path.exists(os.path.join(out, "wine.reason")):
    wine_reason = open(os.path.join(out, "wine.reason")).read().strip()
frames = {}
reads, prints = [], []
if wine_reason is None:
    text = open(os.path.join(out, "wine.txt"), errors="replace").read()
    for line in text.splitlines():
        m = re.match(r"(.+?)\s+\d+ frames\s+[\d.]+ s\s+([\d.]+) frames/s", line)
        if m:
            frames[m.group(1).strip()] = float(m.group(2))
        m = re.search(r"read file in client\s+[\d.]+ s\s+([\d.]+) MB/s \| bridge print round trip\s+[\d.]+ s\s+([\d.]+) MB/s", line)
        if m:
            reads.append(float(m.group(1)))
            prints.append(float(m.group(2)))
    if not frames and not prints:
        wine_reason = "no figures in the output of measure-e2e.sh"

rows = []
def row(figure, value, unit, reference, ref_value, note=""):
    rows.append((figure, value, unit, reference, ref_value, note))

for n, label in ((10000, "10k"), (100000, "100k"), (1000000, "1M")):
    row(f"batch add lines, {label} lines", counter(f"BM_BatchAddLines/{n}", "lines/s"), "lines/s",
        "bash, 100k add lines", bash_lines_per_s, "")
row("Console::write, 60-char lines", counter("BM_WriteLines", "bytes_per_second", 1 / mb), "MB/s",
    "memcpy of 10 MB", counter("BM_MemoryCopy10MB", "bytes_per_second", 1 / mb), "each call trims the buffer")
row("Console::write, one 10 MB block", counter("BM_WriteOneBlock", "bytes_per_second", 1 / mb), "MB/s",
    "memcpy of 10 MB", counter("BM_MemoryCopy10MB", "bytes_per_second", 1 / mb), "only the newest 4,999 kept")
row("bridge print, 10 MB (native)", counter("BM_BridgePrint10MB", "bytes_per_second", 1 / mb), "MB/s",
    "plain read of the file", counter("BM_PlainRead10MB", "bytes_per_second", 1 / mb), "")
row("Painter::line algorithm", counter("BM_LineAlgorithm", "ns/pixel", 1e9), "ns/pixel",
    "plain pixel loop", counter("BM_PixelLoop", "ns/pixel", 1e9), "lower is better")
if wine_reason is None and prints:
    row("bridge print, 10 MB (Wine, best of 3)", max(prints), "MB/s",
        "client reads the file", max(reads), "SendMessage round trip")
else:
    row("bridge print, 10 MB (Wine)", None, "MB/s", "client reads the file", None, wine_reason or "no figures")
bare = frames.get("bare loop (clear, flip)")
for phase in ("console, banner and prompt", "console, full buffer of 39 lines"):
    if wine_reason is None and phase in frames and bare:
        row(f"frame rate, {phase} (Wine)", frames[phase], "frames/s", "bare frame loop", bare, "no limit")
    else:
        row(f"frame rate, {phase} (Wine)", None, "frames/s", "bare frame loop", None, wine_reason or "no figures")

def fmt(v):
    if v is None:
        return "n/a"
    if v >= 1e6:
        return f"{v / 1e6:,.2f} M"
    if v >= 100:
        return f"{v:,.0f}"
    return f"{v:.3g}"

head = ("figure", "value", "unit", "reference", "reference value", "ratio", "note")
table = []
for figure, value, unit, reference, ref_value, note in rows:
    ratio = f"{value / ref_value:.2f}x" if value is not None and ref_value else "n/a"
    table.append((figure, fmt(value), unit, reference, fmt(ref_value), ratio, note))
widths = [max(len(r[i]) for r in table + [head]) for i in range(len(head))]
line = "  ".join("-" * w for w in widths)
print()
print("  ".join(h.ljust(w) for h, w in zip(head, widths)))
print(line)
for r in table:
    print("  ".join(c.ljust(w) for c, w in zip(r, widths)).rstrip())
print(line)
print("ratio = value / reference value, both from this run.")
interp = counter("BM_BatchAddLines/100000", "lines/s")
if interp:
    print(f"interpreter against bash on 100,000 add lines: {interp / bash_lines_per_s:.1f}x faster (aim: at least 5x)")
PY
report=$?
bash scripts/bench-devices.sh "$@"
[ "${1:-}" = --no-wine ] || bash scripts/bench-surfaces.sh

# The idle console's CPU and frames a second, under Wine.
if [ "${1:-}" != --no-wine ]; then
  echo
  echo "== the idle console under Wine: scripts/bench-idle.sh =="
  timeout 300 bash scripts/bench-idle.sh || echo "bench-idle.sh failed"
fi

# The client kit (korvane-stream, round trips, the library's print, exec), under Wine.
if [ "${1:-}" != --no-wine ] && [ -f build/windows/bin/kit-measure.exe ]; then
  echo
  bash scripts/bench-kit.sh || echo "bench-kit.sh failed"
fi

if [ "${1:-}" != --no-wine ]; then
  echo
  echo "== the batch and small prints under Wine: scripts/bench-batch-wine.sh =="
  timeout 900 bash scripts/bench-batch-wine.sh || echo "bench-batch-wine.sh failed"
fi

# The framework tour against the bare frame loop, under Wine.
bash scripts/bench-example.sh "$@"
exit $report
