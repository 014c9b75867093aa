#!/usr/bin/env bash
# Figures of the device services, printed, never asserted:
#   native (build/bench/bin/wave_bench): parseWave in ns per call on images of
#     1 KB to 16 MB of samples with the same four chunks (the walk reads chunk
#     headers only, so the figure must not grow with the samples), on a 1 MB
#     image with 16 and 256 more chunks (the one thing that may grow it), and
#     a plain pass over the 1 MB image's bytes as the reference;
#   under Wine (build/windows/bin/key-down-cost.exe): one Display::keyDown
#     (a full 256-byte keyboard state per key) beside one asyncKeyDown.
# Called by scripts/bench-report.sh (make bench). Usage: bench-devices.sh [--no-wine]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root" || exit 1

bench=build/bench/bin/wave_bench
[ -x "$bench" ] || { echo "bench-devices: $bench is missing; run: make bench" >&2; exit 1; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

echo
echo "== device services: parseWave (native, Release, CPU time) =="
"$bench" --benchmark_format=json >"$out/wave.json" 2>"$out/wave.err" || { cat "$out/wave.err"; exit 1; }
python3 - "$out/wave.json" <<'PY'
import json, sys
runs = {b["name"]: b for b in json.load(open(sys.argv[1]))["benchmarks"]}
def ns(name):
    b = runs.get(name)
    return b["cpu_time"] * {"ns": 1, "us": 1e3, "ms": 1e6}[b["time_unit"]] if b else None
rows = [
    ("parseWave, 1 KB of samples, 4 chunks", ns("BM_ParseWaveBySampleBytes/1024")),
    ("parseWave, 64 KB of samples, 4 chunks", ns("BM_ParseWaveBySampleBytes/65536")),
    ("parseWave, 1 MB of samples, 4 chunks", ns("BM_ParseWaveBySampleBytes/1048576")),
    ("parseWave, 16 MB of samples, 4 chunks", ns("BM_ParseWaveBySampleBytes/16777216")),
    ("parseWave, 1 MB, 20 chunks", ns("BM_ParseWaveByChunks/16")),
    ("parseWave, 1 MB, 260 chunks", ns("BM_ParseWaveByChunks/256")),
]
ref = ns("BM_SumOneMegabyteImage")
print(f"{'figure':42}  {'ns/call':>10}  reference: one pass over the 1 MB image = {ref:,.0f} ns")
for name, value in rows:
    print(f"{name:42}  {value:10,.1f}  ({value / ref:.2e} of the pass)")
small, large = ns("BM_ParseWaveBySampleBytes/1024"), ns("BM_ParseWaveBySampleBytes/16777216")
print(f"16 MB against 1 KB of samples: {large / small:.2f}x (flat means independent of the sample size)")
PY

echo
echo "== device services: Display::keyDown under Wine =="
exe=build/windows/bin/key-down-cost.exe
if [ "${1:-}" = --no-wine ]; then
  echo "skipped (--no-wine)"
elif [ ! -f "$exe" ]; then
  echo "n/a: $exe is missing; run make build-windows"
else
  source scripts/wine-env.sh
  xvfb_start  # a 640x480 screen of its own
  wine_prefix_ready
  wine_prefix_unmanaged
  timeout 300 wine "$exe" 20000 2>&1 | grep -v -e '^ALSA' -e '^$'
  wineserver -k 2>/dev/null || true
fi
