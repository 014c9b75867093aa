#!/usr/bin/env bash
# Every figure the project measures, each beside a reference measured in the
# same run; printed, never asserted. One function a figure; each runs in a
# process of its own, so that its Xvfb, Wine prefix and scratch folder are
# its own.
#   scripts/bench.sh [--no-wine]        all figures in turn (make bench)
#   scripts/bench.sh FIGURE [ARGS...]   one figure, with its own arguments:
#     report    the native benchmarks and the console under Wine, one table
#     e2e       the console's frame rate and the bridge print, under Wine
#     devices   parseWave (native) and Display::keyDown (Wine)
#     surfaces  Surface::draw against rectangle and fill (Wine)
#     idle      the idle console's CPU and frames a second, two prefixes (Wine)
#     latency   keystroke to screen, full screen and window, with a control (Wine)
#     desktop   the idle console in desktop full screen, and its copy (Wine)
#     kit       korvane-stream, round trips, the library's print, exec (Wine)
#     batch     batch files and small prints of the real console (Wine)
#     example   the framework tour against the bare frame loop (Wine)
#     terminal  the terminal print natively; exec's output modes (Wine)
#     storm     the kit's storm test for longer, SECONDS (default 120) (Wine)
#     scrollback  the batch, the 10 MB print, memory and frames with the history (Wine)
#     native    the native benchmarks' own table (console_bench ARGS)
# The native figures need the bench preset's build (build/bench), those under
# Wine the Windows build (build/windows); `make bench` makes both.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$root/build/windows/bin
self=$root/scripts/bench.sh
cd "$root" || exit 1

# Ends the figure when one of the Windows programs it runs is not built.
need_programs() {
  local figure=$1 exe
  shift
  for exe in "$@"; do
    [ -f "$bin/$exe" ] || { echo "bench.sh $figure: $bin/$exe is missing; run: make build-windows" >&2; exit 1; }
  done
}

# Wine on a 640x480 Xvfb screen of the figure's own, whatever DISPLAY was,
# ended with the figure's process; "unmanaged": with the prefix's windows
# unmanaged, so that closing a display costs no wait (scripts/wine-env.sh).
wine_screen() {
  source "$root/scripts/wine-env.sh"
  xvfb_start
  wine_prefix_ready
  [ "${1:-}" != unmanaged ] || wine_prefix_unmanaged
}

# One table of every figure the project measures, each beside a reference
# measured in the same run:
#   native (build/bench, Google Benchmark): batch lines per second at 10k,
#     100k and 1M lines against bash running the same 100,000 add lines;
#     Console::write against a memory copy; the bridge print of a 10 MB file
#     against a plain read; the line algorithm of Painter::line against a
#     plain pixel loop;
#   under Wine (figure e2e): the console's frame rate against the
#     bare frame loop, both without a frame limit, and the bridge print round
#     trip against the client's own read of the file.
#   under Wine (figure idle, its own table): the idle console's CPU,
#     all its threads, paced against the same console without a limit, and
#     its frames a second.
#   under Wine (figure surfaces, its own table):
#     Surface::draw against Painter::rectangle and a full-screen fill.
# Figures are printed, never asserted. Expects `cmake --build --preset bench`
# (make bench does it). Usage: scripts/bench.sh report [--no-wine]
figure_report() {
  out=$(mktemp -d)
  trap 'rm -rf "$out"' EXIT

  bench=build/bench/bin/console_bench
  [ -x "$bench" ] || { echo "bench.sh report: $bench is missing; run: make bench" >&2; exit 1; }

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
    echo "== under Wine: scripts/bench.sh e2e =="
    if ! timeout 600 bash "$self" e2e >"$out/wine.txt" 2>&1; then
      echo "bench.sh e2e failed: $(grep -v '^==' "$out/wine.txt" | tail -1)" >"$out/wine.reason"
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
        wine_reason = "no figures in the output of bench.sh e2e"

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
}

# Figures of the running console under Wine, printed, never asserted:
#  (a) frames per second of the bare frame loop and of the console's render,
#      without a frame limit (FramePace::noLimit), in one run of
#      bench/frame_rate;
#  (b) a bridge print of a 10 MB c:\stream.o (the SendMessage round trip)
#      against reading the same file in the client, in one run.
# The third figure, keystroke to buffer, is a correctness check of the
# end-to-end tests: a key is in the buffer when its SendMessage returns.
# Usage: scripts/bench.sh e2e [FRAMES_PER_PHASE] [MEGABYTES]
figure_e2e() {
  frames=${1:-600}
  megabytes=${2:-10}
  need_programs e2e korvane.exe korvane-client.exe frame-rate.exe

  wine_screen
  work=$(mktemp -d)
  cd "$work" || exit 1

  echo "== (a) frame rate, $frames frames per phase, one run =="
  wine "$bin/frame-rate.exe" "$frames" 2>&1 | grep -v -e '^ALSA' -e '^$'

  echo "== (b) bridge print of $megabytes MB against reading the file, one run =="
  wine "$bin/korvane-client.exe" start "measure-print=$megabytes" escape wait-exit 2>&1 | grep -v -e '^ALSA' -e '^$'
  rm -f "${WINEPREFIX}/drive_c/stream.o"
  cd / && rm -rf "$work"
}

# Figures of the device services, printed, never asserted:
#   native (build/bench/bin/wave_bench): parseWave in ns per call on images of
#     1 KB to 16 MB of samples with the same four chunks (the walk reads chunk
#     headers only, so the figure must not grow with the samples), on a 1 MB
#     image with 16 and 256 more chunks (the one thing that may grow it), and
#     a plain pass over the 1 MB image's bytes as the reference;
#   under Wine (build/windows/bin/key-down-cost.exe): one Display::keyDown
#     (a full 256-byte keyboard state per key) beside one asyncKeyDown.
# Usage: scripts/bench.sh devices [--no-wine]
figure_devices() {

  bench=build/bench/bin/wave_bench
  [ -x "$bench" ] || { echo "bench.sh devices: $bench is missing; run: make bench" >&2; exit 1; }
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
    wine_screen unmanaged
    timeout 300 wine "$exe" 20000 2>&1 | grep -v -e '^ALSA' -e '^$'
    wineserver -k 2>/dev/null || true
  fi
}

# Figures of bitmap surfaces under Wine, printed, never asserted, each beside
# a reference timed in the same run (bench/surface_bench):
#   Surface::draw of a 64x64 bitmap, plain and colour-keyed, against one
#   Painter::rectangle of the same size;
#   a full-screen 640x480 Surface::draw against Display::clear.
# Builds surface-bench when the Windows build exists.
# Usage: scripts/bench.sh surfaces [CALLS]
figure_surfaces() {
  exe=$root/build/windows/bin/surface-bench.exe
  echo "== bitmap surfaces under Wine (bench/surface_bench) =="
  if [ -f "$root/build/windows/CMakeCache.txt" ]; then
    cmake --build --preset windows --target surface-bench >/dev/null 2>&1 || true
  fi
  if [ ! -f "$exe" ]; then
    echo "n/a: no Windows build of surface-bench; run make build-windows"
    exit 0
  fi

  wine_screen unmanaged
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
}

# Clock ticks of user and system time of every thread of a process (fields
# 14 and 15 of each task's stat, counted after the command name).
cpu_ticks() {
  local total=0 f line fields
  for f in /proc/"$1"/task/*/stat; do
    read -r line <"$f" 2>/dev/null || continue
    read -r -a fields <<<"${line##*) }"
    total=$((total + fields[11] + fields[12]))
  done
  echo "$total"
}

# The idle console under Wine, in one run, printed, never asserted. The
# console draws a frame only when its screen changes (a key, a request, the
# cursor's flicker), so waiting at its prompt it should cost little:
#  - CPU of korvane.exe at its prompt (input line open) and in a pause (input
#    line closed), all its threads together (its own, Wine's wined3d and the
#    software renderer's), read from /proc/PID/task/*/stat over SECONDS
#    (default 10), with the X server's CPU beside it;
#  - its frames a second (bench/frame_rate: frame-rate idle, the console as
#    korvane.exe runs it), beside the same console drawing a frame at every
#    slot of its pace (frame-rate idle every-slot), as it did before frames
#    were driven by change, CPU included;
#  - each in two Wine prefixes: the project's (scripts/wine-env.sh: Direct3D's
#    command thread, CSMT, off; windows unmanaged) and one left exactly as
#    `wineboot -i` makes it (CSMT on), as a user who runs `wine korvane.exe`
#    has it; and in full screen (640x480 screen) and in a window (--window,
#    1024x768 screen).
# Usage: scripts/bench.sh idle [SECONDS]
figure_idle() {
  seconds=${1:-10}
  need_programs idle korvane.exe frame-rate.exe
  echo "machine: $(uptime | sed 's/.*load average/load average/'), $(nproc) cores"
  local status=0
  timeout 600 bash "$self" idle-screen "$seconds" || status=1
  timeout 600 bash "$self" idle-screen "$seconds" --window || status=1
  echo "aim: the idle console at most 15 % of one core, Wine's threads included, in both prefixes"
  return $status
}

# The Wine prefix left as `wineboot -i` makes it, nothing changed, made once
# per checkout beside the project's own and reused.
default_wine_prefix() {
  local prefix=${WINEPREFIX%/}-default
  (
    flock 9
    if [ ! -f "$prefix/.korvane-as-made" ]; then
      WINEPREFIX=$prefix wineboot -i >/dev/null 2>&1 9>&- || true
      WINEPREFIX=$prefix wineserver -w 2>/dev/null || true
      touch "$prefix/.korvane-as-made"
    fi
  ) 9>"$prefix.lock"
  echo "$prefix"
}

# One screen of figure idle: full screen on 640x480, or with --window in a
# window on 1024x768. Usage: scripts/bench.sh idle-screen SECONDS [--window]
figure_idle_screen() {
  seconds=$1
  local window=${2:-}
  source "$root/scripts/wine-env.sh"
  if [ -n "$window" ]; then xvfb_start 1024x768; else xvfb_start; fi
  wine_prefix_ready
  wine_prefix_unmanaged
  local project_prefix=$WINEPREFIX default_prefix
  default_prefix=$(default_wine_prefix)
  # The previous screen's Wine (its desktop on an X server now gone) must
  # have ended before this one starts.
  timeout 15 wineserver -w 2>/dev/null
  WINEPREFIX=$default_prefix timeout 15 wineserver -w 2>/dev/null
  work=$(mktemp -d)
  trap 'cd /; rm -rf "$work"; kill $XVFB_PID 2>/dev/null || true' EXIT
  cd "$work" || exit 1
  ticks_per_second=$(getconf CLK_TCK)


  # The Linux process of a Windows program started from here: the one whose
  # command line is the .exe's path (each run uses its own path's program).
  pid_of() {
    local p
    for p in /proc/[0-9]*; do
      if [ "$(tr '\0' ' ' 2>/dev/null <"$p/cmdline" | sed 's/ *$//')" = "$1" ]; then
        echo "${p#/proc/}"
        return 0
      fi
    done
    return 1
  }

  # measure LABEL PAUSE EXE [ARGS]: starts the program, lets it settle (with
  # PAUSE "pause", types the pause command: the input line closes), takes the
  # CPU of all its threads (and of the X server) over the seconds, ends it
  # with Escape as a user would. Prints one line.
  measure() {
    local label=$1 pause=$2 exe=$3
    shift 3
    wine "$exe" "$@" >"$work/out.txt" 2>&1 &
    local wine_pid=$! pid="" i win=""
    for i in $(seq 1 600); do
      pid=$(pid_of "$exe${*:+ $*}") && win=$(xdotool search --name '^Korvane$' 2>/dev/null | head -1) &&
        [ -n "$win" ] && break
      pid=""
      sleep 0.1
    done
    if [ -z "$pid" ]; then
      echo "$label: the program did not start"
      kill "$wine_pid" 2>/dev/null
      return 1
    fi
    sleep 2
    xdotool windowfocus "$win" 2>/dev/null
    if [ "$pause" = pause ]; then
      xdotool type --delay 30 pause
      xdotool key Return
    fi
    sleep 1
    local before x_before start end after x_after
    before=$(cpu_ticks "$pid")
    x_before=$(cpu_ticks "$XVFB_PID")
    start=$(date +%s%N)
    sleep "$seconds"
    after=$(cpu_ticks "$pid")
    x_after=$(cpu_ticks "$XVFB_PID")
    end=$(date +%s%N)
    xdotool windowfocus "$win" 2>/dev/null
    xdotool key Escape
    for i in $(seq 1 200); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$pid" 2>/dev/null; then
      echo "$label: did not end on Escape; ended"
      kill "$pid" 2>/dev/null
    fi
    wait "$wine_pid" 2>/dev/null
    awk -v l="$label" -v t=$((after - before)) -v x=$((x_after - x_before)) -v ns=$((end - start)) \
      -v hz="$ticks_per_second" 'BEGIN {
        s = ns / 1e9
        printf "%-58s %6.1f %% of a core over %.1f s (X server %.1f %%)\n", l, 100 * t / hz / s, s, 100 * x / hz / s }'
    grep '^idle console' "$work/out.txt" | tr -d '\r' | sed 's/^/    /'
  }

  local where="full screen" prefix name
  [ -z "$window" ] || where="in a window"
  for prefix in "$project_prefix" "$default_prefix"; do
    export WINEPREFIX=$prefix
    name="project's prefix, CSMT off"
    [ "$prefix" = "$project_prefix" ] || name="prefix as wineboot makes it, CSMT on"
    echo "== $where, $name =="
    measure "korvane.exe at its prompt" - "$bin/korvane.exe" $window
    measure "korvane.exe in a pause (input line closed)" pause "$bin/korvane.exe" $window
    measure "the same console (frame-rate idle)" - "$bin/frame-rate.exe" idle on-change $window
    measure "  a frame at every slot, as before (every-slot)" - "$bin/frame-rate.exe" idle every-slot $window
  done
}

# Keystroke to screen, as a user sees it (bench/key_to_screen, native Xlib:
# an XTest key press, then XGetImage reads of the screen, 200 us apart,
# until the last line of text changes), for KEYS keys ('a' and BackSpace in
# turn, 80 to 250 ms apart): the median, the 95th percentile and the best,
# of korvane.exe in full screen (640x480 screen) and in a window (--window,
# 1024x768 screen), each beside a bare Xlib window that draws on KeyPress,
# measured the same way on the same screen just before: the floor of the
# method. With KORVANE_REFERENCE_BIN=DIR, the korvane.exe of another build
# (the main branch's, say) is measured after this one on the same screen.
# The project's Wine prefix. Printed, never asserted.
# Usage: scripts/bench.sh latency [KEYS]
figure_latency() {
  local keys=${1:-60}
  need_programs latency korvane.exe
  local tool=$root/build/bench/bin/key-to-screen
  [ -x "$tool" ] || { echo "bench.sh latency: $tool is missing; run: make bench (needs libx11-dev, libxtst-dev)" >&2; exit 1; }
  echo "machine: $(uptime | sed 's/.*load average/load average/'), $(nproc) cores"
  local status=0
  timeout 300 bash "$self" latency-screen "$tool" "$keys" || status=1
  timeout 300 bash "$self" latency-screen "$tool" "$keys" --window || status=1
  echo "aim: median at most 8 ms, 95th percentile at most 14 ms, on an otherwise idle machine"
  return $status
}

# One screen of figure latency. Usage: scripts/bench.sh latency-screen TOOL KEYS [--window]
figure_latency_screen() {
  local tool=$1 keys=$2 window=${3:-} screen=640x480
  [ -z "$window" ] || screen=1024x768
  source "$root/scripts/wine-env.sh"
  xvfb_start "$screen"
  wine_prefix_ready
  wine_prefix_unmanaged
  # The previous screen's Wine (its desktop on an X server now gone) must
  # have ended before this one starts.
  timeout 15 wineserver -w 2>/dev/null
  local where="full screen" win geometry
  [ -z "$window" ] || where="in a window"
  # Not local: the traps read them after the function returned.
  control_pid="" wine_pid=""

  "$tool" control &
  control_pid=$!
  trap 'kill $control_pid $XVFB_PID 2>/dev/null || true' EXIT
  xdotool search --sync --name '^key-to-screen control$' >/dev/null 2>&1
  "$tool" measure "control, a bare Xlib window, $screen screen" 0 0 320 48 "$keys"
  kill "$control_pid" 2>/dev/null
  wait "$control_pid" 2>/dev/null

  trap 'kill $wine_pid $XVFB_PID 2>/dev/null || true' EXIT
  latency_of "korvane.exe $where" "$bin/korvane.exe" || return 1
  # Another build's console beside this one (KORVANE_REFERENCE_BIN=DIR).
  if [ -n "${KORVANE_REFERENCE_BIN:-}" ] && [ -f "$KORVANE_REFERENCE_BIN/korvane.exe" ]; then
    latency_of "reference $KORVANE_REFERENCE_BIN/korvane.exe $where" "$KORVANE_REFERENCE_BIN/korvane.exe"
  fi
}

# latency_of LABEL EXE: one console started, measured and ended with Escape.
latency_of() {
  local label=$1 exe=$2 win geometry
  wine "$exe" $window >/dev/null 2>&1 &
  wine_pid=$!
  win=$(timeout 30 xdotool search --sync --name '^Korvane$' 2>/dev/null | head -1)
  [ -n "$win" ] || { echo "bench.sh latency: no Korvane window within 30 s" >&2; return 1; }
  # The client area: the whole window in full screen; in a window, inside
  # the frame Wine draws, whose left, right and bottom edges are alike.
  local previous="" i
  for i in $(seq 1 40); do
    geometry=$(xdotool getwindowgeometry --shell "$win" | tr '\n' ' ')
    [ "$geometry" = "$previous" ] && break
    previous=$geometry
    sleep 0.25
  done
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$geometry"
  local edge=$(((WIDTH - 640) / 2))
  local left=$((X + edge)) top=$((Y + HEIGHT - 480 - edge))
  xdotool mousemove $((left + 320)) $((top + 240))
  xdotool windowfocus "$win" 2>/dev/null
  "$tool" measure "$label" "$left" "$top" 640 480 "$keys"
  xdotool windowfocus "$win" 2>/dev/null
  xdotool key Escape
  for i in $(seq 1 100); do kill -0 "$wine_pid" 2>/dev/null || break; sleep 0.1; done
  kill "$wine_pid" 2>/dev/null
  wait "$wine_pid" 2>/dev/null
}

# Desktop full screen under Wine on a 1920x1080 screen, in one run, printed,
# never asserted:
#  - CPU of korvane.exe --desktop idle at its prompt, all its threads (read as
#    figure idle reads it), beside the same console in a window at scale 2
#    (the same picture through the window mode's copy) and at scale 1; the X
#    server's CPU beside each;
#  - bench/desktop_copy: the ways of copying the picture at scale 2, CPU and
#    wall time a copy and whether the picture stays sharp.
# Usage: scripts/bench.sh desktop [SECONDS]
figure_desktop() {
  seconds=${1:-12}
  need_programs desktop korvane.exe desktop-copy.exe
  source "$root/scripts/wine-env.sh"
  xvfb_start 1920x1080
  wine_prefix_ready
  wine_prefix_unmanaged
  work=$(mktemp -d)
  trap 'cd /; rm -rf "$work"; kill $XVFB_PID 2>/dev/null || true' EXIT
  cd "$work" || exit 1
  hz=$(getconf CLK_TCK)
  idle() {  # idle LABEL ARGS...: korvane.exe with ARGS, idle for the seconds
    local label=$1 pid="" p i before x_before start after x_after end
    shift
    wine "$bin/korvane.exe" "$@" >/dev/null 2>&1 &
    local wine_pid=$!
    for i in $(seq 1 600); do
      for p in /proc/[0-9]*; do
        [ "$(tr '\0' ' ' 2>/dev/null <"$p/cmdline" | sed 's/ *$//')" = "$bin/korvane.exe $*" ] && pid=${p#/proc/}
      done
      [ -n "$pid" ] && xdotool search --name '^Korvane$' >/dev/null 2>&1 && break
      pid=""
      sleep 0.1
    done
    [ -n "$pid" ] || { echo "$label: the console did not start"; kill "$wine_pid" 2>/dev/null; return 1; }
    sleep 2
    before=$(cpu_ticks "$pid") x_before=$(cpu_ticks "$XVFB_PID") start=$(date +%s%N)
    sleep "$seconds"
    after=$(cpu_ticks "$pid") x_after=$(cpu_ticks "$XVFB_PID") end=$(date +%s%N)
    xdotool key Escape
    for i in $(seq 1 200); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill "$pid" 2>/dev/null
    wait "$wine_pid" 2>/dev/null
    awk -v l="$label" -v t=$((after - before)) -v x=$((x_after - x_before)) -v ns=$((end - start)) -v hz="$hz" \
      'BEGIN { s = ns / 1e9; printf "%-40s %6.1f %% of a core over %.1f s (X server %.1f %%)\n", l, 100 * t / hz / s, s, 100 * x / hz / s }'
  }
  echo "machine: $(uptime | sed 's/.*load average/load average/'), $(nproc) cores; screen 1920x1080"
  idle "korvane.exe --desktop, idle (scale 2)" --desktop
  idle "korvane.exe --scale 2, idle" --scale 2
  idle "korvane.exe --window, idle" --window
  echo "aim: the idle console in desktop full screen at most 25 % of one core, Wine's threads included"
  echo "desktop-copy: one copy of the picture at scale 2, each way"
  wine "$bin/desktop-copy.exe" 2>/dev/null | tr -d '\r'
}

# Figures of the client kit under Wine, each beside a reference from the same
# run (bench/kit_measure): korvane-stream print against a bare process start,
# a WM_NULL round trip and a one-line print against an idle window of a third
# process, the library's print call, exec against a plain pipe reader at 1, 5
# and 10 MB, and the bridge print of a 10 MB file. Printed, never asserted.
# Usage: scripts/bench.sh kit [ROUNDS]
figure_kit() {
  need_programs kit korvane.exe korvane-stream.exe line-program.exe pipe-reader.exe kit-measure.exe
  wine_screen unmanaged
  work=$(mktemp -d)
  cd "$work" || exit 1
  echo "== client kit under Wine (bench/kit_measure) =="
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
}

# The interpreter where it runs: korvane.exe under Wine runs batch files of
# 10k, 100k and 1M `add` lines, each timed from the Enter that starts it (sent
# with SendMessage) until that call returns (bench/batch_timing). Reference,
# in the same run: bash running the same 100k lines with an `add` function.
# Also the bridge print of many small files against writing them alone.
# Figures are printed, never asserted. Usage: scripts/bench.sh batch
figure_batch() {
  need_programs batch korvane.exe batch-timing.exe
  wine_screen
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
  # Another build's console beside this one, in the same run (for example
  # the main branch's, to compare a change with): KORVANE_REFERENCE_BIN=DIR.
  if [ -n "${KORVANE_REFERENCE_BIN:-}" ] && [ -f "$KORVANE_REFERENCE_BIN/korvane.exe" ]; then
    echo "reference console $KORVANE_REFERENCE_BIN/korvane.exe:"
    wine "$bin/batch-timing.exe" "$KORVANE_REFERENCE_BIN/korvane.exe" 10000 100000 1000000 2>&1 |
      grep -v -e '^ALSA' -e '^$' | tr -d '\r' | sed 's/^/  /'
  fi
  echo "bash, the same 100000 add lines: $bash_rate lines/s"
  echo "$out" | awk -v bash="$bash_rate" '
    /^batch of/ { printf "batch under Wine, %7d lines: %10.0f lines/s = %5.2fx bash (aim: at least 5x, flat per line)\n", $3, $8, $8 / bash }
    /^small prints/ { print "bridge print of many small files under Wine: see the line above" }'
  exit $rc
}

# The framework tour's frame rate under Wine against the bare frame loop, in
# one run of the tour (--measure): N frames of clear and flip only and N
# frames of the whole tour (sprite, shapes, the status text, key polling,
# sound status, a connected echo socket), in alternating blocks of 50 so that
# the load of a shared machine falls on both alike. Printed, never asserted.
# Usage: scripts/bench.sh example [--no-wine] [FRAMES]
figure_example() {
  exe=${EXAMPLE_EXE:-$root/build/windows/bin/framework-tour.exe}
  echo
  echo "== framework tour under Wine (scripts/bench.sh example) =="
  if [ "${1:-}" = --no-wine ]; then echo "skipped (--no-wine)"; exit 0; fi
  frames=${1:-1000}
  if [ ! -f "$exe" ]; then echo "skipped: no $exe; run make build-windows"; exit 0; fi

  source "$root/scripts/echo-peer.sh"
  wine_screen unmanaged
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
}
# The terminal print and exec's output modes, each beside its reference:
#   native (build/bench): the terminal print of 10 MB of plain lines in 64 KB
#     prints, and of progress lines, against the plain print of the same;
#   under Wine (kit-measure terminal): exec (terminal prints) of 10 MB
#     against exec --raw (aim: at least 0.9x), and exec --console of 1 MB in
#     64 KB WriteFile blocks against exec over pipes (reported, no aim).
# Printed, never asserted. Usage: scripts/bench.sh terminal [--no-wine]
figure_terminal() {
  echo "== the terminal print, native (Release) =="
  local bench=build/bench/bin/console_bench
  if [ -x "$bench" ]; then
    "$bench" --benchmark_filter='PrintChunks' --benchmark_counters_tabular=true 2>/dev/null |
      grep -E '^(BM_|Benchmark|-)' || echo "console_bench failed"
  else
    echo "skipped: $bench is missing; run: make bench"
  fi
  [ "${1:-}" != --no-wine ] || exit 0
  need_programs terminal korvane.exe korvane-stream.exe line-program.exe kit-measure.exe
  wine_screen unmanaged
  work=$(mktemp -d)
  cd "$work" || exit 1
  trap 'cd /; rm -rf "$work"; kill $XVFB_PID 2>/dev/null || true' EXIT
  echo "== exec's output modes under Wine (kit-measure terminal) =="
  timeout 900 wine "$bin/kit-measure.exe" terminal 2>&1 | grep -v -e '^ALSA' -e '^$' | tr -d '\r' |
    awk -F' [|] ' '
      /^figure: .* [|] reference: / {
        split($1, f, " = "); split($2, r, " = "); sub(/^figure: /, "", f[1]); sub(/^reference: /, "", r[1])
        printf "%s: %s against %s: %s = %.2fx\n", f[1], f[2], r[1], r[2], f[2] / r[2]
        next
      }
      { print }'
}

# Scrollback's figures under Wine, each beside its reference from the same
# run: the batch of 1M add lines against bash on the same lines; the bridge
# print of a 10 MB file against the client's plain read of it; the idle
# console's memory (resident set) after a 10 MB print against before it; the
# frame rate 10,000 lines back against the live view, still and moving a line
# each frame (frame-rate). Printed, never asserted.
# Usage: scripts/bench.sh scrollback
figure_scrollback() {
  need_programs scrollback korvane.exe korvane-stream.exe korvane-client.exe frame-rate.exe batch-timing.exe
  wine_screen unmanaged
  work=$(mktemp -d)
  trap 'cd /; rm -rf "$work"; kill $XVFB_PID 2>/dev/null || true' EXIT
  cd "$work" || exit 1
  quiet() { grep -v -e '^ALSA' -e '^$' | tr -d '\r'; }

  echo "== batch of 1M add lines against bash on 100k of the same lines =="
  for ((i = 0; i < 100000; i++)); do echo "add $i $((i % 97))"; done >bash-lines
  start=$(date +%s%N)
  bash -c 'add() { echo " $1 + $2 = $(($1 + $2))"; }; source ./bash-lines' >/dev/null
  end=$(date +%s%N)
  bash_rate=$(awk -v ns=$((end - start)) 'BEGIN { printf "%.0f", 100000 / (ns / 1e9) }')
  wine "$bin/batch-timing.exe" "$bin/korvane.exe" 1000000 2>&1 | quiet | awk -v bash="$bash_rate" '
    /^batch of/ { printf "batch, %d lines: %.0f lines/s against bash %d lines/s = %.2fx (aim: at least 15x)\n", $3, $8, bash, $8 / bash }'

  echo "== bridge print of 10 MB against reading the file =="
  wine "$bin/korvane-client.exe" start measure-print=10 escape wait-exit 2>&1 | quiet
  rm -f "${WINEPREFIX}/drive_c/stream.o"

  echo "== the idle console's memory before and after a 10 MB print =="
  python3 -c 'import sys
for i in range(200000): sys.stdout.write("printed line %06d of a ten megabyte print, with some words\n" % i)' >ten-mb.txt
  wine "$bin/korvane.exe" >/dev/null 2>&1 &
  local wine_pid=$! pid="" p i
  for i in $(seq 1 300); do
    for p in /proc/[0-9]*; do
      [ "$(tr '\0' ' ' 2>/dev/null <"$p/cmdline" | sed 's/ *$//')" = "$bin/korvane.exe" ] && pid=${p#/proc/}
    done
    [ -n "$pid" ] && xdotool search --name '^Korvane$' >/dev/null 2>&1 && break
    sleep 0.1
  done
  sleep 3
  rss() { awk '/^VmRSS/ { print $2 }' "/proc/$pid/status"; }
  before=$(rss)
  wine "$bin/korvane-stream.exe" print - <ten-mb.txt >/dev/null 2>&1
  sleep 3
  after=$(rss)
  echo "resident set idle: $before KB before, $after KB after a $(stat -c %s ten-mb.txt)-byte print: +$((after - before)) KB (aim: at most 3 MB more)"
  xdotool key Escape
  for i in $(seq 1 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  wait "$wine_pid" 2>/dev/null

  echo "== frames 10,000 lines back against the live view (no frame limit) =="
  wine "$bin/frame-rate.exe" 600 2>&1 | quiet
  echo "figures taken on a machine shared with other work: compare each with its reference of the same run"
}

# The figures of the native benchmarks in Google Benchmark's own table.
figure_native() {
  ./build/bench/bin/console_bench --benchmark_counters_tabular=true "$@"
}

# Every figure in turn; --no-wine leaves out those measured under Wine.
# The storm test of the client kit (tests/e2e/storm_e2e_test.cpp), run for
# longer than in make test: several korvane-stream processes at once, a
# typist and clients killed at random against the console. Prints the
# clients run, those killed, and the worst round trip beside its limit of
# 1 s; the test's own checks pass or fail as in make test.
# Usage: scripts/bench.sh storm [SECONDS]
figure_storm() {
  need_programs storm korvane_storm.exe korvane-stream.exe line-program.exe korvane_kit_e2e.exe
  wine_screen unmanaged
  work=$(mktemp -d)
  cd "$work" || exit 1
  echo "== the client kit's storm under Wine, ${1:-120} s =="
  KORVANE_STORM_SECONDS=${1:-120} timeout $(( ${1:-120} + 300 )) \
    wine "$bin/korvane_kit_e2e.exe" --gtest_filter='KorvaneStorm.*' 2>&1 |
    grep -e '^storm:' -e 'OK \]' -e 'FAILED' -e 'Failure' -e 'lived' -e 'Expected' -e 'Which is' -A0
  rc=${PIPESTATUS[0]}
  cd / && rm -rf "$work"
  exit "$rc"
}

all_figures() {
  bash "$self" report "$@"
  local report=$?
  bash "$self" devices "$@"
  [ "${1:-}" = --no-wine ] || bash "$self" surfaces

  # The idle console's CPU and frames a second, under Wine.
  if [ "${1:-}" != --no-wine ]; then
    echo
    echo "== the idle console under Wine: scripts/bench.sh idle =="
    timeout 1200 bash "$self" idle || echo "bench.sh idle failed"
    echo
    echo "== keystroke to screen under Wine: scripts/bench.sh latency =="
    timeout 600 bash "$self" latency || echo "bench.sh latency failed"
    echo
    echo "== desktop full screen under Wine: scripts/bench.sh desktop =="
    timeout 300 bash "$self" desktop || echo "bench.sh desktop failed"
  fi

  # The client kit (korvane-stream, round trips, the library's print, exec), under Wine.
  if [ "${1:-}" != --no-wine ] && [ -f build/windows/bin/kit-measure.exe ]; then
    echo
    bash "$self" kit || echo "bench.sh kit failed"
  fi

  if [ "${1:-}" != --no-wine ]; then
    echo
    echo "== the batch and small prints under Wine: scripts/bench.sh batch =="
    timeout 900 bash "$self" batch || echo "bench.sh batch failed"
  fi

  # The terminal print natively, and exec's output modes under Wine.
  echo
  bash "$self" terminal "$@" || echo "bench.sh terminal failed"
  if [ "${1:-}" != --no-wine ]; then
    echo
    timeout 900 bash "$self" storm || echo "bench.sh storm failed"
    echo
    echo "== scrollback under Wine: scripts/bench.sh scrollback =="
    timeout 900 bash "$self" scrollback || echo "bench.sh scrollback failed"
  fi

  # The framework tour against the bare frame loop, under Wine.
  bash "$self" example "$@"
  return $report
}

case "${1:-}" in
  "" | --no-wine)
    all_figures "$@"
    ;;
  report | e2e | devices | surfaces | idle | latency | desktop | kit | batch | example | native | terminal | storm | scrollback)
    figure=$1
    shift
    "figure_$figure" "$@"
    ;;
  idle-screen | latency-screen)
    figure=${1/-/_}
    shift
    "figure_$figure" "$@"
    ;;
  -h | --help)
    sed -n '2,/^set /p' "$0" | sed -e '$d' -e 's/^# \{0,1\}//'
    ;;
  *)
    echo "bench.sh: no figure \"$1\"; run scripts/bench.sh --help" >&2
    exit 2
    ;;
esac
