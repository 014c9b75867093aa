#!/usr/bin/env bash
# The idle console under Wine, in one run, printed, never asserted:
#  - CPU of korvane.exe sitting at its prompt, all its threads together (its
#    own, Wine's wined3d and the software renderer's), read from
#    /proc/PID/task/*/stat over SECONDS (default 12), and beside it the same
#    console without a frame limit (tools/frame_rate: frame-rate idle
#    no-limit), the loop as it was before frames were paced;
#  - the frames a second of the idle console at its pace and without a limit
#    (frame-rate idle), which at its pace should be the display's refresh rate;
#  - the same two with Wine's Direct3D command thread (CSMT) on, as Wine has
#    it by default and the project's prefix has it off (scripts/wine-env.sh).
# The X server's CPU over the same seconds is shown beside each figure.
# Usage: scripts/bench-idle.sh [SECONDS]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$root/build/windows/bin
seconds=${1:-12}
for exe in korvane.exe frame-rate.exe; do
  [ -f "$bin/$exe" ] || { echo "bench-idle: $bin/$exe is missing; run: make build-windows" >&2; exit 1; }
done
source "$root/scripts/wine-env.sh"
xvfb_start
wine_prefix_ready
wine_prefix_unmanaged
work=$(mktemp -d)
trap 'cd /; rm -rf "$work"; kill $XVFB_PID 2>/dev/null || true' EXIT
cd "$work" || exit 1
ticks_per_second=$(getconf CLK_TCK)

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

# measure LABEL EXE [ARGS]: starts the program, lets it settle, takes the CPU
# of all its threads (and of the X server) over the seconds, ends it with
# Escape as a user would. Prints one line.
measure() {
  local label=$1 exe=$2
  shift 2
  wine "$exe" "$@" >"$work/out.txt" 2>&1 &
  local wine_pid=$! pid="" i
  for i in $(seq 1 600); do
    pid=$(pid_of "$exe${*:+ $*}") && xdotool search --name '^Korvane$' >/dev/null 2>&1 && break
    pid=""
    sleep 0.1
  done
  if [ -z "$pid" ]; then
    echo "$label: the program did not start"
    kill "$wine_pid" 2>/dev/null
    return 1
  fi
  sleep 2
  local before x_before start end after x_after
  before=$(cpu_ticks "$pid")
  x_before=$(cpu_ticks "$XVFB_PID")
  start=$(date +%s%N)
  sleep "$seconds"
  after=$(cpu_ticks "$pid")
  x_after=$(cpu_ticks "$XVFB_PID")
  end=$(date +%s%N)
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
      printf "%-44s %6.1f %% of a core over %.1f s (X server %.1f %%)\n", l, 100 * t / hz / s, s, 100 * x / hz / s }'
  grep '^idle console' "$work/out.txt" | tr -d '\r'
}

csmt() {
  wine reg add 'HKCU\Software\Wine\Direct3D' /v csmt /t REG_DWORD /d "$1" /f >/dev/null 2>&1
}

echo "machine: $(uptime | sed 's/.*load average/load average/'), $(nproc) cores"
measure "korvane.exe idle at its prompt (paced)" "$bin/korvane.exe"
measure "the same console, paced (frame-rate idle)" "$bin/frame-rate.exe" idle
measure "the same console, no limit" "$bin/frame-rate.exe" idle no-limit
csmt 1
trap 'csmt 0; cd /; rm -rf "$work"; kill $XVFB_PID 2>/dev/null || true' EXIT
measure "korvane.exe paced, Wine's CSMT on" "$bin/korvane.exe"
measure "the same console, no limit, Wine's CSMT on" "$bin/frame-rate.exe" idle no-limit
csmt 0
echo "aim: the idle console at most 20 % of one core, Wine's threads included"
